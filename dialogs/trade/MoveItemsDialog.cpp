#include "dialogs/trade/MoveItemsDialog.h"

#include <climits>
#include <string>

#include "client/Client.h"
#include "client/TextUtils.h"
#include "engine/Clock.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIScrollbar.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameInterface.h"
#include "game/Lifecycle.h"
#include "game/ThingActions.h"
#include "world/Thing.h"

namespace {

const uint32_t kPanelInside = 0x14000000;  // black at alpha 20
const uint32_t kFrameInside = 0x1E000000;  // black at alpha 30
const uint32_t kAmountColor = 0xFFFFFFFF;

ThingActions* MouseActions() {
    GameInterface* game = Client::Instance()->game;
    return game ? game->thingActions : nullptr;
}

MoveItemsDialog* Module(void* context) { return static_cast<MoveItemsDialog*>(context); }

// Frames of single rectangles, (x, y, w, h) from the dialog's corner: top
// and left edges in the dark skin colour, bottom and right in the light one,
// then the inside. Each edge has its own length, so the corners are not
// those of a RenderBox.
using Frame = int[5][4];
const Frame kPanel = {{10, 30, 250, 1}, {10, 31, 1, 103}, {11, 133, 249, 1}, {259, 31, 1, 102}, {11, 31, 248, 102}};
const Frame kItemFrame = {{60, 40, 190, 1}, {60, 41, 1, 55}, {61, 95, 189, 1}, {249, 41, 1, 53}, {61, 41, 188, 53}};

void DrawEdges(Graphics* graphics, const GUIControl* root, int dx, int dy, const Frame& frame, uint32_t fill) {
    const uint32_t colors[5] = {root->darkColor, root->darkColor, root->lightColor, root->lightColor, fill};
    for (int i = 0; i < 5; ++i)
        graphics->RenderRectangle(colors[i], dx + frame[i][0], dy + frame[i][1], frame[i][2], frame[i][3]);
}

}  // namespace

MoveItemsDialog::MoveItemsDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("MoveItemsDialog");
}

MoveItemsDialog::~MoveItemsDialog() { lifecycle::Note("~MoveItemsDialog"); }

void MoveItemsDialog::Close() {
    lifecycle::Note("MoveItemsDialog::Close");
    const DialogHelper dialog(gui, kDialogId);
    const bool wasOpen = dialog.IsOpen();
    dialog.CloseAndFocus(GameIds::kChatInput);
    if (wasOpen)
        if (ThingActions* actions = MouseActions())
            actions->Reset();
}

void MoveItemsDialog::SetEditTime(uint32_t tick) { editTime = tick; }

bool MoveItemsDialog::Show(uint32_t item, uint32_t amount) {
    DialogHelper dialog(gui, kDialogId);
    if (dialog.IsOpen())
        return false;
    // The offset of 130 for a height of 190 puts the dialog a little above
    // the middle.
    GUIDialog* window = dialog.OpenFromCentre("Move Items", -135, -130, 270, 190);
    if (!window)
        return false;
    itemId = item;
    count = amount;
    window->drawCallback = &MoveItemsDialog::Draw;
    window->drawContext = this;

    // Counts are 1 to 100 (Thing::SetCount); the bar's int holds any of them.
    const int maximum = amount > uint32_t(INT_MAX) ? INT_MAX : int(amount);
    auto* bar = dialog.Add(new GUIScrollbar(), 27, 41, 15, 83);
    bar->id = kAmountBarId;
    bar->SetMaximum(maximum);
    bar->SetProportion(1, maximum);
    bar->SetPosition(maximum);

    // No size: the digits typed land here unseen.
    auto* typed = dialog.Add(new GUITextbox(), 0, 0, 0, 0);
    typed->id = kTypedBoxId;
    typed->textColor = 0;  // after adding, which copies the dialog's colours

    dialog.Add(new GUILine(), 7, 144, 256, 1);
    dialog.AddButton(kMoveButtonId, "Move", &MoveItemsDialog::OnMove, this, 40, 155, 90, 25);
    dialog.AddButton(kCancelButtonId, "Cancel", &MoveItemsDialog::OnCancel, this, 140, 155, 90, 25);
    gui->focus = typed;
    gui->enterButtonId = kMoveButtonId;
    return true;
}

MoveItemsDialog::TypeAhead MoveItemsDialog::ApplyTypeAhead(const std::string& text, uint32_t now,
                                                           uint32_t editTime, int maximum) {
    TypeAhead result;
    result.text = !text.empty() && uint32_t(now - editTime) > kTypeAheadMs ? std::string() : text;
    const int32_t typed = ReadLeadingInt(result.text);
    if (typed >= 1 && typed <= maximum)
        result.amount = typed;
    return result;
}

void MoveItemsDialog::Draw(void* module) {
    MoveItemsDialog* self = Module(module);
    const DialogHelper dialog(self->gui, kDialogId);
    const GUIControl* window = dialog.Dialog();
    GUIScrollbar* bar = dialog.Find<GUIScrollbar>(kAmountBarId);
    Graphics* graphics = self->app->graphics;
    if (!window || !bar || !graphics)
        return;

    if (GUITextbox* typed = dialog.Find<GUITextbox>(kTypedBoxId)) {
        const TypeAhead step = ApplyTypeAhead(typed->GetText(), GetTicks(), self->editTime, bar->GetMaximum());
        // Setting a box's text resets its caret: only when it changes.
        if (step.text != typed->GetText())
            typed->SetText(step.text);
        if (step.amount >= 0)
            bar->SetPosition(step.amount);
    }

    const int dx = window->x;
    const int dy = window->y;
    const GUIControl* root = self->gui->root;
    DrawEdges(graphics, root, dx, dy, kPanel, kPanelInside);
    dialog.DrawPanelBox(dx + 26, dy + 40, 17, 85);
    dialog.DrawPanelBox(dx + 60, dy + 105, 190, 20);

    const int amount = bar->GetPosition();
    const std::string text = "Move " + std::to_string(amount) + " out of " + std::to_string(self->count);
    graphics->RenderText(text, dx + 155 - self->app->TextWidth(text) / 2, dy + 107, kAmountColor, true);

    DrawEdges(graphics, root, dx, dy, kItemFrame, kFrameInside);
    // A stackable item shows the picture of the amount chosen; ids the store
    // cannot hold draw nothing.
    if (self->app->sprites)
        graphics->RenderSprite(self->app->sprites->GetSprite(GetItemDisplayId(int(self->itemId), amount)), dx + 139,
                               dy + 51, 32, 32);
}

void MoveItemsDialog::OnMove(void* module) {
    MoveItemsDialog* self = Module(module);
    const DialogHelper dialog(self->gui, kDialogId);
    // A second press before the GUI's update finds the dialog gone: one move.
    if (!dialog.IsOpen())
        return;
    const GUIScrollbar* bar = dialog.Find<GUIScrollbar>(kAmountBarId);
    const int amount = bar ? bar->GetPosition() : 0;
    // The positions are the drag the mouse actions kept for this dialog; a
    // dialog opened without one moves nothing from nowhere.
    ThingActions* actions = MouseActions();
    if (amount > 0 && actions && !ThingActions::IsZero(actions->dragSource) &&
        !ThingActions::IsZero(actions->dropTarget))
        actions->MoveThing(actions->dragSource, actions->dropTarget, amount);
    self->Close();
}

void MoveItemsDialog::OnCancel(void* module) { Module(module)->Close(); }
