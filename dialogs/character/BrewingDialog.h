#pragma once

#include <cstdint>
#include <map>

#include "game/GameControlIds.h"

class GUIManager;
class KEngine2;

// Brewing potions. The server opens the dialog and keeps it current: every
// brewing-state message opens it when it is closed and replaces its state.
// Before a brew the player picks a potion size and an amount and presses
// "Begin Brewing"; during one the dialog shows the potion, the ingredients
// dropped in so far and the mixture's heat. The client never changes
// inProgress itself: only the server's next message moves between the views.
//
// The game screen makes the module when the game starts and frees it when the
// game ends; the dialog is built each time it opens.
class BrewingDialog {
public:
    static constexpr int32_t kDialogId = GameIds::kBrewingDialog;
    static constexpr int32_t kAmountBox = GameIds::kBrewingAmount;
    static constexpr int32_t kBeginButton = GameIds::kBrewingBegin;
    static constexpr int32_t kFinishButton = GameIds::kBrewingFinish;
    static constexpr int32_t kCloseButton = GameIds::kBrewingClose;
    static constexpr int kSizes = 5;
    // Potion size k (1 to 5) is the sprite kPotionSprites + 3k.
    static constexpr int kPotionSprites = 1931;
    // A heat change fades the red overlay over this many milliseconds.
    static constexpr uint32_t kHeatFadeMs = 500;
    // From this heat on the mixture boils.
    static constexpr int kBoilingHeat = 70;

    using Ingredients = std::map<int32_t, int32_t>;  // item id (also its sprite) -> count

    BrewingDialog();
    ~BrewingDialog();
    BrewingDialog(const BrewingDialog&) = delete;
    BrewingDialog& operator=(const BrewingDialog&) = delete;

    // A brewing-state message: builds the dialog when it is not open, then
    // takes the state (a heat change starts the fade from the old heat).
    void Open(bool inProgress, int potionSize, int amount, int heat, const Ingredients& ingredients);
    // Shows "Begin Brewing" and the amount box, or "Finish Brewing" with
    // "Close" disabled, after inProgress.
    void UpdateControls();
    // Removes the dialog when it is open, gives the focus back to the chat
    // input and forgets the ingredients.
    void Close();
    // A left press anywhere: while the dialog is open and no brew runs, the
    // size whose box lay under the mouse when the dialog was last drawn
    // becomes the chosen one. True when it chose a size.
    bool HitTest(int x, int y);
    // The dialog is open and the point lies strictly inside it: a thing
    // dropped there goes into the brew.
    bool DropTarget(int x, int y);

    // The dialog's draw callback (context: the module).
    static void Draw(void* self);
    // One item slot's content: the sprite at (x + 4, y + 4) and the count
    // right-aligned to end at x + 36. An id the graphics file lacks draws no
    // sprite.
    void DrawSlot(int x, int y, int spriteId, int count);

    // The buttons' actions (context: the module).
    static void ViewRecipes(void* self);
    static void BeginBrewing(void* self);
    static void FinishBrewing(void* self);
    static void CloseButton(void* self);

    // The alpha of the heat overlay `elapsed` milliseconds after the heat
    // went from previousHeat to heat: a linear fade over kHeatFadeMs from the
    // old level to the new, at most 255.
    static int HeatAlpha(int heat, int previousHeat, uint32_t elapsed);
    // The size (1 to 5) whose box lies under the point, for a dialog whose
    // top-left corner is (dialogX, dialogY); 0 for none.
    static int SizeBoxAt(int dialogX, int dialogY, int x, int y);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    bool inProgress = false;
    int32_t hoveredSize = 0;  // set while the dialog is drawn
    int32_t potionSize = 1;
    int32_t amount = 1;
    int32_t heat = 0;
    uint32_t heatChangedAt = 0;
    int32_t previousHeat = 0;
    Ingredients ingredients;

private:
    void Build();
    void DrawIdle(int x, int y);
    void DrawBrewing(int x, int y, int width);
    // A 40 x 40 box (or any size) with sunken or raised edges and no fill.
    void DrawEdges(int x, int y, int width, int height, bool sunken, uint32_t fill = 0);
};
