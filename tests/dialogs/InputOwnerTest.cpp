// One input, one owner. The window procedure hands a click or a key to the GUI
// before the main loop hands the same input to the game screen; a dialog that
// the input closed is gone from the GUI by then. The click that closed a
// dialog must not also walk to the ground under it, and the Enter that
// pressed a dialog's Enter button must not also send the chat line.
//
// Every dialog of the game screen with a button that closes it is a row of
// this table; a new dialog adds its row here. The player trade has none: its
// Cancel asks the server, whose end of the trade closes the window.

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "client/Client.h"
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
#include "engine/InputEvent.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITextbox.h"
#include "game/ConfirmDialog.h"
#include "game/GameControlIds.h"
#include "game/ThingActions.h"
#include "net/Connection.h"
#include "net/InMessage.h"
#include "protocol/Protocol.h"
#include "sidewindows/Friends.h"
#include "sidewindows/Party.h"
#include "sidewindows/WorldMapDialog.h"
#include "tests/support/GameFixture.h"
#include "tests/support/GuiInput.h"
#include "tests/support/GuildWire.h"
#include "tests/support/LoginFixture.h"
#include "world/Camera.h"
#include "world/Creature.h"
#include "world/Map.h"

namespace {

struct ClosingButton {
    const char* name;
    int32_t dialogId;
    const char* caption;  // the button that closes the dialog
    std::function<void(GameInterface&)> open;
    bool enterButton;  // Enter presses that button too
    // The requests the button sends, by opcode (those of a button whose
    // whole purpose is a request).
    std::vector<int> sends = {};
};

void Noop(void*) {}

// A server message, read as the connection hands it over.
void Receive(GameInterface& game, const Bytes& payload) {
    const Bytes frame = Frame(payload);
    InMessage message(frame.data(), int(frame.size()));
    game.protocol->Dispatch(message);
}

void OpenHouse(GameInterface& game) {
    // Level 2 and every right; the invite "Ivo", nothing else.
    Wire house;
    house.U8(0x28).Str("Harbour Lane 4").U16(130).U16(125).U8(7).U8(2).U8(7);
    house.U8(1).Str("Ivo").U8(0).U8(0).U8(0);
    Receive(game, house.bytes);
}

void OpenHouseBidding(GameInterface& game) {
    Receive(game, Wire().U8(0x29).U8(1).U16(1).U32(7).Str("Mill Road 1").Str("Ann").U32(5).U32(100).U32(300).bytes);
}

const int kMove = 0x0E;
const int kNpcTrade = 0x14;
const int kOutfit = 0x0C;
const int kJoinChannel = 0x15;
const int kReport = 0x20;
const int kSummon = 0x29;
const int kTalents = 0x33;
const int kGuild = 0x38;
const int kAddFriend = 0x17;
const int kParty = 0x1B;

// A stack dropped on a square beside the player: the mouse actions keep the
// drag for the dialog, whose "Move" sends it.
void AskToMoveAStack(GameInterface& game) {
    game.thingActions->dragSource = Position{101, 100, 7};
    game.thingActions->dropTarget = Position{101, 99, 7};
    game.moveItems->Show(GameTest::kGround, 5);
}

// The shop stands in the middle, its buttons over the chat area: moved up
// over the game view, where a click would otherwise walk.
void OpenShopOverTheView(GameInterface& game) {
    game.npcShop->Show();
    if (GUIControl* shop = game.gui->FindControl(NpcShopDialog::kDialogId))
        shop->MoveBy(0, -150);
}

// The market as a full listing opens it; its Close lies below the view
// until the player drags the window up.
void OpenMarket(GameInterface& game) {
    Receive(game, Wire().U8(0x2F).U8(1).U32(100).U32(0).bytes);
    if (GUIControl* window = game.gui->FindControl(MarketDialog::kDialogId))
        window->MoveBy(0, -200);
}
// A dialog the market's "My Offers" opens, which stays when the market
// window closes.
void OpenFromOwnOffers(GameInterface& game, void (*open)(MarketDialog&)) {
    OpenMarket(game);
    game.market->SelectTab(MarketDialog::kOwnTab);
    open(*game.market);
    DialogHelper(game.gui, MarketDialog::kDialogId).Close();
}
void OpenSellOffer(GameInterface& game) {
    OpenFromOwnOffers(game, [](MarketDialog& market) { market.OpenSellOffer(GameTest::kGround); });
}
void OpenBuyOffer(GameInterface& game) {
    OpenFromOwnOffers(game, [](MarketDialog& market) { market.OpenBuyOffer(); });
}
void OpenHistory(GameInterface& game) {
    OpenFromOwnOffers(game, [](MarketDialog& market) { market.OpenHistory(); });
}

// A key pressed with Ctrl held, as the main loop hands it to the game screen.
void CtrlKey(GameInterface& game, int key) {
    InputEvent event;
    event.type = InputEvent::KeyDown;
    event.a = key;
    event.modifiers = InputEvent::kCtrlHeld;
    game.HandleEvent(event);
}

// A guild of two ranks and two members, which the player, Aldric, leads.
void OpenGuild(GameInterface& game) {
    GuildData data;
    data.name = "Knights";
    data.ownLevel = 2;
    data.ranks = {{3, 2, 0, "Founder"}, {12, 0, 1, "Recruit"}};
    data.members = {{100, 3, "Aldric", ""}, {101, 12, "Cedric", ""}};
    Receive(game, GuildMessage(data));
}
// The guild window's Close lies over the chat area until it is dragged up.
void OpenGuildOverTheView(GameInterface& game) {
    OpenGuild(game);
    if (GUIControl* window = game.gui->FindControl(GuildDialog::kDialogId))
        window->MoveBy(0, -100);
}
// A small dialog the guild window opens, which stays when the window closes.
void OpenFromGuild(GameInterface& game, void (*open)(GuildDialog&)) {
    OpenGuild(game);
    open(*game.guild);
    game.guild->CloseWindow();
}
void OpenEditMember(GameInterface& game) {
    OpenFromGuild(game, [](GuildDialog& guild) { guild.OpenEditMember(guild.members.back()); });
}
void OpenCreateWar(GameInterface& game) {
    OpenFromGuild(game, [](GuildDialog& guild) {
        guild.OpenCreateWar();
        DialogHelper(guild.gui, GuildDialog::kCreateWarDialogId).Find<GUITextbox>(GuildDialog::kOpponentId)->SetText(
            "Rogues");
    });
}
void OpenEditRanks(GameInterface& game) {
    OpenFromGuild(game, [](GuildDialog& guild) { guild.OpenEditRanks(); });
}

// Ctrl+Y of a game master. The table's close by id leaves the module, which
// the window's own Close frees.
void OpenGmWindow(GameInterface& game) {
    game.CloseOwnedDialog();
    Creature* player = game.map->camera->creature;
    player->privilegeLevel = 3;
    CtrlKey(game, 'Y');
    player->privilegeLevel = 0;
}
// The lookups while typing remember the run's last name: none here, so the
// dialog's frames ask for nothing.
void OpenBanDialog(GameInterface& game) {
    Receive(game, Wire().U8(0x1F).bytes);
    GMBanDialog::Instance()->lastLookupName.clear();
}
// The list asks for its rows on its first frame and then every six seconds:
// on a clock that stands still, only the first frame asks.
void OpenOnlineList(GameInterface&) {
    OnlineListDialog* list = OnlineListDialog::Instance();
    list->clock = [] { return int64_t(1000); };
    list->lastRequest = 0;
    list->Open();
}

// The hotkey bar's click on slot 3 asks for the spell list aloud; the
// server's answer opens the editor.
void OpenHotkeyEditor(GameInterface& game) {
    game.hotkeyDialog->slot = 3;
    game.hotkeyDialog->fightSet = false;
    game.protocol->SendRequestActionList(0);
    Receive(game, Wire().U8(0x26).U8(0).bytes);
}
// The library's Close lies over the chat area until it is dragged up.
void OpenSpellLibrary(GameInterface& game) {
    Receive(game, Wire().U8(0x32).U16(1).U16(0xFFFF).bytes);
    if (GUIControl* window = game.gui->FindControl(GameIds::kSpellLibraryDialog))
        window->MoveBy(0, -100);
}
void OpenOutfit(GameInterface& game) {
    Receive(game, Wire().U8(0x33).U8(1).U8(1).U8(1).U32(10).U8(0).U32(0).U8(0).U32(0).U8(0).bytes);
}
void OpenBrewing(GameInterface& game) { Receive(game, Wire().U8(0x3D).U8(0).bytes); }
// The log the table closed by its id is still the protocol's; its own Close
// ends it, so that the next quest makes a new one. Its Close lies over the
// chat area until it is dragged up.
void OpenQuestLog(GameInterface& game) {
    if (QuestLogDialog* log = game.protocol->questLog)
        log->Close();
    Receive(game, Wire().U8(0x2A).U16(1).U8(0).Str("The Lost Ring").U8(50).U16(0).bytes);
    if (GUIControl* window = game.gui->FindControl(QuestLogDialog::kDialogId))
        window->MoveBy(0, -100);
}
void OpenSummon(GameInterface& game) { Receive(game, Wire().U8(0x2D).U8(1).Str("Rat").U16(20).bytes); }

// Ctrl+R; the module the table's close by id leaves goes first, as the
// dialog's own buttons free it.
void OpenReport(GameInterface& game, const std::string& text) {
    game.CloseReportDialog();
    CtrlKey(game, 'R');
    DialogHelper(game.gui, ReportDialog::kDialogId).Find<GUITextbox>(ReportDialog::kTextBoxId)->SetText(text);
}
// Ctrl+P, a private channel typed.
void OpenChannel(GameInterface& game) {
    CtrlKey(game, 'P');
    DialogHelper(game.gui, OpenChannelDialog::kDialogId).Find<GUITextbox>(OpenChannelDialog::kNameBoxId)->SetText(
        "Bob");
}

// The side windows' name prompts, a name typed.
void OpenAddFriend(GameInterface& game) {
    game.friends->ShowAddDialog();
    DialogHelper(game.gui, Friends::kAddDialogId).Find<GUITextbox>(Friends::kNameBoxId)->SetText("Ivo");
}
void OpenPartyInvite(GameInterface& game) {
    game.party->OpenInviteDialog();
    DialogHelper(game.gui, Party::kInviteDialogId).Find<GUITextbox>(Party::kNameBoxId)->SetText("Ivo");
}
// The world map's menu opens "Add Marker" over the map, which stays open:
// the marker dialog is moved up off the map, over the view.
void OpenAddMarker(GameInterface& game) {
    game.worldMap->Open();
    game.worldMap->OpenAddMarker();
    if (GUIControl* window = game.gui->FindControl(WorldMapDialog::kAddMarkerDialogId))
        window->MoveBy(0, -200);
}

const std::vector<ClosingButton>& Rows() {
    static const std::vector<ClosingButton> rows = {
        {"QuitCancel", QuitDialog::kDialogId, "Cancel", [](GameInterface&) { QuitDialog::Instance()->Show(); },
         true},
        {"ConfirmOk", ConfirmDialog::kDialogId, "OK",
         [](GameInterface&) { ConfirmDialog::Instance()->Show("Title", "Text", &Noop, nullptr); }, false},
        {"ConfirmCancel", ConfirmDialog::kDialogId, "Cancel",
         [](GameInterface&) { ConfirmDialog::Instance()->Show("Title", "Text", &Noop, nullptr); }, false},
        {"WorldMapClose", WorldMapDialog::kDialogId, "Close", [](GameInterface& game) { game.worldMap->Open(); },
         false},
        {"OptionsClose", OptionsDialog::kDialogId, "Close",
         [](GameInterface&) { Client::Instance()->optionsDialog->Open(); }, false},
        {"MoveItemsCancel", MoveItemsDialog::kDialogId, "Cancel",
         [](GameInterface& game) { game.moveItems->Show(GameTest::kGround, 5); }, false},
        // The house management and the house bidding.
        {"HouseSaveAndClose", HouseDialog::kDialogId, "Save & Close", &OpenHouse, true, {0x25}},
        {"HouseCancel", HouseDialog::kDialogId, "Cancel", &OpenHouse, false},
        {"HouseAbandon", HouseDialog::kDialogId, "Abandon",
         [](GameInterface& game) {
             OpenHouse(game);
             HouseDialog::OnOwnershipTab(game.house, 0, 0);
             DialogHelper(game.gui, HouseDialog::kDialogId).Find<GUICheckbox>(GameIds::kHouseAbandonCheck)->checked =
                 true;
             HouseDialog::OnAbandonCheck(game.house, 0, 0);
         },
         false, {0x2F}},
        {"HouseBiddingClose", HouseBiddingDialog::kDialogId, "Close", &OpenHouseBidding, false},
        // No house chosen: the bid sends nothing, the window closes.
        {"HouseBid", HouseBiddingDialog::kDialogId, "Bid Premium Cards", &OpenHouseBidding, false},

        // The merchant's windows, and "Move Items" moving the drag it keeps.
        {"MoveItemsMove", MoveItemsDialog::kDialogId, "Move", &AskToMoveAStack, true, {kMove}},
        {"NpcShopClose", NpcShopDialog::kDialogId, "Close", &OpenShopOverTheView, false},
        {"NpcTradeTrade", NpcTradeDialog::kDialogId, "Trade",
         [](GameInterface&) { NpcTradeDialog::Instance()->Show(); }, true, {kNpcTrade}},
        {"NpcTradeCancel", NpcTradeDialog::kDialogId, "Cancel",
         [](GameInterface&) { NpcTradeDialog::Instance()->Show(); }, false},

        // The item market, its two offer dialogs (whose Create Offer sends
        // the offer) and the history window.
        {"MarketClose", MarketDialog::kDialogId, "Close", &OpenMarket, false},
        {"MarketSellOfferCancel", MarketDialog::kSellDialogId, "Cancel", &OpenSellOffer, false},
        {"MarketSellOfferCreate", MarketDialog::kSellDialogId, "Create Offer", &OpenSellOffer, true, {0x2C}},
        {"MarketBuyOfferCancel", MarketDialog::kBuyDialogId, "Cancel", &OpenBuyOffer, false},
        {"MarketBuyOfferCreate", MarketDialog::kBuyDialogId, "Create Offer", &OpenBuyOffer, true, {0x2C}},
        {"MarketHistoryClose", MarketDialog::kHistoryDialogId, "Close", &OpenHistory, false},

        // The guild window, its three small dialogs (whose Save and Create
        // send the guild request) and the dialog of a player without a guild.
        {"GuildClose", GuildDialog::kDialogId, "Close", &OpenGuildOverTheView, false},
        {"GuildEditMemberSave", GuildDialog::kEditMemberDialogId, "Save", &OpenEditMember, false, {kGuild}},
        {"GuildEditMemberCancel", GuildDialog::kEditMemberDialogId, "Cancel", &OpenEditMember, false},
        {"GuildCreateWarCreate", GuildDialog::kCreateWarDialogId, "Create", &OpenCreateWar, false, {kGuild}},
        {"GuildCreateWarCancel", GuildDialog::kCreateWarDialogId, "Cancel", &OpenCreateWar, false},
        {"GuildEditRanksClose", GuildDialog::kEditRanksDialogId, "Close", &OpenEditRanks, false},
        {"NoGuildClose", NoGuildDialog::kDialogId, "Close",
         [](GameInterface& game) { Receive(game, NoGuildMessage({{7, "Knights"}})); }, false},

        // The game master's window, ban dialog and online list.
        {"GmWindowClose", GMWindow::kDialogId, "Close", &OpenGmWindow, false},
        {"BanClose", GMBanDialog::kDialogId, "Close", &OpenBanDialog, false},
        {"OnlineListClose", OnlineListDialog::kDialogId, "Close", &OpenOnlineList, false},

        // The character's dialogs: the hotkey editor, the spell library, the
        // talents, the outfit, brewing and its recipes, the quest log and the
        // summon list.
        {"HotkeyEditorSave", GameIds::kHotkeyEditor, "Save", &OpenHotkeyEditor, true},
        {"HotkeyEditorCancel", GameIds::kHotkeyEditor, "Cancel", &OpenHotkeyEditor, false},
        {"SpellLibraryClose", GameIds::kSpellLibraryDialog, "Close", &OpenSpellLibrary, false},
        {"TalentsSave", GameIds::kTalentsDialog, "Save", [](GameInterface& game) { CtrlKey(game, 'T'); }, true,
         {kTalents}},
        {"TalentsCancel", GameIds::kTalentsDialog, "Cancel", [](GameInterface& game) { CtrlKey(game, 'T'); },
         false},
        {"OutfitSave", GameIds::kOutfitDialog, "Save", &OpenOutfit, true, {kOutfit}},
        {"OutfitClose", GameIds::kOutfitDialog, "Close", &OpenOutfit, false},
        {"BrewingClose", BrewingDialog::kDialogId, "Close", &OpenBrewing, false},
        {"RecipesClose", RecipesDialog::kDialogId, "Close", [](GameInterface& game) { game.recipes->Show(); },
         false},
        {"QuestLogClose", QuestLogDialog::kDialogId, "Close", &OpenQuestLog, false},
        {"SummonSummon", SummonMonsterDialog::kDialogId, "Summon", &OpenSummon, true, {kSummon}},
        {"SummonCancel", SummonMonsterDialog::kDialogId, "Cancel", &OpenSummon, false},

        // The client's own dialogs: the ignore list, "Open Channel" (whose
        // Open joins), the report (whose Report sends it), the welcome and the
        // completed tutorial.
        {"IgnoreListClose", IgnoreList::kDialogId, "Close",
         [](GameInterface& game) { GameInterface::OpenIgnoreList(&game); }, false},
        {"OpenChannelOpen", OpenChannelDialog::kDialogId, "Open", &OpenChannel, true, {kJoinChannel}},
        {"OpenChannelCancel", OpenChannelDialog::kDialogId, "Cancel", &OpenChannel, false},
        {"ReportReport", ReportDialog::kDialogId, "Report",
         [](GameInterface& game) { OpenReport(game, "A bug at the harbour"); }, false, {kReport}},
        {"ReportCancel", ReportDialog::kDialogId, "Cancel", [](GameInterface& game) { OpenReport(game, ""); },
         false},
        {"WelcomeStart", WelcomeDialog::kDialogId, "Close & Start Playing",
         [](GameInterface& game) { game.welcome->Show(); }, false},
        {"TutorialClose", TutorialDialog::kDialogId, "Close",
         [](GameInterface& game) { Receive(game, Wire().U8(0x3C).bytes); }, false},

        // The side windows' dialogs: "Add Person" and "Invite To Party"
        // (whose Add and Invite send the name) and the world map's "Add
        // Marker".
        {"AddFriendAdd", Friends::kAddDialogId, "Add", &OpenAddFriend, true, {kAddFriend}},
        {"AddFriendCancel", Friends::kAddDialogId, "Cancel", &OpenAddFriend, false},
        {"PartyInviteInvite", Party::kInviteDialogId, "Invite", &OpenPartyInvite, false, {kParty}},
        {"PartyInviteCancel", Party::kInviteDialogId, "Cancel", &OpenPartyInvite, false},
        {"AddMarkerAdd", WorldMapDialog::kAddMarkerDialogId, "Add", &OpenAddMarker, true},
        {"AddMarkerCancel", WorldMapDialog::kAddMarkerDialogId, "Cancel", &OpenAddMarker, false},
    };
    return rows;
}

class InputOwnerTest : public GameTest, public ::testing::WithParamInterface<size_t> {
protected:
    // The online list's clock is the run's again.
    ~InputOwnerTest() override { OnlineListDialog::Instance()->clock = nullptr; }
    const ClosingButton& row() { return Rows()[GetParam()]; }
    GUIManager& gui() { return *client->app->gui; }

    void Enter() {
        Start();
        StandOnGround();
        DrawFrame();
        Sent();
    }
    // Opens the row's dialog; its closing button, or null. What opening
    // asked the server for (a channel list, an online list) is not the click's.
    GUIButton* Open() {
        row().open(game());
        DrawFrame();
        Sent();
        const GUIControl* dialog = DialogHelper(&gui(), row().dialogId).Dialog();
        if (!dialog)
            return nullptr;
        for (GUIControl* child : dialog->children)
            if (auto* button = dynamic_cast<GUIButton*>(child); button && button->caption == row().caption)
                return button;
        return nullptr;
    }
    // The window procedure's messages first, as a slow frame gets them, then
    // the main loop's handling of what they queued.
    void HandleQueued() {
        KEngine2* app = client->app;
        while (app->HasEvents())
            game().HandleEvent(app->PopEvent());
    }
    // The opcodes of the requests queued since the last call.
    std::vector<int> Sent() {
        Connection* connection = client->protocol->connection;
        std::vector<int> opcodes;
        for (const auto& frame : connection->QueuedFrames())
            opcodes.push_back(frame[2]);
        connection->ClearQueues();
        return opcodes;
    }
    GuiInput input() { return GuiInput(*client->app, fixture.platform.keys); }
};

const int kChat = 0x03;
const int kTargets = 0x12;
const int kWalk = 0x1A;

TEST_P(InputOwnerTest, TheClickThatClosesADialogIsTheDialogs) {
    Enter();
    GUIButton* button = Open();
    ASSERT_NE(button, nullptr) << row().name << ": no \"" << row().caption << "\" button";
    const int x = button->x + button->width / 2;
    const int y = button->y + button->height / 2;
    // The same click without the dialog walks: the button lies over the view.
    DialogHelper(&gui(), row().dialogId).Close();
    DrawFrame();
    input().Click(x, y);
    HandleQueued();
    ASSERT_EQ(Sent(), (std::vector<int>{kWalk, kTargets, kWalk})) << row().name << ": the control click";

    ASSERT_NE(Open(), nullptr);
    input().Click(x, y);
    EXPECT_FALSE(DialogHelper(&gui(), row().dialogId).IsOpen()) << row().name << ": the click closed it";
    HandleQueued();
    EXPECT_EQ(Sent(), row().sends) << row().name;
    EXPECT_FALSE(game().thingActions->IsDragging()) << row().name;
    // The next click is the game screen's again.
    DrawFrame();
    input().Click(x, y);
    HandleQueued();
    EXPECT_EQ(Sent(), (std::vector<int>{kWalk, kTargets, kWalk})) << row().name;
}

// The rows whose closing button Enter presses too.
std::vector<size_t> EnterRows() {
    std::vector<size_t> rows;
    for (size_t i = 0; i < Rows().size(); ++i)
        if (Rows()[i].enterButton)
            rows.push_back(i);
    return rows;
}

class EnterOwnerTest : public InputOwnerTest {};

TEST_P(EnterOwnerTest, TheEnterThatPressesADialogsButtonSendsNoChatLine) {
    Enter();
    auto* chat = dynamic_cast<GUITextbox*>(gui().FindControl(GameIds::kChatInput));
    ASSERT_NE(chat, nullptr);
    chat->SetText("hello");
    gui().focus = chat;
    ASSERT_NE(Open(), nullptr);
    input().Char('\r');
    EXPECT_FALSE(DialogHelper(&gui(), row().dialogId).IsOpen()) << row().name << ": Enter closed it";
    HandleQueued();
    EXPECT_EQ(Sent(), row().sends) << row().name;
    EXPECT_EQ(chat->GetText(), "hello");
    // Once the dialog has gone, Enter sends the chat line again.
    DrawFrame();
    gui().focus = chat;
    input().Char('\r');
    HandleQueued();
    EXPECT_EQ(Sent(), std::vector<int>{kChat}) << row().name;
}

std::string RowName(const ::testing::TestParamInfo<size_t>& info) { return Rows()[info.param].name; }

INSTANTIATE_TEST_SUITE_P(EveryClosingButton, InputOwnerTest, ::testing::Range<size_t>(0, Rows().size()), RowName);
INSTANTIATE_TEST_SUITE_P(EveryEnterButton, EnterOwnerTest, ::testing::ValuesIn(EnterRows()), RowName);

}  // namespace
