#include "dialogs/character/TalentsDialog.h"

#include <cstdint>
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
#include "game/ConfirmDialog.h"
#include "game/GameControlIds.h"
#include "game/GameInterface.h"
#include "game/Lifecycle.h"
#include "protocol/Protocol.h"
#include "sidewindows/CStatus.h"

namespace {

const uint32_t kTextColor = 0xFFC8C8C8;
const uint32_t kValueBar = 0x50646464;    // grey 100 at alpha 80
const uint32_t kPendingBar = 0x50B4B4B4;  // grey 180 at alpha 80
const int kMinusIcon = 891;
const int kPlusIcon = 892;
const int kFirstTalentIcon = 5765;
const int kRowStep = 25;
const char kResetTitle[] = "Reset Talents";
const char kResetText[] = "Are you sure you want to reset your\ntalents for a fee of 10 premium cards?";

TalentsDialog* Module(void* context) { return static_cast<TalentsDialog*>(context); }

// The plus and minus buttons carry their talent, not the module.
TalentsDialog* GameModule() {
    GameInterface* game = Client::Instance()->game;
    return game ? game->talents : nullptr;
}

int TalentOf(void* argument) { return int(reinterpret_cast<intptr_t>(argument)); }

void* ArgumentOf(int talent) { return reinterpret_cast<void*>(intptr_t(talent)); }

// trunc(value / maximum x span), kept inside 0 .. limit: a server may send
// more points than a talent can hold, and the bar stays in its box.
int BarWidth(int value, int maximum, float span, int limit) {
    if (maximum <= 0 || value <= 0 || limit <= 0)
        return 0;
    const int width = int(float(value) / float(maximum) * span);
    return width < limit ? width : limit;
}

}  // namespace

TalentValues TalentMaximums() {
    TalentValues maximum{};
    for (int i = 0; i < TalentTable::kCount; ++i)
        maximum[size_t(i)] = TalentTable::kTable[i].cap;
    return maximum;
}

TalentButtonStates TalentButtonRules(const TalentValues& current, const TalentValues& pending, int unused,
                                     const TalentValues& maximum) {
    TalentButtonStates states;
    for (size_t i = 0; i < states.plus.size(); ++i) {
        states.minus[i] = pending[i] >= 1;
        states.plus[i] = unused > 0 && current[i] + pending[i] < maximum[i];
    }
    return states;
}

TalentsDialog::TalentsDialog() : tooltip(new TooltipRegion()) {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("TalentsDialog");
}

TalentsDialog::~TalentsDialog() { lifecycle::Note("~TalentsDialog"); }

void TalentsDialog::Show() {
    DialogHelper dialog(gui, GameIds::kTalentsDialog);
    if (dialog.IsOpen())
        return;
    Refresh();
    GUIDialog* window = dialog.OpenFromCentre("Talents", -175, -205, 350, 410);
    if (!window)
        return;
    window->drawCallback = &TalentsDialog::Draw;
    window->drawContext = this;
    for (int i = 0; i < TalentTable::kCount; ++i) {
        const int dy = 86 + kRowStep * i;
        minusButton[size_t(i)] = dialog.AddButton(0, "", &TalentsDialog::RemovePoint, ArgumentOf(i), 293, dy, 18, 18);
        minusButton[size_t(i)]->SetIcon(kMinusIcon);
        plusButton[size_t(i)] = dialog.AddButton(0, "", &TalentsDialog::AddPoint, ArgumentOf(i), 311, dy, 18, 18);
        plusButton[size_t(i)]->SetIcon(kPlusIcon);
    }
    UpdateButtons();
    dialog.AddButton(0, "Reset used points", &TalentsDialog::AskReset, this, 21, 318, 308, 25);
    dialog.Add(new GUILine(), 7, 365, 336, 1);
    dialog.AddButton(GameIds::kTalentsSave, "Save", &TalentsDialog::Save, this, 67, 375, 95, 25);
    gui->enterButtonId = GameIds::kTalentsSave;
    dialog.AddButton(0, "Cancel", &TalentsDialog::Cancel, this, 188, 375, 95, 25);
}

void TalentsDialog::Refresh() {
    lifecycle::Note("TalentsDialog::Refresh");
    GameInterface* game = Client::Instance()->game;
    if (const CStatus* status = game ? game->status : nullptr) {
        totalPoints = status->TotalTalentPoints();
        unusedPoints = status->unusedPoints;
        for (int i = 0; i < TalentTable::kCount; ++i)
            current[size_t(i)] = status->talents[i];
    }
    pending.fill(0);
    UpdateButtons();
}

void TalentsDialog::UpdateButtons() {
    // The button pointers belong to the open dialog only.
    if (!DialogHelper(gui, GameIds::kTalentsDialog).IsOpen())
        return;
    const TalentButtonStates states = TalentButtonRules(current, pending, unusedPoints, TalentMaximums());
    for (size_t i = 0; i < states.plus.size(); ++i) {
        for (auto [button, enabled] : {std::pair{minusButton[i], states.minus[i]}, {plusButton[i], states.plus[i]}}) {
            if (!button)
                continue;
            if (enabled)
                button->ClearFlag(GUIControl::kDisabled);
            else
                button->SetFlag(GUIControl::kDisabled);
        }
    }
}

void TalentsDialog::AddPointTo(int talent) {
    if (talent < 0 || talent >= TalentTable::kCount || unusedPoints <= 0)
        return;
    ++pending[size_t(talent)];
    --unusedPoints;
    UpdateButtons();
}

void TalentsDialog::RemovePointFrom(int talent) {
    if (talent < 0 || talent >= TalentTable::kCount || pending[size_t(talent)] <= 0)
        return;
    --pending[size_t(talent)];
    ++unusedPoints;
    UpdateButtons();
}

void TalentsDialog::AddPoint(void* talent) {
    if (TalentsDialog* self = GameModule())
        self->AddPointTo(TalentOf(talent));
}

void TalentsDialog::RemovePoint(void* talent) {
    if (TalentsDialog* self = GameModule())
        self->RemovePointFrom(TalentOf(talent));
}

void TalentsDialog::Save(void* module) {
    TalentsDialog* self = Module(module);
    std::array<int32_t, TalentTable::kCount> points{};
    for (size_t i = 0; i < points.size(); ++i)
        points[i] = self->pending[i];
    Client::Instance()->protocol->SendTalents(points);
    DialogHelper(self->gui, GameIds::kTalentsDialog).CloseAndFocus(GameIds::kChatInput);
}

void TalentsDialog::Cancel(void* module) {
    DialogHelper(Module(module)->gui, GameIds::kTalentsDialog).CloseAndFocus(GameIds::kChatInput);
}

void TalentsDialog::AskReset(void*) {
    ConfirmDialog::Instance()->Show(kResetTitle, kResetText, &ConfirmReset, nullptr);
}

// The server answers with the new numbers and a chat line, which refreshes
// the dialog; nothing changes here meanwhile.
void TalentsDialog::ConfirmReset(void*) { Client::Instance()->protocol->SendOp34(); }

void TalentsDialog::Draw(void* module) {
    TalentsDialog* self = Module(module);
    DialogHelper dialog(self->gui, GameIds::kTalentsDialog);
    const GUIControl* window = dialog.Dialog();
    Graphics* graphics = self->app->graphics;
    if (!window || !graphics)
        return;
    KEngine2* app = self->app;
    const int X = window->x;
    const int Y = window->y;
    const int W = window->width;
    const float mx = self->gui->mouseX;
    const float my = self->gui->mouseY;
    auto text = [&](const std::string& value, int x, int y) { graphics->RenderText(value, x, y, kTextColor, true); };
    auto rightAligned = [&](const std::string& value, int right, int y) {
        text(value, right - app->TextWidth(value), y);
    };

    dialog.DrawPanel();
    dialog.DrawFrameBox(X + 20, Y + 317, W - 40, 27);
    text("Unused talent points", X + 20, Y + 40);
    rightAligned(std::to_string(self->unusedPoints), X + W - 20, Y + 40);
    dialog.DrawFrameBox(X + 20, Y + 55, W - 40, 15);
    graphics->RenderRectangle(kValueBar, X + 21, Y + 56,
                              BarWidth(self->unusedPoints, self->totalPoints, float(W - 42), W - 42), 13);

    const TalentValues maximum = TalentMaximums();
    const float span = float(W - 100);
    const int limit = W - 100;
    int hovered = -1;
    int anchorY = 0;
    for (int i = 0; i < TalentTable::kCount; ++i) {
        const size_t k = size_t(i);
        const int r = Y + 85 + kRowStep * i;
        dialog.DrawFrameBox(X + 42, r, W - 62, 20);
        const int a = BarWidth(self->current[k], maximum[k], span, limit);
        graphics->RenderRectangle(kValueBar, X + 43, r + 1, a, 18);
        const int b = BarWidth(self->pending[k], maximum[k], span, limit - a);
        graphics->RenderRectangle(kPendingBar, X + 43 + a, r + 1, b, 18);
        rightAligned(std::to_string(self->current[k] + self->pending[k]), X + W - 65, r + 2);
        text(TalentTable::kTable[i].name, X + 47, r + 2);
        if (Sprite* icon = app->sprites ? app->sprites->GetSprite(kFirstTalentIcon + i) : nullptr)
            graphics->RenderSprite(icon, X + 20, r + 1);
        if (hovered < 0 && X + 20 <= mx && mx < X + 38 && r + 1 <= my && my < r + 19) {
            hovered = i;
            anchorY = r + 1;
        }
    }
    text("You gain 1 talent point each time you level up.", X + 20, Y + 265);
    text("Any changes you save are irreversible, unless you", X + 20, Y + 280);
    text("reset your talents for a fee of 10 premium cards.", X + 20, Y + 295);
    if (hovered >= 0 && self->tooltip) {
        self->tooltip->lines = {CStatus::TalentDescription(hovered), CStatus::TalentLimitText(hovered)};
        self->gui->DrawTooltip(self->tooltip.get(), float(X - 60), float(anchorY));
    }
}

void TalentsDialog::Close() {
    lifecycle::Note("TalentsDialog::Close");
    DialogHelper(gui, GameIds::kTalentsDialog).CloseAndFocus(GameIds::kChatInput);
    plusButton.fill(nullptr);
    minusButton.fill(nullptr);
    tooltip.reset();
}
