// The learned recipes (0x3e) and the summon list (0x2d): what each dialog
// shows of the server's list, what it keeps when it closes, and the one
// request of the summon dialog.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "dialogs/character/RecipesDialog.h"
#include "dialogs/character/SummonMonsterDialog.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameControlIds.h"
#include "game/GameInterface.h"
#include "tests/support/ServerDialogFixture.h"

namespace {

Bytes Recipes(const std::vector<std::pair<std::string, std::string>>& recipes) {
    Wire wire;
    wire.U8(0x3e).U8(uint32_t(recipes.size()));
    for (const auto& [name, text] : recipes)
        wire.Str(name).Str(text);
    return wire.bytes;
}

Bytes SummonList(const std::vector<std::pair<std::string, int>>& monsters) {
    Wire wire;
    wire.U8(0x2d).U8(uint32_t(monsters.size()));
    for (const auto& [name, mana] : monsters)
        wire.Str(name).U16(uint32_t(mana));
    return wire.bytes;
}

std::vector<int> Rect(const GUIControl* control) {
    return {control->x, control->y, control->width, control->height};
}

std::vector<std::string> Rows(const GUISelect* list, bool right = false) {
    std::vector<std::string> rows;
    for (const GUISelectItem& item : list->items)
        rows.push_back(right ? item.rightText : item.text);
    return rows;
}

Bytes Summon(const std::string& name) {
    Bytes bytes = {0x29, uint8_t(name.size()), uint8_t(name.size() >> 8)};
    bytes.insert(bytes.end(), name.begin(), name.end());
    return bytes;
}

class RecipesTest : public ServerDialogTest {
protected:
    RecipesDialog& recipes() { return *game().recipes; }
    GUISelect* List() { return Find<GUISelect>(RecipesDialog::kList); }
    GUITextbox* Text() { return Find<GUITextbox>(RecipesDialog::kText); }
    GUIButton* CloseButton() {
        for (GUIControl* control : Find<GUIControl>(RecipesDialog::kDialogId)->children)
            if (GUIButton* button = dynamic_cast<GUIButton*>(control))
                return button;
        return nullptr;
    }
};

TEST_F(RecipesTest, ShowBuildsTheDialogOnceWithItsListFocused) {
    Enter();
    recipes().Show();
    GUIDialog* dialog = Find<GUIDialog>(RecipesDialog::kDialogId);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->title, "Learned Recipes");
    EXPECT_EQ(Rect(dialog), std::vector<int>({275, 150, 450, 400}));
    ASSERT_NE(List(), nullptr);
    EXPECT_EQ(Rect(List()), std::vector<int>({295, 190, 410, 80}));
    EXPECT_EQ(List()->fillColor, 0x1E000000u);
    EXPECT_EQ(gui().focus, List());
    ASSERT_NE(Text(), nullptr);
    EXPECT_EQ(Rect(Text()), std::vector<int>({295, 280, 410, 205}));
    EXPECT_TRUE(Text()->HasFlag(GUIControl::kReadOnly));
    EXPECT_TRUE(Text()->HasFlag(GUIControl::kMultiLine));
    EXPECT_NE(Text()->scrollbar, nullptr);
    EXPECT_EQ(Rect(CloseButton()), std::vector<int>({440, 515, 120, 25}));
    recipes().Show();
    EXPECT_EQ(Find<GUIDialog>(RecipesDialog::kDialogId), dialog) << "a second Show does nothing";
}

TEST_F(RecipesTest, TheListFollowsTheServerAndTheBoxTheSelectedRecipe) {
    Enter();
    Dispatch(Recipes({{"A", "first"}, {"B", "second"}}));
    EXPECT_EQ(recipes().learnedRecipes.size(), 2u) << "kept while the dialog is closed";
    recipes().Show();
    Dispatch(Recipes({{"A", "Take two flowers."}, {"B", "Take coins."}}));
    EXPECT_EQ(Rows(List()), std::vector<std::string>({"A", "B"}));
    Redraw();
    EXPECT_EQ(Text()->GetText(), "Take two flowers.");
    Click(List()->x + 20, List()->y + 30);  // the second row
    EXPECT_EQ(List()->selectedIndex, 1);
    Redraw();
    EXPECT_EQ(Text()->GetText(), "Take coins.");

    // A refresh keeps the row; no recipes empty list and records, the box
    // keeps its text.
    Dispatch(Recipes({{"C", "c"}, {"D", "d"}}));
    EXPECT_EQ(List()->selectedIndex, 1);
    Redraw();
    EXPECT_EQ(Text()->GetText(), "d");
    Dispatch(Recipes({}));
    EXPECT_TRUE(List()->items.empty());
    EXPECT_TRUE(recipes().learnedRecipes.empty());
    Redraw();
    EXPECT_EQ(Text()->GetText(), "d");
}

TEST_F(RecipesTest, ReopenedItShowsTheFirstStoredTextBeforeTheListComes) {
    Enter();
    recipes().Show();
    Dispatch(Recipes({{"A", "alpha"}, {"B", "beta"}}));
    Click(CloseButton());
    EXPECT_EQ(Find<GUIControl>(RecipesDialog::kDialogId), nullptr);
    EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput));
    EXPECT_EQ(recipes().learnedRecipes.size(), 2u);
    recipes().Show();
    Redraw();
    EXPECT_TRUE(List()->items.empty());
    EXPECT_EQ(Text()->GetText(), "alpha");
    // The game screen's own close forgets them.
    recipes().Close();
    EXPECT_TRUE(recipes().learnedRecipes.empty());
}

// Setting the box puts its caret at the end and drops its selection: done in
// every frame, a long recipe could be neither scrolled nor selected.
TEST_F(RecipesTest, TheBoxIsSetOnlyWhenItsRecipeChanges) {
    Enter();
    recipes().Show();
    Dispatch(Recipes({{"A", "A long text to select from."}}));
    Redraw();
    Text()->selStart = 2;
    Text()->selEnd = 6;
    Text()->caret = 3;
    Redraw();
    Redraw();
    EXPECT_EQ(Text()->selStart, 2);
    EXPECT_EQ(Text()->caret, 3);
    Dispatch(Recipes({{"A", "A new text."}}));
    Redraw();
    EXPECT_EQ(Text()->GetText(), "A new text.");
    EXPECT_EQ(Text()->selStart, Text()->selEnd);
}

TEST_F(RecipesTest, CloseAndShowInOneFrameLeaveItOpen) {
    Enter();
    recipes().Show();
    GUIDialog* first = Find<GUIDialog>(RecipesDialog::kDialogId);
    Click(CloseButton());
    recipes().Show();
    gui().Update();
    GUIDialog* second = Find<GUIDialog>(RecipesDialog::kDialogId);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    Redraw();
    EXPECT_NE(Find<GUIDialog>(RecipesDialog::kDialogId), nullptr);
}

// Text from the server may end in a colour byte cut short: it is shown, and
// nothing is read past it (the sanitizers would say so).
TEST_F(RecipesTest, ATextEndingInAColourByteIsShownWithoutReadingPastIt) {
    Enter();
    recipes().Show();
    Dispatch(Recipes({{"Cut\x01", std::string("ends in\x01", 8)}, {"x", std::string("\x01\x02\x01", 3)}}));
    Redraw();
    EXPECT_EQ(Text()->GetText(), std::string("ends in\x01", 8));
    List()->selectedIndex = 1;
    Redraw();
    Redraw();
}

class SummonTest : public ServerDialogTest {
protected:
    SummonMonsterDialog& summon() { return *game().summonMonster; }
    GUISelect* List() { return Find<GUISelect>(SummonMonsterDialog::kList); }
};

TEST_F(SummonTest, TheListShowsNamesAndManaAndSummonSendsThePlainName) {
    Enter();
    Dispatch(SummonList({{"Rat", 20}, {"Wolf", 60}, {"Bear", 120}}));
    const GUIDialog* dialog = Find<GUIDialog>(SummonMonsterDialog::kDialogId);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->title, "Summon Monster");
    EXPECT_EQ(Rect(dialog), std::vector<int>({350, 210, 300, 280}));
    EXPECT_EQ(Rect(List()), std::vector<int>({360, 240, 280, 195}));
    EXPECT_EQ(List()->fillColor, 0x1E000000u);
    EXPECT_EQ(Rows(List()), std::vector<std::string>({"Rat", "Wolf", "Bear"}));
    EXPECT_EQ(Rows(List(), true), std::vector<std::string>({"20 mana", "60 mana", "120 mana"}));
    EXPECT_EQ(Rect(Find<GUIControl>(SummonMonsterDialog::kSummonButton)), std::vector<int>({392, 455, 95, 25}));
    EXPECT_EQ(Rect(Find<GUIControl>(SummonMonsterDialog::kCancelButton)), std::vector<int>({513, 455, 95, 25}));
    EXPECT_EQ(gui().enterButtonId, SummonMonsterDialog::kSummonButton);

    Click(List()->x + 20, List()->y + 30);  // the second row
    Click(Find<GUIControl>(SummonMonsterDialog::kSummonButton));
    EXPECT_EQ(Requests(), std::vector<Bytes>({Summon("Wolf")}));
    EXPECT_EQ(Find<GUIControl>(SummonMonsterDialog::kDialogId), nullptr);
    EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput));
}

TEST_F(SummonTest, SummonWithoutAClickNamesTheFirstRowAndWithoutRowsNoName) {
    Enter();
    const struct {
        std::vector<std::pair<std::string, int>> monsters;
        std::string sent;
    } cases[] = {{{{"Rat", 20}, {"Wolf", 60}}, "Rat"}, {{}, ""}};
    for (const auto& c : cases) {
        Dispatch(SummonList(c.monsters));
        ASSERT_NE(Find<GUIControl>(SummonMonsterDialog::kDialogId), nullptr) << "opened also without rows";
        Click(Find<GUIControl>(SummonMonsterDialog::kSummonButton));
        EXPECT_EQ(Requests(), std::vector<Bytes>({Summon(c.sent)}));
    }
}

TEST_F(SummonTest, AListWhileOpenChangesNothingAndCancelSendsNothing) {
    Enter();
    EXPECT_TRUE(summon().Show({{"Rat", 20}}));
    const GUIControl* dialog = Find<GUIControl>(SummonMonsterDialog::kDialogId);
    Dispatch(SummonList({{"Dragon", 900}, {"Wolf", 60}}));
    EXPECT_FALSE(summon().Show({{"Dragon", 900}}));
    EXPECT_EQ(Find<GUIControl>(SummonMonsterDialog::kDialogId), dialog);
    EXPECT_EQ(Rows(List()), std::vector<std::string>({"Rat"}));
    Click(Find<GUIControl>(SummonMonsterDialog::kCancelButton));
    EXPECT_EQ(Find<GUIControl>(SummonMonsterDialog::kDialogId), nullptr);
    EXPECT_TRUE(Requests().empty());
}

TEST_F(SummonTest, EnterSummonsOnceEvenTwiceInOneFrame) {
    Enter();
    Dispatch(SummonList({{"Rat", 20}, {"Wolf", 60}}));
    List()->selectedIndex = 1;
    PressEnter();
    PressEnter();
    gui().Update();
    EXPECT_EQ(Requests(), std::vector<Bytes>({Summon("Wolf")}));
    EXPECT_EQ(Find<GUIControl>(SummonMonsterDialog::kDialogId), nullptr);
}

}  // namespace
