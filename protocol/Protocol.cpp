#include "protocol/Protocol.h"

#include <array>
#include <cstddef>
#include <cstdint>

#include "client/CharacterList.h"
#include "client/Client.h"
#include "client/LoginBoxes.h"
#include "dialogs/character/QuestLogDialog.h"
#include "dialogs/trade/TradeWindow.h"
#include "game/GameInterface.h"
#include "net/Connection.h"
#include "net/InMessage.h"
#include "net/OutMessage.h"
#include "platform/Platform.h"
#include "world/ItemsCache.h"
#include "world/Map.h"

namespace {

const char kNewVersionText[] = "Download the new client from the website.";

// The handler table from its rows for opcodes 0x01 on, in order, behind an
// empty row for 0x00, which is no message. A row left out makes the table too
// short for its declaration, which does not compile.
template <typename Handler, size_t N>
constexpr std::array<Handler, N + 1> HandlerTable(const Handler (&rows)[N]) {
    std::array<Handler, N + 1> table{};
    for (size_t i = 0; i < N; ++i)
        table[i + 1] = rows[i];
    return table;
}

}  // namespace

// Every server opcode has its place here. A handler starts with the read
// position just behind its opcode byte and must read exactly its own fields,
// since the next message of the frame follows them. 0x00 is no message.
constexpr std::array<Protocol::Handler, Protocol::kLastOpcode + 1> Protocol::kHandlers = HandlerTable<Protocol::Handler>({
    &Protocol::OnNewVersion,        // 0x01 new client version
    &Protocol::ParseCharacterList,  // 0x02 character list
    &Protocol::ParseEnterGame,      // 0x03 enter game
    &Protocol::ParseChatMessage,    // 0x04 chat message
    &Protocol::OnMapArea,            // 0x05 map area of tiles
    &Protocol::ParseAddThing,        // 0x06 add thing or creature
    &Protocol::OnRemoveCreature,     // 0x07 remove creature
    &Protocol::ParseCreatureStep,    // 0x08 creature step by id
    &Protocol::OnMapAreaStrip,       // 0x09 map area of tiles, second form
    &Protocol::ParseWalkRefused,     // 0x0a walk refused with status text
    &Protocol::ParseChannelOpen,    // 0x0b channel opened
    &Protocol::ParseEquipment,      // 0x0c equipment, 13 slots
    &Protocol::ParseOpenContainer,  // 0x0d open container
    &Protocol::OnCloseContainer,    // 0x0e close container
    &Protocol::OnStatusText,        // 0x0f status text
    &Protocol::ParseFloatingText,   // 0x10 floating text
    &Protocol::ParseEffects,        // 0x11 item effects
    &Protocol::ParseTargetPair,     // 0x12 target pair
    &Protocol::ParseDarkness,       // 0x13 darkness level
    &Protocol::ParsePlayerStats,    // 0x14 player statistics
    &Protocol::ParseProjectile,     // 0x15 projectile
    &Protocol::OnDisconnect,        // 0x16 disconnect
    &Protocol::ParseNpcTrade,       // 0x17 NPC trade
    &Protocol::ParseFriends,        // 0x18 friends entry
    &Protocol::OnPing,              // 0x19 ping
    &Protocol::ParseConditions,     // 0x1a character info and buffs
    &Protocol::ParseParty,          // 0x1b party member
    &Protocol::ParseChannelList,    // 0x1c open-channel list
    &Protocol::ParseMarkerItem,     // 0x1d marker item on a tile
    &Protocol::ParseBanInfo,        // 0x1e game-master ban information
    &Protocol::OnOpenBanDialog,     // 0x1f game-master ban dialog
    &Protocol::ParseTradeOpen,      // 0x20 trade opened
    &Protocol::ParseTradeItems,     // 0x21 trade items
    &Protocol::ParseTradeEnd,       // 0x22 trade closed
    &Protocol::OnNoOperation,       // 0x23 no operation
    &Protocol::ParseNpcShopOffers,  // 0x24 NPC shop offers
    &Protocol::OnNpcTalkEnd,        // 0x25 NPC shop closed
    &Protocol::ParseSpellList,      // 0x26 spell and hotkey data
    &Protocol::OnSpellShade,        // 0x27 spell shading timer
    &Protocol::ParseHouse,          // 0x28 house management
    &Protocol::ParseHouseBidding,   // 0x29 house bidding
    &Protocol::ParseQuestLog,       // 0x2a quests and achievements
    &Protocol::ParsePagedText,      // 0x2b paged text
    &Protocol::ParseTileUpdate,      // 0x2c tile update
    &Protocol::ParseSummonList,     // 0x2d summon list
    &Protocol::OnResumeWalk,         // 0x2e resume walk
    &Protocol::ParseMarketOffers,   // 0x2f market offers
    &Protocol::ParseMarketHistory,  // 0x30 market history
    &Protocol::ParseItemRecords,     // 0x31 item record
    &Protocol::ParseSpellLibrary,   // 0x32 spell library
    &Protocol::ParseOutfitOptions,  // 0x33 outfit data
    &Protocol::ParseTipMessage,     // 0x34 tip message
    &Protocol::OnSpellCooldown,     // 0x35 spell cooldown
    &Protocol::ParseMarketItemNames,  // 0x36 market item names
    &Protocol::OnActionGroups,      // 0x37 end of login data (action groups)
    &Protocol::ParseGuild,          // 0x38 guild data
    &Protocol::OnGuildRequestAnswered,  // 0x39 guild request answered
    &Protocol::ParseNoGuild,        // 0x3a no-guild data
    &Protocol::ParseRemoveTileItem,  // 0x3b timed tile mark
    &Protocol::OnTutorial,          // 0x3c tutorial
    &Protocol::ParseBrewing,        // 0x3d brewing data
    &Protocol::ParseLearnedRecipes, // 0x3e learned recipes
    &Protocol::ParseProgressBar,    // 0x3f progress bar over a tile
    &Protocol::ParseOnlineList,     // 0x40 online list
});

Protocol::Protocol() : connection(new Connection()) {}

Protocol::~Protocol() {
    delete connection;
    delete characterList;
    EndTrade();
    // Only a log whose game screen never closed it is left here; its
    // destructor touches nothing but its records.
    delete questLog;
}

bool Protocol::Connect(uint8_t newMode, std::vector<std::string> hosts, uint16_t port) {
    loginSent = 0;
    awaitingAnswer = false;
    mode = newMode;
    // Does nothing while an attempt runs or the connection is up; the next
    // poll then sends the login request of the new mode over it.
    connection->Connect(hosts, port);
    LoginBoxes::Connecting(mode == 1 ? "Connecting to the game world..." : "Connecting to the login server...");
    if (!characterList)
        characterList = new CharacterList(this);
    return true;
}

void Protocol::FlushRequests() {
    for (int i = 0; i < 100 && connection->GetState() == Connection::kConnected && connection->OutgoingCount() > 0;
         ++i) {
        connection->Poll();
        if (connection->OutgoingCount() > 0)
            platform::SleepMs(2);
    }
}

bool Protocol::Poll() {
    int state = connection->GetState();
    // The login request goes into the queue before the connection's first
    // send, so it is the first thing the server reads.
    if (state == Connection::kConnected) {
        if (!loginSent)
            QueueLogin();
        connection->Poll();
        state = connection->GetState();
    }

    switch (state) {
    case Connection::kReceiveFailed:
    case Connection::kSendFailed: {
        const int error = connection->GetLastError();
        connection->SetState(Connection::kIdle);
        connection->ClearQueues();
        if (awaitingAnswer)
            ReportLostConnection(error);
        return false;
    }
    case Connection::kConnectFailed: {
        const int error = connection->GetLastError();
        connection->SetState(Connection::kIdle);
        LoginBoxes::Error("Connecting failed, error code #" + std::to_string(error) + ".");
        return true;
    }
    case Connection::kConnected: {
        InMessage message;
        while (connection->PopIncoming(message))
            Dispatch(message);
        return true;
    }
    case Connection::kConnecting:
        return true;
    default: {
        // Closed by this side: the server said so (0x16), sent something
        // unreadable, or refused the login with an empty text.
        if (awaitingAnswer)
            ReportLostConnection(0);
        return Client::Instance()->game == nullptr;
    }
    }
}

void Protocol::Send(const OutMessage& message) { connection->Send(message); }

void Protocol::Dispatch(InMessage& message) {
    if (message.len == 0)
        return;
    int lastOpcode = 0;
    while (message.Remaining() > 0) {
        const int opcode = message.ReadU8();
        if (opcode == 0 || opcode > kLastOpcode) {
            ReportBadOpcode(lastOpcode, message);
            return;
        }
        (this->*kHandlers[opcode])(message);
        lastOpcode = opcode;
    }
}

// Kept out of Dispatch, which runs for every frame: the text and the box are
// rare and would only slow the common case down.
void Protocol::ReportBadOpcode(int lastOpcode, const InMessage& message) {
    platform::ShowMessageBox(NetworkingErrorText(lastOpcode, message.pos, message.len), "Networking Error",
                             platform::kMbOk | platform::kMbIconExclamation);
    connection->Disconnect();
}

std::string Protocol::NetworkingErrorText(int lastOpcode, int position, int length) {
    return "A networking error occured (#" + std::to_string(lastOpcode) + ", " + std::to_string(position) + "/" +
           std::to_string(length) + ")";
}

void Protocol::QueueLogin() {
    // Whatever was asked for while the connection was being made belongs to
    // no session with this server.
    connection->ClearQueues();
    itemRecordsReceived = false;
    if (mode == 0) {
        SendLoginServerLogin(account, password);
        LoginBoxes::Connecting("Connected, waiting for character list...");
    } else {
        SendGameLogin(characterName);
        LoginBoxes::Connecting("Connected, waiting for game world data...");
    }
    loginSent = 1;
    awaitingAnswer = true;
}

void Protocol::ReportLostConnection(int error) {
    awaitingAnswer = false;
    if (Client::Instance()->game)
        return;
    LoginBoxes::Error(error != 0 ? "Connection lost, error code #" + std::to_string(error) + "."
                                 : std::string("The connection was closed."));
}

void Protocol::OnNewVersion(InMessage& message) {
    const std::string text = message.ReadString();
    const uint32_t version = message.ReadU32();
    if (text == kNewVersionText) {
        LoginBoxes::NewVersion(version);
        awaitingAnswer = false;
    } else if (!text.empty()) {
        LoginBoxes::Error(text);
        awaitingAnswer = false;
    }
    if (mode == 0)
        connection->Disconnect();
}

void Protocol::ParseCharacterList(InMessage& message) {
    if (!characterList)
        characterList = new CharacterList(this);
    characterList->Clear();
    characterList->SetPremiumDays(message.ReadU32());
    const int count = message.ReadU8();
    for (int i = 0; i < count; ++i) {
        const std::string name = message.ReadString();
        const std::string secondText = message.ReadString();
        const std::string host = message.ReadString();
        const uint16_t port = message.ReadU16();
        int outfit[9];
        for (int k = 0; k < 3; ++k)
            outfit[k] = message.ReadU16();
        for (int k = 3; k < 9; ++k)
            outfit[k] = message.ReadU8();
        const std::string thirdText = message.ReadString();
        const int32_t level = message.ReadU16();
        characterList->AddCharacter(name, secondText, host, port, outfit, thirdText, level);
    }
    characterList->Open();
    characterList->Refresh();
    LoginBoxes::Close();
    awaitingAnswer = false;
    // The login server's work is done.
    connection->Disconnect();
}

void Protocol::ParseEnterGame(InMessage& message) {
    const uint32_t playerId = message.ReadU32();
    const uint32_t followedId = message.ReadU32();
    const uint8_t welcome = message.ReadU8();
    const uint32_t itemsVersion = message.ReadU32();

    Client* client = Client::Instance();
    client->StartGame(welcome != 0);
    if (GameInterface* game = client->game) {
        game->map->playerId = playerId;
        game->map->camera->followedId = int32_t(followedId);
        // The camera finds the player's creature by this id once it arrives.
        game->StampEnterTick();
    }
    LoginBoxes::Close();
    awaitingAnswer = false;
    // The announced version stands for records the server has sent; without
    // any, the file keeps the version of the records it holds, so that the
    // next login still asks for what is missing.
    ItemsCache* cache = ItemsCache::Instance();
    cache->Save(itemRecordsReceived ? itemsVersion : cache->version);
    layoutLoaded = 0;
}

// The rest of the frame is still read: the server may say goodbye and
// something else in one frame.
void Protocol::OnDisconnect(InMessage&) { connection->Disconnect(); }

void Protocol::OnPing(InMessage& message) { SendPong(message.ReadU16()); }
