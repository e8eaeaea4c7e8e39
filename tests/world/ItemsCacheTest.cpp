// The items cache and its file "itemscache.dat".
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "platform/Platform.h"
#include "tests/support/TestApp.h"
#include "world/ItemsCache.h"

namespace {

using Bytes = std::vector<uint8_t>;

void PutU16(Bytes& out, uint16_t value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}
void PutU32(Bytes& out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

Bytes Header(uint32_t version, uint16_t count, uint8_t marker = 0xFF) {
    Bytes out;
    PutU32(out, version);
    PutU16(out, count);
    out.push_back(marker);
    return out;
}

// One record as the file stores it; the name bytes are given as stored.
Bytes Record(uint16_t id, const Bytes& storedName, float speed = 100.0f, uint16_t nameLength = 0xFFFF) {
    Bytes out;
    PutU16(out, id);
    out.push_back(1);                // ground flag
    out.push_back(0x2A);             // minimap colour
    PutU32(out, 0x00200102);         // flags
    PutU16(out, 64);                 // pattern size
    PutU16(out, 0x0103);             // animation frames: the low byte counts
    PutU16(out, nameLength == 0xFFFF ? uint16_t(storedName.size()) : nameLength);
    uint32_t bits;
    std::memcpy(&bits, &speed, 4);
    PutU32(out, bits);
    out.insert(out.end(), storedName.begin(), storedName.end());
    return out;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

ItemRecord* MakeRecord(const std::string& name, uint8_t speed = 100) {
    ItemRecord* record = new ItemRecord();
    record->name = name;
    record->groundSpeed = speed;
    return record;
}

TEST(ItemsCacheTest, AFreshCacheKnowsNothing) {
    ItemsCache cache;
    EXPECT_EQ(cache.version, 0u);
    EXPECT_EQ(cache.Get(5), nullptr);
    EXPECT_EQ(cache.GetName(5), "Unknown Item");
    EXPECT_EQ(cache.GetName(20000), "Unknown Item");
    cache.Set(new ItemRecord(), 20000);  // no room: ignored
    EXPECT_EQ(cache.Get(20000), nullptr);
    cache.Set(new ItemRecord(), 5);
    EXPECT_EQ(cache.GetName(5), "unknown");
    EXPECT_EQ(cache.Get(5)->GetWord(), 32);
    EXPECT_EQ(cache.Get(5)->groundSpeed, 100);
}

TEST(ItemsCacheTest, HasFlagAsksForBlockingOrFlag4) {
    ItemRecord record;
    record.flags = kItemBlocksWalking;
    EXPECT_TRUE(record.HasFlag(true));
    EXPECT_FALSE(record.HasFlag(false));
    record.flags = 0x04;
    EXPECT_FALSE(record.HasFlag(true));
    EXPECT_TRUE(record.HasFlag(false));
}

TEST(ItemsCacheTest, SavingWritesTheDocumentedLayout) {
    ItemsCache cache;
    ItemRecord* axe = MakeRecord("Axe");
    axe->groundFlag = 1;
    axe->minimapColor = 0x2A;
    axe->flags = 0x00200102;
    axe->patternSize = 64;
    axe->animationFrames = 3;
    cache.Set(axe, 5);
    cache.version = 12;
    // Name bytes are stored minus 1: "Axe" is 0x40 0x77 0x64.
    Bytes expected = Join({Header(12, 1), Record(5, {0x40, 0x77, 0x64})});
    expected[7 + 10] = 3;  // animation frames widened to 16 bits
    expected[7 + 11] = 0;
    EXPECT_EQ(cache.SaveToBytes(), expected);
}

TEST(ItemsCacheTest, ARecordReadsBackWithEveryField) {
    ItemsCache cache;
    const Bytes file = Join({Header(7, 1), Record(9, {0x40, 0x00, 0xFF}, 99.9f)});
    ASSERT_TRUE(cache.LoadFromBytes(file.data(), file.size()));
    EXPECT_EQ(cache.version, 7u);
    const ItemRecord* record = cache.Get(9);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->name, std::string("A\x01\x00", 3));  // stored 0x00 reads as 0x01, 0xFF as 0x00
    EXPECT_EQ(record->groundFlag, 1);
    EXPECT_EQ(record->minimapColor, 0x2A);
    EXPECT_EQ(record->flags, 0x00200102u);
    EXPECT_EQ(record->patternSize, 64);
    EXPECT_EQ(record->animationFrames, 3);
    EXPECT_EQ(record->groundSpeed, 99);
}

TEST(ItemsCacheTest, GroundSpeedIsTheLowByteOfTheFloatCutTowardZero) {
    const struct {
        float stored;
        int speed;
    } cases[] = {{100.0f, 100}, {99.9f, 99}, {300.0f, 44}, {0.5f, 0}, {-1.0f, 255}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        ItemsCache cache;
        const Bytes file = Join({Header(1, 1), Record(3, {}, c.stored)});
        ASSERT_TRUE(cache.LoadFromBytes(file.data(), file.size()));
        EXPECT_EQ(cache.Get(3)->groundSpeed, c.speed);
    }
}

TEST(ItemsCacheTest, RecordsOfIdsBeyondTheTableAreSkipped) {
    ItemsCache cache;
    const Bytes file = Join({Header(3, 3), Record(5, {0x40}), Record(20000, {0x41}), Record(7, {0x42})});
    ASSERT_TRUE(cache.LoadFromBytes(file.data(), file.size()));
    EXPECT_EQ(cache.GetName(5), "A");
    EXPECT_EQ(cache.GetName(7), "C");
    const Bytes saved = cache.SaveToBytes();
    EXPECT_EQ(saved[4] | saved[5] << 8, 2);
}

TEST(ItemsCacheTest, AnInconsistentFileIsDiscardedWhole) {
    const Bytes good = Record(5, {0x40});
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"wrong marker", Join({Header(12, 1, 0xFE), good})},
        {"header cut short", Bytes{12, 0, 0, 0, 1, 0}},
        {"empty file", Bytes{}},
        {"record cut short", Join({Header(12, 2), good, Bytes(good.begin(), good.begin() + 10)})},
        {"name cut short", Join({Header(12, 1), Record(5, {0x40, 0x41}, 100.0f, 3)})},
        {"name longer than 255 bytes", Join({Header(12, 2), good, Record(6, Bytes(256, 0x40))})},
        {"ground speed not a number", Join({Header(12, 2), good, Record(6, {}, std::nanf(""))})},
        {"ground speed infinite", Join({Header(12, 2), good, Record(6, {}, std::numeric_limits<float>::infinity())})},
        {"ground speed beyond an int", Join({Header(12, 2), good, Record(6, {}, 1e10f)})},
        {"more records announced than stored", Join({Header(12, 2), good})},
        {"bytes behind the last record", Join({Header(12, 1), good, Bytes{0}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ItemsCache cache;
        EXPECT_FALSE(cache.LoadFromBytes(c.file.data(), c.file.size()));
        EXPECT_EQ(cache.version, 0u);  // so the server sends every record again
        EXPECT_EQ(cache.Get(5), nullptr);
    }
}

TEST(ItemsCacheTest, ANameOf255BytesIsKept) {
    ItemsCache cache;
    const Bytes file = Join({Header(2, 1), Record(6, Bytes(255, 0x40))});
    ASSERT_TRUE(cache.LoadFromBytes(file.data(), file.size()));
    EXPECT_EQ(cache.GetName(6), std::string(255, 'A'));
}

class ItemsCacheFileTest : public ::testing::Test {
protected:
    ~ItemsCacheFileTest() override {
        std::remove(path.c_str());
        std::remove((path + ".tmp").c_str());
    }
    const std::string path = TempPath("itemscache.dat");
};

TEST_F(ItemsCacheFileTest, TheFileRoundTrips) {
    ItemsCache saved;
    ItemRecord* sword = MakeRecord(std::string("Sword\x00\xFF", 7), 250);
    sword->flags = 0xFFFFFFFF;
    sword->patternSize = 0xFFFF;
    sword->animationFrames = 255;
    saved.Set(sword, 19999);
    saved.Set(MakeRecord(""), 0);
    saved.Set(MakeRecord(std::string(300, 'z')), 42);  // kept readable: cut to 255 bytes
    ASSERT_TRUE(saved.SaveFile(77, path));
    EXPECT_EQ(saved.version, 77u);
    EXPECT_FALSE(platform::FileExists(path + ".tmp"));

    ItemsCache loaded;
    ASSERT_TRUE(loaded.LoadFile(path));
    EXPECT_EQ(loaded.version, 77u);
    ASSERT_NE(loaded.Get(19999), nullptr);
    EXPECT_EQ(loaded.GetName(19999), std::string("Sword\x00\xFF", 7));
    EXPECT_EQ(loaded.Get(19999)->flags, 0xFFFFFFFFu);
    EXPECT_EQ(loaded.Get(19999)->patternSize, 0xFFFF);
    EXPECT_EQ(loaded.Get(19999)->animationFrames, 255);
    EXPECT_EQ(loaded.Get(19999)->groundSpeed, 250);
    EXPECT_EQ(loaded.GetName(0), "");
    EXPECT_EQ(loaded.GetName(42), std::string(255, 'z'));
    EXPECT_EQ(loaded.SaveToBytes(), saved.SaveToBytes());
}

TEST_F(ItemsCacheFileTest, SavingReplacesTheOldFileOnlyWhenTheNewOneIsWritten) {
    ItemsCache cache;
    cache.Set(MakeRecord("Old"), 1);
    ASSERT_TRUE(cache.SaveFile(5, path));
    cache.Set(MakeRecord("New"), 1);
    ASSERT_TRUE(cache.SaveFile(6, path));
    ItemsCache loaded;
    ASSERT_TRUE(loaded.LoadFile(path));
    EXPECT_EQ(loaded.GetName(1), "New");
    EXPECT_EQ(loaded.version, 6u);

    // A folder that does not exist: nothing is written and the version stays.
    EXPECT_FALSE(cache.SaveFile(9, TempPath("no-such-folder") + "/itemscache.dat"));
    EXPECT_EQ(cache.version, 6u);
}

TEST_F(ItemsCacheFileTest, AMissingFileLeavesVersion0) {
    ItemsCache cache;
    cache.version = 3;
    EXPECT_FALSE(cache.LoadFile(path));
    EXPECT_EQ(cache.version, 0u);
}

}  // namespace
