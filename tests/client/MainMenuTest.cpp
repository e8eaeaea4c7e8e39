// The login screen's layout and drawing.
#include <gtest/gtest.h>

#include "client/Client.h"
#include "client/MainMenu.h"
#include "engine/KEngine2.h"
#include "tests/client/ClientFixture.h"
#include "tests/support/RecordingEngine.h"

namespace {

std::vector<std::string> Rects(int width, int height) {
    std::vector<std::string> rects;
    for (const MainMenu::ControlRect& r : MainMenu::LayoutRects(width, height))
        rects.push_back(std::to_string(r.id) + ": " + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
                        std::to_string(r.width) + ", " + std::to_string(r.height));
    return rects;
}

TEST(MainMenuLayout, ControlsStayCentred) {
    EXPECT_EQ(Rects(1000, 700), (std::vector<std::string>{
                                    "11: 326, 331, 348, 25",
                                    "7: 442, 381, 116, 25",
                                    "2: 326, 381, 116, 25",
                                    "261: 558, 381, 116, 25",
                                    "14: 326, 257, 100, 15",
                                    "13: 415, 250, 260, 30",
                                    "15: 326, 297, 100, 15",
                                    "16: 415, 290, 260, 30",
                                }));
    EXPECT_EQ(Rects(2560, 1080), (std::vector<std::string>{
                                     "11: 1106, 521, 348, 25",
                                     "7: 1222, 571, 116, 25",
                                     "2: 1106, 571, 116, 25",
                                     "261: 1338, 571, 116, 25",
                                     "14: 1106, 447, 100, 15",
                                     "13: 1195, 440, 260, 30",
                                     "15: 1106, 487, 100, 15",
                                     "16: 1195, 480, 260, 30",
                                 }));
    // Odd sizes: halves rounded toward zero.
    EXPECT_EQ(Rects(1001, 701)[0], "11: 326, 331, 348, 25");
}

TEST(MainMenuLayout, BackdropCoversTheClientAreaInItsProportions) {
    const struct {
        int width;
        int height;
        MainMenu::BackdropRect rect;
    } cases[] = {
        {1000, 700, {-156, 0, 1312, 700}},
        {2560, 1080, {0, -142, 2560, 1365}},
        {1920, 1024, {0, 0, 1920, 1024}},
        {1920, 1200, {-165, 0, 2250, 1200}},
        {3000, 1000, {0, -300, 3000, 1600}},
    };
    for (const auto& c : cases) {
        const MainMenu::BackdropRect r = MainMenu::Backdrop(c.width, c.height);
        EXPECT_EQ(r.x, c.rect.x) << c.width << "x" << c.height;
        EXPECT_EQ(r.y, c.rect.y) << c.width << "x" << c.height;
        EXPECT_EQ(r.width, c.rect.width) << c.width << "x" << c.height;
        EXPECT_EQ(r.height, c.rect.height) << c.width << "x" << c.height;
    }
}

class MainMenuTest : public ::testing::Test, public ClientFixture {
protected:
    std::vector<std::string> Draw(Client& client) {
        RecordingEngine* engine = static_cast<RecordingEngine*>(client.app->engine);
        // The first draw makes the sprites' images; the second only draws.
        client.menu->DrawNotification();
        engine->Clear();
        client.menu->DrawNotification();
        return engine->Log();
    }
};

TEST_F(MainMenuTest, BackdropLogoAndPanelAt1000x700) {
    Client& client = StartClient();
    const std::vector<std::string> log = Draw(client);
    ASSERT_GE(log.size(), 2u);
    // Sprites are numbered in the order their images were made, the font's first.
    EXPECT_EQ(log[0], "RenderSprite(sprite 2, -156, 0, 1312, 700, 2048, 1024, 0, 0, 1920, 1024, 0, 0)");
    EXPECT_EQ(log[1], "RenderSprite(sprite 3, 300, 160, 400, 100, 40, 10, 0, 0, 40, 10, 0, 0)");
    const std::vector<std::string> tail(log.end() - 18, log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{
                        // the raised double frame around the panel
                        "RenderRectangle(0xff3c3c3c, 305, 230, 390, 1)",
                        "RenderRectangle(0xff3c3c3c, 305, 231, 1, 195)",
                        "RenderRectangle(0xff0a0a0a, 305, 426, 390, 1)",
                        "RenderRectangle(0xff0a0a0a, 694, 231, 1, 195)",
                        "RenderRectangle(0xff3c3c3c, 306, 231, 388, 1)",
                        "RenderRectangle(0xff3c3c3c, 306, 232, 1, 193)",
                        "RenderRectangle(0xff0a0a0a, 306, 425, 388, 1)",
                        "RenderRectangle(0xff0a0a0a, 693, 232, 1, 193)",
                        // sunken frames around "Login" and the row of buttons
                        "RenderRectangle(0xff0a0a0a, 325, 330, 350, 1)",
                        "RenderRectangle(0xff0a0a0a, 325, 331, 1, 25)",
                        "RenderRectangle(0xff3c3c3c, 325, 356, 350, 1)",
                        "RenderRectangle(0xff3c3c3c, 674, 331, 1, 25)",
                        "RenderRectangle(0xff0a0a0a, 325, 380, 350, 1)",
                        "RenderRectangle(0xff0a0a0a, 325, 381, 1, 25)",
                        "RenderRectangle(0xff3c3c3c, 325, 406, 350, 1)",
                        "RenderRectangle(0xff3c3c3c, 674, 381, 1, 25)",
                        // the groove
                        "RenderRectangle(0xff0a0a0a, 325, 367, 350, 1)",
                        "RenderRectangle(0xff3c3c3c, 325, 368, 350, 1)",
                    }));
    // The panel is the skin tiled over (305, 230, 390, 197) in 16-pixel tiles.
    size_t tiles = 0;
    for (const std::string& line : log)
        if (line.rfind("RenderSprite(sprite 4, ", 0) == 0)
            ++tiles;
    EXPECT_EQ(tiles, 25u * 13u);
}

TEST_F(MainMenuTest, BannerOnlyWithANotification) {
    Client& client = StartClient();
    client.menu->notificationText = "";
    const size_t plain = Draw(client).size();

    client.menu->notificationText = "Server restart\nat noon\ntoday";
    client.menu->notificationLines = 3;
    const std::vector<std::string> log = Draw(client);
    ASSERT_GT(log.size(), plain);
    // The box is (cx - 260, cy + 120, 520, (3 + 3) * 16), white at alpha 30
    // around black at alpha 220.
    EXPECT_EQ(log[plain], "RenderRectangle(0x1effffff, 240, 470, 520, 1)");
    EXPECT_EQ(log[plain + 2], "RenderRectangle(0x1effffff, 240, 565, 520, 1)");
    EXPECT_EQ(log[plain + 4], "RenderRectangle(0xdc000000, 241, 471, 518, 94)");
    EXPECT_GT(log.size(), plain + 5);  // the title and the text
}

}  // namespace
