// The writer every generated and test file goes through: what it writes must
// decode to the picture it was given.
#include <gtest/gtest.h>

#include <cstdio>

#include "engine/SpriteStore.h"
#include "tests/support/TestApp.h"
#include "tools/gfxgen/GfxWriter.h"

namespace {

TEST(GfxWriterTest, PicturesDecodeToWhatWasWritten) {
    // Rows that differ, a transparent stretch of 300 pixels across row ends
    // (longer than one run can say), and a pixel whose blue is 1, which would
    // read as a run token if it were stored as it is.
    GfxImage picture(30, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            if (y < 10 || y >= 20 || (x + y) % 7 == 0)
                picture.Set(x, y, 0xFF000000u | uint32_t(x * 8) | uint32_t(y * 8) << 8 | uint32_t(x + y) << 16);
    for (int y = 10; y < 20; ++y)
        for (int x = 0; x < 30; ++x)
            picture.Set(x, y, 0);
    picture.Set(5, 2, 0xFF010203u | 0x01u << 16);  // blue 1
    picture.Set(6, 2, 0x80102030u);                // partly transparent

    GfxWriter writer;
    writer.Put(3, picture);
    writer.Put(1, GfxImage(2, 2));
    const std::string path = TempPath("writer.gfx");
    ASSERT_TRUE(writer.Write(path, 1500000001));
    SpriteStore store;
    EXPECT_EQ(store.Load(path), 1500000001u);
    std::remove(path.c_str());

    // Id 2 was never given a picture: an empty entry, no sprite.
    ASSERT_NE(store.GetRecord(2), nullptr);
    EXPECT_EQ(store.GetRecord(2)->width, 0);
    EXPECT_EQ(store.GetSprite(2), nullptr);
    EXPECT_EQ(store.GetRecord(4), nullptr);

    const SpriteRecord* record = store.DecodeSprite(3);
    ASSERT_NE(record, nullptr);
    ASSERT_EQ(record->width, 30);
    ASSERT_EQ(record->height, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
            // Stored bottom row first; a transparent pixel decodes to four zeros.
            const uint8_t* got = record->Pixel(x, 29 - y);
            uint8_t want[4] = {0, 0, 0, 0};
            if (picture.At(x, y)[3] != 0)
                std::copy(picture.At(x, y), picture.At(x, y) + 4, want);
            if (want[0] == 1)
                want[0] = 0;
            ASSERT_EQ(std::vector<uint8_t>(got, got + 4), std::vector<uint8_t>(want, want + 4)) << "at " << x << ", " << y;
        }
}

}  // namespace
