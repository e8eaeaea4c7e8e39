// The house family: the player's house and the houses on auction.
//
// Their dialogs are not built yet, so each handler only reads its fields, in
// wire order and with their counts, and drops them: the frame goes on behind
// the message.
#include "protocol/Protocol.h"

#include <cstdint>

#include "net/InMessage.h"

void Protocol::ParseHouse(InMessage& message) {
    message.ReadString();  // house name
    message.ReadU16();     // x
    message.ReadU16();     // y
    message.ReadU8();      // floor
    message.ReadU8();      // the player's access level
    message.ReadU8();      // tile rights the player may grant

    const int invites = message.ReadU8();
    for (int i = 0; i < invites; ++i) {
        message.ReadString();  // name
        message.ReadU8();      // sub owner
    }
    const int permissions = message.ReadU8();
    for (int i = 0; i < permissions; ++i) {
        message.ReadString();  // name
        message.ReadU8();      // rights
    }
    const int decorations = message.ReadU8();
    for (int i = 0; i < decorations; ++i) {
        message.ReadU32();     // item id
        message.ReadString();  // name
        message.ReadString();  // detail
    }
}

// The list may end with the frame before its count is reached.
void Protocol::ParseHouseBidding(InMessage& message) {
    message.ReadU8();  // the player may bid
    const int count = message.ReadU16();
    for (int i = 0; i < count && message.Remaining() > 0; ++i) {
        const int32_t start = message.pos;
        message.ReadU32();     // house id
        message.ReadString();  // name
        message.ReadString();  // highest bidder
        message.ReadU32();     // highest bid
        message.ReadU32();     // seconds left
        message.ReadU32();     // rent
        if (message.pos == start)
            break;  // a byte or two left: no house, however many are announced
    }
}
