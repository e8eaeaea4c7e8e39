// The sprite store: reading graphics files (whole, cut short or lying about
// their sizes), decoding run-length data, and making sprites through the engine.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <iterator>

#include "engine/SpriteStore.h"
#include "tests/support/TestApp.h"

namespace {

// One entry of a graphics file as raw bytes; size is the data's length unless
// given.
struct RawEntry {
    uint16_t width;
    uint16_t height;
    std::vector<uint8_t> data;
    int64_t size = -1;
};

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(uint8_t(value >> shift));
}

std::vector<uint8_t> RawFile(uint32_t stamp, int32_t count, const std::vector<RawEntry>& entries) {
    std::vector<uint8_t> out;
    PutU32(out, stamp);
    PutU32(out, uint32_t(count));
    for (const RawEntry& entry : entries) {
        out.push_back(uint8_t(entry.width));
        out.push_back(uint8_t(entry.width >> 8));
        out.push_back(uint8_t(entry.height));
        out.push_back(uint8_t(entry.height >> 8));
        PutU32(out, uint32_t(entry.size >= 0 ? entry.size : int64_t(entry.data.size())));
        out.insert(out.end(), entry.data.begin(), entry.data.end());
    }
    return out;
}

std::vector<uint8_t> Prefix(const std::vector<uint8_t>& bytes, size_t length) {
    return std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(length));
}

// A pixel as the decoder writes it: blue, green, red, alpha.
using Pixel = std::array<uint8_t, 4>;
const Pixel kClear = {0, 0, 0, 0};

uint32_t LoadBytesInto(SpriteStore& store, const std::vector<uint8_t>& bytes) {
    const std::string path = TempPath("store.gfx");
    FILE* file = std::fopen(path.c_str(), "wb");
    EXPECT_NE(file, nullptr);
    if (!file)
        return 0;
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    const uint32_t stamp = store.Load(path);
    std::remove(path.c_str());
    return stamp;
}

std::vector<Pixel> DecodedFrom(SpriteStore& store, int id) {
    std::vector<Pixel> pixels;
    const SpriteRecord* record = store.DecodeSprite(uint32_t(id));
    if (!record)
        return pixels;
    for (size_t i = 0; i < size_t(record->width) * record->height; ++i) {
        const uint8_t* p = record->pixels.get() + i * 4;
        pixels.push_back({p[0], p[1], p[2], p[3]});
    }
    return pixels;
}

// Which of the ids 1 to n hold a record.
std::vector<bool> Present(const SpriteStore& store, int n) {
    std::vector<bool> present;
    for (int id = 1; id <= n; ++id)
        present.push_back(store.GetRecord(id) != nullptr);
    return present;
}

class SpriteStoreTest : public ::testing::Test {
protected:
    uint32_t LoadBytes(const std::vector<uint8_t>& bytes) { return LoadBytesInto(store(), bytes); }
    std::vector<Pixel> Decoded(int id) { return DecodedFrom(store(), id); }
    SpriteStore& store() { return *test.app->sprites; }
    TestApp test;
};

TEST_F(SpriteStoreTest, DecodesRunLengthData) {
    const Pixel p1 = {10, 20, 30, 255};
    const Pixel p2 = {9, 8, 7, 255};
    struct Case {
        const char* name;
        uint16_t width, height;
        std::vector<uint8_t> data;
        std::vector<Pixel> pixels;
    };
    const Case cases[] = {
        {"a run then a pixel", 2, 2, {1, 3, 10, 20, 30, 255}, {kClear, kClear, kClear, p1}},
        {"data shorter than a pixel", 2, 1, {10, 20, 30}, {kClear, kClear}},
        {"a short run token alone", 2, 1, {1, 2}, {kClear, kClear}},
        {"no data", 2, 1, {}, {kClear, kClear}},
        {"a run across a row end", 3, 2, {1, 4, 10, 20, 30, 255, 9, 8, 7, 255},
         {kClear, kClear, kClear, kClear, p1, p2}},
        {"a run token in the last two bytes", 3, 1, {9, 8, 7, 255, 1, 2}, {p2, kClear, kClear}},
        {"a run token in the last three bytes", 4, 1, {9, 8, 7, 255, 1, 2, 77}, {p2, kClear, kClear, kClear}},
        {"a run of 0 is one transparent pixel", 2, 1, {1, 0, 9, 8, 7, 255}, {kClear, p2}},
        {"data beyond the picture are ignored", 1, 1, {9, 8, 7, 255, 10, 20, 30, 255}, {p2}},
        {"the picture ends inside a run", 2, 1, {1, 200, 9, 8, 7, 255}, {kClear, kClear}},
    };
    std::vector<RawEntry> entries;
    for (const Case& c : cases)
        entries.push_back({c.width, c.height, c.data});
    ASSERT_EQ(LoadBytes(RawFile(1500000000, int32_t(entries.size()) + 1, entries)), 1500000000u);
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(Decoded(int(i) + 1), cases[i].pixels);
        EXPECT_EQ(store().GetRecord(int(i) + 1)->data, nullptr);  // freed once decoded
    }
}

TEST_F(SpriteStoreTest, CountsOfOneOrLessHoldNoSprites) {
    const std::vector<RawEntry> entries = {{1, 1, {9, 8, 7, 255}}};
    for (int32_t count : {1, 0, -5, int32_t(0x80000000)}) {
        SCOPED_TRACE(count);
        EXPECT_EQ(LoadBytes(RawFile(1403107800, count, entries)), 1403107800u);
        EXPECT_EQ(store().GetRecord(1), nullptr);
    }
}

TEST_F(SpriteStoreTest, MissingOrHeaderlessFileGivesZero) {
    EXPECT_EQ(store().Load(TempPath("no-such-file.gfx")), 0u);
    const std::vector<uint8_t> full = RawFile(1500000000, 2, {{1, 1, {9, 8, 7, 255}}});
    for (size_t length : {0, 4, 7}) {
        SCOPED_TRACE(length);
        EXPECT_EQ(LoadBytes(std::vector<uint8_t>(full.begin(), full.begin() + long(length))), 0u);
        EXPECT_EQ(store().GetRecord(1), nullptr);
    }
}

TEST(SpriteStoreFaults, FileCutShortKeepsTheEntriesBeforeTheCut) {
    const std::vector<uint8_t> full = RawFile(
        1500000000, 4, {{2, 1, {9, 8, 7, 255, 1, 1}}, {1, 1, {10, 20, 30, 255}}, {1, 1, {9, 8, 7, 255}}});
    // Entry 1 ends at byte 22, entry 2 at 34, entry 3 at 46.
    struct Case {
        size_t length;
        std::vector<bool> present;
    };
    const Case cases[] = {
        {8, {false, false, false}},  {12, {false, false, false}}, {21, {false, false, false}},
        {22, {true, false, false}},  {25, {true, false, false}},  {33, {true, false, false}},
        {34, {true, true, false}},   {45, {true, true, false}},   {46, {true, true, true}},
    };
    ASSERT_EQ(full.size(), 46u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        TestApp test;
        SpriteStore& store = *test.app->sprites;
        EXPECT_EQ(LoadBytesInto(store, std::vector<uint8_t>(full.begin(), full.begin() + long(c.length))),
                  1500000000u);
        EXPECT_EQ(Present(store, 3), c.present);
        if (c.present[1]) {
            EXPECT_EQ(DecodedFrom(store, 2), (std::vector<Pixel>{{10, 20, 30, 255}}));
        }
    }
}

TEST(SpriteStoreFaults, AFileCutShortIsToldFromAWholeOne) {
    const std::vector<uint8_t> full = RawFile(
        1500000000, 4, {{2, 1, {9, 8, 7, 255, 1, 1}}, {1, 1, {10, 20, 30, 255}}, {1, 1, {9, 8, 7, 255}}});
    std::vector<uint8_t> trailing = full;
    trailing.push_back(0);
    std::vector<uint8_t> lyingSize = full;
    lyingSize[34 + 4] = 5;  // entry 3 claims one byte more than the file holds
    // Past the table's end: entries for ids 1 to 20001, the last one cut.
    std::vector<uint8_t> beyondTable = RawFile(1500000000, 20002, std::vector<RawEntry>(20001, RawEntry{1, 1, {}}));
    beyondTable.resize(beyondTable.size() - 1);
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        bool cutShort;
    };
    const Case cases[] = {
        {"empty", {}, true},
        {"inside the header", Prefix(full, 7), true},
        {"inside an entry's header", Prefix(full, 25), true},
        {"inside an entry's data", Prefix(full, 40), true},
        {"one byte short", Prefix(full, 45), true},
        {"a size beyond the end", lyingSize, true},
        {"a count above the entries", RawFile(1500000000, 5, {{1, 1, {}}, {1, 1, {}}, {1, 1, {}}}), true},
        {"past id 19999", beyondTable, true},
        {"whole", full, false},
        {"whole with a byte after the last entry", trailing, false},
        {"only the header, count 1", RawFile(1500000000, 1, {}), false},
        {"a negative count", RawFile(1500000000, -3, {}), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp test;
        SpriteStore& store = *test.app->sprites;
        LoadBytesInto(store, c.bytes);
        EXPECT_EQ(store.CutShort(), c.cutShort);
        // A file that cannot be opened is missing, not cut short.
        store.Load(TempPath("no-such-file.gfx"));
        EXPECT_FALSE(store.CutShort());
    }
}

TEST(SpriteStoreFaults, SizeLargerThanTheRestOfTheFileIsRefused) {
    // Entry 2's header is followed by 14 bytes: its own 4 and entry 3's 10.
    struct Case {
        int64_t size;
        std::vector<bool> present;
    };
    const Case cases[] = {
        {14, {true, true, false}},
        {15, {true, false, false}},
        {0x7FFFFFFF, {true, false, false}},
        {0xFFFFFFFF, {true, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        TestApp test;
        SpriteStore& store = *test.app->sprites;
        EXPECT_EQ(LoadBytesInto(store, RawFile(1500000000, 4,
                                               {{1, 1, {9, 8, 7, 255}}, {1, 1, {10, 20, 30, 255}, c.size},
                                                {1, 1, {1, 1}}})),
                  1500000000u);
        EXPECT_EQ(Present(store, 3), c.present);
    }
}

TEST_F(SpriteStoreTest, NothingIsStoredPastId19999) {
    std::vector<RawEntry> entries(20004, RawEntry{1, 1, {9, 8, 7, 255}});
    ASSERT_EQ(LoadBytes(RawFile(1500000000, 20005, entries)), 1500000000u);
    EXPECT_NE(store().GetRecord(19999), nullptr);
    EXPECT_EQ(Decoded(19999), (std::vector<Pixel>{{9, 8, 7, 255}}));
    EXPECT_NE(store().GetSprite(19999), nullptr);
    EXPECT_EQ(store().GetRecord(20000), nullptr);
    EXPECT_EQ(store().DecodeSprite(20000), nullptr);
    EXPECT_EQ(store().GetSprite(20000), nullptr);
}

TEST_F(SpriteStoreTest, SpritesOnlyForIdsWithAPicture) {
    ASSERT_NE(LoadBytes(RawFile(1500000000, 5, {{1, 1, {9, 8, 7, 255}}, {0, 5, {}}, {5, 0, {}}, {0, 0, {}}})), 0u);
    for (int id : {-1, 0, 2, 3, 4, 5, 19999, 20000}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(store().GetSprite(id), nullptr);
    }
    EXPECT_EQ(store().DecodeSprite(0), nullptr);
    EXPECT_EQ(store().DecodeSprite(5), nullptr);
    EXPECT_NE(store().DecodeSprite(2), nullptr);  // the record is there, it just shows nothing
    EXPECT_EQ(test.engine()->spritesGenerated, 0);
}

TEST_F(SpriteStoreTest, SpriteIsMadeOnceAndAgainAfterReleaseWithoutDecoding) {
    GfxWriter writer;
    GfxImage picture(3, 2);
    picture.Set(0, 0, 0xFF112233);
    writer.Put(4, picture);
    test.LoadSprites(writer);
    test.engine()->Clear();

    Sprite* sprite = store().GetSprite(4);
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(store().GetSprite(4), sprite);
    EXPECT_EQ(sprite->width, 3);
    EXPECT_EQ(sprite->height, 2);
    EXPECT_EQ(sprite->engine, test.app->engine);
    EXPECT_EQ(test.engine()->Log(), (std::vector<std::string>{"GenerateSprite(sprite 1, 3, 2, 0)"}));
    const uint8_t* pixels = store().GetRecord(4)->pixels.get();

    store().ReleaseTextures();
    EXPECT_EQ(test.engine()->spritesReleased, 1);
    Sprite* again = store().GetSprite(4);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(test.engine()->spritesGenerated, 2);
    EXPECT_EQ(store().GetRecord(4)->pixels.get(), pixels);
    EXPECT_EQ(store().GetRecord(4)->data, nullptr);
}

}  // namespace
