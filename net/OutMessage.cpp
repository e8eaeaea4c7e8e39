#include "net/OutMessage.h"

#include <cstring>

bool OutMessage::Fits(int64_t size) {
    if (!overflowed && pos >= 2 && int64_t(pos) + size <= kMaxEnd)
        return true;
    overflowed = true;
    return false;
}

void OutMessage::Little(uint64_t value, int size) {
    for (int i = 0; i < size; ++i)
        data[pos + i] = uint8_t(value >> (8 * i));
    pos += size;
    len += size;
}

void OutMessage::WriteU8(uint8_t value) {
    if (Fits(1))
        Little(value, 1);
}

void OutMessage::WriteU16(uint16_t value) {
    if (Fits(2))
        Little(value, 2);
}

void OutMessage::WriteU32(uint32_t value) {
    if (Fits(4))
        Little(value, 4);
}

void OutMessage::WriteU64(uint64_t value) {
    if (Fits(8))
        Little(value, 8);
}

void OutMessage::WriteFloat(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    WriteU32(bits);
}

void OutMessage::WriteString(const std::string& text) {
    if (!Fits(2 + int64_t(text.size())))
        return;
    // Text is byte strings that may carry a NUL from a C string; what follows
    // it is not part of the text.
    const size_t size = std::strlen(text.c_str());
    Little(size, 2);
    std::memcpy(data + pos, text.data(), size);
    pos += int32_t(size);
    len += int32_t(size);
}

void OutMessage::WriteBytes(const uint8_t* bytes, size_t count) {
    if (!Fits(int64_t(count)))
        return;
    std::memcpy(data + pos, bytes, count);
    pos += int32_t(count);
    len += int32_t(count);
}
