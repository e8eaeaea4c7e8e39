// The readers of received frames and the writers of requests at their edges.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <sstream>
#include <vector>

#include "net/InMessage.h"
#include "net/OutMessage.h"

namespace {

// A whole frame: the length prefix and the payload.
std::vector<uint8_t> Frame(const std::vector<uint8_t>& payload) {
    std::vector<uint8_t> frame(payload.size() + 2);
    frame[0] = uint8_t(payload.size());
    frame[1] = uint8_t(payload.size() >> 8);
    std::copy(payload.begin(), payload.end(), frame.begin() + 2);
    return frame;
}

std::vector<uint8_t> FloatBytes(float value) {
    uint8_t bytes[4];
    std::memcpy(bytes, &value, 4);
    return {bytes[0], bytes[1], bytes[2], bytes[3]};
}

std::string Show(float value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

struct ReadCase {
    const char* name;
    std::vector<uint8_t> payload;
    std::function<std::string(InMessage&)> read;
    std::string expected;
    int32_t posAfter;
};

auto U8 = [](InMessage& m) { return std::to_string(m.ReadU8()); };
auto U16 = [](InMessage& m) { return std::to_string(m.ReadU16()); };
auto U32 = [](InMessage& m) { return std::to_string(m.ReadU32()); };
auto U64 = [](InMessage& m) { return std::to_string(m.ReadU64()); };
auto Float = [](InMessage& m) { return Show(m.ReadFloat()); };
auto String = [](InMessage& m) { return "[" + m.ReadString() + "]"; };

TEST(InMessageTest, ReadersTakeLittleEndianValuesAndGiveZeroWhenShort) {
    const ReadCase cases[] = {
        {"u8", {0xAB}, U8, "171", 3},
        {"u8 of nothing", {}, U8, "0", 2},
        {"u16", {0x34, 0x12}, U16, "4660", 4},
        {"u16 with one byte left", {0x34}, U16, "0", 2},
        {"u32", {0x78, 0x56, 0x34, 0x12}, U32, "305419896", 6},
        {"u32 with three bytes left", {0x78, 0x56, 0x34}, U32, "0", 2},
        {"u64, low half first", {1, 0, 0, 0, 2, 0, 0, 0}, U64, "8589934593", 10},
        {"u64 with seven bytes left", {1, 0, 0, 0, 2, 0, 0}, U64, "0", 2},
        {"float", FloatBytes(1.5f), Float, "1.5", 6},
        {"float with two bytes left", {0, 0}, Float, "0", 2},
        {"string", {3, 0, 'a', 'b', 'c', 'z'}, String, "[abc]", 7},
        {"empty string", {0, 0, 'z'}, String, "[]", 4},
        {"string bytes carry NULs", {3, 0, 'a', 0, 'c'}, String, std::string("[a\0c]", 5), 7},
        {"string whose count runs past the end", {4, 0, 'a', 'b', 'c'}, String, "[]", 4},
        {"string with one byte left", {3}, String, "[]", 2},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> frame = Frame(c.payload);
        InMessage message(frame.data(), int(frame.size()));
        EXPECT_EQ(message.len, int32_t(frame.size()));
        EXPECT_EQ(c.read(message), c.expected);
        EXPECT_EQ(message.pos, c.posAfter);
        EXPECT_EQ(message.Remaining(), message.len - c.posAfter);
    }
}

TEST(InMessageTest, ReadsFollowEachOtherAndStopAtTheEnd) {
    const std::vector<uint8_t> frame = Frame({0x01, 0x19, 0x00, 2, 0, 'h', 'i', 0xFF});
    InMessage message(frame.data(), int(frame.size()));
    EXPECT_EQ(message.ReadU8(), 0x01);
    EXPECT_EQ(message.ReadU16(), 0x19);
    EXPECT_EQ(message.ReadString(), "hi");
    EXPECT_EQ(message.ReadU32(), 0u);  // one byte left: not read
    EXPECT_EQ(message.ReadU8(), 0xFF);
    EXPECT_EQ(message.Remaining(), 0);
    EXPECT_EQ(message.ReadU8(), 0);
    EXPECT_EQ(message.pos, message.len);
}

struct WriteCase {
    const char* name;
    int32_t startPos;
    std::function<void(OutMessage&)> write;
    std::vector<uint8_t> written;  // bytes from the start position on
    bool overflowed;
};

TEST(OutMessageTest, WritersStayWithinTheFrameAndMarkTheFirstDroppedWrite) {
    const WriteCase cases[] = {
        {"u8", 2, [](OutMessage& m) { m.WriteU8(0xAB); }, {0xAB}, false},
        {"u16", 2, [](OutMessage& m) { m.WriteU16(0x1234); }, {0x34, 0x12}, false},
        {"u32", 2, [](OutMessage& m) { m.WriteU32(0x12345678); }, {0x78, 0x56, 0x34, 0x12}, false},
        {"u64, low half first", 2, [](OutMessage& m) { m.WriteU64(0x0000000200000001ull); },
         {1, 0, 0, 0, 2, 0, 0, 0}, false},
        {"float", 2, [](OutMessage& m) { m.WriteFloat(1.5f); }, FloatBytes(1.5f), false},
        {"string", 2, [](OutMessage& m) { m.WriteString("abc"); }, {3, 0, 'a', 'b', 'c'}, false},
        {"string ends at its first NUL and counts what it writes", 2,
         [](OutMessage& m) { m.WriteString(std::string("ab\0cd", 5)); }, {2, 0, 'a', 'b'}, false},
        {"u8 reaching the last byte", 16382, [](OutMessage& m) { m.WriteU8(7); }, {7}, false},
        {"u8 behind the last byte", 16383, [](OutMessage& m) { m.WriteU8(7); }, {}, true},
        {"u32 one byte too long", 16380, [](OutMessage& m) { m.WriteU32(7); }, {}, true},
        {"u32 reaching the last byte", 16379, [](OutMessage& m) { m.WriteU32(7); }, {7, 0, 0, 0}, false},
        {"string fits by its full size", 16376,
         [](OutMessage& m) { m.WriteString(std::string("ab\0cd", 5)); }, {2, 0, 'a', 'b'}, false},
        {"string too long by its full size", 16377,
         [](OutMessage& m) { m.WriteString(std::string("ab\0cd", 5)); }, {}, true},
        {"bytes, without a count", 2,
         [](OutMessage& m) {
             const uint8_t bytes[] = {1, 0, 8};
             m.WriteBytes(bytes, 3);
         },
         {1, 0, 8}, false},
        {"bytes reaching the last byte", 16380,
         [](OutMessage& m) {
             const uint8_t bytes[] = {1, 2, 3};
             m.WriteBytes(bytes, 3);
         },
         {1, 2, 3}, false},
        {"bytes one too many", 16381,
         [](OutMessage& m) {
             const uint8_t bytes[] = {1, 2, 3};
             m.WriteBytes(bytes, 3);
         },
         {}, true},
        {"after a dropped write nothing more is written", 16380,
         [](OutMessage& m) {
             m.WriteU32(7);
             m.WriteU8(8);
         },
         {}, true},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        OutMessage message;
        message.pos = c.startPos;
        message.len = c.startPos - 2;
        c.write(message);
        EXPECT_EQ(message.pos, c.startPos + int32_t(c.written.size()));
        EXPECT_EQ(message.len, message.pos - 2);
        EXPECT_EQ(std::vector<uint8_t>(message.data + c.startPos, message.data + message.pos), c.written);
        EXPECT_EQ(message.IsOverflowed(), c.overflowed);
    }
}

TEST(OutMessageTest, FieldsFollowEachOtherBehindTheLengthBytes) {
    OutMessage message;
    message.WriteU8(0x01);
    message.WriteU16(573);
    message.WriteString("demo");
    EXPECT_EQ(message.len, 9);
    EXPECT_EQ(std::vector<uint8_t>(message.Payload(), message.Payload() + message.len),
              (std::vector<uint8_t>{0x01, 0x3D, 0x02, 4, 0, 'd', 'e', 'm', 'o'}));
}

}  // namespace
