// The brewing dialog as the server drives it (0x3d) and the player uses it:
// its two views, the size boxes, the heat overlay's fade, the ingredients,
// the three requests and where a dropped thing lands.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/character/BrewingDialog.h"
#include "dialogs/character/RecipesDialog.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameControlIds.h"
#include "game/GameInterface.h"
#include "tests/support/ServerDialogFixture.h"

namespace {

// The client is 1000 x 700: the dialog stands at (300, 200), 400 x 300.
constexpr int kX = 300;
constexpr int kY = 200;

Bytes Brewing(bool active, int size = 1, int amount = 0, int heat = 0,
              const std::vector<std::pair<int, int>>& ingredients = {}) {
    Wire wire;
    wire.U8(0x3d).U8(active ? 1 : 0);
    if (!active)
        return wire.bytes;
    wire.U8(uint32_t(size)).U16(uint32_t(amount)).U8(uint32_t(heat)).U8(uint32_t(ingredients.size()));
    for (const auto& [id, count] : ingredients)
        wire.U16(uint32_t(id)).U16(uint32_t(count));
    return wire.bytes;
}

// The left edge of size box k.
int SizeBoxX(int k) { return kX + 120 + 55 * (k - 1); }

class BrewingTest : public ServerDialogTest {
protected:
    BrewingDialog& brewing() { return *game().brewing; }
    bool Hidden(int32_t id) { return Find<GUIControl>(id)->HasFlag(GUIControl::kHidden); }
    bool Disabled(int32_t id) { return Find<GUIControl>(id)->HasFlag(GUIControl::kDisabled); }
    GUIButton* Button(const std::string& caption) {
        for (GUIControl* control : Find<GUIControl>(BrewingDialog::kDialogId)->children)
            if (GUIButton* button = dynamic_cast<GUIButton*>(control); button && button->caption == caption)
                return button;
        return nullptr;
    }
    // The heat overlay's fill in the last frame.
    uint32_t Overlay() {
        uint32_t fill = 0;
        EXPECT_EQ(BoxAt(kX + 20, kY + 90, 360, 70, &fill), 1) << "the overlay is a sunken box";
        return fill;
    }
};

TEST_F(BrewingTest, TheFirstStateWithoutABrewOpensTheSizeChoice) {
    Enter();
    Dispatch(Brewing(false));
    const GUIDialog* dialog = Find<GUIDialog>(BrewingDialog::kDialogId);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->title, "Brewing");
    EXPECT_EQ(std::vector<int>({dialog->x, dialog->y, dialog->width, dialog->height}),
              std::vector<int>({kX, kY, 400, 300}));
    EXPECT_FALSE(brewing().inProgress);
    EXPECT_EQ(brewing().potionSize, 1);
    const GUITextbox* amount = Find<GUITextbox>(BrewingDialog::kAmountBox);
    ASSERT_NE(amount, nullptr);
    EXPECT_EQ(amount->GetText(), "");
    EXPECT_FALSE(Hidden(BrewingDialog::kAmountBox));
    EXPECT_FALSE(Hidden(BrewingDialog::kBeginButton));
    EXPECT_TRUE(Hidden(BrewingDialog::kFinishButton));
    EXPECT_FALSE(Disabled(BrewingDialog::kCloseButton));

    Redraw();
    for (const char* text : {"Potionsize:", "Amount:", "Makesureyouhavelearnedtheappropiaterecipeandhave",
                             "enoughingredientsbeforestartingtobrewthepotions!"})
        EXPECT_TRUE(Drawn(text)) << text;
    // Size 1 is pressed in; every size shows its potion.
    EXPECT_EQ(BoxAt(SizeBoxX(1) + 1, kY + 41, 40, 40), 1);
    for (int k = 2; k <= 5; ++k) {
        uint32_t fill = 1;
        EXPECT_EQ(BoxAt(SizeBoxX(k), kY + 40, 40, 40, &fill), 2) << k;
        EXPECT_EQ(fill, 0u) << "no size box is filled";
        EXPECT_EQ(SpriteAt(1931 + 3 * k), (std::vector<std::pair<int, int>>{{SizeBoxX(k) + 4, kY + 44}})) << k;
    }
    EXPECT_EQ(SpriteAt(1934), (std::vector<std::pair<int, int>>{{SizeBoxX(1) + 5, kY + 45}}));
    // The two sunken panels behind the recipes button and the content.
    uint32_t fill = 0;
    EXPECT_EQ(BoxAt(kX + 10, kY + 218, 380, 27, &fill), 1);
    EXPECT_EQ(fill, 0x1E000000u);
    EXPECT_EQ(BoxAt(kX + 10, kY + 30, 380, 178, &fill), 1);
    EXPECT_EQ(fill, 0x1E000000u);
}

TEST_F(BrewingTest, APressOnASizeBoxChoosesItOnlyWithoutABrew) {
    Enter();
    Dispatch(Brewing(false));
    Redraw();
    // The box under the mouse as the frame drew it decides.
    MoveMouse(SizeBoxX(3) + 20, kY + 60);
    Redraw();
    EXPECT_EQ(brewing().hoveredSize, 3);
    Click(SizeBoxX(3) + 20, kY + 60);
    EXPECT_EQ(brewing().potionSize, 3);
    Redraw();
    EXPECT_EQ(BoxAt(SizeBoxX(3) + 1, kY + 41, 40, 40), 1) << "sunken and one pixel lower";
    EXPECT_EQ(BoxAt(SizeBoxX(1), kY + 40, 40, 40), 2);
    EXPECT_EQ(SpriteAt(1940), (std::vector<std::pair<int, int>>{{SizeBoxX(3) + 5, kY + 45}}));

    // Between two boxes, and on the title bar: no size.
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{{SizeBoxX(3) + 45, kY + 60}, {kX + 150, kY + 10}}) {
        MoveMouse(x, y);
        Redraw();
        Click(x, y);
        EXPECT_EQ(brewing().potionSize, 3) << x << "," << y;
    }
    // During a brew the boxes are not drawn, and a press changes nothing.
    Dispatch(Brewing(true, 2, 4, 0));
    MoveMouse(SizeBoxX(5) + 20, kY + 60);
    Redraw();
    brewing().hoveredSize = 5;  // as the idle view left it
    Click(SizeBoxX(5) + 20, kY + 60);
    EXPECT_EQ(brewing().potionSize, 2);
}

TEST_F(BrewingTest, TheHeatFadesOverHalfASecondAndBoilsFromSeventy) {
    Enter();
    Dispatch(Brewing(true, 1, 1, 20));
    fixture.platform.clock.Advance(600);
    Redraw();
    EXPECT_EQ(Overlay(), 51u << 24 | 0x8B);
    EXPECT_TRUE(Drawn("Themixtureseemscalm."));

    Dispatch(Brewing(true, 1, 1, 80));
    const struct {
        uint32_t after;  // milliseconds since the change
        uint32_t alpha;
    } fade[] = {{0, 51}, {250, 127}, {499, 203}, {500, 204}, {5000, 204}};
    uint32_t now = 0;
    for (const auto& step : fade) {
        fixture.platform.clock.Advance(step.after - now);
        now = step.after;
        Redraw();
        EXPECT_EQ(Overlay(), step.alpha << 24 | 0x8B) << step.after << " ms";
        EXPECT_TRUE(Drawn("Themixtureisboiling.")) << "at once";
    }

    const struct {
        int heat;
        const char* text;
    } lines[] = {{70, "Themixtureisboiling."}, {69, "Themixtureseemscalm."}, {0, "Themixtureseemscalm."},
                 {255, "Themixtureisboiling."}};
    for (const auto& line : lines) {
        Dispatch(Brewing(true, 1, 1, line.heat));
        Redraw();
        EXPECT_TRUE(Drawn(line.text)) << line.heat;
        EXPECT_TRUE(Drawn("Onlydropiningredientswhilethemixtureisnotboiling!"));
    }
}

TEST_F(BrewingTest, HeatAlphaAndSizeBoxesArePureArithmetic) {
    const struct {
        int heat, previous;
        uint32_t elapsed;
        int alpha;
    } alphas[] = {{20, 0, 600, 51},    {80, 20, 0, 51},      {80, 20, 250, 127}, {80, 20, 499, 203},
                  {80, 20, 500, 204},  {20, 80, 250, 127},   {100, 0, 9999, 255}, {200, 0, 9999, 255},
                  {255, 20, 100, 170}, {0, 0, 0, 0},         {70, 69, 0xFFFFFFFF, 178}};
    for (const auto& c : alphas)
        EXPECT_EQ(BrewingDialog::HeatAlpha(c.heat, c.previous, c.elapsed), c.alpha)
            << c.heat << " from " << c.previous << " after " << c.elapsed;

    const struct {
        int x, y, size;
    } boxes[] = {{120, 40, 1}, {159, 79, 1}, {160, 60, 0}, {175, 40, 2}, {340, 60, 5},
                 {339, 60, 0}, {380, 60, 0}, {130, 39, 0}, {130, 80, 0}, {119, 60, 0}};
    for (const auto& c : boxes)
        EXPECT_EQ(BrewingDialog::SizeBoxAt(1000, 2000, 1000 + c.x, 2000 + c.y), c.size) << c.x << "," << c.y;
}

TEST_F(BrewingTest, WhileBrewingOnlyFinishingIsOffered) {
    Enter();
    Dispatch(Brewing(true, 3, 4, 20));
    EXPECT_TRUE(brewing().inProgress);
    EXPECT_TRUE(Hidden(BrewingDialog::kAmountBox));
    EXPECT_TRUE(Hidden(BrewingDialog::kBeginButton));
    EXPECT_FALSE(Hidden(BrewingDialog::kFinishButton));
    EXPECT_TRUE(Disabled(BrewingDialog::kCloseButton));
    Click(Find<GUIControl>(BrewingDialog::kCloseButton));
    EXPECT_NE(Find<GUIControl>(BrewingDialog::kDialogId), nullptr) << "a brew cannot be closed";

    Click(Find<GUIControl>(BrewingDialog::kFinishButton));
    EXPECT_EQ(Requests(), std::vector<Bytes>({{0x39, 2}}));
    EXPECT_TRUE(brewing().inProgress) << "only the server ends the brew";

    Dispatch(Brewing(false));
    EXPECT_FALSE(Hidden(BrewingDialog::kAmountBox));
    EXPECT_FALSE(Disabled(BrewingDialog::kCloseButton));
    EXPECT_EQ(brewing().potionSize, 1);
    Click(Find<GUIControl>(BrewingDialog::kCloseButton));
    EXPECT_EQ(Find<GUIControl>(BrewingDialog::kDialogId), nullptr);
    EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput));
    EXPECT_TRUE(Requests().empty()) << "closing asks nothing";

    // The server may show the dialog again at any time.
    Dispatch(Brewing(true, 5, 1, 90));
    EXPECT_NE(Find<GUIControl>(BrewingDialog::kDialogId), nullptr);
    EXPECT_TRUE(Hidden(BrewingDialog::kBeginButton));
}

TEST_F(BrewingTest, BeginBrewingSendsTheSizeAndTheAmountsLow16Bits) {
    Enter();
    Dispatch(Brewing(false));
    brewing().potionSize = 3;
    const struct {
        const char* typed;
        uint16_t amount;
    } cases[] = {{"4", 4}, {"abc", 0}, {"", 0}, {"70000", 70000 & 0xFFFF}, {"12abc", 12},
                 {" 7", 7}, {"-1", 0xFFFF}, {"99999999999", 0xFFFF}};
    for (const auto& c : cases) {
        Find<GUITextbox>(BrewingDialog::kAmountBox)->SetText(c.typed);
        Click(Button("Begin Brewing"));
        EXPECT_EQ(Requests(), std::vector<Bytes>({{0x39, 1, 3, uint8_t(c.amount), uint8_t(c.amount >> 8)}}))
            << '"' << c.typed << '"';
    }
}

TEST_F(BrewingTest, ViewRecipesOpensTheRecipesAndAsksForThem) {
    Enter();
    Dispatch(Brewing(false));
    Click(Button("View learned recipes..."));
    EXPECT_NE(Find<GUIControl>(RecipesDialog::kDialogId), nullptr);
    EXPECT_NE(Find<GUIControl>(BrewingDialog::kDialogId), nullptr) << "brewing stays open";
    EXPECT_EQ(Requests(), std::vector<Bytes>({{0x39, 3}}));
}

TEST_F(BrewingTest, IngredientsGoInIdOrderAtTheirStepAndUnknownIdsDrawNoSprite) {
    Enter();
    // Seven ingredients, one id past the store's range, and the potion's count.
    Dispatch(Brewing(true, 2, 12, 0,
                     {{kFlower, 3}, {100, 1}, {101, 1}, {102, 1}, {103, 1}, {104, 1}, {20000, 5}, {kCoins, 7}}));
    ASSERT_EQ(brewing().ingredients.size(), 8u);
    Redraw();
    EXPECT_EQ(SpriteAt(1937), (std::vector<std::pair<int, int>>{{kX + 24, kY + 44}}));
    EXPECT_TRUE(Drawn("+"));
    EXPECT_EQ(BoxAt(kX + 20, kY + 40, 40, 40), 1);
    for (int box = 0; box < 6; ++box)
        EXPECT_EQ(BoxAt(kX + 90 + 50 * box, kY + 40, 40, 40), 1) << box;
    // Ascending ids: 100 .. 104, coins (110), flower (120), 20000: the coins
    // are the sixth, the flower the seventh, past the boxes at the same step.
    EXPECT_EQ(SpriteAt(kCoins), (std::vector<std::pair<int, int>>{{kX + 90 + 250 + 4, kY + 44}}));
    EXPECT_EQ(SpriteAt(kFlower), (std::vector<std::pair<int, int>>{{kX + 90 + 300 + 4, kY + 44}}));
    const std::vector<std::string> texts = Texts();
    for (const char* count : {"12", "3", "7", "5"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), count), texts.end()) << count;
    // 20000 lies beyond the store's ids: no sprite, no read past the store.
    EXPECT_EQ(SpriteAt(20000).size(), 0u);
}

TEST_F(BrewingTest, AThingDropsOnTheBrewOnlyStrictlyInsideTheDialog) {
    Enter();
    EXPECT_FALSE(brewing().DropTarget(kX + 10, kY + 10)) << "closed";
    Dispatch(Brewing(true, 1, 1, 0));
    const struct {
        int x, y;
        bool inside;
    } cases[] = {{kX + 1, kY + 1, true},          {kX, kY + 10, false},          {kX + 10, kY, false},
                 {kX + 399, kY + 299, true},      {kX + 400, kY + 10, false},    {kX + 10, kY + 300, false},
                 {kX + 200, kY + 150, true}};
    for (const auto& c : cases)
        EXPECT_EQ(brewing().DropTarget(c.x, c.y), c.inside) << c.x << "," << c.y;
}

}  // namespace
