// Requests of the quest log, the summon dialog and brewing.
#include "net/Connection.h"
#include "net/OutMessage.h"
#include "protocol/Protocol.h"

namespace {

constexpr uint8_t kBrew = 0x39;

}  // namespace

void Protocol::SendRequestQuests() {
    OutMessage message;
    message.WriteU8(0x28);
    connection->Send(message);
}

void Protocol::SendSummonMonster(const std::string& name) {
    OutMessage message;
    message.WriteU8(0x29);
    message.WriteString(name);
    connection->Send(message);
}

void Protocol::SendBrewCommand1(int size, int amount) {
    OutMessage message;
    message.WriteU8(kBrew);
    message.WriteU8(1);
    message.WriteU8(uint8_t(size));
    message.WriteU16(uint16_t(amount));
    connection->Send(message);
}

void Protocol::SendBrewCommand2() {
    OutMessage message;
    message.WriteU8(kBrew);
    message.WriteU8(2);
    connection->Send(message);
}

void Protocol::SendBrewCommand3() {
    OutMessage message;
    message.WriteU8(kBrew);
    message.WriteU8(3);
    connection->Send(message);
}
