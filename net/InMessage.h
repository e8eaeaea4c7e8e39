#pragma once

#include <cstdint>
#include <memory>
#include <string>

// One received frame: the two length bytes and the payload, read from the
// front. Every reader reads little-endian at `pos` and moves past what it
// read; when fewer bytes are left than the value needs it returns 0 (0.0, an
// empty string) and leaves `pos` alone, so a handler never fails on a short
// frame.
class InMessage {
public:
    // Frames whose payload is this long or longer are skipped unread.
    static constexpr int kSkippedPayload = 19998;

    // Copies a whole frame, length prefix included; reading starts behind the prefix.
    InMessage(const uint8_t* frame, int size);
    InMessage(const InMessage&) = delete;
    InMessage& operator=(const InMessage&) = delete;

    uint8_t ReadU8();
    uint16_t ReadU16();
    uint32_t ReadU32();
    uint64_t ReadU64();
    float ReadFloat();
    // A u16 count and that many bytes. A count that runs past the end gives
    // an empty string and leaves `pos` just behind the count.
    std::string ReadString();
    int32_t Remaining() const { return len - pos; }

    const uint8_t* Data() const { return data.get(); }

    int32_t pos = 2;  // read position, counted from the start of the frame
    int32_t len = 0;  // payload length + 2: the end of the readable bytes

private:
    bool Has(int32_t size) const { return pos >= 0 && len - pos >= size; }
    uint32_t Little(int size);

    // Exactly the frame's bytes: a burst of tiny frames costs tiny messages.
    std::unique_ptr<uint8_t[]> data;
};
