#include "tests/support/RequestTable.h"

#include "client/Client.h"
#include "dialogs/trade/HouseRecord.h"
#include "engine/gui/GUITab.h"
#include "game/ChatLog.h"
#include "game/ChatPane.h"
#include "game/GameInterface.h"
#include "protocol/Protocol.h"
#include "world/Camera.h"
#include "world/Creature.h"
#include "world/ItemsCache.h"
#include "world/Map.h"
#include "world/Tile.h"
#include "world/Thing.h"

namespace {

// Only whether a slot is taken matters to the use request.
Container* OpenWindow() {
    static char window;
    return reinterpret_cast<Container*>(&window);
}

void OpenContainers(Client& client, const std::vector<int>& slots) {
    for (Container*& slot : client.game->containers)
        slot = nullptr;
    for (int index : slots)
        client.game->containers[index] = OpenWindow();
}

std::vector<int> AllSlots() {
    std::vector<int> slots;
    for (int i = 0; i < GameInterface::kContainerSlots; ++i)
        slots.push_back(i);
    return slots;
}

HouseRecord House(std::vector<HouseInvite> invites, std::vector<TilePermission> permissions) {
    HouseRecord house;
    house.position = {100, 200, 7};
    house.invites = std::move(invites);
    house.tilePermissions = std::move(permissions);
    return house;
}


// The keyboard walk of the game screen's camera: the player stands at rest on
// ground all around (an item record of its own, taken out again), and each
// direction starts from there.
void WalkAndTurn(Client& client, const std::vector<int>& directions, bool turnOnly) {
    constexpr uint16_t kGround = 7901;
    ItemRecord* ground = new ItemRecord();
    ground->groundFlag = 1;
    ItemsCache::Instance()->Set(ground, kGround);
    Map& map = *client.game->map;
    Creature* player = map.FindCreature(map.playerId ? map.playerId : 1);
    if (!player) {
        map.playerId = 1;
        player = new Creature(&map);
        player->id = 1;
        player->name = "Aldric";
        player->SetPosition(100, 100, 7);
        map.AddCreature(player);
    }
    map.camera->SetCreature(player);
    for (int direction : directions) {
        player->FinishWalk();
        player->stopped = 1;
        player->walkProgress = 1.0f;
        player->lastDiagonalStep = 0;
        map.FreeTiles();
        player->SetPosition(100, 100, 7);
        for (int x = 99; x <= 101; ++x)
            for (int y = 99; y <= 101; ++y)
                map.GetOrCreateTile(Position{x, y, 7})->AddThing(new Thing(kGround, 1));
        map.camera->Walk(direction, turnOnly);
    }
    player->FinishWalk();
    map.FreeTiles();
    ItemsCache::Instance()->Set(nullptr, kGround);
}

}  // namespace

ChatTabScope::ChatTabScope(const char* activeName) {
    saved_.swap(ChatLog::Instance()->panes);
    if (!activeName)
        return;
    tab_ = std::make_unique<GUITab>();
    tab_->caption = activeName;
    tab_->active = true;
    pane = new ChatPane(2, activeName, tab_.get(), nullptr);
    ChatLog::Instance()->panes.push_back(pane);
}

ChatTabScope::~ChatTabScope() {
    ChatLog::Instance()->panes.swap(saved_);
    delete pane;
}

void PrepareForRequestTable(Client& client) {
    client.protocol->account = "demo";
    client.protocol->password = "demo";
    client.gfxVersion = 1500000000;
    ItemsCache::Instance()->version = 77;
    if (!client.game)
        client.StartGame(false);
    OpenContainers(client, {});
}

const std::vector<RequestRow>& RequestRows() {
    using P = Protocol;
    static const std::vector<RequestRow> rows = {
        {"login to a login server", [](Client&, P& p) { p.SendLoginServerLogin("demo", "demo"); },
         {R"({"request": "login", "opcode": 1, "version": 573, "account": "demo", "password": "demo",
              "tag": "kov847", "gfx_stamp": 1500000000, "reserved": 0})"},
         {"013d02" "040064656d6f" "040064656d6f" "06006b6f76383437" "002f6859" "00000000"}},
        {"login to a game world", [](Client&, P& p) { p.SendGameLogin("Aldric"); },
         {R"({"request": "game login", "opcode": 2, "version": 573, "account": "demo", "password": "demo",
              "character": "Aldric", "items_version": 77})"},
         {"023d02" "040064656d6f" "040064656d6f" "0600416c64726963" "4d000000"}},
        {"chat while the Trade tab is active",
         [](Client&, P& p) {
             ChatTabScope trade("Trade");
             p.SendChatMessage("hello");
         },
         {R"({"request": "chat message", "opcode": 3, "channel": "Trade", "text": "hello"})"},
         {"03" "05005472616465" "050068656c6c6f"}},
        {"chat without a chat tab",
         [](Client&, P& p) {
             ChatTabScope none(nullptr);
             p.SendChatMessage("!t Brenna");
         },
         {R"({"request": "chat message", "opcode": 3, "channel": "", "text": "!t Brenna"})"}},
        {"keyboard steps in the eight directions",
         [](Client& c, P&) { WalkAndTurn(c, {1, 2, 3, 4, 5, 6, 7, 8}, false); },
         {R"({"request": "step down", "opcode": 4})", R"({"request": "step left", "opcode": 5})",
          R"({"request": "step up", "opcode": 6})", R"({"request": "step right", "opcode": 7})",
          R"({"request": "step down-left", "opcode": 8})", R"({"request": "step up-left", "opcode": 9})",
          R"({"request": "step up-right", "opcode": 10})", R"({"request": "step down-right", "opcode": 11})"},
         {"04", "05", "06", "07", "08", "09", "0a", "0b"}},
        {"turns", [](Client& c, P&) { WalkAndTurn(c, {1, 4}, true); },
         {R"({"request": "turn", "opcode": 13, "direction": 1})", R"({"request": "turn", "opcode": 13, "direction": 4})"},
         {"0d01", "0d04"}},
        {"outfit", [](Client&, P& p) { p.SendOutfit(300, 2, 65537, 1, 2, 3, 4, 5, 262); },
         {R"({"request": "outfit", "opcode": 12, "part0": 300, "part1": 2, "part2": 1, "part3": 1, "part4": 2,
              "part5": 3, "part6": 4, "part7": 5, "part8": 6})"},
         {"0c" "2c01" "0200" "0100" "010203040506"}},
        {"move a thing from a container slot to the map",
         [](Client&, P& p) { p.SendMoveThing({65534, 3, 2}, {100, 200, 7}, 5); },
         {R"({"request": "move thing", "opcode": 14, "from_x": 65534, "from_y": 3, "from_z": 2,
              "to_x": 100, "to_y": 200, "to_z": 7, "count": 5})"}},
        {"use with container windows 0, 1 and 3 open",
         [](Client& c, P& p) {
             OpenContainers(c, {0, 1, 3});
             p.SendUseAt({100, 200, 7}, 0);
             OpenContainers(c, {});
         },
         {R"({"request": "use at", "opcode": 15, "x": 100, "y": 200, "z": 7, "container": 2, "action": 0})"},
         {"0f" "6400" "c800" "07" "02" "00000000"}},
        {"use with all 20 container windows open",
         [](Client& c, P& p) {
             OpenContainers(c, AllSlots());
             p.SendUseAt({65535, 0, 2}, 3024);
             OpenContainers(c, {});
         },
         {R"({"request": "use at", "opcode": 15, "x": 65535, "y": 0, "z": 2, "container": 0, "action": 3024})"}},
        {"use without a game screen (an item hotkey)",
         [](Client& c, P& p) {
             GameInterface* game = c.game;
             c.game = nullptr;
             p.SendUseAt({0, 0, 0}, 3031);
             c.game = game;
         },
         {R"({"request": "use at", "opcode": 15, "x": 0, "y": 0, "z": 0, "container": 0, "action": 3031})"}},
        {"close a container", [](Client&, P& p) { p.SendContainerClose(4); },
         {R"({"request": "container close", "opcode": 16, "container": 4})"}},
        {"look", [](Client&, P& p) { p.SendLook({100, 200, 7}); },
         {R"({"request": "look", "opcode": 17, "x": 100, "y": 200, "z": 7})"}},
        {"targets", [](Client&, P& p) { p.SendTargets(0x10000001, 1); },
         {R"({"request": "targets", "opcode": 18, "attack": 268435457, "follow": 1})"}},
        {"NPC trade amount", [](Client&, P& p) { p.SendOp14(77, 5, 1); },
         {R"({"request": "op 14", "opcode": 20, "offer": 77, "amount": 5, "buy_or_sell": 1})"}},
        {"join channels",
         [](Client&, P& p) {
             p.SendJoinChannel(2, "English");
             p.SendJoinChannel(1, "Aldric");
         },
         {R"({"request": "join channel", "opcode": 21, "kind": 2, "name": "English"})",
          R"({"request": "join channel", "opcode": 21, "kind": 1, "name": "Aldric"})"}},
        {"leave a channel", [](Client&, P& p) { p.SendOp16(1, "Brenna"); },
         {R"({"request": "op 16", "opcode": 22, "kind": 1, "name": "Brenna"})"}},
        {"friends",
         [](Client&, P& p) {
             p.SendAddFriend("Brenna", 0);
             p.SendRemoveFriend("Brenna", 1);
         },
         {R"({"request": "add friend", "opcode": 23, "name": "Brenna", "list": 0})",
          R"({"request": "remove friend", "opcode": 24, "name": "Brenna", "list": 1})"}},
        {"pong", [](Client&, P& p) { p.SendPong(0xBEEF); },
         {R"({"request": "pong", "opcode": 25, "value": 48879})"}, {"19efbe"}},
        {"walk to (100, 200, 7) with the steps 1 and 2",
         [](Client&, P& p) { p.SendWalkPath({1, 2}, 100, 200, 7); },
         {R"({"request": "walk path", "opcode": 26, "x_times_3": 300, "y_times_2": 400, "floor_times_4": 28,
              "steps": [1, 2]})"},
         {"1a" "2c010000" "90010000" "1c00" "02" "0102"}},
        {"stop walking", [](Client&, P& p) { p.SendWalkPath({}, 0, 0, 0); },
         {R"({"request": "walk path", "opcode": 26, "x_times_3": 0, "y_times_2": 0, "floor_times_4": 0,
              "steps": []})"},
         {"1a" "00000000" "00000000" "0000" "00"}},
        {"party", [](Client&, P& p) { p.SendPartyCommand("Brenna", 0); },
         {R"({"request": "party command", "opcode": 27, "name": "Brenna", "action": 0})"}},
        {"channel list", [](Client&, P& p) { p.SendRequestChannels(); },
         {R"({"request": "request channels", "opcode": 28})"}},
        {"ban info request", [](Client&, P& p) { p.SendBanInfoRequest("Troll"); },
         {R"({"request": "ban info request", "opcode": 29, "name": "Troll"})"}},
        {"banish", [](Client&, P& p) { p.SendBanish("Troll", 7, "spam", 1, "Rule 3"); },
         {R"({"request": "banish", "opcode": 30, "name": "Troll", "days": 7, "comments": "spam", "flag": 1,
              "text": "Rule 3"})"}},
        {"trade command 1 without a slot", [](Client&, P& p) { p.SendTradeCommand(1, -1); },
         {R"({"request": "trade command", "opcode": 31, "sub": 1})"}, {"1f01"}},
        {"trade command 4 with slot 5", [](Client&, P& p) { p.SendTradeCommand(4, 5); },
         {R"({"request": "trade command", "opcode": 31, "sub": 4, "slot": 5})"}, {"1f040500"}},
        {"report", [](Client&, P& p) { p.SendReport("stuck at 100/200"); },
         {R"({"request": "report", "opcode": 32, "text": "stuck at 100/200"})"}},
        {"sell to the NPC shop", [](Client&, P& p) { p.SendOp21(3031, 1); },
         {R"({"request": "op 21", "opcode": 33, "first": 3031, "flag": 1})"}},
        {"action list with flag 1, then 0",
         [](Client&, P& p) {
             p.SendRequestActionList(1);
             p.SendRequestActionList(0);
         },
         {R"({"request": "request action list", "opcode": 34})",
          R"({"request": "request action list", "opcode": 34})"},
         {"22", "22"}},
        {"cast spells 0 and -5: nothing",
         [](Client&, P& p) {
             p.SendCastSpell(0, "Troll");
             p.SendCastSpell(-5, "Troll");
         },
         {}},
        {"cast spell 70000", [](Client&, P& p) { p.SendCastSpell(70000, "Troll"); },
         {R"({"request": "cast spell", "opcode": 35, "spell": 4464, "target": "Troll"})"},
         {"23" "7011" "050054726f6c6c"}},
        {"cast spell 12 without a target", [](Client&, P& p) { p.SendCastSpell(12, ""); },
         {R"({"request": "cast spell", "opcode": 35, "spell": 12, "target": ""})"}},
        {"ban dialog action", [](Client&, P& p) { p.SendOp24("Troll"); },
         {R"({"request": "op 24", "opcode": 36, "name": "Troll"})"}},
        {"house save: no invite, one tile permission",
         [](Client&, P& p) { p.SendHouseSave(House({}, {{"Ann", 2}})); },
         {R"({"request": "house save", "opcode": 37, "x": 100, "y": 200, "z": 7, "invites": [],
              "permissions": [{"name": "Ann", "level": 2}]})"},
         {"25" "6400" "c800" "07" "00" "01" "0300416e6e" "02"}},
        {"house save: one sub owner, no tile permission, rights beyond 8 bits",
         [](Client&, P& p) { p.SendHouseSave(House({{"Bob", true}, {"Cy", false}}, {{"Dee", 0x107}})); },
         {R"({"request": "house save", "opcode": 37, "x": 100, "y": 200, "z": 7,
              "invites": [{"name": "Bob", "role": 1}, {"name": "Cy", "role": 0}],
              "permissions": [{"name": "Dee", "level": 7}]})"}},
        {"house bid", [](Client&, P& p) { p.SendHouseBid(9, 5000); },
         {R"({"request": "house bid", "opcode": 38, "house": 9, "amount": 5000})"}},
        {"container icon", [](Client&, P& p) { p.SendOp27(3); },
         {R"({"request": "op 27", "opcode": 39, "container": 3})"}},
        {"quests", [](Client&, P& p) { p.SendRequestQuests(); },
         {R"({"request": "request quests", "opcode": 40})"}},
        {"summon", [](Client&, P& p) { p.SendSummonMonster("Rat"); },
         {R"({"request": "summon monster", "opcode": 41, "name": "Rat"})"}},
        {"market open", [](Client&, P& p) { p.SendMarketOpen(); },
         {R"({"request": "market open", "opcode": 42})"}},
        {"market accept", [](Client&, P& p) { p.SendMarketAccept("Brenna", 12, 5, 1.5f, 1); },
         {R"({"request": "market accept", "opcode": 43, "player": "Brenna", "item": 12, "amount": 5,
              "price": 1.5, "side": 1})"},
         {"2b" "06004272656e6e61" "0c000000" "05000000" "0000c03f" "01"}},
        {"market offer", [](Client&, P& p) { p.SendMarketCreateOffer(3031, 5, 1.5f, 1); },
         {R"({"request": "market create offer", "opcode": 44, "item": 3031, "amount": 5, "price": 1.5,
              "side": 1})"},
         {"2c" "d70b0000" "05000000" "0000c03f" "01"}},
        {"market query", [](Client&, P& p) { p.SendMarketQuery(2, "sword"); },
         {R"({"request": "market query", "opcode": 45, "item": 2, "player": "sword"})"}},
        {"market offer action", [](Client&, P& p) { p.SendMarketOfferAction(12, 1); },
         {R"({"request": "market offer action", "opcode": 46, "item": 12, "side": 1})"}},
        {"house abandon", [](Client&, P& p) { p.SendHouseAbandon(); },
         {R"({"request": "house abandon", "opcode": 47})"}},
        {"house transfer", [](Client&, P& p) { p.SendHouseTransfer("Brenna", 100000); },
         {R"({"request": "house transfer", "opcode": 48, "name": "Brenna", "price": 100000})"}},
        {"spells", [](Client&, P& p) { p.SendRequestSpells(); },
         {R"({"request": "request spells", "opcode": 49})"}},
        {"outfit choices", [](Client&, P& p) { p.SendOp32(); }, {R"({"request": "op 32", "opcode": 50})"}},
        {"talents", [](Client&, P& p) { p.SendTalents({1, 2, 3, 4, 5, 6, 70000}); },
         {R"({"request": "talents", "opcode": 51, "durability": 1, "spirituality": 2, "legerity": 3,
              "expertise": 4, "aggression": 5, "fortification": 6, "resistance": 4464})"},
         {"33" "0100" "0200" "0300" "0400" "0500" "0600" "7011"}},
        {"talent reset", [](Client&, P& p) { p.SendOp34(); }, {R"({"request": "op 34", "opcode": 52})"}},
        {"NPC shop choice", [](Client&, P& p) { p.SendNpcShopSelect(3031); },
         {R"({"request": "npc shop select", "opcode": 53, "item": 3031})"}},
        {"house decoration", [](Client&, P& p) { p.SendHouseBuyItem(2001); },
         {R"({"request": "house buy item", "opcode": 54, "item": 2001})"}},
        {"guild data", [](Client&, P& p) { p.SendRequestGuild(); },
         {R"({"request": "request guild", "opcode": 55})"}},
        {"guild channel message", [](Client&, P& p) { p.SendGuildCommand1("Meet at the depot"); },
         {R"({"request": "guild command 1", "opcode": 56, "sub": 1, "text": "Meet at the depot"})"},
         {"3801" "11004d65657420617420746865206465706f74"}},
        {"guild invite", [](Client&, P& p) { p.SendGuildCommand2("Brenna"); },
         {R"({"request": "guild command 2", "opcode": 56, "sub": 2, "name": "Brenna"})"}},
        {"guild kick", [](Client&, P& p) { p.SendGuildCommand3(4001); },
         {R"({"request": "guild command 3", "opcode": 56, "sub": 3, "member": 4001})"}},
        {"guild create", [](Client&, P& p) { p.SendGuildCreate("Wolves"); },
         {R"({"request": "guild create", "opcode": 56, "sub": 4, "name": "Wolves"})"}},
        {"guild join", [](Client&, P& p) { p.SendGuildJoin(17); },
         {R"({"request": "guild join", "opcode": 56, "sub": 5, "guild": 17})"}, {"3805" "11000000"}},
        {"guild member edit", [](Client&, P& p) { p.SendGuildCommand6(4001, "Scout", 3); },
         {R"({"request": "guild command 6", "opcode": 56, "sub": 6, "member": 4001, "title": "Scout",
              "rank": 3})"}},
        {"guild war", [](Client&, P& p) { p.SendGuildCommand7("Bears", 7, 1000, 1); },
         {R"({"request": "guild command 7", "opcode": 56, "sub": 7, "guild": "Bears", "days": 7, "fee": 1000,
              "loyalty": 1})"},
         {"3807" "05004265617273" "07000000" "e8030000" "01"}},
        {"guild war accept", [](Client&, P& p) { p.SendGuildCommand8(5); },
         {R"({"request": "guild command 8", "opcode": 56, "sub": 8, "war": 5})"}},
        {"guild war cancel", [](Client&, P& p) { p.SendGuildCommand9(5); },
         {R"({"request": "guild command 9", "opcode": 56, "sub": 9, "war": 5})"}},
        {"guild new rank", [](Client&, P& p) { p.SendGuildCommand10(1, "Captain"); },
         {R"({"request": "guild command 10", "opcode": 56, "sub": 10, "level": 1, "rank_name": "Captain"})"}},
        {"guild rank remove", [](Client&, P& p) { p.SendGuildCommand11(3); },
         {R"({"request": "guild command 11", "opcode": 56, "sub": 11, "rank": 3})"}},
        {"guild rank up and down",
         [](Client&, P& p) {
             p.SendGuildCommand12(3, 255);
             p.SendGuildCommand12(3, 1);
         },
         {R"({"request": "guild command 12", "opcode": 56, "sub": 12, "rank": 3, "step": 255})",
          R"({"request": "guild command 12", "opcode": 56, "sub": 12, "rank": 3, "step": 1})"}},
        {"brew", [](Client&, P& p) { p.SendBrewCommand1(2, 16); },
         {R"({"request": "brew command 1", "opcode": 57, "sub": 1, "size": 2, "amount": 16})"},
         {"3901" "02" "1000"}},
        {"brew finish", [](Client&, P& p) { p.SendBrewCommand2(); },
         {R"({"request": "brew command 2", "opcode": 57, "sub": 2})"}, {"3902"}},
        {"learned recipes", [](Client&, P& p) { p.SendBrewCommand3(); },
         {R"({"request": "brew command 3", "opcode": 57, "sub": 3})"}, {"3903"}},
        {"online list", [](Client&, P& p) { p.SendRequestOnlineList(); },
         {R"({"request": "request online list", "opcode": 58})"}},
        {"loot, then close the same container", [](Client&, P& p) { p.SendOp4A(4); },
         {R"({"request": "op 4a", "opcode": 74, "container": 4})",
          R"({"request": "container close", "opcode": 16, "container": 4})"},
         {"4a04", "1004"}},
        {"logout", [](Client&, P& p) { p.SendLogout(); }, {R"({"request": "logout", "opcode": 19})"}, {"13"}},
    };
    return rows;
}
