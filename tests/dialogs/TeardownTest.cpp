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
#include "dialogs/character/BrewingDialog.h"
#include "dialogs/character/QuestLogDialog.h"
#include "dialogs/character/RecipesDialog.h"
#include "dialogs/character/SummonMonsterDialog.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIManager.h"
#include "game/ConfirmDialog.h"
#include "net/InMessage.h"
#include "protocol/Protocol.h"
#include "sidewindows/WorldMapDialog.h"
#include "tests/support/GameFixture.h"

namespace {

struct OpenedInGame {
    const char* name;
    int32_t id;  // the control that must be open before the teardown
    std::function<void(GameInterface&)> open;
};

void Noop(void*) {}

const std::vector<OpenedInGame>& Rows() {
    static const std::vector<OpenedInGame> rows = {
        {"ConfirmBox", ConfirmDialog::kDialogId,
         [](GameInterface&) { ConfirmDialog::Instance()->Show("Title", "Text", &Noop, nullptr); }},
        {"WorldMap", WorldMapDialog::kDialogId, [](GameInterface& game) { game.worldMap->Open(); }},
        // The dialogs the server opens for the character: the quest log, which
        // the protocol keeps, brewing, the learned recipes, the summon list.
        {"QuestLog", QuestLogDialog::kDialogId,
         [](GameInterface& game) {
             // Achievements without entries: kind, flag, the two totals, the empty name.
             const uint8_t frame[] = {14, 0, 0x2a, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
             InMessage message(frame, int(sizeof(frame)));
             game.protocol->Dispatch(message);
         }},
        {"Brewing", BrewingDialog::kDialogId, [](GameInterface& game) { game.brewing->Open(true, 2, 3, 40, {}); }},
        {"Recipes", RecipesDialog::kDialogId, [](GameInterface& game) { game.recipes->Show(); }},
        {"SummonMonster", SummonMonsterDialog::kDialogId,
         [](GameInterface& game) { game.summonMonster->Show({{"Rat", 20}}); }},
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
