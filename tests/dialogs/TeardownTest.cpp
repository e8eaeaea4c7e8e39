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
#include "dialogs/character/HotkeyDialog.h"
#include "dialogs/character/OutfitDialog.h"
#include "dialogs/character/QuestLogDialog.h"
#include "dialogs/character/RecipesDialog.h"
#include "dialogs/character/SpellLibraryDialog.h"
#include "dialogs/character/SummonMonsterDialog.h"
#include "dialogs/character/TalentsDialog.h"
#include "dialogs/social/GMBanDialog.h"
#include "dialogs/social/GMWindow.h"
#include "dialogs/social/GuildDialog.h"
#include "dialogs/social/IgnoreList.h"
#include "dialogs/social/NoGuildDialog.h"
#include "dialogs/social/OnlineListDialog.h"
#include "dialogs/social/OpenChannelDialog.h"
#include "dialogs/social/OptionsDialog.h"
#include "dialogs/social/QuitDialog.h"
#include "dialogs/social/ReportDialog.h"
#include "dialogs/social/TutorialDialog.h"
#include "dialogs/social/WelcomeDialog.h"
#include "dialogs/trade/HouseBiddingDialog.h"
#include "dialogs/trade/HouseDialog.h"
#include "dialogs/trade/MarketDialog.h"
#include "dialogs/trade/MoveItemsDialog.h"
#include "dialogs/trade/NpcShopDialog.h"
#include "dialogs/trade/NpcTradeDialog.h"
#include "dialogs/trade/TradeWindow.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "game/ChatLog.h"
#include "game/ConfirmDialog.h"
#include "game/GameControlIds.h"
#include "game/PagedTextWindow.h"
#include "game/ThingActions.h"
#include "net/InMessage.h"
#include "protocol/Protocol.h"
#include "sidewindows/Container.h"
#include "sidewindows/Friends.h"
#include "sidewindows/Party.h"
#include "sidewindows/WorldMapDialog.h"
#include "tests/support/GameFixture.h"
#include "tests/support/LoginFixture.h"
#include "world/Camera.h"
#include "world/Creature.h"
#include "world/Map.h"
#include "world/Tile.h"

namespace {

struct OpenedInGame {
    const char* name;
    // The control that must be open before the teardown; 0 when its id is
    // not known beforehand (a chat tab): then the tree must have grown.
    int32_t id;
    std::function<void(GameInterface&)> open;
};

void Noop(void*) {}

// The player at (100, 100, 7), followed by the camera, and two creatures on
// the square east of it: a right click there opens the context menu.
void TwoCreaturesBesideThePlayer(GameInterface& game) {
    Map& map = *game.map;
    const auto add = [&map](int32_t id, int x, const char* name) {
        auto* creature = new Creature(&map);
        creature->id = id;
        creature->name = name;
        creature->SetPosition(x, 100, 7);
        map.AddCreature(creature);
        return creature;
    };
    Creature* player = add(1, 100, "Aldric");
    map.playerId = 1;
    map.camera->SetCreature(player);
    map.GetOrCreateTile(Position{100, 100, 7})->AddThing(player);
    for (int32_t id : {2, 3})
        map.GetOrCreateTile(Position{101, 100, 7})->AddThing(add(id, 101, "Rat"));
    const int x = map.viewX + (101 - map.camera->GetX()) * map.tileWidth + 5;
    const int y = map.viewY + (100 - map.camera->GetY()) * map.tileHeight + 5;
    game.thingActions->ContextMenu(x, y);
}

void OpenWorldMapMenu(GameInterface& game) {
    game.worldMap->Open();
    const GUIControl* dialog = game.gui->FindControl(WorldMapDialog::kDialogId);
    game.worldMap->OpenMenu(dialog->x + dialog->width / 2, dialog->y + dialog->height / 2);
}

void ShowParty(GameInterface& game) {
    game.party->SetMember("Aldric", 1, 50, 50);
    game.party->ShowMembers();
}

// A right click inside a side window's list opens its menu.
template <class Window>
void RightClickInList(Window* window) {
    window->dialog->ClearFlag(GUIControl::kHidden);
    window->ContextMenu(window->dialog->x + 20, window->dialog->y + 60);
}

// A guild of two members, the second the player, and a war.
void FillGuild(GuildDialog& guild) {
    guild.SetInfo("Knights", "Hail", 2);
    guild.AddRank(3, 2, 0, "Founder");
    guild.AddMember(100, "Brenna", "", 3);
    guild.AddMember(101, GetLocalPlayerName(), "", 3);
    guild.AddWar(5, "Knights vs Rogues", "Not accepted", false, 0);
    guild.Update();
}

// The shop with one offer, and with `question` the amount question in the
// same frame.
void DispatchShop(GameInterface& game, bool question) {
    Wire wire;
    wire.U8(0x24).U8(1).Str("torch").U32(130).U32(8).U8(1);
    if (question)
        wire.U8(0x17).Str("a torch").U32(130).U32(8).U32(50).U8(1);
    const Bytes frame = Frame(wire.bytes);
    InMessage message(frame.data(), int(frame.size()));
    game.protocol->Dispatch(message);
}

// A full listing with one offer and the catalogue, as the server opens the market.
void OpenMarket(GameInterface& game) {
    const Bytes frame =
        Frame(Join({Wire().U8(0x36).U16(1).U16(3031).Str("Torch").bytes,
                    Wire().U8(0x2F).U8(1).U32(100).U32(1).Str("Torch").U8(2).Str("Brenna").U16(3031).U32(1).U32(0).U8(1)
                        .bytes}));
    InMessage message(frame.data(), int(frame.size()));
    game.protocol->Dispatch(message);
}

const std::vector<OpenedInGame>& Rows() {
    static const std::vector<OpenedInGame> rows = {
        {"ConfirmBox", ConfirmDialog::kDialogId,
         [](GameInterface&) { ConfirmDialog::Instance()->Show("Title", "Text", &Noop, nullptr); }},
        {"WorldMap", WorldMapDialog::kDialogId, [](GameInterface& game) { game.worldMap->Open(); }},

        // The game screen's own menus, small dialogs, chat tabs and windows,
        // and the client's dialogs it can show over the game.
        {"WorldMapMenu", WorldMapDialog::kMenuId, &OpenWorldMapMenu},
        {"AddMarker", WorldMapDialog::kAddMarkerDialogId,
         [](GameInterface& game) {
             OpenWorldMapMenu(game);
             WorldMapDialog::OnMenuItem(WorldMapDialog::kAddMarkerItem, game.worldMap);
         }},
        {"FriendsMenu", Friends::kMenuId, [](GameInterface& game) { RightClickInList(game.friends); }},
        {"AddPerson", Friends::kAddDialogId,
         [](GameInterface& game) {
             RightClickInList(game.friends);
             Friends::OnMenuItem(Friends::kMenuAdd, game.friends);
         }},
        {"PartyMenu", Party::kMenuId,
         [](GameInterface& game) {
             ShowParty(game);
             RightClickInList(game.party);
         }},
        {"InviteToParty", Party::kInviteDialogId,
         [](GameInterface& game) {
             ShowParty(game);
             game.party->OpenInviteDialog();
         }},
        {"ContextMenu", GameIds::kContextMenu, &TwoCreaturesBesideThePlayer},
        {"MoveItems", GameIds::kMoveItemsDialog, [](GameInterface& game) { game.moveItems->Show(3031, 5); }},
        {"Quit", QuitDialog::kDialogId, [](GameInterface&) { QuitDialog::Instance()->Show(); }},
        {"Options", OptionsDialog::kDialogId,
         [](GameInterface&) { Client::Instance()->optionsDialog->Open(); }},
        {"PagedText", PagedTextWindow::kLeftBoxId,
         [](GameInterface& game) { game.pagedText->Show("first page|second page|third page"); }},
        {"ChannelTab", 0,
         [](GameInterface&) { ChatLog::Instance()->AddChannelTab(ChatLog::kPublic, "Trade"); }},
        {"PrivateChat", 0,
         [](GameInterface&) { ChatLog::Instance()->AddChannelTab(ChatLog::kPrivate, "Brenna"); }},
        {"ContainerWindow", GameIds::kFirstContainerWindow + 2 * 3,
         [](GameInterface& game) {
             game.OpenContainer(3, 0, "Backpack", true, true, 8, {{0, 3031, 5}});
         }},
        // The game master's tools; the ban dialog and the online list belong to
        // modules that outlive the game screen.
        {"GMWindow", GMWindow::kDialogId,
         [](GameInterface& game) {
             game.gmWindow = new GMWindow();
             game.gmWindow->Open();
         }},
        {"BanDialog", GMBanDialog::kDialogId, [](GameInterface&) { GMBanDialog::Instance()->Open(); }},
        {"OnlineList", OnlineListDialog::kDialogId, [](GameInterface&) { OnlineListDialog::Instance()->Open(); }},
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

        // The player trade: the protocol owns it, the server's 0x20 opens it
        // with a filled offer.
        {"Trade", TradeWindow::kDialogId,
         [](GameInterface&) {
             const Bytes frame = Frame(Join({Wire().U8(0x20).Str("Bob").bytes,
                                             Wire().U8(0x21).U8(1).U8(0).U8(0).U16(403).U8(2).U8(0).U16(0xFFFF).bytes}));
             InMessage message(frame.data(), int(frame.size()));
             Client::Instance()->protocol->Dispatch(message);
         }},
        // The character dialogs: hotkey editor, spell library, talents with
        // their reset question, outfit.
        {"HotkeyEditor", GameIds::kHotkeyEditor, [](GameInterface& game) { game.hotkeyDialog->Open(); }},
        {"SpellLibrary", GameIds::kSpellLibraryDialog, [](GameInterface& game) { game.spellLibrary->Open(); }},
        {"Talents", GameIds::kTalentsDialog, [](GameInterface& game) { game.talents->Show(); }},
        {"TalentsResetQuestion", ConfirmDialog::kDialogId,
         [](GameInterface& game) {
             game.talents->Show();
             TalentsDialog::AskReset(game.talents);
         }},
        {"Outfit", GameIds::kOutfitDialog, [](GameInterface&) { OutfitDialog::Instance()->Open(); }},
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
        // The house management and the house bidding, as their server
        // messages open them.
        {"HouseManagement", HouseDialog::kDialogId,
         [](GameInterface& game) {
             Wire house;
             house.U8(0x28).Str("Harbour Lane 4").U16(130).U16(125).U8(7).U8(2).U8(7);
             house.U8(1).Str("Ivo").U8(1).U8(1).Str("Mira").U8(2).U8(1).U32(120).Str("Flower").Str("2 cards");
             const Bytes frame = Frame(house.bytes);
             InMessage message(frame.data(), int(frame.size()));
             game.protocol->Dispatch(message);
         }},
        {"HouseBidding", HouseBiddingDialog::kDialogId,
         [](GameInterface& game) {
             const Bytes frame = Frame(
                 Wire().U8(0x29).U8(1).U16(1).U32(7).Str("Mill Road 1").Str("Ann").U32(5).U32(100).U32(300).bytes);
             InMessage message(frame.data(), int(frame.size()));
             game.protocol->Dispatch(message);
         }},

        // The merchant: the shop and the amount question the server opens (the
        // question's module outlives the game), and both with "Move Items".
        {"NpcShop", NpcShopDialog::kDialogId, [](GameInterface& game) { DispatchShop(game, false); }},
        {"NpcTrade", NpcTradeDialog::kDialogId, [](GameInterface& game) { DispatchShop(game, true); }},
        {"ShopTradeAndMoveItems", NpcTradeDialog::kDialogId,
         [](GameInterface& game) {
             DispatchShop(game, true);
             game.moveItems->Show(3031, 5);
         }},

        // The item market: its window, which the server's full listing opens,
        // the two offer dialogs and the history window, and all at once.
        {"Market", MarketDialog::kDialogId, &OpenMarket},
        {"MarketSellOffer", MarketDialog::kSellDialogId,
         [](GameInterface& game) {
             OpenMarket(game);
             game.market->SelectTab(MarketDialog::kOwnTab);
             game.market->OpenSellOffer(3031);
         }},
        {"MarketBuyOffer", MarketDialog::kBuyDialogId,
         [](GameInterface& game) {
             OpenMarket(game);
             game.market->SelectTab(MarketDialog::kOwnTab);
             game.market->OpenBuyOffer();
         }},
        {"MarketHistory", MarketDialog::kHistoryDialogId,
         [](GameInterface& game) {
             OpenMarket(game);
             game.market->SelectTab(MarketDialog::kOwnTab);
             game.market->OpenHistory();
         }},
        {"MarketEveryDialogAtOnce", MarketDialog::kHistoryDialogId,
         [](GameInterface& game) {
             OpenMarket(game);
             game.market->SelectTab(MarketDialog::kOwnTab);
             game.market->OpenSellOffer(3031);
             game.market->OpenBuyOffer();
             game.market->OpenHistory();
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
    const auto inGame = TreeIds(*client->app->gui);
    row.open(*client->game);
    DrawFrame();
    if (row.id != 0)
        ASSERT_NE(client->app->gui->FindControl(row.id), nullptr) << row.name << " did not open";
    else
        ASSERT_GT(TreeIds(*client->app->gui).size(), inGame.size()) << row.name << " did not open";

    if (std::get<1>(GetParam()) == Road::Logout) {
        client->ReturnToMenu();
    } else {
        // The main loop's road when the game connection is gone: back to the
        // login screen, which connects again under its "Connecting" box.
        client->RunPass();
    }
    ASSERT_EQ(client->game, nullptr);
    EXPECT_EQ(client->protocol->tradeWindow, nullptr) << row.name;
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
