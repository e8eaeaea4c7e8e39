// The social family: the game master's ban dialog, the guild and no-guild
// dialogs and the online list.
//
// Their dialogs are not built yet, so each handler only reads its fields, in
// wire order and with their counts, and drops them: the frame goes on behind
// the message.
#include "protocol/Protocol.h"

#include <cstdint>

#include "net/InMessage.h"

void Protocol::ParseBanInfo(InMessage& message) {
    message.ReadString();  // ban comment
    message.ReadString();  // ban time
    message.ReadString();  // info line
    message.ReadU8();      // banned
}

void Protocol::OnOpenBanDialog(InMessage&) {}

// The whole guild data in one place: the ranks first, since a member names
// its rank by id, then the members, then the wars. Traffic captured from a
// server that sends another layout changes this function alone.
void Protocol::ParseGuild(InMessage& message) {
    message.ReadString();  // guild name
    message.ReadString();  // guild channel message
    message.ReadU8();      // the player's own level

    const int ranks = message.ReadU8();
    for (int i = 0; i < ranks; ++i) {
        message.ReadU32();     // rank id
        message.ReadU8();      // level
        message.ReadU8();      // order
        message.ReadString();  // name
    }
    const int members = message.ReadU8();
    for (int i = 0; i < members; ++i) {
        message.ReadU32();     // member id
        message.ReadU32();     // rank id
        message.ReadString();  // name
        message.ReadString();  // title
    }
    const int wars = message.ReadU8();
    for (int i = 0; i < wars; ++i) {
        message.ReadU32();     // war id
        message.ReadString();  // text
        message.ReadString();  // status
        message.ReadU8();      // loyalty code
        message.ReadU32();     // loss fee
    }
}

void Protocol::OnGuildRequestAnswered(InMessage&) {}

void Protocol::ParseNoGuild(InMessage& message) {
    const int invites = message.ReadU8();
    for (int i = 0; i < invites; ++i) {
        message.ReadU32();     // guild id
        message.ReadString();  // guild name
    }
}

// A long list comes in several messages; the first starts a new list. All of
// the u16 count is read: were only its low byte's worth of entries read, the
// rest would be taken for further messages.
void Protocol::ParseOnlineList(InMessage& message) {
    message.ReadU8();  // a new list begins
    const int count = message.ReadU16();
    for (int i = 0; i < count && message.Remaining() > 0; ++i) {
        const int32_t start = message.pos;
        message.ReadString();  // name
        message.ReadU16();     // level
        message.ReadU32();     // seconds idle
        message.ReadU32();     // minutes online
        if (message.pos == start)
            break;  // one byte left: no entry, however many are announced
    }
}
