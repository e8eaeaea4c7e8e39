// The chat log: opening and closing channels, routing every kind of line, the
// tab order keys, and what survives from one game to the next.
#include "tests/chat/ChatFixture.h"

#include "client/Hosts.h"

namespace {

const char kTime[] = "[12:34:56] ";

std::string FirstTimedLine() {
    const StatusLine* status = StatusLine::Instance();
    return status->timedLines.empty() || status->timedLines.front().lines.empty() ? ""
                                                                                : status->timedLines.front().lines[0];
}

struct KindCase {
    int kind;
    std::string line;  // after the time prefix; empty: no line
    uint32_t color;
    std::string status;      // the status text
    std::string centre;      // the boxed timed text
    std::string timedLines;  // a block of timed lines
};

// "Ana" says "hello" in "Trade" (in "Ana" for private lines).
const KindCase kKinds[] = {
    {ChatLog::kSay, "Ana: hello", ChatLog::kSayColor, "", "", ""},
    {ChatLog::kBroadcast, "Broadcast: hello", ChatLog::kBroadcastColor, "", "", ""},
    {ChatLog::kStatus, "", 0, "hello", "", ""},
    {ChatLog::kPlain, "hello", ChatLog::kPlainColor, "", "", ""},
    {ChatLog::kPrivateMessage, "Ana: hello", ChatLog::kPrivateColor, "", "", "Ana: hello"},
    {ChatLog::kNotice, "hello", ChatLog::kNoticeColor, "", "", "hello"},
    {ChatLog::kScreenText, "", 0, "", "hello", ""},
    {ChatLog::kHighlighted, "Ana: hello", ChatLog::kHighlightColor, "", "", ""},
    {9, "", 0, "", "", ""},
    {0, "", 0, "", "", ""},
};

enum class Mode { ChannelOpen, AutoOpen, Fallback };

TEST_F(ChatTest, EveryKindIsRoutedForAnOpenChannelAndBothFallbacks) {
    MakeTabGroup();
    for (Mode mode : {Mode::ChannelOpen, Mode::AutoOpen, Mode::Fallback}) {
        for (const KindCase& c : kKinds) {
            SCOPED_TRACE("kind " + std::to_string(c.kind) + " mode " + std::to_string(int(mode)));
            log().Clear();
            ResetStatusLine();
            settings().SetAutoOpenTab(mode != Mode::Fallback);
            settings().SetChannelOpen("Trade", false);
            log().AddChannelTab(ChatLog::kPublic, "Main");
            const bool isPrivate = c.kind == ChatLog::kPrivateMessage;
            const std::string channel = isPrivate ? "Ana" : "Trade";
            if (mode == Mode::ChannelOpen) {
                log().AddChannelTab(ChatLog::kPublic, "Trade");
                log().AddChannelTab(ChatLog::kPrivate, "Ana");
            }
            log().AddMessage("Ana", channel, c.kind, "hello");

            ChatPane* main = Pane("Main");
            ChatPane* target = Pane(channel);
            if (mode == Mode::Fallback) {
                EXPECT_EQ(target, nullptr);
                target = main;
            } else {
                ASSERT_NE(target, nullptr);
                const bool known = c.kind >= 1 && c.kind <= 8;
                if (mode == Mode::AutoOpen) {
                    // Any kind opens the tab, also those that show no line.
                    EXPECT_EQ(log().Panes().size(), 2u);
                    EXPECT_EQ(target->type, isPrivate ? ChatLog::kPrivate : ChatLog::kPublic);
                    EXPECT_EQ(ChannelRecorded("Trade"), !isPrivate) << known;
                }
            }
            std::string expected;
            if (!c.line.empty()) {
                std::string prefix = kTime;
                if (mode == Mode::Fallback && !isPrivate)
                    prefix += ColourCode(ChatLog::kChannelRunColor) + "[Trade] \x02";
                expected = Appended(*target->box, prefix + c.line, c.color);
            }
            EXPECT_EQ(target->box->text, expected);
            // A highlighted line turns an inactive tab yellow; "Main" is active.
            if (target != main) {
                EXPECT_EQ(main->box->text, "");
                EXPECT_EQ(target->tab->textColor, c.line.empty() ? ChatPane::kSeenColor : ChatPane::kUnreadColor);
            }
            EXPECT_EQ(main->tab->textColor, ChatPane::kSeenColor);

            StatusLine* status = StatusLine::Instance();
            EXPECT_EQ(status->statusText, c.status);
            EXPECT_EQ(status->centreLines.empty() ? "" : status->centreLines[0], c.centre);
            EXPECT_EQ(FirstTimedLine(), c.timedLines);
        }
    }
}

TEST_F(ChatTest, BroadcastsInMainAlsoShowAsTimedText) {
    MakeTabGroup();
    log().AddChannelTab(ChatLog::kPublic, "Main");
    log().AddMessage("", "Main", ChatLog::kBroadcast, "Server restart in 5 minutes.");
    ASSERT_EQ(StatusLine::Instance()->centreLines.size(), 1u);
    EXPECT_EQ(StatusLine::Instance()->centreLines[0], "Server restart in 5 minutes.");
    ChatPane* main = Pane("Main");
    EXPECT_EQ(main->box->text,
              Appended(*main->box, std::string(kTime) + "Broadcast: Server restart in 5 minutes.",
                       ChatLog::kBroadcastColor));
}

TEST_F(ChatTest, WithoutAnyPaneNothingIsShownAnywhere) {
    MakeTabGroup();
    for (int kind = 1; kind <= 8; ++kind)
        log().AddMessage("Ana", "Main", kind, "hello");
    EXPECT_TRUE(log().Panes().empty());
    StatusLine* status = StatusLine::Instance();
    EXPECT_EQ(status->statusText, "");
    EXPECT_TRUE(status->centreLines.empty());
    EXPECT_TRUE(status->timedLines.empty());
}

TEST_F(ChatTest, PrivateLinesFromOthersAreShortenedOnScreenOnly) {
    MakeTabGroup();
    log().AddChannelTab(ChatLog::kPublic, "Main");
    log().AddChannelTab(ChatLog::kPrivate, "Ana");
    const std::string exact(55, 'a');
    const std::string longer = std::string(55, 'b') + "c";
    log().AddMessage("Ana", "Ana", ChatLog::kPrivateMessage, exact);
    log().AddMessage("Ana", "Ana", ChatLog::kPrivateMessage, longer);
    StatusLine* status = StatusLine::Instance();
    ASSERT_EQ(status->timedLines.size(), 2u);
    EXPECT_EQ(status->timedLines.front().lines[0], "Ana: " + exact);
    EXPECT_EQ(status->timedLines.back().lines[0], "Ana: " + std::string(55, 'b') + " [...]");
    ChatPane* ana = Pane("Ana");
    EXPECT_EQ(ana->box->text, Appended(*ana->box, kTime + ("Ana: " + exact), ChatLog::kPrivateColor) +
                                  Appended(*ana->box, kTime + ("Ana: " + longer), ChatLog::kPrivateColor));
}

TEST_F(ChatTest, LootNoticesFollowTheLootOption) {
    MakeTabGroup();
    const std::string loot = "Loot of a rat: a gold coin dropped here.";
    const struct {
        int option;
        bool chat;
        bool screen;
    } cases[] = {{0, false, false}, {1, true, true}, {2, true, false}, {3, false, true}, {4, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        log().Clear();
        ResetStatusLine();
        settings().SetLootMessageDisplay(c.option);
        log().AddChannelTab(ChatLog::kPublic, "Main");
        log().AddMessage("Server", "Main", ChatLog::kNotice, loot);
        ChatPane* main = Pane("Main");
        EXPECT_EQ(main->box->text, c.chat ? Appended(*main->box, kTime + loot, ChatLog::kNoticeColor) : "");
        EXPECT_EQ(StatusLine::Instance()->timedLines.size(), c.screen ? 1u : 0u);
        // Without " dropped " a notice always shows in both places.
        log().AddMessage("Server", "Main", ChatLog::kNotice, "You advanced to level 2.");
        EXPECT_EQ(StatusLine::Instance()->timedLines.size(), c.screen ? 2u : 1u);
        EXPECT_NE(main->box->text.find("You advanced to level 2."), std::string::npos);
    }
}

TEST(ChatTimePrefix, EveryFieldHasTwoDigits) {
    const struct {
        int hour, minute, second;
        const char* text;
    } cases[] = {
        {0, 0, 7, "[00:00:07] "},
        {0, 1, 0, "[00:01:00] "},
        {9, 5, 7, "[09:05:07] "},
        {23, 59, 59, "[23:59:59] "},
    };
    for (const auto& c : cases) {
        std::tm time{};
        time.tm_hour = c.hour;
        time.tm_min = c.minute;
        time.tm_sec = c.second;
        EXPECT_EQ(ChatLog::TimePrefix(time), c.text);
    }
}

TEST_F(ChatTest, TheLocalClockGivesTheLinesTheirTime) {
    MakeTabGroup();
    log().AddChannelTab(ChatLog::kPublic, "Main");
    chatTestTime.tm_hour = 0;
    chatTestTime.tm_min = 0;
    chatTestTime.tm_sec = 3;
    log().AddMessage("", "Main", ChatLog::kPlain, "after midnight");
    EXPECT_EQ(Pane("Main")->box->text,
              Appended(*Pane("Main")->box, "[00:00:03] after midnight", ChatLog::kPlainColor));
}

TEST_F(ChatTest, SupportAndEnglishBringTheirHelpOnce) {
    MakeTabGroup();
    log().AddChannelTab(ChatLog::kPublic, "Main");
    log().AddChannelTab(ChatLog::kPublic, "Support");
    log().AddChannelTab(ChatLog::kPublic, "Support");
    log().AddChannelTab(ChatLog::kPublic, "English");
    ASSERT_EQ(log().Panes().size(), 3u);
    ChatPane* support = Pane("Support");
    const std::string help1 =
        "If you need help with the game, do not hesitate to ask in this channel. English only and no chatting, "
        "please!";
    const std::string help2 = std::string("Brannoc City Map: ") + kCityMapUrl + " - Useful resources: " +
                              kFanSiteUrlA + " & " + kFanSiteUrlB + "!";
    EXPECT_EQ(support->box->text, Appended(*support->box, help1, ChatLog::kHighlightColor) +
                                      Appended(*support->box, help2, ChatLog::kHighlightColor));
    ChatPane* english = Pane("English");
    EXPECT_EQ(english->box->text,
              Appended(*english->box,
                       "This channel is for general chatting in English only. To view a list of available "
                       "channels in other languages press CTRL+P.",
                       ChatLog::kHighlightColor));
    // Help lines do not count as unread.
    log().UpdatePanes();
    EXPECT_EQ(support->tab->textColor, ChatPane::kIdleColor);
    EXPECT_NE(support->box->text.find("/library/map/Brannoc"), std::string::npos);
}

TEST_F(ChatTest, PublicChannelsAreRecordedAndForgotten) {
    MakeTabGroup();
    log().AddChannelTab(ChatLog::kPublic, "Main");
    log().AddChannelTab(ChatLog::kPublic, "Support");
    log().AddChannelTab(ChatLog::kPrivate, "Ana");
    EXPECT_TRUE(ChannelRecorded("Main"));
    EXPECT_TRUE(ChannelRecorded("Support"));
    EXPECT_EQ(settings().options->GetString("channels", "Support"), "true");
    EXPECT_FALSE(ChannelRecorded("Ana"));

    EXPECT_TRUE(log().CloseChannel(ChatLog::kPublic, "Support"));
    EXPECT_FALSE(ChannelRecorded("Support"));
    EXPECT_EQ(Pane("Support"), nullptr);
    // The key goes even when no tab has the name.
    settings().SetChannelOpen("Trade", true);
    EXPECT_FALSE(log().CloseChannel(ChatLog::kPublic, "Trade"));
    EXPECT_FALSE(ChannelRecorded("Trade"));
    EXPECT_TRUE(log().CloseChannel(ChatLog::kPrivate, "Ana"));
    EXPECT_EQ(log().Panes().size(), 1u);
}

TEST_F(ChatTest, ASeaOfChannelsStopsAtTheTabCapAndItsLinesGoToTheFirstTab) {
    MakeTabGroup();
    settings().SetAutoOpenTab(true);
    log().AddChannelTab(ChatLog::kPublic, "Main");
    for (size_t i = 0; i < 3 * ChatLog::kMaxTabs; ++i) {
        const std::string name = "Channel " + std::to_string(i);
        log().AddChannelTab(i % 2 ? ChatLog::kPrivate : ChatLog::kPublic, name);
        log().AddMessage("Ana", "Lines " + std::to_string(i), ChatLog::kSay, "hello");
    }
    EXPECT_EQ(log().Panes().size(), ChatLog::kMaxTabs);
    EXPECT_EQ(log().Panes().front()->name, "Main");
    EXPECT_FALSE(ChannelRecorded("Channel " + std::to_string(2 * ChatLog::kMaxTabs)));
    // An open channel still gets its lines; one more opens no tab and its
    // lines land in Main, marked with the channel.
    EXPECT_TRUE(log().AddChannelTab(ChatLog::kPublic, "Main"));
    EXPECT_FALSE(log().AddChannelTab(ChatLog::kPublic, "One too many"));
    log().AddMessage("Ana", "One too many", ChatLog::kSay, "still here");
    EXPECT_EQ(log().Panes().size(), ChatLog::kMaxTabs);
    const std::string main = Pane("Main")->box->GetText();
    EXPECT_NE(main.find("[One too many] \x02" "Ana: still here"), std::string::npos) << main;
    // A tab closed makes room for one more.
    ASSERT_TRUE(log().CloseChannel(ChatLog::kPublic, "Channel 0"));
    EXPECT_TRUE(log().AddChannelTab(ChatLog::kPublic, "One too many"));
    EXPECT_NE(Pane("One too many"), nullptr);
}

TEST_F(ChatTest, ChannelNamesThatCannotBeReadBackAreNotRecorded) {
    MakeTabGroup();
    log().AddChannelTab(ChatLog::kPublic, "Main");
    for (const std::string name : {"a=b", "two\nlines", "cr\rhere", "##note"}) {
        log().AddChannelTab(ChatLog::kPublic, name);
        EXPECT_NE(Pane(name), nullptr) << name;
        EXPECT_FALSE(ChannelRecorded(name)) << name;
    }
    // What is written reads back as written.
    log().AddChannelTab(ChatLog::kPublic, "x]y [z]");
    ConfigFile copy;
    const std::string path = dir.Path("channels.ini");
    ASSERT_TRUE(settings().options->Save(path));
    ASSERT_TRUE(copy.Load(path));
    std::vector<std::string> keys;
    for (ConfigEntry* entry : copy.GetSectionEntries("channels"))
        keys.push_back(entry->key);
    EXPECT_EQ(keys, (std::vector<std::string>{"Main", "x]y [z]"}));
}

TEST_F(ChatTest, ClosingSelectsMainAndNeverTouchesTheRemovedTab) {
    MakeTabGroup();
    log().AddChannelTab(ChatLog::kPublic, "Main");
    log().AddChannelTab(ChatLog::kPublic, "Trade");
    log().AddChannelTab(ChatLog::kPublic, "Help");
    log().SelectNextTab();
    ASSERT_EQ(log().ActivePane(), Pane("Trade"));
    const int32_t tradeBox = Pane("Trade")->box->id;
    EXPECT_TRUE(log().CloseChannel(ChatLog::kPublic, "Trade"));
    EXPECT_EQ(log().ActivePane(), Pane("Main"));
    EXPECT_EQ(group->GetTabs().size(), 2u);
    EXPECT_EQ(gui().FindControl(tradeBox), nullptr);
    gui().Update();
    // Closing the first pane while it is the only fallback selects nothing freed.
    log().CloseChannel(ChatLog::kPublic, "Main");
    log().CloseChannel(ChatLog::kPublic, "Help");
    EXPECT_EQ(log().ActivePane(), nullptr);
    gui().Update();
}

TEST_F(ChatTest, NextWrapsAndPreviousStopsAtTheFirstTab) {
    MakeTabGroup();
    for (const char* name : {"Main", "Trade", "Help"})
        log().AddChannelTab(ChatLog::kPublic, name);
    EXPECT_EQ(log().ActivePane(), Pane("Main"));
    log().SelectPreviousTab();
    EXPECT_EQ(log().ActivePane(), Pane("Main"));
    log().SelectNextTab();
    EXPECT_EQ(log().ActivePane(), Pane("Trade"));
    log().SelectNextTab();
    EXPECT_EQ(log().ActivePane(), Pane("Help"));
    log().SelectNextTab();
    EXPECT_EQ(log().ActivePane(), Pane("Main"));
    log().SelectPreviousTab();
    EXPECT_EQ(log().ActivePane(), Pane("Main"));
    // Selecting shows the pane's box at once and hides the others next frame.
    log().SelectNextTab();
    EXPECT_FALSE(Pane("Trade")->box->HasFlag(GUIControl::kHidden));
    log().UpdatePanes();
    EXPECT_TRUE(Pane("Main")->box->HasFlag(GUIControl::kHidden));
    EXPECT_EQ(group->activeTab, Pane("Trade")->tab);
    // Without an active tab the keys do nothing.
    group->SetActiveTab(nullptr);
    log().SelectNextTab();
    EXPECT_EQ(log().ActivePane(), nullptr);
}

TEST_F(ChatTest, ActivePaneIsNullWithoutPanes) {
    MakeTabGroup();
    EXPECT_EQ(log().ActivePane(), nullptr);
    EXPECT_EQ(log().FindChannel(ChatLog::kPublic, "Main"), nullptr);
    log().AddChannelTab(ChatLog::kPublic, "Main");
    EXPECT_EQ(log().ActivePane(), Pane("Main"));
    log().Clear();
    EXPECT_EQ(log().ActivePane(), nullptr);
    EXPECT_EQ(group->activeTab, nullptr);
    gui().Update();
    EXPECT_TRUE(group->GetTabs().empty());
}

TEST_F(ChatTest, ControlIdsComeInPairsAndAreNeverReused) {
    MakeTabGroup();
    const int32_t first = log().nextId;
    log().AddChannelTab(ChatLog::kPublic, "Main");
    log().AddChannelTab(ChatLog::kPublic, "Trade");
    EXPECT_EQ(Pane("Main")->tab->id, first);
    EXPECT_EQ(Pane("Main")->box->id, first + 1);
    EXPECT_EQ(Pane("Trade")->tab->id, first + 2);
    EXPECT_EQ(Pane("Trade")->box->id, first + 3);
    log().CloseChannel(ChatLog::kPublic, "Trade");
    log().AddChannelTab(ChatLog::kPublic, "Trade");
    EXPECT_EQ(Pane("Trade")->tab->id, first + 4);
    // The box lies first under the root, under every other control.
    EXPECT_EQ(gui().root->children.front(), Pane("Trade")->box);
    EXPECT_TRUE(Pane("Trade")->box->HasFlag(GUIControl::kMultiLine | GUIControl::kReadOnly));
    EXPECT_NE(Pane("Trade")->box->scrollbar, nullptr);
}

// The ids run up to the GUI's own (the message box's, 65536) and start
// again from the first free pair: after a long run of opened tabs "Main" once
// took the message box's id, and the box's deletion took the active tab with
// it, which the group still pointed at.
TEST_F(ChatTest, ControlIdsStayBelowTheGuisOwnAndStartAgainAtTheEnd) {
    MakeTabGroup();
    log().nextId = ChatLog::kEndControlId - 2;
    log().AddChannelTab(ChatLog::kPublic, "Main");
    EXPECT_EQ(Pane("Main")->tab->id, ChatLog::kEndControlId - 2);
    EXPECT_EQ(Pane("Main")->box->id, ChatLog::kEndControlId - 1);
    // The next pair would reach the message box: the first free pair instead,
    // past one that a control already holds.
    GUIControl* holder = new GUIControl();
    holder->id = ChatLog::kFirstControlId + 1;
    gui().AddControl(holder, true);
    log().AddChannelTab(ChatLog::kPublic, "Trade");
    EXPECT_EQ(Pane("Trade")->tab->id, ChatLog::kFirstControlId + 2);
    EXPECT_EQ(Pane("Trade")->box->id, ChatLog::kFirstControlId + 3);
    // A message box opened and closed takes no tab with it.
    gui().MessageBox("Error", "text");
    gui().DeleteLater(GUIManager::kMessageBoxId);
    gui().Update();
    EXPECT_EQ(gui().FindControl(Pane("Main")->tab->id), Pane("Main")->tab);
    log().Clear();
    gui().Update();
}

TEST_F(ChatTest, WithoutATabGroupThePaneOwnsItsTab) {
    log().AddChannelTab(ChatLog::kPublic, "Main");
    ChatPane* main = Pane("Main");
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->ownsTab);
    EXPECT_EQ(main->tab->GetParent(), nullptr);
    log().AddMessage("Ana", "Main", ChatLog::kPlain, "still shown");
    EXPECT_NE(main->box->text.find("still shown"), std::string::npos);
    // Deleted with the pane: the leak check at exit would name it otherwise.
    log().Clear();
    gui().Update();
}

}  // namespace
