// The chat console inside the real game screen: its layout between the side
// panels, the ignore filter, the player's own lines, and two games in one run.
#include "tests/chat/ChatFixture.h"

#include "dialogs/social/IgnoreList.h"
#include "game/ConfirmDialog.h"
#include "game/GameInterface.h"
#include "game/TipMessages.h"
#include "sidewindows/SidePanel.h"
#include "world/Camera.h"
#include "world/Creature.h"
#include "world/Map.h"

namespace {

class GameChatTest : public ChatTest {
protected:
    GameInterface& Enter() {
        client->StartGame(false);
        EXPECT_NE(client->game, nullptr);
        return *client->game;
    }
};

TEST_F(GameChatTest, PanesLieBetweenTheSidePanelsAndFollowTheChatArea) {
    GameInterface& game = Enter();
    ChatPane* main = Pane("Main");
    ASSERT_NE(main, nullptr);
    game.leftPanel->SetWidth(200);
    game.rightPanel->SetWidth(180);
    game.chatHeight = 250;
    game.LayoutChatArea();
    log().AddChannelTab(ChatLog::kPublic, "Trade");
    for (ChatPane* pane : log().Panes()) {
        EXPECT_EQ(pane->box->x, 212) << pane->name;
        EXPECT_EQ(pane->box->y, 700 - 250 + 37) << pane->name;
        EXPECT_EQ(pane->box->width, 1000 - 180 - 212 - 17) << pane->name;
        EXPECT_EQ(pane->box->height, 250 - 75) << pane->name;
    }
    // A resize lays the chat area out again, and every pane with it.
    client->app->SetSize(1200, 800);
    game.LayoutChatArea();
    for (ChatPane* pane : log().Panes()) {
        EXPECT_EQ(pane->box->y, 800 - 250 + 37) << pane->name;
        EXPECT_EQ(pane->box->width, 1200 - 180 - 212 - 17) << pane->name;
    }
}

TEST_F(GameChatTest, IgnoredSendersAreDroppedForEveryKind) {
    GameInterface& game = Enter();
    game.ignoreList->names = {"ANA"};
    for (int kind = 1; kind <= 8; ++kind) {
        log().AddMessage("ana", "Main", kind, "hidden");
        log().AddMessage("ana", "Secret", kind, "hidden");
    }
    EXPECT_EQ(Pane("Main")->box->text, "");
    EXPECT_EQ(Pane("Secret"), nullptr);
    StatusLine* status = StatusLine::Instance();
    EXPECT_EQ(status->statusText, "");
    EXPECT_TRUE(status->centreLines.empty());
    EXPECT_TRUE(status->timedLines.empty());
    // Everybody else still speaks.
    log().AddMessage("Anabel", "Main", ChatLog::kPlain, "shown");
    EXPECT_NE(Pane("Main")->box->text.find("shown"), std::string::npos);
}

TEST_F(GameChatTest, ThePlayersOwnLinesTakeTheirOwnColours) {
    GameInterface& game = Enter();
    Creature player(game.map);
    player.name = "Me";
    game.map->camera->creature = &player;
    log().AddChannelTab(ChatLog::kPrivate, "Ana");
    log().AddMessage("Me", "Main", ChatLog::kSay, "hi");
    log().AddMessage("Me", "Ana", ChatLog::kPrivateMessage, "psst");
    game.map->camera->creature = nullptr;
    ChatPane& main = *Pane("Main");
    ChatPane& ana = *Pane("Ana");
    EXPECT_EQ(main.box->text, Appended(*main.box, "[12:34:56] Me: hi", ChatLog::kOwnSayColor));
    EXPECT_EQ(ana.box->text, Appended(*ana.box, "[12:34:56] Me: psst", ChatLog::kPlainColor));
    // The player's own private line is not repeated on screen.
    EXPECT_TRUE(StatusLine::Instance()->timedLines.empty());
}

TEST_F(GameChatTest, SayInMainAlsoGoesOverTheSpeakerOnTheMap) {
    GameInterface& game = Enter();
    Creature* ana = new Creature(game.map);
    ana->id = 0x20000001;
    ana->name = "Ana";
    ana->SetPosition(120, 121, 7);
    game.map->AddCreature(ana);  // the map owns it
    log().AddChannelTab(ChatLog::kPublic, "Trade");
    log().AddMessage("Ana", "Trade", ChatLog::kSay, "not here");
    log().AddMessage("Nobody", "Main", ChatLog::kSay, "no creature");
    EXPECT_TRUE(StatusLine::Instance()->speech.empty());
    log().AddMessage("Ana", "Main", ChatLog::kSay, "over here");
    ASSERT_EQ(StatusLine::Instance()->speech.size(), 1u);
    const auto& spot = StatusLine::Instance()->speech.front();
    EXPECT_EQ(spot.position.x, 120);
    EXPECT_EQ(spot.position.y, 121);
    ASSERT_EQ(spot.speakers.size(), 1u);
    EXPECT_EQ(spot.speakers.front().name, "Ana");
    EXPECT_EQ(spot.speakers.front().lines.front().text, "over here");
    StatusLine::Instance()->speech.clear();
}

TEST_F(GameChatTest, TheFirstEnragedMonsterBringsItsTip) {
    GameInterface& game = Enter();
    Creature* monster = new Creature(game.map);
    monster->id = 0x40000001;
    monster->name = "Rat";
    monster->flags |= Creature::kEnraged;
    monster->SetPosition(110, 111, 7);
    game.map->AddCreature(monster);
    ASSERT_EQ(game.tipMessages->tips.size(), 1u);
    EXPECT_EQ(game.tipMessages->tips[0]->title, "Glowing enraged monsters are harder");
    EXPECT_EQ(game.tipMessages->tips[0]->x, 110);
    EXPECT_NE(Pane("Main")->box->text.find("Tip Message: Glowing enraged monsters are harder but yield more "
                                           "experience and loot."),
              std::string::npos);
}

void NoAction(void*) {}

TEST_F(GameChatTest, TwoGamesInOneRunShareNothingStale) {
    GameInterface& first = Enter();
    log().AddChannelTab(ChatLog::kPublic, "Trade");
    log().AddChannelTab(ChatLog::kPrivate, "Ana");
    first.tipMessages->Add(0, "Tip", "text", 100, 100, 7);
    ConfirmDialog::Instance()->Show("Warning!", "text", &NoAction, &first);
    std::vector<int32_t> oldIds;
    for (ChatPane* pane : log().Panes()) {
        oldIds.push_back(pane->tab->id);
        oldIds.push_back(pane->box->id);
    }
    const int32_t next = log().nextId;

    client->ReturnToMenu();
    ASSERT_EQ(client->game, nullptr);
    EXPECT_TRUE(log().Panes().empty());
    EXPECT_EQ(log().ActivePane(), nullptr);
    EXPECT_EQ(ConfirmDialog::Instance()->action, nullptr);
    EXPECT_EQ(ConfirmDialog::Instance()->actionContext, nullptr);
    gui().Update();
    for (int32_t id : oldIds)
        EXPECT_EQ(gui().FindControl(id), nullptr) << id;
    EXPECT_EQ(gui().FindControl(ConfirmDialog::kDialogId), nullptr);
    // Lines between the games reach no pane.
    log().AddMessage("Ana", "Main", ChatLog::kPlain, "lost");

    // The login screen is back; the next game starts from it.
    GameInterface& second = Enter();
    ASSERT_EQ(log().Panes().size(), 1u);
    ChatPane* main = Pane("Main");
    ASSERT_NE(main, nullptr);
    EXPECT_GE(main->tab->id, next);
    EXPECT_EQ(main->box->text, "");
    EXPECT_EQ(log().ActivePane(), main);
    second.Update();
    gui().Update();
    log().AddMessage("Ana", "Main", ChatLog::kPlain, "fresh");
    EXPECT_NE(main->box->text.find("fresh"), std::string::npos);
}

}  // namespace
