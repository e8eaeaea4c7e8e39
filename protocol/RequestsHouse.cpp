// Requests of the house management and the house bidding.
#include <algorithm>

#include "dialogs/trade/HouseRecord.h"
#include "net/Connection.h"
#include "net/OutMessage.h"
#include "protocol/Protocol.h"

namespace {

// The most entries one list carries: its count is a single byte.
constexpr size_t kMaxListEntries = 255;

// The whole save request, opcode first.
void WriteHouseSave(OutMessage& message, const HouseRecord& house) {
    message.WriteU8(0x25);
    message.WriteU16(uint16_t(house.position.x));
    message.WriteU16(uint16_t(house.position.y));
    message.WriteU8(uint8_t(house.position.z));
    // Entries behind a full count would be read by the server as requests of
    // their own, so a list stops at 255.
    const size_t invites = std::min(house.invites.size(), kMaxListEntries);
    message.WriteU8(uint8_t(invites));
    for (size_t i = 0; i < invites; ++i) {
        message.WriteString(house.invites[i].name);
        message.WriteU8(house.invites[i].subOwner ? 1 : 0);
    }
    const size_t permissions = std::min(house.tilePermissions.size(), kMaxListEntries);
    message.WriteU8(uint8_t(permissions));
    for (size_t i = 0; i < permissions; ++i) {
        message.WriteString(house.tilePermissions[i].name);
        message.WriteU8(uint8_t(house.tilePermissions[i].rights));
    }
}

}  // namespace

void Protocol::SendHouseSave(const HouseRecord& house) {
    OutMessage message;
    WriteHouseSave(message, house);
    connection->Send(message);
}

bool Protocol::HouseSaveFits(const HouseRecord& house) {
    OutMessage message;
    WriteHouseSave(message, house);
    return !message.IsOverflowed();
}

void Protocol::SendHouseBid(uint32_t house, uint32_t amount) {
    OutMessage message;
    message.WriteU8(0x26);
    message.WriteU32(house);
    message.WriteU32(amount);
    connection->Send(message);
}

void Protocol::SendHouseAbandon() {
    OutMessage message;
    message.WriteU8(0x2F);
    connection->Send(message);
}

void Protocol::SendHouseTransfer(const std::string& name, uint32_t price) {
    OutMessage message;
    message.WriteU8(0x30);
    message.WriteString(name);
    message.WriteU32(price);
    connection->Send(message);
}

void Protocol::SendHouseBuyItem(uint32_t item) {
    OutMessage message;
    message.WriteU8(0x36);
    message.WriteU32(item);
    connection->Send(message);
}
