// Whatever was open in the game, the login screen comes back alone: every
// module closes the dialogs and menus it opened when the game screen goes, so
// no stale window is drawn over the login screen and no callback reaches a
// freed module or sends on the login connection.
//
// Every dialog and menu the game screen can open is a row of this table; a new
// dialog adds its row here.

#include <functional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "client/LoginBoxes.h"
#include "dialogs/social/GuildDialog.h"
#include "dialogs/social/NoGuildDialog.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "game/ConfirmDialog.h"
#include "sidewindows/WorldMapDialog.h"
#include "tests/support/GameFixture.h"

namespace {

struct OpenedInGame {
    const char* name;
    int32_t id;  // the control that must be open before the teardown
    std::function<void(GameInterface&)> open;
};

void Noop(void*) {}

// A guild of two members, the second the player, and a war.
void FillGuild(GuildDialog& guild) {
    guild.SetInfo("Knights", "Hail", 2);
    guild.AddRank(3, 2, 0, "Founder");
    guild.AddMember(100, "Brenna", "", 3);
    guild.AddMember(101, GetLocalPlayerName(), "", 3);
    guild.AddWar(5, "Knights vs Rogues", "Not accepted", false, 0);
    guild.Update();
}

const std::vector<OpenedInGame>& Rows() {
    static const std::vector<OpenedInGame> rows = {
        {"ConfirmBox", ConfirmDialog::kDialogId,
         [](GameInterface&) { ConfirmDialog::Instance()->Show("Title", "Text", &Noop, nullptr); }},
        {"WorldMap", WorldMapDialog::kDialogId, [](GameInterface& game) { game.worldMap->Open(); }},
        // The guild window, its small dialogs, its questions and the no-guild dialog.
        {"GuildWindow", GuildDialog::kDialogId, [](GameInterface& game) { FillGuild(*game.guild); }},
        {"GuildEditMember", GuildDialog::kEditMemberDialogId,
         [](GameInterface& game) {
             FillGuild(*game.guild);
             game.guild->OpenEditMember(game.guild->members[0]);
         }},
        {"GuildCreateWar", GuildDialog::kCreateWarDialogId, [](GameInterface& game) { game.guild->OpenCreateWar(); }},
        {"GuildEditRanks", GuildDialog::kEditRanksDialogId, [](GameInterface& game) { game.guild->OpenEditRanks(); }},
        {"GuildEveryDialogAtOnce", GuildDialog::kEditRanksDialogId,
         [](GameInterface& game) {
             FillGuild(*game.guild);
             game.guild->OpenEditMember(game.guild->members[0]);
             game.guild->OpenCreateWar();
             game.guild->OpenEditRanks();
             game.guild->AskKick();
         }},
        {"GuildKickQuestion", ConfirmDialog::kDialogId,
         [](GameInterface& game) {
             FillGuild(*game.guild);
             game.guild->AskKick();
         }},
        {"GuildLeaveQuestion", ConfirmDialog::kDialogId,
         [](GameInterface& game) {
             FillGuild(*game.guild);
             // The second row is the player's own.
             DialogHelper(game.gui, GuildDialog::kDialogId).Find<GUISelect>(GuildDialog::kMemberListId)->selectedIndex =
                 1;
             game.guild->AskKick();
         }},
        {"GuildAcceptWarQuestion", ConfirmDialog::kDialogId,
         [](GameInterface& game) {
             FillGuild(*game.guild);
             game.guild->ShowWarsTab();
             game.guild->AskAcceptWar();
         }},
        {"GuildCancelWarQuestion", ConfirmDialog::kDialogId,
         [](GameInterface& game) {
             FillGuild(*game.guild);
             game.guild->ShowWarsTab();
             game.guild->AskCancelWar();
         }},
        {"NoGuild", NoGuildDialog::kDialogId,
         [](GameInterface& game) {
             game.noGuild->AddInvite(1, "Rogues");
             game.noGuild->Open();
         }},
    };
    return rows;
}

// Every id of the control tree, with its parent's, so that a control moved to
// another dialog counts as a difference too.
void CollectIds(const GUIControl* control, int32_t parent, std::multiset<std::pair<int32_t, int32_t>>& ids) {
    for (const GUIControl* child : control->children) {
        ids.insert({parent, child->id});
        CollectIds(child, child->id, ids);
    }
}

std::multiset<std::pair<int32_t, int32_t>> TreeIds(GUIManager& gui) {
    std::multiset<std::pair<int32_t, int32_t>> ids;
    CollectIds(gui.root, 0, ids);
    return ids;
}

enum class Road { Logout, LostConnection };

class TeardownTest : public GameTest, public ::testing::WithParamInterface<std::tuple<size_t, Road>> {};

TEST_P(TeardownTest, TheLoginScreenComesBackAlone) {
    const OpenedInGame& row = Rows()[std::get<0>(GetParam())];
    client = &fixture.StartClient("[options]\nfpslimit=0\n");
    client->app->gui->Update();
    const auto loginScreen = TreeIds(*client->app->gui);

    client->StartGame(false);
    ASSERT_NE(client->game, nullptr);
    DrawFrame();
    row.open(*client->game);
    DrawFrame();
    ASSERT_NE(client->app->gui->FindControl(row.id), nullptr) << row.name << " did not open";

    if (std::get<1>(GetParam()) == Road::Logout) {
        client->ReturnToMenu();
    } else {
        // The main loop's road when the game connection is gone: back to the
        // login screen, which connects again under its "Connecting" box.
        client->RunPass();
    }
    ASSERT_EQ(client->game, nullptr);
    client->app->gui->Update();
    client->RunPass();
    LoginBoxes::Close();  // the login road's own box, not the game's
    client->app->gui->Update();
    EXPECT_EQ(TreeIds(*client->app->gui), loginScreen) << row.name;
}

std::string RowName(const ::testing::TestParamInfo<std::tuple<size_t, Road>>& info) {
    return std::string(Rows()[std::get<0>(info.param)].name) +
           (std::get<1>(info.param) == Road::Logout ? "AfterLogout" : "AfterLostConnection");
}

INSTANTIATE_TEST_SUITE_P(EveryDialog, TeardownTest,
                         ::testing::Combine(::testing::Range<size_t>(0, Rows().size()),
                                            ::testing::Values(Road::Logout, Road::LostConnection)),
                         RowName);

}  // namespace
