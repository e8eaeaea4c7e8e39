// Clocks, key state, cursors and folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/Clock.h"
#include "engine/Cursor.h"
#include "engine/Folders.h"
#include "engine/Sprite.h"
#include "engine/WindowMessages.h"
#include "tests/support/TestApp.h"

namespace {

TEST(Clocks, CountFromTheirFirstCall) {
    FakePlatform platform;
    EXPECT_EQ(GetTicks(), 0u);
    EXPECT_EQ(GetMilliseconds(), 0u);
    platform.clock.Advance(250);
    EXPECT_EQ(GetTicks(), 250u);
    EXPECT_EQ(GetMilliseconds(), 250u);
}

TEST(Clocks, TicksWrapLikeTheSystemCounter) {
    FakePlatform platform;
    platform.clock.ticks = 0xFFFFFF00u;
    EXPECT_EQ(GetTicks(), 0u);
    platform.clock.Advance(0x200);
    EXPECT_EQ(GetTicks(), 0x200u);
}

TEST(Clocks, MillisecondsMultiplyBeforeDividing) {
    // A counter of 10 MHz: 1234 counts short of a second would read 0 if the
    // division came first.
    FakePlatform platform;
    platform.clock.frequency = 10000000;
    EXPECT_EQ(GetMilliseconds(), 0u);
    platform.clock.counter += 9998766;
    EXPECT_EQ(GetMilliseconds(), 999u);
    platform.clock.counter += 3u * 10000000;
    EXPECT_EQ(GetMilliseconds(), 3999u);
}

TEST(KeyState, NoKeyIsDownWhileTheWindowHasNoFocus) {
    TestApp test;
    test.platform.keys.down = {0x41};
    EXPECT_TRUE(test.app->IsKeyDown(0x41));
    EXPECT_FALSE(test.app->IsKeyDown(0x42));
    test.app->HandleMessage(wm::kKillFocus, 0, 0);
    EXPECT_FALSE(test.app->IsKeyDown(0x41));
    test.app->HandleMessage(wm::kSetFocus, 0, 0);
    EXPECT_TRUE(test.app->IsKeyDown(0x41));
}

TEST(Cursors, KindIsStoredEvenWithoutASystemCursor) {
    TestApp test;
    for (int kind : {3, 0, 7, -2, 5}) {
        test.app->SetCursor(kind);
        EXPECT_EQ(test.app->cursorKind, kind);
    }
    test.app->UseCursor(nullptr);
    EXPECT_EQ(test.app->cursorKind, 5);
}

// A decoded image whose every pixel has the given red byte.
SpriteRecord CursorImage(int width, int height, uint8_t red) {
    SpriteRecord image;
    image.width = uint16_t(width);
    image.height = uint16_t(height);
    image.pixels.reset(new uint8_t[size_t(width) * height * 4]());
    for (size_t i = 0; i < size_t(width) * height; ++i)
        image.pixels[i * 4 + 2] = red;
    return image;
}

void SetRed(SpriteRecord& image, int row, int column, uint8_t red) {
    image.pixels[(size_t(row) * image.width + size_t(column)) * 4 + 2] = red;
}

struct Planes {
    std::vector<uint8_t> andPlane = std::vector<uint8_t>(kCursorPlaneBytes);
    std::vector<uint8_t> xorPlane = std::vector<uint8_t>(kCursorPlaneBytes);
};

Planes Build(const SpriteRecord& image) {
    Planes planes;
    BuildCursorPlanes(image, planes.andPlane.data(), planes.xorPlane.data());
    return planes;
}

TEST(Cursors, PlanesFromTheRedByte) {
    // 128 lets the screen show through, 255 is white, anything else black.
    struct Case {
        uint8_t red;
        uint8_t andByte, xorByte;
    };
    for (const Case& c : {Case{128, 0xFF, 0x00}, Case{255, 0x00, 0xFF}, Case{0, 0x00, 0x00}, Case{127, 0x00, 0x00},
                          Case{254, 0x00, 0x00}}) {
        SCOPED_TRACE(int(c.red));
        const Planes planes = Build(CursorImage(32, 32, c.red));
        EXPECT_EQ(planes.andPlane, std::vector<uint8_t>(kCursorPlaneBytes, c.andByte));
        EXPECT_EQ(planes.xorPlane, std::vector<uint8_t>(kCursorPlaneBytes, c.xorByte));
    }
}

TEST(Cursors, BitsRunFromTheHighBitInMemoryRowOrder) {
    SpriteRecord image = CursorImage(32, 32, 128);
    SetRed(image, 0, 0, 255);    // first pixel in memory: row 0, high bit of byte 0
    SetRed(image, 5, 9, 0);      // row 5, byte 1, bit 0x40
    SetRed(image, 31, 31, 255);  // last pixel: low bit of the last byte
    const Planes planes = Build(image);
    EXPECT_EQ(planes.andPlane[0], 0x7F);
    EXPECT_EQ(planes.xorPlane[0], 0x80);
    EXPECT_EQ(planes.andPlane[5 * 4 + 1], 0xBF);
    EXPECT_EQ(planes.xorPlane[5 * 4 + 1], 0x00);
    EXPECT_EQ(planes.andPlane[127], 0xFE);
    EXPECT_EQ(planes.xorPlane[127], 0x01);

    // A larger image gives its first 32 columns of the first 32 rows.
    SpriteRecord wide = CursorImage(64, 40, 128);
    SetRed(wide, 1, 0, 255);
    SetRed(wide, 0, 32, 255);  // outside the cursor
    const Planes widePlanes = Build(wide);
    EXPECT_EQ(widePlanes.xorPlane[4], 0x80);
    EXPECT_EQ(std::count(widePlanes.xorPlane.begin(), widePlanes.xorPlane.end(), 0), kCursorPlaneBytes - 1);
}

TEST(Cursors, OnlyFromADecodedImageOfAtLeast32By32) {
    TestApp test;
    SpriteRecord small = CursorImage(31, 32, 128);
    SpriteRecord low = CursorImage(32, 31, 128);
    SpriteRecord undecoded;
    undecoded.width = 32;
    undecoded.height = 32;
    for (SpriteRecord* image : {static_cast<SpriteRecord*>(nullptr), &small, &low, &undecoded})
        EXPECT_EQ(test.app->CreateCursor(image, 0, 0), nullptr);

    SpriteRecord fine = CursorImage(32, 32, 255);
    CursorHandle* cursor = test.app->CreateCursor(&fine, 3, 4);
    ASSERT_NE(cursor, nullptr);
    test.app->UseCursor(cursor);
    EXPECT_EQ(test.app->cursorKind, -1);
    DeleteCursorHandle(cursor);
    DeleteCursorHandle(nullptr);
}

TEST(Folders, AppDataFolderEndsInTheProgramsFolder) {
    const std::string appData = GetAppDataFolder();
    const std::string suffix = "/VelmoraOnline";
    ASSERT_GT(appData.size(), suffix.size());
    EXPECT_EQ(appData.substr(appData.size() - suffix.size()), suffix);
    EXPECT_FALSE(GetFolderPath().empty());
}

#ifndef _WIN32
// The native build's shell knows the folders from HOME.
TEST(Folders, WithoutTheShellsFoldersFilesGoToTheWorkingDirectory) {
    const char* home = std::getenv("HOME");
    const std::string saved = home ? home : "";
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::string savedConfig = config ? config : "";
    unsetenv("HOME");
    unsetenv("XDG_CONFIG_HOME");
    const std::string appData = GetAppDataFolder();
    const std::string desktop = GetFolderPath();
    if (home)
        setenv("HOME", saved.c_str(), 1);
    if (config)
        setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
    EXPECT_EQ(appData, "./VelmoraOnline");
    EXPECT_EQ(desktop, ".");
}
#endif

}  // namespace
