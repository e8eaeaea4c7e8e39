#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// One received frame: the two length bytes and the payload, read from the
// front. Every reader reads little-endian at `pos` and moves past what it
// read; when fewer bytes are left than the value needs it returns 0 (0.0, an
// empty string) and leaves `pos` alone, so a handler never fails on a short
// frame.
//
// A message reads its frame where it was received: the frames of one receive
// share the connection's receive buffer, so a burst of tiny frames costs no
// memory per frame beyond the message itself. It holds on to that buffer, and
// stays readable after the connection has received more or been closed (a
// handler may disconnect in the middle of a frame); but a message kept beyond
// its pass keeps a whole receive buffer alive, so copy out what must be kept.
// Messages are moved, never copied, and live on the main thread only.
class InMessage {
public:
    // Frames whose payload is this long or longer are skipped unread.
    static constexpr int kSkippedPayload = 19998;

    InMessage() = default;
    // Copies a whole frame, length prefix included; reading starts behind the prefix.
    InMessage(const uint8_t* frame, int size);
    InMessage(InMessage&& other) noexcept { Take(other); }
    InMessage& operator=(InMessage&& other) noexcept {
        if (this != &other) {
            Drop();
            Take(other);
        }
        return *this;
    }
    InMessage(const InMessage&) = delete;
    InMessage& operator=(const InMessage&) = delete;
    ~InMessage() { Drop(); }

    uint8_t ReadU8() { return Has(1) ? uint8_t(Little(1)) : 0; }
    uint16_t ReadU16() { return Has(2) ? uint16_t(Little(2)) : 0; }
    uint32_t ReadU32() { return Has(4) ? Little(4) : 0; }
    uint64_t ReadU64();
    float ReadFloat();
    // A u16 count and that many bytes. A count that runs past the end gives
    // an empty string and leaves `pos` just behind the count.
    std::string ReadString();
    int32_t Remaining() const { return len - pos; }

    // The whole frame, length prefix included: `len` bytes.
    const uint8_t* Data() const { return data; }

    int32_t pos = 2;  // read position, counted from the start of the frame
    int32_t len = 0;  // payload length + 2: the end of the readable bytes

private:
    friend class Connection;

    // Received bytes shared by the messages cut from them and by the
    // connection that receives into them; the last user to go frees them.
    class Block {
    public:
        // A block of `size` bytes with one user, the caller; `bytes` are copied in.
        static Block* Make(size_t size, const uint8_t* bytes = nullptr, size_t count = 0);
        void Acquire() { ++users; }
        void Release() {
            if (--users == 0)
                delete this;
        }
        bool IsShared() const { return users > 1; }
        uint8_t* Bytes() const { return bytes; }

    private:
        Block() = default;
        ~Block() { delete[] bytes; }
        uint8_t* bytes = nullptr;
        int users = 0;
    };

    // Makes this message a frame inside a block, one of the block's users.
    void Attach(Block* shared, const uint8_t* frame, int size) {
        Drop();
        shared->Acquire();
        block = shared;
        data = frame;
        pos = 2;
        len = size > 0 ? size : 0;
    }
    void Take(InMessage& other) {
        pos = other.pos;
        len = other.len;
        block = other.block;
        data = other.data;
        other.block = nullptr;
        other.data = nullptr;
        other.pos = 2;
        other.len = 0;
    }
    void Drop() {
        if (block)
            block->Release();
        block = nullptr;
        data = nullptr;
    }
    bool Has(int32_t size) const { return pos >= 0 && len - pos >= size; }
    uint32_t Little(int size) {
        uint32_t value = 0;
        for (int i = 0; i < size; ++i)
            value |= uint32_t(data[pos + i]) << (8 * i);
        pos += size;
        return value;
    }

    Block* block = nullptr;
    const uint8_t* data = nullptr;
};
