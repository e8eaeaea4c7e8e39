// The quest and achievement log as the server fills it (0x2a): one log per
// request unless it is closed, the rows and their order, the detail box,
// and how the log goes: by its button, with the game screen, or on the login
// screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/Client.h"
#include "dialogs/character/BrewingDialog.h"
#include "dialogs/character/QuestLogDialog.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITabgroup.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameControlIds.h"
#include "game/GameInterface.h"
#include "net/Connection.h"
#include "protocol/Protocol.h"
#include "tests/support/ServerDialogFixture.h"

namespace {

struct Quest {
    std::string name;
    int progress;
    std::vector<std::string> lines;
};

struct Achievement {
    std::string name;
    int level;
    int points;
    int progress;
    std::string description;
};

Bytes QuestMessage(const Quest& quest, bool clear = false) {
    Wire wire;
    wire.U16(1).U8(clear ? 1 : 0);
    wire.Str(quest.name).U8(uint32_t(quest.progress)).U16(uint32_t(quest.lines.size()));
    for (const std::string& line : quest.lines)
        wire.Str(line);
    return Join({{0x2a}, wire.bytes});
}

Bytes AchievementsMessage(int earned, int possible, const std::vector<Achievement>& entries, bool clear = false) {
    Wire wire;
    wire.U8(0x2a).U16(2).U8(clear ? 1 : 0).U32(uint32_t(earned)).U32(uint32_t(possible));
    for (const Achievement& a : entries)
        wire.Str(a.name).U16(uint32_t(a.level)).U16(uint32_t(a.points)).U8(uint32_t(a.progress)).Str(a.description);
    return wire.Str("").bytes;
}

// The colour code the detail box writes in front of a line.
std::string ColourCode(uint32_t colour) {
    std::string code = "\x01";
    for (int shift = 0; shift < 32; shift += 8)
        code.push_back(char((colour >> shift) & 0xFF));
    return code;
}

class QuestLogTest : public ServerDialogTest {
protected:
    QuestLogDialog* log() { return client->protocol->questLog; }
    GUISelect* List() { return Find<GUISelect>(QuestLogDialog::kList); }
    GUITextbox* Detail() { return Find<GUITextbox>(QuestLogDialog::kDetail); }
    std::vector<std::string> Rows(bool status = false) {
        std::vector<std::string> rows;
        for (const GUISelectItem& item : List()->items)
            rows.push_back(status ? item.rightText : item.text);
        return rows;
    }
    GUITab* Tab(const std::string& caption) {
        for (GUIControl* control : Find<GUIControl>(QuestLogDialog::kDialogId)->children)
            if (GUITabgroup* tabs = dynamic_cast<GUITabgroup*>(control))
                for (GUITab* tab : tabs->GetTabs())
                    if (tab->caption == caption)
                        return tab;
        return nullptr;
    }
    // The tab group lays its tabs out when it is drawn, as before any real click.
    void ShowTab(const std::string& caption) {
        Redraw();
        Click(Tab(caption));
    }
    int Deleted() {
        int count = 0;
        for (const std::string& event : TakeEvents())
            count += event == "~QuestLogDialog";
        return count;
    }
};

TEST_F(QuestLogTest, TheFirstMessageMakesTheLogOnTheQuestsTab) {
    Enter();
    EXPECT_EQ(log(), nullptr);
    Dispatch(QuestMessage({"The Lost Ring", 50, {"Start: talk to the innkeeper."}}));
    ASSERT_NE(log(), nullptr);
    const GUIDialog* dialog = Find<GUIDialog>(QuestLogDialog::kDialogId);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->title, "Quest & Achievement Log");
    EXPECT_EQ(std::vector<int>({dialog->x, dialog->y, dialog->width, dialog->height}),
              std::vector<int>({250, 100, 500, 500}));
    ASSERT_NE(Tab("Quest Log"), nullptr);
    ASSERT_NE(Tab("Achievement Log"), nullptr);
    EXPECT_TRUE(Tab("Quest Log")->active);
    EXPECT_EQ(Tab("Quest Log")->width, 229);
    // The list stands under the information line.
    EXPECT_EQ(std::vector<int>({List()->x, List()->y, List()->width, List()->height}),
              std::vector<int>({270, 205, 460, 160}));
    EXPECT_EQ(Rows(), std::vector<std::string>({"The Lost Ring"}));
    EXPECT_EQ(Rows(true), std::vector<std::string>({"50%"}));
    EXPECT_TRUE(Detail()->HasFlag(GUIControl::kReadOnly));
    EXPECT_TRUE(Detail()->HasFlag(GUIControl::kMultiLine));
    Redraw();
    EXPECT_TRUE(Drawn("Mostquestsarenotshownhereuntilyoubeginthem."));
    uint32_t fill = 1;
    EXPECT_EQ(BoxAt(270, 170, 460, 25, &fill), 1) << "the information line's frame";
    EXPECT_EQ(fill, 0u);
}

TEST_F(QuestLogTest, RequestsAddToOneLogUnlessTheServerClearsIt) {
    Enter();
    Dispatch(QuestMessage({"A", 10, {}}));
    QuestLogDialog* first = log();
    Dispatch(QuestMessage({"B", 20, {}}));
    EXPECT_EQ(log(), first);
    EXPECT_EQ(Rows(), std::vector<std::string>({"A", "B"}));
    Dispatch(QuestMessage({"C", 30, {}}, true));
    EXPECT_EQ(log(), first);
    EXPECT_EQ(Rows(), std::vector<std::string>({"C"}));
    Dispatch(AchievementsMessage(1, 2, {}, true));
    EXPECT_TRUE(log()->quests.empty()) << "the flag empties both lists";
    EXPECT_EQ(log()->pointsEarned, 1);
}

TEST_F(QuestLogTest, EachListKeepsItsNewestRecordsWithoutAReset) {
    Enter();
    Dispatch(QuestMessage({"First", 10, {}}));
    ASSERT_NE(log(), nullptr);
    log()->Clear();
    const size_t cap = QuestLogDialog::kMaxRecords;
    for (size_t i = 0; i < cap + 5; ++i) {
        QuestRecord quest;
        quest.name = "Quest " + std::to_string(i);
        log()->AddQuest(quest);
        AchievementRecord achievement;
        achievement.name = "Feat " + std::to_string(i);
        log()->AddAchievement(achievement);
    }
    ASSERT_EQ(log()->quests.size(), cap);
    ASSERT_EQ(log()->achievements.size(), cap);
    EXPECT_EQ(log()->quests.front().name, "Quest 5");
    EXPECT_EQ(log()->achievements.front().name, "Feat 5");
    EXPECT_EQ(log()->quests.back().name, "Quest " + std::to_string(cap + 4));
}

TEST_F(QuestLogTest, RowsAreSortedStablyWithTheirStatus) {
    Enter();
    for (const Quest& quest : std::vector<Quest>{{"Done", 100, {}}, {"Hidden", 255, {}}, {"Begun", 0, {}},
                                                 {"Over", 101, {}}, {"Half", 50, {}}})
        Dispatch(QuestMessage(quest));
    EXPECT_EQ(Rows(), std::vector<std::string>({"Begun", "Half", "Done", "Over", "Hidden"}));
    EXPECT_EQ(Rows(true), std::vector<std::string>({"0%", "50%", "100%", "-", "-"}));

    Dispatch(AchievementsMessage(15, 60, {{"A5", 0, 5, 100, ""}, {"B3", 0, 3, 99, ""}, {"C5", 0, 5, 0, ""},
                                          {"D3", 0, 3, 100, ""}}));
    ShowTab("Achievement Log");
    EXPECT_FALSE(log()->showQuests);
    EXPECT_EQ(Rows(), std::vector<std::string>({"B3", "D3", "A5", "C5"})) << "equal points keep their order";
    EXPECT_EQ(Rows(true), std::vector<std::string>({"99%", "Completed", "Completed", "0%"}));
    Redraw();
    EXPECT_TRUE(Drawn("Someachievementsmaybehidden.Youhave15of60possiblepoints."));
    ShowTab("Quest Log");
    EXPECT_EQ(Rows().front(), "Begun");

    const struct {
        int progress;
        const char* quest;
        const char* achievement;
    } statuses[] = {{0, "0%", "0%"}, {99, "99%", "99%"}, {100, "100%", "Completed"}, {101, "-", "101%"},
                    {255, "-", "255%"}};
    for (const auto& s : statuses) {
        EXPECT_EQ(QuestLogDialog::QuestStatus(s.progress), s.quest);
        EXPECT_EQ(QuestLogDialog::AchievementStatus(s.progress), s.achievement);
    }
}

TEST_F(QuestLogTest, TheDetailBoxShowsTheSelectedRecord) {
    Enter();
    Dispatch(QuestMessage({"Q", 10, {"Start: talk to him.", "a note: with a blank first", "Reward:", "plain"}}));
    Redraw();
    const std::string label = ColourCode(QuestLogDialog::kLabelColor);
    EXPECT_EQ(Detail()->GetText().find(label + "Start: talk to him.\x02\n"), 0u) << "a label line";
    EXPECT_NE(Detail()->GetText().find(label + "Reward:\x02\n"), std::string::npos);
    EXPECT_EQ(Detail()->GetText().find(label + "a note"), std::string::npos);
    EXPECT_EQ(Detail()->GetText().find(label + "plain"), std::string::npos);

    const struct {
        const char* line;
        bool label;
    } lines[] = {{"Start: x", true}, {"Start:x y", true}, {"a b: c", false}, {"no colon", false}, {"", false},
                 {"only:", true},    {":", true},         {" :", false}};
    for (const auto& l : lines)
        EXPECT_EQ(QuestLogDialog::IsLabelLine(l.line), l.label) << '"' << l.line << '"';

    Dispatch(AchievementsMessage(0, 0, {{"Seasoned", 20, 7, 0, "Reach level 20."}, {"Easy", 0, 9, 0, "Walk."}}));
    ShowTab("Achievement Log");
    Redraw();
    EXPECT_EQ(Detail()->GetText(), "Reach level 20.\n\nLevel 20+ recommended.\nYields 7 achievement points.\n");
    List()->selectedIndex = 1;
    Redraw();
    EXPECT_EQ(Detail()->GetText(), "Walk.\n\nYields 9 achievement points.\n") << "no level line for level 0";
}

TEST_F(QuestLogTest, FewerRecordsOnTheOtherTabKeepTheDetail) {
    Enter();
    for (const char* name : {"First", "Second", "Third"})
        Dispatch(QuestMessage({name, 10, {std::string("Note of ") + name}}));
    Dispatch(AchievementsMessage(0, 0, {{"One", 0, 1, 0, "only one"}}));
    List()->selectedIndex = 2;
    Redraw();
    const std::string third = Detail()->GetText();
    EXPECT_NE(third.find("Note of Third"), std::string::npos);
    ShowTab("Achievement Log");
    EXPECT_EQ(List()->selectedIndex, 2);
    Redraw();
    EXPECT_EQ(Detail()->GetText(), third);
    List()->selectedIndex = 0;
    Redraw();
    EXPECT_EQ(Detail()->GetText().find("only one"), 0u);
}

// Setting the box puts its caret at the end and drops its selection: done in
// every frame, a long note could be neither scrolled nor selected.
TEST_F(QuestLogTest, TheDetailIsSetOnlyWhenWhatItShowsChanges) {
    Enter();
    Dispatch(QuestMessage({"Q", 10, {"A long note to select from."}}));
    Redraw();
    Detail()->selStart = 2;
    Detail()->selEnd = 6;
    Redraw();
    Redraw();
    EXPECT_EQ(Detail()->selStart, 2);
    Dispatch(QuestMessage({"R", 0, {"Another."}}));  // sorted first: the selected row changes
    Redraw();
    EXPECT_NE(Detail()->GetText().find("Another."), std::string::npos);
    EXPECT_EQ(Detail()->selStart, Detail()->selEnd);
}

TEST_F(QuestLogTest, CloseEndsTheLogAndTheNextRequestStartsAFreshOne) {
    Enter();
    Dispatch(QuestMessage({"Old", 10, {}}));
    TakeEvents();
    Click(Find<GUIControl>(QuestLogDialog::kCloseButton));
    EXPECT_EQ(log(), nullptr);
    EXPECT_EQ(Find<GUIControl>(QuestLogDialog::kDialogId), nullptr);
    EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput));
    EXPECT_EQ(Deleted(), 0) << "not inside its own click";
    client->ApplyPendingChanges();
    EXPECT_EQ(Deleted(), 1);

    Dispatch(QuestMessage({"New", 10, {}}));
    ASSERT_NE(log(), nullptr);
    EXPECT_EQ(Rows(), std::vector<std::string>({"New"}));
}

// A lost connection ends the game screen inside the main loop's pass; the log
// the protocol keeps goes with it, and the brewing dialog too.
TEST_F(QuestLogTest, ALostConnectionTakesTheLogAndTheBrewingDialogAlong) {
    Enter();
    Dispatch(QuestMessage({"Q", 10, {"note"}}));
    Dispatch(Bytes{0x3d, 0});
    Redraw();
    connection().SetState(Connection::kIdle);
    TakeEvents();
    client->RunPass();
    ASSERT_EQ(client->game, nullptr);
    EXPECT_EQ(log(), nullptr);
    client->RunPass();
    client->RunPass();
    EXPECT_EQ(Deleted(), 1);
    EXPECT_EQ(gui().FindControl(QuestLogDialog::kDialogId), nullptr);
    EXPECT_EQ(gui().FindControl(BrewingDialog::kDialogId), nullptr);
}

// Should a log ever be drawn without a game screen, it closes itself rather
// than stay over the login screen.
TEST_F(QuestLogTest, ALogDrawnWithoutAGameScreenClosesItself) {
    Enter();
    client->ReturnToMenu();
    auto* stray = new QuestLogDialog();
    stray->Show();
    client->protocol->questLog = stray;
    TakeEvents();
    Redraw();
    EXPECT_EQ(log(), nullptr);
    client->ApplyPendingChanges();
    EXPECT_EQ(Deleted(), 1);
    EXPECT_EQ(gui().FindControl(QuestLogDialog::kDialogId), nullptr);
}

// Notes from the server may end in a colour byte cut short: they are shown,
// and nothing is read past them (the sanitizers would say so).
TEST_F(QuestLogTest, ANoteEndingInAColourByteIsShownWithoutReadingPastIt) {
    Enter();
    Dispatch(QuestMessage({"Q\x01", 10, {std::string("cut\x01", 4), std::string("\x01", 1), "x:\x01"}}));
    Redraw();
    Redraw();
    EXPECT_NE(Detail()->GetText().find(std::string("cut\x01", 4)), std::string::npos);
}

}  // namespace
