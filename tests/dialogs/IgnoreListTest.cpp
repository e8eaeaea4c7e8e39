// The ignore list: its stored form in velmora.ini, the dialog's add and
// remove, the comparison without case, and when the list reaches the file.
#include "client/ConfigFile.h"
#include "client/Settings.h"
#include "dialogs/social/IgnoreList.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameInterface.h"
#include "tests/dialogs/DialogFixture.h"

namespace {

class IgnoreListTest : public DialogTest {
protected:
    IgnoreList& list() { return *game().ignoreList; }
    ConfigFile& options() { return *client->settings->options; }
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        if (const GUISelect* select = Find<GUISelect>(IgnoreList::kListId))
            for (const GUISelectItem& item : select->items)
                rows.push_back(item.text);
        return rows;
    }
    void Add(const std::string& name) {
        Find<GUITextbox>(IgnoreList::kNameBoxId)->SetText(name);
        ClickOn(IgnoreList::kAddButtonId);
    }
    void Remove(int row) {
        Find<GUISelect>(IgnoreList::kListId)->selectedIndex = row;
        ClickOn(IgnoreList::kRemoveButtonId);
    }
    // The key as the file on disk holds it; "(none)" without it.
    std::string OnDisk() {
        ConfigFile file;
        file.Load(fixture.OptionsFolder() + "/velmora.ini");
        return file.HasKey("other", "ignorelist") ? file.GetString("other", "ignorelist") : "(none)";
    }
};

TEST_F(IgnoreListTest, TheStoredValueSplitsAtEverySeparatorAndJoinsWithOne) {
    const struct {
        const char* ini;
        std::vector<std::string> names;
        const char* saved;
    } cases[] = {
        {"[other]\nignorelist=Ann|Bob\n", {"Ann", "Bob"}, "Ann|Bob"},
        {"[other]\nignorelist=|Ann||Bob|\n", {"Ann", "Bob"}, "Ann|Bob"},
        {"[other]\nignorelist= Ann |bob\n", {" Ann ", "bob"}, " Ann |bob"},
        {"[other]\nignorelist=\n", {}, ""},
        {"", {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ini);
        Enter(c.ini);
        EXPECT_EQ(list().names, c.names);
        list().Save();
        ASSERT_TRUE(options().HasKey("other", "ignorelist"));
        EXPECT_EQ(options().GetString("other", "ignorelist"), c.saved);
        fixture.client.reset();
    }
}

TEST_F(IgnoreListTest, TheDialogAddsAsTypedAndRemovesTheFirstExactMatch) {
    Enter();
    list().Open();
    ASSERT_NE(Find<GUIDialog>(IgnoreList::kDialogId), nullptr);
    EXPECT_EQ(gui().FindControl(IgnoreList::kDialogId)->x, 350);
    EXPECT_EQ(gui().FindControl(IgnoreList::kDialogId)->y, 198);

    Add("Bob");
    EXPECT_EQ(Find<GUITextbox>(IgnoreList::kNameBoxId)->GetText(), "");
    Add("");
    Add(" ann");
    Add("Bob");
    EXPECT_EQ(list().names, (std::vector<std::string>{"Bob", " ann", "Bob"}));
    EXPECT_EQ(Rows(), list().names);
    // Written into the options at every change.
    EXPECT_EQ(options().GetString("other", "ignorelist"), "Bob| ann|Bob");

    Remove(2);  // the second "Bob": the first one goes
    EXPECT_EQ(list().names, (std::vector<std::string>{" ann", "Bob"}));
    Find<GUISelect>(IgnoreList::kListId)->Clear();
    ClickOn(IgnoreList::kRemoveButtonId);  // no row: nothing
    EXPECT_EQ(Rows(), (std::vector<std::string>{" ann", "Bob"}));
    EXPECT_EQ(options().GetString("other", "ignorelist"), " ann|Bob");
}

TEST_F(IgnoreListTest, ANameWithTheSeparatorIsRefusedSinceItWouldComeBackAsTwo) {
    Enter("[other]\nignorelist=Ann\n");
    list().Open();
    Add("Bob|Cid");
    EXPECT_EQ(Find<GUITextbox>(IgnoreList::kNameBoxId)->GetText(), "");
    EXPECT_EQ(list().names, (std::vector<std::string>{"Ann"}));
    EXPECT_EQ(options().GetString("other", "ignorelist"), "Ann");
}

TEST_F(IgnoreListTest, OpeningWhileOpenOnlyRefreshesTheRows) {
    Enter("[other]\nignorelist=Ann\n");
    list().Open();
    GUIControl* dialog = gui().FindControl(IgnoreList::kDialogId);
    dialog->MoveBy(30, 30);
    Find<GUITextbox>(IgnoreList::kNameBoxId)->SetText("half typed");
    list().names.push_back("Bob");
    ClickOn(GameIds::kIgnoreListButton);
    EXPECT_EQ(gui().FindControl(IgnoreList::kDialogId), dialog);
    EXPECT_EQ(dialog->x, 380);
    EXPECT_EQ(Find<GUITextbox>(IgnoreList::kNameBoxId)->GetText(), "half typed");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Ann", "Bob"}));
}

TEST_F(IgnoreListTest, NamesCompareWithoutCaseForLettersOnly) {
    Enter("[other]\nignorelist=Bob|\xC9ric|x1_\n");
    const struct {
        const char* name;
        bool ignored;
    } cases[] = {
        {"Bob", true},       {"bob", true},       {"BOB", true},   {"Bo", false},  {"Bobby", false},
        {"\xC9ric", true},   {"\xC9RIC", true},   {"\xE9ric", false},  // not a letter of A to Z
        {"X1_", true},       {"x1-", false},      {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(list().IsIgnored(c.name), c.ignored) << c.name;
}

TEST_F(IgnoreListTest, TheCloseButtonSavesNothingLeavingTheGameDoes) {
    Enter();
    client->settings->Save();
    list().Open();
    Add("Ann");
    ClickOn(IgnoreList::kCloseButtonId);
    EXPECT_EQ(gui().FindControl(IgnoreList::kDialogId), nullptr);
    EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput));
    EXPECT_EQ(OnDisk(), "(none)");
    client->ReturnToMenu();
    EXPECT_EQ(OnDisk(), "Ann");
}

TEST_F(IgnoreListTest, ClosingTwiceIsClosingOnce) {
    Enter("[other]\nignorelist=Ann\n");
    list().Open();
    list().names.push_back("Bob");
    TakeEvents();
    list().Close();
    EXPECT_EQ(gui().FindControl(IgnoreList::kDialogId), nullptr);
    EXPECT_EQ(options().GetString("other", "ignorelist"), "Ann|Bob");
    list().Close();
    EXPECT_EQ(options().GetString("other", "ignorelist"), "Ann|Bob");
    // The game screen's teardown closes it once more and frees it.
    client->ReturnToMenu();
    const std::vector<std::string> events = TakeEvents();
    EXPECT_EQ(std::count(events.begin(), events.end(), "~IgnoreList"), 1);
    EXPECT_EQ(options().GetString("other", "ignorelist"), "Ann|Bob");
}

}  // namespace
