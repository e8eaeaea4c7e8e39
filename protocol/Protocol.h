#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "world/Position.h"

class CharacterList;
class Connection;
struct HouseRecord;
class InMessage;
class OutMessage;
class QuestLogDialog;
class Tile;
class TradeWindow;
struct Position;

// The game protocol over the one connection: the two-stage login (login
// server, then game world), one handler per server message and one sender per
// client request. Made once by Client::Init and kept until the process ends.
//
// The stages: Connect shows the "Connecting" box; the first poll that finds
// the connection up queues the login request of the mode (0x01 to a login
// server, 0x02 to a game world) and waits for the answer, 0x02 (the character
// list, after which the login connection is closed) or 0x03 (the game
// starts). A failed attempt, and a connection lost before the answer, end in
// an "Error" box the player can close; a game connection lost while playing
// makes Poll return false, and the main loop goes back to the login screen
// and logs in again with the stored account.
class Protocol {
public:
    static constexpr uint16_t kVersion = 573;
    // Server opcodes 0x01 to 0x40 have handlers; 0x00 and everything above
    // is a protocol error.
    static constexpr int kLastOpcode = 0x40;

    Protocol();
    ~Protocol();
    Protocol(const Protocol&) = delete;
    Protocol& operator=(const Protocol&) = delete;

    // mode 0: a login server, 1: a game world. The hosts are tried in order.
    // Failures show up in a later Poll; always true.
    bool Connect(uint8_t mode, std::vector<std::string> hosts, uint16_t port);
    // One network step per main-loop pass. False when the game connection has
    // just been lost or closed (and while it stays idle with a game screen).
    bool Poll();
    // Sends what is still queued (the logout of a closing client) before the
    // program ends; a connection that cannot take it in time is left as it is.
    void FlushRequests();
    void Send(const OutMessage& message);
    // Handles every message of one frame, in order.
    void Dispatch(InMessage& message);

    // The handlers, one per server message, and the senders, one per client
    // request, grouped by subject. Each family lives in a file of its own:
    // handlers in protocol/Protocol<Family>.cpp, senders in
    // protocol/Requests<Family>.cpp. A handler reads exactly its fields and
    // hands them to the object that owns the state; it builds no controls.
    //
    // A sender takes its fields in wire order and writes the low bits of each
    // number its field holds; it queues its request whatever the connection's
    // state and reports nothing. A request that does not fit into one message
    // is not queued at all (see OutMessage).

    // --- Connection and login (Protocol.cpp, Requests.cpp) ---
    void OnNewVersion(InMessage& message);        // 0x01
    void ParseCharacterList(InMessage& message);  // 0x02
    void ParseEnterGame(InMessage& message);      // 0x03
    void OnDisconnect(InMessage& message);        // 0x16
    void OnPing(InMessage& message);              // 0x19

    void SendLoginServerLogin(const std::string& account, const std::string& password);  // 0x01
    void SendGameLogin(const std::string& character);                                     // 0x02
    void SendLogout();                                                                    // 0x13
    void SendPong(uint16_t value);                                                        // 0x19

    // --- World: map areas, things, creatures and steps (ProtocolWorld.cpp, RequestsWorld.cpp) ---
    // Without a game screen every one of them reads its fields and drops
    // them; only the item records are kept (they fill the items cache).
    void ParseMapArea(InMessage& message, int second);  // 0x05 (second 0), 0x09 (second 1)
    void OnMapArea(InMessage& message);                 // 0x05
    void OnMapAreaStrip(InMessage& message);            // 0x09
    void ParseAddThing(InMessage& message);             // 0x06
    // The creature record inside a map area, for a tile (may be null) at a position.
    void ParseAddThing(InMessage& message, Tile* tile, const Position& at);
    void OnRemoveCreature(InMessage& message);          // 0x07
    void ParseCreatureStep(InMessage& message);         // 0x08
    void ParseWalkRefused(InMessage& message);          // 0x0a
    void ParseTileUpdate(InMessage& message);           // 0x2c
    void OnResumeWalk(InMessage& message);              // 0x2e
    void ParseItemRecords(InMessage& message);          // 0x31

    // The steps (0x04 to 0x0b) and turns (0x0d) are Camera::Walk's own, sent through Send.
    void SendMoveThing(const Position& from, const Position& to, int count);  // 0x0e
    // Between the position and the action goes the first free container-window
    // slot of the game screen (0 when all are taken or there is no game screen):
    // the window a container opened by the use will take.
    void SendUseAt(const Position& position, uint32_t action);  // 0x0f
    void SendLook(const Position& position);                    // 0x11
    void SendTargets(uint32_t attack, uint32_t follow);         // 0x12
    // The destination goes out as x * 3, y * 2 and floor * 4. A path carries
    // at most 255 steps (its count is one byte): a longer one is cut there,
    // and the walk goes on from where the player stands when the server says
    // so (server message 0x2e). No steps and (0, 0, 0) stop a walk.
    void SendWalkPath(const std::vector<int>& steps, int32_t x, int32_t y, int32_t floor);  // 0x1a

    // --- Player: equipment, containers, items, statistics, conditions (ProtocolPlayer.cpp, RequestsPlayer.cpp) ---
    // Without a game screen each reads its whole message and drops it.
    void ParseEquipment(InMessage& message);      // 0x0c: always 13 pairs, 39 bytes
    // Container indexes past the twenty slots are read and ignored.
    void ParseOpenContainer(InMessage& message);  // 0x0d
    void OnCloseContainer(InMessage& message);    // 0x0e
    void ParseConditions(InMessage& message);     // 0x1a: conditions, then the buffs
    void ParsePlayerStats(InMessage& message);  // 0x14
    void SendOutfit(int part0, int part1, int part2, int part3, int part4, int part5, int part6, int part7,
                    int part8);                      // 0x0c: parts 0 to 2 as u16, 3 to 8 as u8
    void SendContainerClose(int container);         // 0x10
    void SendOp27(int container);                   // 0x27
    void SendOp32();                                // 0x32: asks for the outfit choices
    // Points of the seven talents, in the order of the talent-name table.
    void SendTalents(const std::array<int32_t, 7>& points);  // 0x33
    void SendOp34();                                         // 0x34: resets the talents
    // The container window's "Loot": 0x4a, then the close request 0x10 for the same container.
    void SendOp4A(int container);  // 0x4a

    // --- Chat, channels and notices (ProtocolChat.cpp, RequestsChat.cpp) ---
    void ParseChatMessage(InMessage& message);  // 0x04
    void ParseChannelOpen(InMessage& message);  // 0x0b
    void OnStatusText(InMessage& message);      // 0x0f
    void ParseChannelList(InMessage& message);  // 0x1c
    void ParsePagedText(InMessage& message);    // 0x2b
    void ParseTipMessage(InMessage& message);   // 0x34
    void OnTutorial(InMessage& message);        // 0x3c

    // The channel is the name of the active chat pane when the message is
    // built (empty when there is none), whatever tab the text was meant for.
    void SendChatMessage(const std::string& text);               // 0x03
    void SendJoinChannel(int kind, const std::string& name);     // 0x15: 1 private, 2 public
    void SendOp16(int kind, const std::string& name);            // 0x16: leaves the active tab's channel
    void SendRequestChannels();                                  // 0x1c

    // --- Map effects and markers (ProtocolEffects.cpp) ---
    void ParseFloatingText(InMessage& message);    // 0x10
    void ParseEffects(InMessage& message);         // 0x11
    void ParseTargetPair(InMessage& message);      // 0x12
    void ParseDarkness(InMessage& message);        // 0x13
    void ParseProjectile(InMessage& message);      // 0x15
    void ParseMarkerItem(InMessage& message);      // 0x1d
    void ParseRemoveTileItem(InMessage& message);  // 0x3b
    void ParseProgressBar(InMessage& message);     // 0x3f

    // --- Spells and hotkeys (ProtocolSpells.cpp, RequestsSpells.cpp) ---
    // More than 100 spells end the reading of their frame.
    void ParseSpellList(InMessage& message);     // 0x26
    void OnSpellShade(InMessage& message);       // 0x27
    void ParseSpellLibrary(InMessage& message);  // 0x32
    void OnSpellCooldown(InMessage& message);    // 0x35
    void OnActionGroups(InMessage& message);     // 0x37: sets layoutLoaded

    // Only the opcode goes out; the flag is kept in actionListFlag for the
    // answer (0 opens the action choice, 1 only refreshes the spells).
    void SendRequestActionList(uint8_t flag);  // 0x22
    // Nothing is sent for an id of 0 or less; the id travels as 16 bits.
    void SendCastSpell(int32_t spell, const std::string& target);  // 0x23
    void SendRequestSpells();                                      // 0x31

    // --- Trade, NPC shop and market (ProtocolTrade.cpp, RequestsTrade.cpp) ---
    void ParseNpcTrade(InMessage& message);          // 0x17
    // A player trade starts (a running one ends first), is updated and ends;
    // without a game screen the start and the update are read and dropped.
    void ParseTradeOpen(InMessage& message);         // 0x20
    void ParseTradeItems(InMessage& message);        // 0x21
    void ParseTradeEnd(InMessage& message);          // 0x22
    void OnNoOperation(InMessage& message);          // 0x23
    void ParseNpcShopOffers(InMessage& message);     // 0x24
    void OnNpcTalkEnd(InMessage& message);           // 0x25
    void ParseMarketOffers(InMessage& message);      // 0x2f
    void ParseMarketHistory(InMessage& message);     // 0x30
    void ParseMarketItemNames(InMessage& message);   // 0x36

    // The amount asked for in the NPC trade question; buying 1 buys, 0 sells.
    void SendOp14(uint32_t itemId, uint32_t amount, int buying);  // 0x14
    // Sub-commands 1 cancel, 2 lock, 3 accept, 4 take back the own item in
    // slot; the slot goes out only when it is 0 or more (-1: none).
    void SendTradeCommand(int sub, int32_t slot);  // 0x1f
    // An item picked in the NPC shop ("Choose" or a drop on it); sellTab 1
    // while "Sell to NPC" is the open tab.
    void SendOp21(uint32_t itemId, int sellTab);  // 0x21
    // The market: a new listing (Refresh); accepting another player's offer
    // (side 1: it is a sell offer); posting an offer (side 1 sell, 0 buy);
    // asking about a sell offer; withdrawing an own offer (side: its sell flag).
    void SendMarketOpen();                         // 0x2a
    void SendMarketAccept(const std::string& player, uint32_t item, uint32_t amount, float price, int side);  // 0x2b
    // Also writes "amount: A eachprice: P" to standard output first.
    void SendMarketCreateOffer(uint32_t item, uint32_t amount, float price, int side);  // 0x2c
    void SendMarketQuery(uint32_t item, const std::string& player);                     // 0x2d
    void SendMarketOfferAction(uint32_t item, int side);                                // 0x2e
    void SendNpcShopSelect(uint32_t item);                                              // 0x35

    // --- Houses (ProtocolHouse.cpp, RequestsHouse.cpp) ---
    void ParseHouse(InMessage& message);         // 0x28
    void ParseHouseBidding(InMessage& message);  // 0x29

    // Each list carries at most 255 entries (its count is one byte).
    void SendHouseSave(const HouseRecord& house);                // 0x25
    // The save of the house would fit one message (and so be sent).
    static bool HouseSaveFits(const HouseRecord& house);
    void SendHouseBid(uint32_t house, uint32_t amount);          // 0x26
    void SendHouseAbandon();                                     // 0x2f
    void SendHouseTransfer(const std::string& name, uint32_t price);  // 0x30
    void SendHouseBuyItem(uint32_t item);                        // 0x36

    // --- Guild, friends, party and staff (ProtocolSocial.cpp, RequestsSocial.cpp) ---
    void ParseFriends(InMessage& message);            // 0x18
    void ParseParty(InMessage& message);              // 0x1b
    void ParseBanInfo(InMessage& message);            // 0x1e
    void OnOpenBanDialog(InMessage& message);         // 0x1f
    void ParseGuild(InMessage& message);              // 0x38
    void OnGuildRequestAnswered(InMessage& message);  // 0x39
    void ParseNoGuild(InMessage& message);            // 0x3a
    void ParseOnlineList(InMessage& message);         // 0x40

    void SendAddFriend(const std::string& name, int list);     // 0x17
    void SendRemoveFriend(const std::string& name, int list);  // 0x18
    void SendPartyCommand(const std::string& name, int action);  // 0x1b: 0 invite, 1 remove
    void SendBanInfoRequest(const std::string& name);          // 0x1d: answered by 0x1e
    void SendBanish(const std::string& name, int days, const std::string& comments, int warning,
                    const std::string& rule);                  // 0x1e
    void SendReport(const std::string& text);                  // 0x20
    void SendOp24(const std::string& name);                    // 0x24: lifts a ban
    void SendRequestGuild();                                   // 0x37
    // The guild requests, 0x38 and a sub-command 1 to 12.
    void SendGuildCommand1(const std::string& text);           // channel message
    void SendGuildCommand2(const std::string& name);           // invite a character
    void SendGuildCommand3(uint32_t member);                   // kick or leave
    void SendGuildCreate(const std::string& name);             // 4
    void SendGuildJoin(uint32_t guild);                        // 5
    void SendGuildCommand6(uint32_t member, const std::string& title, uint32_t rank);  // edit a member
    void SendGuildCommand7(const std::string& guild, uint32_t days, uint32_t fee, int loyalty);  // declare war
    void SendGuildCommand8(uint32_t war);                      // accept a war
    void SendGuildCommand9(uint32_t war);                      // surrender or cancel
    void SendGuildCommand10(int level, const std::string& rankName);  // new rank: 0 member, 1 vice, 2 leader
    void SendGuildCommand11(uint32_t rank);                    // remove a rank
    void SendGuildCommand12(uint32_t rank, int step);          // move a rank: 1 down, 255 up
    void SendRequestOnlineList();                              // 0x3a

    // --- Quests, outfits, summons, brewing and recipes (ProtocolQuests.cpp, RequestsQuests.cpp) ---
    // The first quest message of a game makes the log (questLog). A quest's
    // notes end where the frame ends, whatever their count says.
    void ParseQuestLog(InMessage& message);        // 0x2a
    void ParseSummonList(InMessage& message);      // 0x2d
    void ParseOutfitOptions(InMessage& message);   // 0x33
    void ParseBrewing(InMessage& message);         // 0x3d
    void ParseLearnedRecipes(InMessage& message);  // 0x3e

    void SendRequestQuests();                       // 0x28
    void SendSummonMonster(const std::string& name);  // 0x29
    // The brewing requests, 0x39 and a sub-command 1 to 3.
    void SendBrewCommand1(int size, int amount);    // start: potion size, amount
    void SendBrewCommand2();                        // finish
    void SendBrewCommand3();                        // learned recipes

    // The text of the "Networking Error" box for a bad opcode.
    static std::string NetworkingErrorText(int lastOpcode, int position, int length);

    // Replaced whole by the login screen and "Enter Game", kept until then, so
    // that a new login after a lost connection needs no typing.
    std::string account;
    std::string password;
    std::string characterName;
    Connection* connection = nullptr;        // owned
    CharacterList* characterList = nullptr;  // owned; made by the first Connect
    TradeWindow* tradeWindow = nullptr;      // owned; the running trade, if any
    // Ends the running trade, if any: its state is cleared, the object freed
    // (its dialog closes) and tradeWindow is null. Every road out of a trade
    // goes through here: the trade end, a new trade, the return to the login
    // screen, the shutdown (before the GUI goes) and this object's end.
    void EndTrade();
    // The quest and achievement log while it is open; it clears this itself
    // when it closes (QuestLogDialog::Close), and the game screen's teardown
    // closes it.
    QuestLogDialog* questLog = nullptr;
    uint8_t mode = 0;
    uint8_t loginSent = 0;       // the login request of this connection is queued
    uint8_t actionListFlag = 0;  // the action-list request and the spell and hotkey data
    uint8_t layoutLoaded = 0;    // cleared by enter game, set by the action groups
    // Item records arrived since the game login: only then does the version
    // that enter game announces describe the records the cache holds.
    bool itemRecordsReceived = false;
    // The login request is out and its answer has not come: a connection that
    // ends now must tell the player, or the "Connecting" box would stay with
    // no way to close it.
    bool awaitingAnswer = false;

private:
    using Handler = void (Protocol::*)(InMessage& message);
    static const std::array<Handler, kLastOpcode + 1> kHandlers;

    // The "Networking Error" box, then the end of the connection.
    [[gnu::noinline, gnu::cold]] void ReportBadOpcode(int lastOpcode, const InMessage& message);
    void QueueLogin();
    // The connection has ended before the login was answered.
    void ReportLostConnection(int error);
};
