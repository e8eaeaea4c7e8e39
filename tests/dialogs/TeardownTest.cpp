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
#include "dialogs/social/IgnoreList.h"
#include "dialogs/social/OpenChannelDialog.h"
#include "dialogs/social/OptionsDialog.h"
#include "dialogs/social/ReportDialog.h"
#include "dialogs/social/TutorialDialog.h"
#include "dialogs/social/WelcomeDialog.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIManager.h"
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

const std::vector<OpenedInGame>& Rows() {
    static const std::vector<OpenedInGame> rows = {
        {"ConfirmBox", ConfirmDialog::kDialogId,
         [](GameInterface&) { ConfirmDialog::Instance()->Show("Title", "Text", &Noop, nullptr); }},
        {"WorldMap", WorldMapDialog::kDialogId, [](GameInterface& game) { game.worldMap->Open(); }},
        // The client's dialogs opened over the game.
        {"OpenChannel", OpenChannelDialog::kDialogId, [](GameInterface&) { OpenChannelDialog::Instance()->Open(); }},
        {"Report", ReportDialog::kDialogId,
         [](GameInterface& game) {
             game.reportDialog = new ReportDialog();
             game.reportDialog->Show();
         }},
        {"IgnoreList", IgnoreList::kDialogId, [](GameInterface& game) { game.ignoreList->Open(); }},
        {"Welcome", WelcomeDialog::kDialogId, [](GameInterface& game) { game.welcome->Show(); }},
        {"Tutorial", TutorialDialog::kDialogId, [](GameInterface& game) { game.tutorial->Open(); }},
        {"OptionsInGame", OptionsDialog::kDialogId,
         [](GameInterface&) { Client::Instance()->optionsDialog->Open(); }},
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
