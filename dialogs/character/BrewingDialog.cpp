#include "dialogs/character/BrewingDialog.h"

#include <string>

#include "client/Client.h"
#include "client/TextUtils.h"
#include "dialogs/character/RecipesDialog.h"
#include "engine/Clock.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameControlIds.h"
#include "game/GameInterface.h"
#include "game/Lifecycle.h"
#include "protocol/Protocol.h"

namespace {

constexpr uint32_t kLabelColor = 0xFFC8C8C8;
constexpr uint32_t kHintColor = 0xFF808080;
constexpr uint32_t kHeatRed = 0x8B;  // red 139, green and blue 0; the alpha comes from the heat
constexpr int kBoxSize = 40;
constexpr int kSizeBoxLeft = 120;
constexpr int kSizeBoxStep = 55;
constexpr int kSlotTop = 40;
constexpr int kIngredientLeft = 90;
constexpr int kIngredientStep = 50;
constexpr int kIngredientBoxes = 6;

Protocol* GetProtocol() { return Client::Instance()->protocol; }

}  // namespace

BrewingDialog::BrewingDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("BrewingDialog");
}

BrewingDialog::~BrewingDialog() { lifecycle::Note("~BrewingDialog"); }

int BrewingDialog::HeatAlpha(int heatNow, int heatBefore, uint32_t elapsed) {
    // In this order the products stay exact: 20 % is alpha 51, 80 % 204.
    const double target = heatNow * 255.0 / 100.0;
    double value = target;
    if (elapsed < kHeatFadeMs) {
        const double start = heatBefore * 255.0 / 100.0;
        value = target + (start - target) * double(kHeatFadeMs - elapsed) / double(kHeatFadeMs);
    }
    if (value >= 255.0)
        return 255;
    return value > 0 ? int(value) : 0;
}

int BrewingDialog::SizeBoxAt(int dialogX, int dialogY, int x, int y) {
    if (y < dialogY + kSlotTop || y >= dialogY + kSlotTop + kBoxSize)
        return 0;
    for (int size = 1; size <= kSizes; ++size) {
        const int left = dialogX + kSizeBoxLeft + kSizeBoxStep * (size - 1);
        if (x >= left && x < left + kBoxSize)
            return size;
    }
    return 0;
}

void BrewingDialog::Build() {
    DialogHelper dialog(gui, kDialogId);
    GUIDialog* frame = dialog.OpenFromCentre("Brewing", -200, -150, 400, 300);
    if (!frame)
        return;
    frame->drawCallback = &BrewingDialog::Draw;
    frame->drawContext = this;
    dialog.AddButton(0, "View learned recipes...", &BrewingDialog::ViewRecipes, this, 11, 219, 378, 25);
    GUITextbox* amountBox = new GUITextbox();
    amountBox->id = kAmountBox;
    dialog.Add(amountBox, 120, 90, 260, 25);
    dialog.AddButton(kBeginButton, "Begin Brewing", &BrewingDialog::BeginBrewing, this, 20, 170, 360, 25);
    if (GUIButton* finish =
            dialog.AddButton(kFinishButton, "Finish Brewing", &BrewingDialog::FinishBrewing, this, 20, 170, 360, 25))
        finish->SetFlag(GUIControl::kHidden);
    dialog.Add(new GUILine(), 7, 255, 386, 1);
    dialog.AddButton(kCloseButton, "Close", &BrewingDialog::CloseButton, this, 140, 265, 120, 25);
}

void BrewingDialog::Open(bool brewing, int size, int potions, int newHeat, const Ingredients& newIngredients) {
    if (!gui->FindControl(kDialogId))
        Build();
    if (newHeat != heat) {
        previousHeat = heat;
        heatChangedAt = GetTicks();
    }
    inProgress = brewing;
    potionSize = size;
    amount = potions;
    heat = newHeat;
    ingredients = newIngredients;
    UpdateControls();
}

void BrewingDialog::UpdateControls() {
    DialogHelper dialog(gui, kDialogId);
    auto show = [&](int32_t id, bool shown) {
        if (GUIControl* control = dialog.Find<GUIControl>(id)) {
            if (shown)
                control->ClearFlag(GUIControl::kHidden);
            else
                control->SetFlag(GUIControl::kHidden);
        }
    };
    show(kBeginButton, !inProgress);
    show(kAmountBox, !inProgress);
    show(kFinishButton, inProgress);
    // While a brew runs the dialog cannot be closed by its own button.
    if (GUIControl* close = dialog.Find<GUIControl>(kCloseButton)) {
        if (inProgress)
            close->SetFlag(GUIControl::kDisabled);
        else
            close->ClearFlag(GUIControl::kDisabled);
    }
}

void BrewingDialog::Close() {
    lifecycle::Note("BrewingDialog::Close");
    DialogHelper(gui, kDialogId).CloseAndFocus(GameIds::kChatInput);
    ingredients.clear();
}

bool BrewingDialog::HitTest(int, int) {
    // The box under the mouse as the last frame drew it.
    if (!gui->FindControl(kDialogId) || inProgress || hoveredSize <= 0)
        return false;
    potionSize = hoveredSize;
    return true;
}

bool BrewingDialog::DropTarget(int x, int y) {
    const GUIControl* dialog = gui->FindControl(kDialogId);
    return dialog && dialog->x < x && x < dialog->x + dialog->width && dialog->y < y &&
           y < dialog->y + dialog->height;
}

// --- Drawing ---

void BrewingDialog::DrawEdges(int x, int y, int width, int height, bool sunken, uint32_t fill) {
    const GUIControl* root = gui->root;
    if (!root || !app->graphics)
        return;
    // Sunken: dark top and left edges, light bottom and right; raised the reverse.
    const uint32_t topLeft = sunken ? root->darkColor : root->lightColor;
    const uint32_t bottomRight = sunken ? root->lightColor : root->darkColor;
    app->graphics->RenderBox(x, y, width, height, topLeft, bottomRight, fill);
}

void BrewingDialog::DrawSlot(int x, int y, int spriteId, int count) {
    Graphics* graphics = app->graphics;
    if (!graphics)
        return;
    // Ids come from the server: the store answers null beyond its range.
    if (Sprite* sprite = app->sprites ? app->sprites->GetSprite(spriteId) : nullptr)
        graphics->RenderSprite(sprite, x + 4, y + 4);
    const std::string text = std::to_string(count);
    graphics->RenderText(text, x + 36 - app->TextWidth(text), y + 25, kLabelColor, true);
}

void BrewingDialog::DrawIdle(int x, int y) {
    Graphics* graphics = app->graphics;
    graphics->RenderText("Potion size:", x + 20, y + 51, kLabelColor, true);
    graphics->RenderText("Amount:", x + 20, y + 93, kLabelColor, true);
    hoveredSize = SizeBoxAt(x, y, int(gui->mouseX), int(gui->mouseY));
    for (int size = 1; size <= kSizes; ++size) {
        const int left = x + kSizeBoxLeft + kSizeBoxStep * (size - 1);
        Sprite* potion = app->sprites ? app->sprites->GetSprite(kPotionSprites + 3 * size) : nullptr;
        // The chosen size is pressed in: sunken and one pixel lower and to the right.
        const int shift = size == potionSize ? 1 : 0;
        DrawEdges(left + shift, y + kSlotTop + shift, kBoxSize, kBoxSize, shift != 0);
        if (potion)
            graphics->RenderSprite(potion, left + 4 + shift, y + kSlotTop + 4 + shift);
    }
    graphics->RenderText("Make sure you have learned the appropiate recipe and have", x + 20, y + 125, kHintColor,
                         true);
    graphics->RenderText("enough ingredients before starting to brew the potions!", x + 20, y + 140, kHintColor,
                         true);
}

void BrewingDialog::DrawBrewing(int x, int y, int width) {
    Graphics* graphics = app->graphics;
    DrawEdges(x + 20, y + kSlotTop, kBoxSize, kBoxSize, true);
    DrawSlot(x + 20, y + kSlotTop, kPotionSprites + 3 * potionSize, amount);
    graphics->RenderText("+", x + 72, y + 52, kLabelColor, true);
    for (int box = 0; box < kIngredientBoxes; ++box)
        DrawEdges(x + kIngredientLeft + kIngredientStep * box, y + kSlotTop, kBoxSize, kBoxSize, true);
    // More than six ingredients go on at the same step, past the boxes.
    int slot = 0;
    for (const auto& [id, count] : ingredients)
        DrawSlot(x + kIngredientLeft + kIngredientStep * slot++, y + kSlotTop, id, count);

    const uint32_t alpha = uint32_t(HeatAlpha(heat, previousHeat, GetTicks() - heatChangedAt));
    DrawEdges(x + 20, y + 90, width - 40, 70, true, alpha << 24 | kHeatRed);
    const std::string state = heat >= kBoilingHeat ? "The mixture is boiling." : "The mixture seems calm.";
    graphics->RenderText(state, x + 20 + (width - 40) / 2 - app->TextWidth(state) / 2, y + 107, kLabelColor, true);
    graphics->RenderText("Only drop in ingredients while the mixture is not boiling!", x + 39, y + 127, kLabelColor,
                         true);
}

void BrewingDialog::Draw(void* self) {
    BrewingDialog* brewing = static_cast<BrewingDialog*>(self);
    DialogHelper dialog(brewing->gui, kDialogId);
    const GUIControl* frame = dialog.Dialog();
    if (!frame || !brewing->app->graphics)
        return;
    const int x = frame->x;
    const int y = frame->y;
    dialog.DrawPanelBox(x + 10, y + 218, frame->width - 20, 27);
    dialog.DrawPanelBox(x + 10, y + 30, frame->width - 20, frame->height - 122);
    if (brewing->inProgress)
        brewing->DrawBrewing(x, y, frame->width);
    else
        brewing->DrawIdle(x, y);
}

// --- Buttons ---

void BrewingDialog::ViewRecipes(void*) {
    if (GameInterface* game = Client::Instance()->game)
        game->recipes->Show();
    GetProtocol()->SendBrewCommand3();
}

void BrewingDialog::BeginBrewing(void* self) {
    BrewingDialog* brewing = static_cast<BrewingDialog*>(self);
    const GUITextbox* box = DialogHelper(brewing->gui, kDialogId).Find<GUITextbox>(kAmountBox);
    // No digits count as 0; the request carries the low 16 bits.
    const int32_t typed = box ? ReadLeadingInt(box->GetText()) : 0;
    GetProtocol()->SendBrewCommand1(brewing->potionSize, int(uint16_t(uint32_t(typed))));
}

void BrewingDialog::FinishBrewing(void*) { GetProtocol()->SendBrewCommand2(); }

void BrewingDialog::CloseButton(void* self) {
    BrewingDialog* brewing = static_cast<BrewingDialog*>(self);
    DialogHelper(brewing->gui, kDialogId).CloseAndFocus(GameIds::kChatInput);
}
