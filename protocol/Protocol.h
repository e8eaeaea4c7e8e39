#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CharacterList;
class Connection;
class InMessage;
class OutMessage;
class TradeWindow;

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
    void Send(const OutMessage& message);
    // Handles every message of one frame, in order.
    void Dispatch(InMessage& message);

    // The handlers, one per server message, and the senders, one per client
    // request, grouped by subject. Each family lives in a file of its own:
    // handlers in protocol/Protocol<Family>.cpp, senders in
    // protocol/Requests<Family>.cpp. A handler reads exactly its fields and
    // hands them to the object that owns the state; it builds no controls.

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

    // --- Player: equipment, containers, items, statistics, conditions (ProtocolPlayer.cpp, RequestsPlayer.cpp) ---

    // --- Chat, channels and notices (ProtocolChat.cpp, RequestsChat.cpp) ---

    // --- Map effects and markers (ProtocolEffects.cpp) ---

    // --- Spells and hotkeys (ProtocolSpells.cpp, RequestsSpells.cpp) ---

    // --- Trade, NPC shop and market (ProtocolTrade.cpp, RequestsTrade.cpp) ---
    void ParseNpcTrade(InMessage& message);          // 0x17
    void ParseTradeOpen(InMessage& message);         // 0x20
    void ParseTradeItems(InMessage& message);        // 0x21
    void ParseTradeEnd(InMessage& message);          // 0x22
    void OnNoOperation(InMessage& message);          // 0x23
    void ParseNpcShopOffers(InMessage& message);     // 0x24
    void OnNpcTalkEnd(InMessage& message);           // 0x25
    void ParseMarketOffers(InMessage& message);      // 0x2f
    void ParseMarketHistory(InMessage& message);     // 0x30
    void ParseMarketItemNames(InMessage& message);   // 0x36

    // --- Houses (ProtocolHouse.cpp, RequestsHouse.cpp) ---
    void ParseHouse(InMessage& message);         // 0x28
    void ParseHouseBidding(InMessage& message);  // 0x29

    // --- Guild, friends, party and staff (ProtocolSocial.cpp, RequestsSocial.cpp) ---
    void ParseBanInfo(InMessage& message);            // 0x1e
    void OnOpenBanDialog(InMessage& message);         // 0x1f
    void ParseGuild(InMessage& message);              // 0x38
    void OnGuildRequestAnswered(InMessage& message);  // 0x39
    void ParseNoGuild(InMessage& message);            // 0x3a
    void ParseOnlineList(InMessage& message);         // 0x40

    // --- Quests, outfits, summons, brewing and recipes (ProtocolQuests.cpp, RequestsQuests.cpp) ---
    void ParseQuestLog(InMessage& message);       // 0x2a
    void ParseSummonList(InMessage& message);     // 0x2d
    void ParseOutfitChoices(InMessage& message);  // 0x33
    void ParseBrewing(InMessage& message);        // 0x3d
    void ParseRecipes(InMessage& message);        // 0x3e

    // Whether the messages of this opcode are read: its row of the handler
    // table is filled. Tests that send every kind of message leave out the
    // ones still waiting for their handler.
    static bool HasHandler(int opcode);

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
    uint8_t mode = 0;
    uint8_t loginSent = 0;       // the login request of this connection is queued
    uint8_t actionListFlag = 0;  // the action-list request and the spell and hotkey data
    uint8_t layoutLoaded = 0;    // cleared by enter game, set by the action groups
    // The login request is out and its answer has not come: a connection that
    // ends now must tell the player, or the "Connecting" box would stay with
    // no way to close it.
    bool awaitingAnswer = false;

private:
    using Handler = void (Protocol::*)(InMessage& message);
    static const Handler kHandlers[kLastOpcode + 1];

    // The "Networking Error" box, then the end of the connection.
    [[gnu::noinline, gnu::cold]] void ReportBadOpcode(int lastOpcode, const InMessage& message);
    void QueueLogin();
    // The connection has ended before the login was answered.
    void ReportLostConnection(int error);
};
