// Screenshots: the file name, the picture turned right side up, and the PNG
// file that the thread writes.
#include <gtest/gtest.h>

#include <filesystem>

#include "client/Client.h"
#include "client/Screenshot.h"
#include "engine/KEngine2.h"
#include "game/GameInterface.h"
#include "game/StatusLine.h"
#include "lodepng.h"
#include "tests/support/ClientFixture.h"
#include "tests/support/RecordingEngine.h"
#include "world/Map.h"

namespace {

namespace fs = std::filesystem;

std::tm Date(int year, int month, int day, int hour, int minute, int second) {
    std::tm time{};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return time;
}

TEST(ScreenshotFileName, NumbersWithoutLeadingZeros) {
    EXPECT_EQ(ScreenshotFileName("shots/", Date(2026, 12, 9, 7, 5, 3), 81234), "shots/9_12_2026_7_5_3_81234.png");
    EXPECT_EQ(ScreenshotFileName("/", Date(2027, 1, 31, 23, 59, 0), 0), "/31_1_2027_23_59_0_0.png");
    EXPECT_EQ(ScreenshotFileName("", Date(2026, 10, 10, 10, 10, 10), 4294967295u),
              "10_10_2026_10_10_10_4294967295.png");
}

TEST(ScreenshotImage, BottomRowFirstBecomesTheLastRowAndOpaque) {
    // Two rows of two pixels; the block's first row is the bottom one.
    const uint8_t block[] = {1, 2, 3, 4, 5, 6,   // bottom
                             7, 8, 9, 10, 11, 12};  // top
    EXPECT_EQ(ScreenshotImage(block, 2, 2),
              (std::vector<uint8_t>{7, 8, 9, 255, 10, 11, 12, 255, 1, 2, 3, 255, 4, 5, 6, 255}));
    EXPECT_TRUE(ScreenshotImage(block, 0, 2).empty());
    EXPECT_TRUE(ScreenshotImage(nullptr, 2, 2).empty());
}

class ScreenshotTest : public ::testing::Test, public ClientFixture {
protected:
    // Takes a screenshot in the game and returns the files in the folder.
    std::vector<std::string> Take(const std::string& sspath, bool shift) {
        Client& client = StartClient("[options]\nfpslimit=0\nsspath=" + sspath + "\n");
        client.StartGame(false);
        client.game->map->viewX = 40;
        client.game->map->viewY = 30;
        client.game->map->tileWidth = 32;  // the view as laid out unstretched
        client.game->map->tileHeight = 32;
        platform.keys.down.clear();
        if (shift)
            platform.keys.down.insert(platform::kVkShift);
        StatusLine::Instance()->statusText.clear();
        engine = static_cast<RecordingEngine*>(client.app->engine);
        engine->Clear();
        client.RequestScreenshot();
        client.JoinScreenshotThreads();
        std::vector<std::string> files;
        if (fs::is_directory(sspath))
            for (const auto& entry : fs::directory_iterator(sspath))
                files.push_back(entry.path().generic_string());
        return files;
    }

    RecordingEngine* engine = nullptr;
};

TEST_F(ScreenshotTest, WholeWindowIsWrittenAsPngRightSideUp) {
    const std::string folder = dir.Path("shots");
    const std::vector<std::string> files = Take(folder, false);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(engine->Log(), (std::vector<std::string>{"ReadScreen(0, 0, 1000, 700)"}));
    EXPECT_EQ(StatusLine::Instance()->statusText, "Saving screenshot...");

    // The name is the local date and time, then the millisecond counter.
    const std::string name = fs::path(files[0]).filename().string();
    EXPECT_EQ(name.substr(name.size() - 4), ".png");
    EXPECT_EQ(std::count(name.begin(), name.end(), '_'), 6);

    std::vector<unsigned char> image;
    unsigned width = 0;
    unsigned height = 0;
    ASSERT_EQ(lodepng::decode(image, width, height, files[0]), 0u);
    ASSERT_EQ(width, 1000u);
    ASSERT_EQ(height, 700u);
    // The recording engine's picture: red = column, green = row counted from
    // the bottom, blue = 7.
    for (unsigned y : {0u, 1u, 350u, 699u}) {
        for (unsigned x : {0u, 5u, 999u}) {
            const unsigned char* p = &image[(size_t(y) * width + x) * 4];
            EXPECT_EQ(p[0], uint8_t(x)) << x << "," << y;
            EXPECT_EQ(p[1], uint8_t(699 - y)) << x << "," << y;
            EXPECT_EQ(p[2], 7) << x << "," << y;
            EXPECT_EQ(p[3], 255) << x << "," << y;
        }
    }
}

TEST_F(ScreenshotTest, ShiftTakesTheMapViewOnly) {
    const std::vector<std::string> files = Take(dir.Path("shots"), true);
    EXPECT_EQ(engine->Log(), (std::vector<std::string>{"ReadScreen(40, 30, 544, 416)"}));
    ASSERT_EQ(files.size(), 1u);
    std::vector<unsigned char> image;
    unsigned width = 0;
    unsigned height = 0;
    ASSERT_EQ(lodepng::decode(image, width, height, files[0]), 0u);
    EXPECT_EQ(width, 544u);
    EXPECT_EQ(height, 416u);
}

TEST_F(ScreenshotTest, OnlyTheLastFolderLevelIsMade) {
    EXPECT_EQ(Take(dir.Path("missing/shots"), false).size(), 0u);
    EXPECT_FALSE(fs::exists(dir.Path("missing")));
}

TEST_F(ScreenshotTest, BackEndWithoutScreenReadShowsAndWritesNothing) {
    noScreenRead = true;
    EXPECT_EQ(Take(dir.Path("shots"), false).size(), 0u);
    EXPECT_EQ(StatusLine::Instance()->statusText, "");
}

}  // namespace
