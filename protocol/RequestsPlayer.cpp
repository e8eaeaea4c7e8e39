// Requests about the player's own character: outfit, containers, talents.
#include "net/Connection.h"
#include "net/OutMessage.h"
#include "protocol/Protocol.h"

void Protocol::SendOutfit(int part0, int part1, int part2, int part3, int part4, int part5, int part6, int part7,
                          int part8) {
    OutMessage message;
    message.WriteU8(0x0C);
    for (int part : {part0, part1, part2})
        message.WriteU16(uint16_t(part));
    for (int part : {part3, part4, part5, part6, part7, part8})
        message.WriteU8(uint8_t(part));
    connection->Send(message);
}

void Protocol::SendContainerClose(int container) {
    OutMessage message;
    message.WriteU8(0x10);
    message.WriteU8(uint8_t(container));
    connection->Send(message);
}

void Protocol::SendOp27(int container) {
    OutMessage message;
    message.WriteU8(0x27);
    message.WriteU8(uint8_t(container));
    connection->Send(message);
}

void Protocol::SendOp32() {
    OutMessage message;
    message.WriteU8(0x32);
    connection->Send(message);
}

void Protocol::SendTalents(const std::array<int32_t, 7>& points) {
    OutMessage message;
    message.WriteU8(0x33);
    for (int32_t value : points)
        message.WriteU16(uint16_t(value));
    connection->Send(message);
}

void Protocol::SendOp34() {
    OutMessage message;
    message.WriteU8(0x34);
    connection->Send(message);
}

void Protocol::SendOp4A(int container) {
    OutMessage message;
    message.WriteU8(0x4A);
    message.WriteU8(uint8_t(container));
    connection->Send(message);
    SendContainerClose(container);
}
