#include "net/InMessage.h"

#include <cstring>

InMessage::InMessage(const uint8_t* frame, int size) : len(size > 0 ? size : 0), data(new uint8_t[len > 0 ? len : 1]) {
    if (len > 0)
        std::memcpy(data.get(), frame, size_t(len));
}

uint32_t InMessage::Little(int size) {
    uint32_t value = 0;
    for (int i = 0; i < size; ++i)
        value |= uint32_t(data[size_t(pos + i)]) << (8 * i);
    pos += size;
    return value;
}

uint8_t InMessage::ReadU8() { return Has(1) ? uint8_t(Little(1)) : 0; }

uint16_t InMessage::ReadU16() { return Has(2) ? uint16_t(Little(2)) : 0; }

uint32_t InMessage::ReadU32() { return Has(4) ? Little(4) : 0; }

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
    std::string text(reinterpret_cast<const char*>(data.get()) + pos, count);
    pos += count;
    return text;
}
