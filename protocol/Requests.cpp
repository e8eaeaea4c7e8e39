// The client's requests. Each sender builds its message on the stack, opcode
// first, and queues it; it checks nothing and waits for nothing, and the next
// poll sends it over an open connection.
#include "client/Client.h"
#include "net/Connection.h"
#include "net/OutMessage.h"
#include "protocol/Protocol.h"
#include "world/ItemsCache.h"

namespace {

// Sent with every login to a login server.
const char kLoginTag[] = "kov847";

}  // namespace

void Protocol::SendLoginServerLogin(const std::string& loginAccount, const std::string& loginPassword) {
    OutMessage message;
    message.WriteU8(0x01);
    message.WriteU16(kVersion);
    message.WriteString(loginAccount);
    message.WriteString(loginPassword);
    message.WriteString(kLoginTag);
    message.WriteU32(uint32_t(Client::Instance()->gfxVersion));
    message.WriteU32(0);  // reserved
    connection->Send(message);
}

void Protocol::SendGameLogin(const std::string& character) {
    OutMessage message;
    message.WriteU8(0x02);
    message.WriteU16(kVersion);
    message.WriteString(account);
    message.WriteString(password);
    message.WriteString(character);
    // The server sends the item records only when this one is out of date.
    message.WriteU32(ItemsCache::Instance()->version);
    connection->Send(message);
}

void Protocol::SendLogout() {
    OutMessage message;
    message.WriteU8(0x13);
    connection->Send(message);
}

void Protocol::SendPong(uint16_t value) {
    OutMessage message;
    message.WriteU8(0x19);
    message.WriteU16(value);
    connection->Send(message);
}
