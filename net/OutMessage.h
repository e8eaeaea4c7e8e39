#pragma once

#include <cstdint>
#include <string>

// One request being built: senders make it on the stack, write the opcode and
// the fields little-endian, and hand it to Connection::Send, which copies it.
//
// A write is made only when the frame, length prefix included, stays within
// 16383 bytes. The first write that does not fit marks the message as
// overflowed: every later write is dropped too and the message is never sent,
// because a request with a field missing from its middle would make the server
// read the rest wrongly.
class OutMessage {
public:
    static constexpr int32_t kCapacity = 16384;
    static constexpr int32_t kMaxEnd = 16383;  // highest `pos` a write may reach

    void WriteU8(uint8_t value);
    void WriteU16(uint16_t value);
    void WriteU32(uint32_t value);
    void WriteU64(uint64_t value);
    void WriteFloat(float value);
    // A u16 count and the bytes of the text up to its first NUL byte; the
    // count is the number of bytes that follow it. Fits or not by the text's
    // full size.
    void WriteString(const std::string& text);
    // Bytes as they are, without a count (the entries of a list whose count
    // was written before them). Fits or not as a whole.
    void WriteBytes(const uint8_t* bytes, size_t count);

    bool IsOverflowed() const { return overflowed; }
    // The payload written so far.
    const uint8_t* Payload() const { return data + 2; }

    int32_t pos = 2;  // write position; the payload starts behind the two length bytes
    int32_t len = 0;  // payload bytes written so far
    bool overflowed = false;
    uint8_t data[kCapacity];

private:
    bool Fits(int64_t size);
    void Little(uint64_t value, int size);
};
