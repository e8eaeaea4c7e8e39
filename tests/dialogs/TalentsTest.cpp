// The talents dialog: which plus and minus buttons are enabled, the points
// it sends, the reset question, and what it draws.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/character/TalentsDialog.h"
#include "engine/gui/GUIButton.h"
#include "game/ConfirmDialog.h"
#include "game/GameControlIds.h"
#include "sidewindows/CStatus.h"
#include "tests/dialogs/CharacterDialogFixture.h"

namespace {

TalentValues Values(std::initializer_list<int> values) {
    TalentValues out{};
    size_t i = 0;
    for (int value : values)
        out[i++] = value;
    return out;
}

const TalentValues kMaximum = TalentMaximums();

class TalentsTest : public CharacterDialogTest {
protected:
    void SetUp() override { Enter({{5765, 18, 18}}); }
    TalentsDialog& talents() { return *game().talents; }
    CStatus& status() { return *game().status; }
    void SetStatus(const TalentValues& values, int unused) {
        for (size_t i = 0; i < values.size(); ++i)
            status().talents[i] = values[i];
        status().unusedPoints = unused;
    }
    // The enabled flags of the open dialog's buttons, minus and plus by talent.
    TalentButtonStates Shown() {
        TalentButtonStates shown;
        for (size_t i = 0; i < shown.plus.size(); ++i) {
            shown.minus[i] = !talents().minusButton[i]->HasFlag(GUIControl::kDisabled);
            shown.plus[i] = !talents().plusButton[i]->HasFlag(GUIControl::kDisabled);
        }
        return shown;
    }
    void ClickPlus(int talent) { ClickButton(talents().plusButton[size_t(talent)]); }
    void ClickMinus(int talent) { ClickButton(talents().minusButton[size_t(talent)]); }
    void ClickButton(const GUIControl* button) {
        ClickAt(button->x + button->width / 2, button->y + button->height / 2);
    }
};

Bytes TalentsRequest(std::initializer_list<int> points) {
    Wire wire;
    wire.U8(0x33);
    for (int value : points)
        wire.U16(uint32_t(value));
    return wire.bytes;
}

}  // namespace

TEST(TalentButtonRulesTest, PlusWhilePointsAreLeftBelowTheMaximumMinusForPendingPoints) {
    const TalentValues zero{};
    const struct {
        const char* what;
        TalentValues current, pending;
        int unused;
        std::vector<bool> minus, plus;
    } cases[] = {
        {"nothing to spend", zero, zero, 0, {0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}},
        {"points to spend", zero, zero, 3, {0, 0, 0, 0, 0, 0, 0}, {1, 1, 1, 1, 1, 1, 1}},
        {"the last point spent", zero, Values({2, 0, 0, 1}), 0, {1, 0, 0, 1, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}},
        {"Expertise 9 + 1 reaches 10", Values({0, 0, 0, 9}), Values({0, 0, 0, 1}), 5, {0, 0, 0, 1, 0, 0, 0},
         {1, 1, 1, 0, 1, 1, 1}},
        {"Expertise 9 may take one", Values({0, 0, 0, 9}), zero, 5, {0, 0, 0, 0, 0, 0, 0}, {1, 1, 1, 1, 1, 1, 1}},
        {"at their maximums", Values({50, 50, 99, 10, 49, 50, 24}), Values({0, 0, 1, 0, 0, 0, 1}), 4,
         {0, 0, 1, 0, 0, 0, 1}, {0, 0, 0, 0, 1, 0, 0}},
        {"beyond the maximum", Values({70, 0, 0, 0, 0, 0, 30}), zero, 1, {0, 0, 0, 0, 0, 0, 0},
         {0, 1, 1, 1, 1, 1, 0}},
    };
    for (const auto& c : cases) {
        const TalentButtonStates states = TalentButtonRules(c.current, c.pending, c.unused, kMaximum);
        EXPECT_EQ(std::vector<bool>(states.minus.begin(), states.minus.end()), c.minus) << c.what;
        EXPECT_EQ(std::vector<bool>(states.plus.begin(), states.plus.end()), c.plus) << c.what;
    }
    EXPECT_EQ(kMaximum, Values({50, 50, 100, 10, 50, 50, 25}));
}

TEST_F(TalentsTest, SpendingThePointsDisablesEveryPlusAndAMinusGivesOneBack) {
    SetStatus(Values({1, 0, 99, 9}), 2);
    talents().Show();
    ASSERT_NE(gui().FindControl(GameIds::kTalentsDialog), nullptr);
    EXPECT_EQ(Shown().plus, TalentButtonRules(Values({1, 0, 99, 9}), {}, 2, kMaximum).plus);
    ClickPlus(3);  // Expertise 9 -> 10: its plus goes off
    EXPECT_FALSE(Shown().plus[3]);
    EXPECT_TRUE(Shown().minus[3]);
    EXPECT_TRUE(Shown().plus[0]);
    ClickPlus(2);  // Legerity 99 -> 100, the last point
    for (bool plus : Shown().plus)
        EXPECT_FALSE(plus);
    EXPECT_EQ(talents().unusedPoints, 0);
    ClickPlus(0);  // disabled: nothing
    EXPECT_EQ(talents().pending, Values({0, 0, 1, 1}));
    ClickMinus(2);
    EXPECT_EQ(talents().unusedPoints, 1);
    EXPECT_EQ(Shown().plus, TalentButtonRules(Values({1, 0, 99, 9}), Values({0, 0, 0, 1}), 1, kMaximum).plus);
    EXPECT_TRUE(Shown().plus[2]);
    EXPECT_FALSE(Shown().plus[3]);
    // Indices past the table do nothing.
    talents().AddPointTo(7);
    talents().RemovePointFrom(-1);
    EXPECT_EQ(talents().unusedPoints, 1);

    PressEnter();
    PressEnter();
    EXPECT_EQ(Requests(), std::vector<Bytes>{TalentsRequest({0, 0, 0, 1, 0, 0, 0})}) << "Enter saves, once";
    EXPECT_EQ(gui().FindControl(GameIds::kTalentsDialog), nullptr);
    EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput));
}

TEST_F(TalentsTest, OpeningWhileOpenReloadsNothingAndSaveSendsZeros) {
    SetStatus(Values({1, 2}), 4);
    talents().Show();
    ClickPlus(0);
    SetStatus(Values({5, 5}), 9);
    talents().Show();
    EXPECT_EQ(talents().pending, Values({1}));
    EXPECT_EQ(talents().current, Values({1, 2}));
    EXPECT_EQ(talents().unusedPoints, 3);
    Click(GameIds::kTalentsSave);
    EXPECT_EQ(Requests(), std::vector<Bytes>{TalentsRequest({1, 0, 0, 0, 0, 0, 0})});

    // Each opening starts from the skills window again.
    gui().Update();
    talents().Show();
    EXPECT_EQ(talents().current, Values({5, 5}));
    EXPECT_EQ(talents().unusedPoints, 9);
    EXPECT_EQ(talents().totalPoints, 19);
    Click(GameIds::kTalentsSave);
    EXPECT_EQ(Requests(), std::vector<Bytes>{TalentsRequest({0, 0, 0, 0, 0, 0, 0})});
}

// OK on the question sends the reset; the server's chat line then refreshes
// the open dialog from the skills window.
TEST_F(TalentsTest, TheResetIsAskedSentAndReloaded) {
    SetStatus(Values({3, 3}), 2);
    talents().Show();
    ClickPlus(1);
    ClickAt(gui().FindControl(GameIds::kTalentsDialog)->x + 100, gui().FindControl(GameIds::kTalentsDialog)->y + 330);
    ASSERT_NE(gui().FindControl(ConfirmDialog::kDialogId), nullptr);
    EXPECT_EQ(ConfirmDialog::Instance()->text,
              "Are you sure you want to reset your\ntalents for a fee of 10 premium cards?");
    EXPECT_TRUE(Requests().empty());
    ConfirmDialog::OnOk(ConfirmDialog::Instance());
    EXPECT_EQ(Requests(), std::vector<Bytes>{Bytes{0x34}});

    SetStatus(Values({}), 8);
    Dispatch(Wire().U8(0x04).Str("Server").Str("Main").U8(6).Str("Your talent points were reset.").bytes);
    EXPECT_EQ(talents().unusedPoints, 8);
    EXPECT_EQ(talents().pending, Values({}));
    for (bool minus : Shown().minus)
        EXPECT_FALSE(minus);
    for (bool plus : Shown().plus)
        EXPECT_TRUE(plus);
}

TEST_F(TalentsTest, BarsNumbersIconsAndTheTooltip) {
    // 500 Durability points from the server: the bar stays in its box.
    SetStatus(Values({500, 25}), 25);
    talents().Show();
    ClickPlus(1);
    const GUIControl* dialog = gui().FindControl(GameIds::kTalentsDialog);
    const int X = dialog->x;
    const int Y = dialog->y;
    const int W = dialog->width;
    const int firstRow = Y + 85;
    // The mouse rests on the second talent's icon.
    GuiInput(*client->app, fixture.platform.keys).Move(X + 25, firstRow + 25 + 5);
    Redraw();

    std::vector<std::string> bars;
    for (const RecordedCall* call : engine().Calls("RenderRectangle"))
        if (call->args[0] == 0x50646464 || call->args[0] == 0x50B4B4B4)
            bars.push_back(call->text);
    const int s = W - 100;
    ASSERT_GE(bars.size(), 5u);
    char expected[5][80];
    std::snprintf(expected[0], 80, "RenderRectangle(0x50646464, %d, %d, %d, 13)", X + 21, Y + 56,
                  int(24.0f / 550.0f * float(W - 42)));
    std::snprintf(expected[1], 80, "RenderRectangle(0x50646464, %d, %d, %d, 18)", X + 43, firstRow + 1, s);
    std::snprintf(expected[2], 80, "RenderRectangle(0x50b4b4b4, %d, %d, 0, 18)", X + 43 + s, firstRow + 1);
    std::snprintf(expected[3], 80, "RenderRectangle(0x50646464, %d, %d, %d, 18)", X + 43, firstRow + 26,
                  int(25.0f / 50.0f * float(s)));
    std::snprintf(expected[4], 80, "RenderRectangle(0x50b4b4b4, %d, %d, %d, 18)", X + 43 + int(0.5f * float(s)),
                  firstRow + 26, int(1.0f / 50.0f * float(s)));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(bars[size_t(i)], expected[i]);

    const DrawnText* sum = FindText("26");
    ASSERT_NE(sum, nullptr);
    EXPECT_EQ(sum->y, firstRow + 25 + 2);
    ASSERT_NE(FindText("Spirituality"), nullptr);
    EXPECT_EQ(FindText("Spirituality")->x, X + 47);
    ASSERT_NE(FindText("Unused talent points"), nullptr);
    ASSERT_NE(FindText("You gain 1 talent point each time you level up."), nullptr);
    // The first icon is in the file; the others are drawn as far as they are.
    size_t icons = 0;
    for (const RecordedCall* call : engine().Calls("RenderSprite"))
        if (call->args[0] == X + 20 && call->args[1] == firstRow + 1 && call->args[2] == 18)
            ++icons;
    EXPECT_EQ(icons, 1u);

    // The tooltip: the talent's description and limit, 60 px left of the dialog.
    const DrawnText* description = FindText(CStatus::TalentDescription(1));
    ASSERT_NE(description, nullptr);
    EXPECT_EQ(description->x, X - 60 + 5);
    const DrawnText* limit = FindText("The maximum is 50 points.");
    ASSERT_NE(limit, nullptr);
    EXPECT_EQ(limit->y, description->y + 15);
}
