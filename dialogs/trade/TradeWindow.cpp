#include "dialogs/trade/TradeWindow.h"

#include <algorithm>
#include <string>

#include "client/Client.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIScrollbar.h"
#include "game/Lifecycle.h"
#include "protocol/Protocol.h"
#include "world/Thing.h"

namespace {

constexpr uint32_t kLabelColor = 0xFFC8C8C8;
constexpr uint32_t kCountColor = 0xFFFFFFFF;
constexpr uint32_t kLockedFill = 0x1E009600;  // translucent green
constexpr int kCell = 40;                     // pixels from one item to the next

// The trade commands of request 0x1F.
enum : int { kCommandCancel = 1, kCommandLock = 2, kCommandAccept = 3, kCommandRemove = 4 };

void SendCommand(int command, int32_t slot = -1) {
    if (Protocol* protocol = Client::Instance()->protocol)
        protocol->SendTradeCommand(command, slot);
}

// Darker for each step of the group, black at 9 and beyond; group 0 is
// almost clear.
uint32_t CellFill(uint32_t group) {
    const uint32_t alpha = group >= 9 ? 255 : group * 30 + 1;
    return alpha << 24;
}

}  // namespace

TradeWindow::TradeWindow(const std::string& partner) : partnerName(partner) {
    app = Client::Instance()->app;
    gui = app ? app->gui : nullptr;
    lifecycle::Note("TradeWindow");
}

TradeWindow::~TradeWindow() {
    lifecycle::Note("~TradeWindow");
    Reset();
    DialogHelper(gui, kDialogId).CloseAndFocus(GameIds::kChatInput);
}

void TradeWindow::Reset() {
    ownItems.clear();
    partnerItems.clear();
    ownLocked = 0;
    partnerLocked = 0;
    ownAccepted = 0;
}

void TradeWindow::Show() {
    DialogHelper dialog(gui, kDialogId);
    GUIDialog* window = dialog.OpenFromCentre("Trade", -200, -158, 400, 316);
    if (!window)
        return;
    window->drawCallback = &TradeWindow::DrawCallback;
    window->drawContext = this;
    for (const int32_t id : {kOwnScrollbarId, kPartnerScrollbarId}) {
        auto* bar = new GUIScrollbar();
        bar->id = id;
        dialog.Add(bar, 364, id == kOwnScrollbarId ? 51 : 161, 15, 88);
    }
    dialog.Add(new GUILine(), 7, 271, 386, 1);
    dialog.AddButton(kLockButtonId, "Lock", &TradeWindow::OnLockOrAccept, this, 92, 281, 95, 25);
    dialog.AddButton(kCancelButtonId, "Cancel", &TradeWindow::OnCancel, this, 213, 281, 95, 25);
    // A new scroll bar would offer the toolkit's default range over an
    // empty box; it starts from the offers as they are.
    UpdateScrollbars();
}

void TradeWindow::SetAccepted(bool own, bool partner, bool accepted) {
    ownLocked = own ? 1 : 0;
    partnerLocked = partner ? 1 : 0;
    ownAccepted = accepted ? 1 : 0;
    // Unlocked: the button keeps its caption and state, its action follows
    // the lock (Lock).
    if (!ownLocked)
        return;
    GUIButton* button = DialogHelper(gui, kDialogId).Find<GUIButton>(kLockButtonId);
    if (!button)
        return;
    button->SetCaption("Accept");
    if (partnerLocked && !ownAccepted)
        button->ClearFlag(GUIControl::kDisabled);
    else
        button->SetFlag(GUIControl::kDisabled);
}

void TradeWindow::ClearItems() {
    ownItems.clear();
    partnerItems.clear();
}

void TradeWindow::AddItem(uint32_t itemId, uint32_t count, uint32_t group, bool own) {
    auto item = std::make_unique<TradeItem>();
    item->itemId = itemId;
    item->count = count;
    item->group = group;
    (own ? ownItems : partnerItems).push_back(std::move(item));
    UpdateScrollbars();
}

void TradeWindow::UpdateScrollbars() {
    const DialogHelper dialog(gui, kDialogId);
    for (const int32_t id : {kOwnScrollbarId, kPartnerScrollbarId}) {
        GUIScrollbar* bar = dialog.Find<GUIScrollbar>(id);
        if (!bar)
            continue;
        const size_t items = (id == kOwnScrollbarId ? ownItems : partnerItems).size();
        const int rows = int((items + kColumns - 1) / kColumns);
        bar->SetMaximum(std::max(rows - 1, 0));
        bar->SetProportion(2, rows + 1);
        bar->UpdateThumb();
    }
}

void TradeWindow::DrawCallback(void* window) { static_cast<TradeWindow*>(window)->Draw(); }

bool TradeWindow::InOwnArea(int dialogX, int dialogY, int x, int y) {
    return dialogX + 19 < x && x <= dialogX + 380 && dialogY + 49 < y && y <= dialogY + 140;
}

void TradeWindow::Draw() {
    const DialogHelper dialog(gui, kDialogId);
    const GUIControl* window = dialog.Dialog();
    Graphics* graphics = app ? app->graphics : nullptr;
    if (!window || !graphics)
        return;
    const int x = window->x;
    const int y = window->y;
    dialog.DrawPanel();
    const bool highlight = dragging && InOwnArea(x, y, dragX, dragY);
    graphics->RenderText("You", x + 23, y + 34, kLabelColor, true);
    dialog.DrawPanelBox(x + 20, y + 50, 360, 90, ownLocked ? kLockedFill : DialogHelper::kPanelFill, highlight);
    DrawItemGrid(kOwnScrollbarId, x + 20, y + 50, ownItems);
    graphics->RenderText(partnerName, x + 23, y + 144, kLabelColor, true);
    dialog.DrawPanelBox(x + 20, y + 160, 360, 90, partnerLocked ? kLockedFill : DialogHelper::kPanelFill);
    DrawItemGrid(kPartnerScrollbarId, x + 20, y + 160, partnerItems);
}

void TradeWindow::DrawItemGrid(int32_t scrollbarId, int gx, int gy,
                               const std::vector<std::unique_ptr<TradeItem>>& items) {
    const DialogHelper dialog(gui, kDialogId);
    Graphics* graphics = app ? app->graphics : nullptr;
    if (!graphics)
        return;
    ClipRect clip;
    clip.left = float(gx + 1);
    clip.top = float(gy + 1);
    clip.right = float(gx + 358);
    clip.bottom = float(gy + 88);
    graphics->EnableClipper(clip);
    if (items.empty()) {
        if (scrollbarId == kOwnScrollbarId) {
            for (const auto& [text, dy] : {std::pair<const char*, int>{"Drag and drop to add items here.", 20},
                                           std::pair<const char*, int>{"Right click on them to remove.", 35}})
                graphics->RenderText(text, gx + 180 - app->TextWidth(text) / 2, gy + dy, kLabelColor, true);
        }
        graphics->DisableClipper();
        return;
    }
    const GUIScrollbar* bar = dialog.Find<GUIScrollbar>(scrollbarId);
    const int scroll = bar ? bar->GetPosition() : 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const TradeItem& item = *items[i];
        const int cx = gx + kCell * int(i % kColumns);
        const int cy = gy + 5 + kCell * int(i / kColumns) - kCell * scroll;
        dialog.DrawPanelBox(cx + 5, cy, 35, 35, CellFill(item.group));
        // An id the graphics file does not hold draws no picture.
        if (app->sprites)
            graphics->RenderSprite(app->sprites->GetSprite(GetItemDisplayId(int(item.itemId), int(item.count))),
                                   cx + 7, cy + 2);
        if (item.count > 1) {
            const std::string count = std::to_string(item.count);
            graphics->RenderText(count, cx + 39 - app->TextWidth(count), cy + 20, kCountColor, true);
        }
    }
    graphics->DisableClipper();
}

bool TradeWindow::IsOverDropArea(int x, int y) {
    const GUIControl* window = DialogHelper(gui, kDialogId).Dialog();
    return window && InOwnArea(window->x, window->y, x, y);
}

void TradeWindow::SetDragState(int x, int y, bool isDragging) {
    dragX = x;
    dragY = y;
    dragging = isDragging ? 1 : 0;
}

int TradeWindow::HitTestSlot(int x, int y, uint8_t indexMode) {
    const DialogHelper dialog(gui, kDialogId);
    const GUIControl* window = dialog.Dialog();
    if (!window || !InOwnArea(window->x, window->y, x, y))
        return -1;
    const GUIScrollbar* bar = dialog.Find<GUIScrollbar>(kOwnScrollbarId);
    const int scroll = bar ? bar->GetPosition() : 0;
    int slot = -1;
    for (size_t i = 0; i < ownItems.size(); ++i) {
        // A run of one non-zero group is one slot of the server's offer.
        const uint32_t group = ownItems[i]->group;
        if (!(group != 0 && i > 0 && group == ownItems[i - 1]->group))
            ++slot;
        // 50 pixels high, both edges inside: a point may hit two rows' items,
        // and the first in the list wins.
        const int left = window->x + 25 + kCell * int(i % kColumns);
        const int top = window->y + 55 + kCell * int(i / kColumns) - kCell * scroll;
        if (left <= x && x <= left + 40 && top <= y && y <= top + 50)
            return indexMode == 1 ? int(i) : slot;
    }
    return kNoItem;
}

void TradeWindow::OnSlotClick(int x, int y) {
    const int slot = HitTestSlot(x, y, 0);
    if (slot >= 0)
        SendCommand(kCommandRemove, slot);
}

void TradeWindow::OnLockOrAccept(void* window) {
    SendCommand(static_cast<TradeWindow*>(window)->ownLocked ? kCommandAccept : kCommandLock);
}

void TradeWindow::OnCancel(void*) { SendCommand(kCommandCancel); }
