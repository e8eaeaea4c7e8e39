// One chat tab: its sent-line history, its read state and its box's place.
#include "tests/chat/ChatFixture.h"

namespace {

TEST_F(ChatTest, HistoryKeepsTheNewestThirtyAndRecallsThemInOrder) {
    MakeTabGroup();
    log().AddChannelTab(ChatLog::kPublic, "Main");
    ChatPane& pane = *Pane("Main");
    for (int i = 1; i <= 31; ++i)
        pane.AddToHistory("line " + std::to_string(i));
    ASSERT_EQ(pane.history.size(), 30u);
    EXPECT_EQ(pane.history.front(), "line 31");
    EXPECT_EQ(pane.history.back(), "line 2");

    // Shift+Up walks from the newest to the oldest, then past it.
    for (int i = 31; i >= 2; --i)
        EXPECT_EQ(pane.RecallHistory(false), "line " + std::to_string(i));
    EXPECT_EQ(pane.RecallHistory(false), "");
    EXPECT_EQ(pane.RecallHistory(false), "");
    EXPECT_EQ(pane.historyCursor, 32);
    // Shift+Down comes back: nothing until the cursor is on the oldest again.
    EXPECT_EQ(pane.RecallHistory(true), "");
    EXPECT_EQ(pane.RecallHistory(true), "line 2");
    EXPECT_EQ(pane.RecallHistory(true), "line 3");
    // Sending resets the cursor: the next Shift+Up gives the line just sent.
    pane.AddToHistory("sent");
    EXPECT_EQ(pane.historyCursor, 0);
    EXPECT_EQ(pane.RecallHistory(false), "sent");
    EXPECT_EQ(pane.RecallHistory(true), "");
    // Shift+Down at the fresh line stays there.
    EXPECT_EQ(pane.RecallHistory(true), "");
    EXPECT_EQ(pane.historyCursor, 0);
    EXPECT_EQ(pane.RecallHistory(false), "sent");
}

TEST_F(ChatTest, AnUnreadTabStaysYellowUntilItIsSelected) {
    MakeTabGroup();
    log().AddChannelTab(ChatLog::kPublic, "Main");
    log().AddChannelTab(ChatLog::kPublic, "Trade");
    log().AddChannelTab(ChatLog::kPublic, "Help");
    ChatPane& trade = *Pane("Trade");
    ChatPane& help = *Pane("Help");
    log().UpdatePanes();
    EXPECT_EQ(trade.tab->textColor, ChatPane::kIdleColor);
    EXPECT_EQ(Pane("Main")->tab->textColor, ChatPane::kSeenColor);

    trade.AppendText("plain", ChatLog::kPlainColor, false);
    help.AppendText("news", ChatLog::kPlainColor, true);
    for (int frame = 0; frame < 3; ++frame)
        log().UpdatePanes();
    EXPECT_EQ(trade.tab->textColor, ChatPane::kIdleColor);
    EXPECT_EQ(help.tab->textColor, ChatPane::kUnreadColor);
    EXPECT_TRUE(help.box->HasFlag(GUIControl::kHidden));

    log().SelectNextTab();
    log().SelectNextTab();
    EXPECT_EQ(log().ActivePane(), &help);
    EXPECT_EQ(help.tab->textColor, ChatPane::kSeenColor);
    EXPECT_FALSE(help.box->HasFlag(GUIControl::kHidden));
    // A highlighted line in the active tab changes nothing.
    help.AppendText("more", ChatLog::kPlainColor, true);
    EXPECT_EQ(help.tab->textColor, ChatPane::kSeenColor);
    // Left again, a seen tab turns grey.
    log().SelectNextTab();
    log().UpdatePanes();
    EXPECT_EQ(help.tab->textColor, ChatPane::kIdleColor);
}

TEST_F(ChatTest, TheBoxLiesInTheChatAreaAndNeverBelowFivePixels) {
    MakeTabGroup();
    log().AddChannelTab(ChatLog::kPublic, "Main");
    ChatPane& pane = *Pane("Main");
    const struct {
        int width, height, chat;
        int x, y, w, h;
    } cases[] = {
        // Without a game screen the panels are taken as 165 wide: left edge 177.
        {1000, 700, 145, 177, 592, 641, 70},
        {1000, 700, 400, 177, 337, 641, 325},
        {363, 700, 145, 177, 592, 5, 70},
        {365, 700, 145, 177, 592, 6, 70},
        {200, 700, 80, 177, 657, 5, 5},
        {1000, 700, 79, 177, 658, 641, 5},
    };
    for (const auto& c : cases) {
        pane.Layout(c.width, c.height, c.chat);
        EXPECT_EQ(pane.box->x, c.x);
        EXPECT_EQ(pane.box->y, c.y);
        EXPECT_EQ(pane.box->width, c.w) << c.width;
        EXPECT_EQ(pane.box->height, c.h) << c.chat;
    }
}

TEST_F(ChatTest, OnResizeLaysEveryPaneOutForTheNewChatHeight) {
    MakeTabGroup();
    log().AddChannelTab(ChatLog::kPublic, "Main");
    log().AddChannelTab(ChatLog::kPublic, "Trade");
    // Without a game screen a new pane is laid out for a chat area of 145.
    EXPECT_EQ(Pane("Trade")->box->y, 700 - 145 + 37);
    client->app->SetSize(900, 600);
    log().OnResize(200);
    for (ChatPane* pane : log().Panes()) {
        EXPECT_EQ(pane->box->y, 600 - 200 + 37);
        EXPECT_EQ(pane->box->height, 125);
        EXPECT_EQ(pane->box->width, 900 - 165 - 177 - 17);
    }
}

TEST_F(ChatTest, AFullBoxTakesNoMoreLinesButTheHighlightStillApplies) {
    MakeTabGroup();
    log().AddChannelTab(ChatLog::kPublic, "Main");
    log().AddChannelTab(ChatLog::kPublic, "Trade");
    ChatPane& trade = *Pane("Trade");
    trade.AppendText("first", ChatLog::kPlainColor, false);
    const std::string before = trade.box->text;
    // A line that would carry the text past 5,000,000 characters is refused.
    const std::string huge(GUITextbox::kMultiLineLimit, 'x');
    EXPECT_TRUE(trade.AppendText(huge, ChatLog::kPlainColor, true));
    EXPECT_EQ(trade.box->text, before);
    EXPECT_EQ(trade.tab->textColor, ChatPane::kUnreadColor);
    trade.AppendText("second", ChatLog::kPlainColor, false);
    EXPECT_NE(trade.box->text.find("second"), std::string::npos);
    EXPECT_NE(trade.box->text.find("first"), std::string::npos);
}

TEST_F(ChatTest, APaneHandsItsBoxToTheManagerWhenItGoes) {
    MakeTabGroup();
    log().AddChannelTab(ChatLog::kPublic, "Main");
    const int32_t tab = Pane("Main")->tab->id;
    const int32_t box = Pane("Main")->box->id;
    EXPECT_EQ(Pane("Main")->CopyName(), "Main");
    log().Clear();
    // Gone at once for everybody, deleted at the manager's next update.
    EXPECT_EQ(gui().FindControl(tab), nullptr);
    EXPECT_EQ(gui().FindControl(box), nullptr);
    gui().Update();
    EXPECT_TRUE(group->GetTabs().empty());
}

}  // namespace
