#include "net/InMessage.h"

#include <cstring>

InMessage::Block* InMessage::Block::Make(size_t size, const uint8_t* bytes, size_t count) {
    Block* block = new Block();
    block->bytes = new uint8_t[size ? size : 1];
    block->users = 1;
    if (count)
        std::memcpy(block->bytes, bytes, count);
    return block;
}

InMessage::InMessage(const uint8_t* frame, int size) {
    const size_t count = size > 0 ? size_t(size) : 0;
    Block* own = Block::Make(count, frame, count);
    Attach(own, own->Bytes(), size);
    own->Release();  // the message is its only user
}

uint64_t InMessage::ReadU64() {
    if (!Has(8))
        return 0;
    const uint64_t low = Little(4);
    const uint64_t high = Little(4);
    return low | high << 32;
}

float InMessage::ReadFloat() {
    if (!Has(4))
        return 0.0f;
    const uint32_t bits = Little(4);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::string InMessage::ReadString() {
    if (!Has(2))
        return std::string();
    const uint16_t count = uint16_t(Little(2));
    if (!Has(count))
        return std::string();
    std::string text(reinterpret_cast<const char*>(data) + pos, count);
    pos += count;
    return text;
}
