// The social family: the friends and party windows, the game master's ban
// dialog, the guild and no-guild dialogs and the online list.
//
// Every handler reads all its fields, in wire order and with their counts,
// whether or not there is a game screen to take them: the frame goes on
// behind the message. Before the game only the ban information is kept (its
// dialog outlives the game screen); the other windows are the game screen's.
#include "protocol/Protocol.h"

#include <cstdint>
#include <string>

#include "client/Client.h"
#include "dialogs/social/GMBanDialog.h"
#include "dialogs/social/OnlineListDialog.h"
#include "dialogs/social/GuildDialog.h"
#include "dialogs/social/NoGuildDialog.h"
#include "game/GameInterface.h"
#include "net/InMessage.h"
#include "sidewindows/Friends.h"
#include "sidewindows/Party.h"

namespace {

// A string whose announced length runs past the end of the frame: the
// message was cut, and nothing behind it belongs to this record. (ReadString
// alone gives the empty string for it, which is also a valid name.)
int PeekU16(InMessage& message) {
    const int32_t start = message.pos;
    const int value = message.ReadU16();
    message.pos = start;
    return value;
}

bool ReadWholeString(InMessage& message, std::string& text) {
    const int length = PeekU16(message);
    if (message.Remaining() < 2 + length)
        return false;
    text = message.ReadString();
    return true;
}

// What is left of a frame whose list was cut short is no message of its own.
void DropRest(InMessage& message) { message.pos = message.len; }

}  // namespace

// The friends lists: a clear flag, then records of (name, online, list). A
// u16 count allows 65 535 records, and every change re-sorts the shown list,
// so the view is rebuilt once at the end: it comes out the same as after
// rebuilding for each record. A cut message keeps the records read whole.
void Protocol::ParseFriends(InMessage& message) {
    GameInterface* game = Client::Instance()->game;
    Friends* friends = game ? game->friends : nullptr;
    const int count = message.ReadU16();
    const bool clear = message.ReadU8() != 0;
    if (friends && clear)
        friends->Clear();
    bool changed = false;
    std::string name;
    for (int i = 0; i < count; ++i) {
        if (!ReadWholeString(message, name) || message.Remaining() < 2) {
            DropRest(message);
            break;
        }
        const bool online = message.ReadU8() != 0;
        const int list = message.ReadU8();
        if (friends && friends->StoreEntry(name, online, list))
            changed = true;
    }
    if (changed)
        friends->RebuildView();
}

// The whole party list; an empty one hides the window. The members are
// appended first and the frame refitted once.
void Protocol::ParseParty(InMessage& message) {
    GameInterface* game = Client::Instance()->game;
    Party* party = game ? game->party : nullptr;
    if (party)
        party->Clear();
    const int count = message.ReadU8();
    std::string name;
    for (int i = 0; i < count; ++i) {
        if (!ReadWholeString(message, name) || message.Remaining() < 4) {
            DropRest(message);
            break;
        }
        const int number = message.ReadU16();
        const int firstPercent = message.ReadU8();
        const int secondPercent = message.ReadU8();
        if (party)
            party->SetMember(name, number, firstPercent, secondPercent);
    }
    if (party)
        party->ShowMembers();
}

// The answer to a lookup, kept in the ban dialog's module whether or not the
// dialog is open (also before the game: it only stores). A cut answer keeps
// the last one: its missing bytes would read as "not banned".
void Protocol::ParseBanInfo(InMessage& message) {
    std::string comment, time, info;
    if (!ReadWholeString(message, comment) || !ReadWholeString(message, time) || !ReadWholeString(message, info) ||
        message.Remaining() < 1) {
        DropRest(message);
        return;
    }
    const bool banned = message.ReadU8() != 0;
    GMBanDialog::Instance()->SetBanInfo(comment, time, info, banned);
}

// No staff dialog over the login screen: its lookups would go to the login server.
void Protocol::OnOpenBanDialog(InMessage&) {
    if (Client::Instance()->game)
        GMBanDialog::Instance()->Open();
}

// The whole guild data in one place: the ranks first, since a member names
// its rank by id, then the members, then the wars. Traffic captured from a
// server that sends another layout changes this function alone. A message
// cut short gives records with zero ids and empty texts (the counts are one
// byte, so at most 255 of each), and the window shows them as they are.
void Protocol::ParseGuild(InMessage& message) {
    GameInterface* game = Client::Instance()->game;
    GuildDialog* guild = game ? game->guild : nullptr;
    const std::string name = message.ReadString();
    const std::string channelMessage = message.ReadString();
    const int ownLevel = message.ReadU8();
    if (guild)
        guild->SetInfo(name, channelMessage, ownLevel);

    const int ranks = message.ReadU8();
    for (int i = 0; i < ranks; ++i) {
        const uint32_t id = message.ReadU32();
        const int level = message.ReadU8();
        const int order = message.ReadU8();
        const std::string rankName = message.ReadString();
        if (guild)
            guild->AddRank(id, level, order, rankName);
    }
    const int members = message.ReadU8();
    for (int i = 0; i < members; ++i) {
        const uint32_t id = message.ReadU32();
        const uint32_t rankId = message.ReadU32();
        const std::string memberName = message.ReadString();
        const std::string title = message.ReadString();
        if (guild)
            guild->AddMember(id, memberName, title, rankId);
    }
    const int wars = message.ReadU8();
    for (int i = 0; i < wars; ++i) {
        const uint32_t id = message.ReadU32();
        const std::string text = message.ReadString();
        const std::string status = message.ReadString();
        const bool loyalty = message.ReadU8() != 0;
        const uint32_t lossFee = message.ReadU32();
        if (guild)
            guild->AddWar(id, text, status, loyalty, lossFee);
    }
    if (guild)
        guild->Update();
}

// The server has judged the last guild request: the window's buttons work
// again.
void Protocol::OnGuildRequestAnswered(InMessage&) {
    GameInterface* game = Client::Instance()->game;
    if (game && game->guild)
        game->guild->waiting = false;
}

// The guilds that invited a player without one; the dialog opens.
void Protocol::ParseNoGuild(InMessage& message) {
    GameInterface* game = Client::Instance()->game;
    NoGuildDialog* noGuild = game ? game->noGuild : nullptr;
    if (noGuild)
        noGuild->ClearInvites();
    const int invites = message.ReadU8();
    for (int i = 0; i < invites; ++i) {
        const uint32_t id = message.ReadU32();
        const std::string name = message.ReadString();
        if (noGuild)
            noGuild->AddInvite(id, name);
    }
    if (noGuild)
        noGuild->Open();
}

// A long list comes in several messages; the first starts a new list. All of
// the u16 count is read: were only its low byte's worth of entries read, the
// rest would be taken for further messages.
// Without a game screen there is no list to fill. An entry cut short is read
// as far as it goes but shown to nobody.
void Protocol::ParseOnlineList(InMessage& message) {
    OnlineListDialog* list = Client::Instance()->game ? OnlineListDialog::Instance() : nullptr;
    const bool newList = message.ReadU8() != 0;
    const int count = message.ReadU16();
    if (list && newList)
        list->BeginUpdate();
    for (int i = 0; i < count && message.Remaining() > 0; ++i) {
        const int32_t start = message.pos;
        const bool whole = message.Remaining() >= 2 && message.Remaining() >= 2 + PeekU16(message) + 10;
        const std::string name = message.ReadString();
        const int level = message.ReadU16();
        // Shown as signed numbers.
        const int32_t idleSeconds = int32_t(message.ReadU32());
        const int32_t onlineMinutes = int32_t(message.ReadU32());
        if (message.pos == start)
            break;  // one byte left: no entry, however many are announced
        if (list && whole)
            list->AddEntry(name, level, idleSeconds, onlineMinutes);
    }
    if (list)
        list->EndUpdate();
}
