// Requests about the world around the player: moving, using and looking at
// things, targets and click-to-walk paths.
#include <algorithm>

#include "client/Client.h"
#include "game/GameInterface.h"
#include "net/Connection.h"
#include "net/OutMessage.h"
#include "protocol/Protocol.h"

namespace {

// The most steps one path carries: its count is a single byte.
constexpr size_t kMaxPathSteps = 255;

void WritePosition(OutMessage& message, const Position& position) {
    message.WriteU16(uint16_t(position.x));
    message.WriteU16(uint16_t(position.y));
    message.WriteU8(uint8_t(position.z));
}

// The container window a container opened by a use goes into. The hotkey bar
// uses items without a game screen too; the server then gets 0.
uint8_t FirstFreeContainerSlot() {
    const GameInterface* game = Client::Instance()->game;
    if (!game)
        return 0;
    for (int slot = 0; slot < GameInterface::kContainerSlots; ++slot)
        if (!game->containers[slot])
            return uint8_t(slot);
    return 0;
}

}  // namespace

void Protocol::SendMoveThing(const Position& from, const Position& to, int count) {
    OutMessage message;
    message.WriteU8(0x0E);
    WritePosition(message, from);
    WritePosition(message, to);
    message.WriteU8(uint8_t(count));
    connection->Send(message);
}

void Protocol::SendUseAt(const Position& position, uint32_t action) {
    OutMessage message;
    message.WriteU8(0x0F);
    WritePosition(message, position);
    message.WriteU8(FirstFreeContainerSlot());
    message.WriteU32(action);
    connection->Send(message);
}

void Protocol::SendLook(const Position& position) {
    OutMessage message;
    message.WriteU8(0x11);
    WritePosition(message, position);
    connection->Send(message);
}

void Protocol::SendTargets(uint32_t attack, uint32_t follow) {
    OutMessage message;
    message.WriteU8(0x12);
    message.WriteU32(attack);
    message.WriteU32(follow);
    connection->Send(message);
}

void Protocol::SendWalkPath(const std::vector<int>& steps, int32_t x, int32_t y, int32_t floor) {
    OutMessage message;
    message.WriteU8(0x1A);
    message.WriteU32(uint32_t(x) * 3u);
    message.WriteU32(uint32_t(y) * 2u);
    message.WriteU16(uint16_t(uint32_t(floor) * 4u));
    // Every step behind a full count would reach the server as opcodes of
    // their own (steps, even logins), so a longer path stops at 255 steps.
    const size_t count = std::min(steps.size(), kMaxPathSteps);
    uint8_t codes[kMaxPathSteps];
    for (size_t i = 0; i < count; ++i)
        codes[i] = uint8_t(steps[i]);
    message.WriteU8(uint8_t(count));
    message.WriteBytes(codes, count);
    connection->Send(message);
}
