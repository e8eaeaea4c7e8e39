// The drawing facade: size defaults, tiling, boxes and the current colour.
#include <gtest/gtest.h>

#include "engine/Graphics.h"
#include "engine/SpriteStore.h"
#include "tests/support/TestApp.h"

namespace {

class GraphicsTest : public ::testing::Test {
protected:
    GraphicsTest() {
        GfxWriter writer;
        writer.Put(1, GfxImage(32, 32));
        GfxImage opaque(32, 32);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                opaque.Set(x, y, 0xFF336699);
        writer.Put(2, opaque);
        writer.Put(3, GfxImage(0, 5));
        test.LoadSprites(writer);
        sprite = test.app->sprites->GetSprite(2);
        test.engine()->Clear();
    }

    TestApp test;
    Graphics& graphics() { return *test.app->graphics; }
    Sprite* sprite = nullptr;
};

TEST_F(GraphicsTest, SpriteSizeDefaultsNeedBothValuesZero) {
    ASSERT_NE(sprite, nullptr);
    graphics().RenderSprite(sprite, 5, 6);
    graphics().RenderSprite(sprite, 5, 6, 0, 10);
    graphics().RenderSprite(sprite, 5, 6, 64, 64, 0, 0, 8, 8, 16, 0);
    graphics().RenderSprite(nullptr, 5, 6);
    EXPECT_EQ(test.engine()->Log(),
              (std::vector<std::string>{
                  "RenderSprite(sprite 1, 5, 6, 32, 32, 32, 32, 0, 0, 32, 32, 0, 0)",
                  "RenderSprite(sprite 1, 5, 6, 0, 10, 32, 32, 0, 0, 32, 32, 0, 0)",
                  "RenderSprite(sprite 1, 5, 6, 64, 64, 32, 32, 8, 8, 16, 0, 0, 0)",
              }));
}

TEST_F(GraphicsTest, TiledSpriteCutsTheLastColumnAndRow) {
    graphics().RenderSpriteTiled(sprite, 10, 20, 70, 40);
    EXPECT_EQ(test.engine()->Log(),
              (std::vector<std::string>{
                  "RenderSprite(sprite 1, 10, 20, 32, 32, 32, 32, 0, 0, 32, 32, 0, 0)",
                  "RenderSprite(sprite 1, 10, 52, 32, 8, 32, 32, 0, 0, 32, 8, 0, 0)",
                  "RenderSprite(sprite 1, 42, 20, 32, 32, 32, 32, 0, 0, 32, 32, 0, 0)",
                  "RenderSprite(sprite 1, 42, 52, 32, 8, 32, 32, 0, 0, 32, 8, 0, 0)",
                  "RenderSprite(sprite 1, 74, 20, 6, 32, 32, 32, 0, 0, 6, 32, 0, 0)",
                  "RenderSprite(sprite 1, 74, 52, 6, 8, 32, 32, 0, 0, 6, 8, 0, 0)",
              }));
}

TEST_F(GraphicsTest, TilingDrawsNothingForEmptyAreasAndZeroSizedSprites) {
    graphics().RenderSpriteTiled(sprite, 0, 0, 0, 40);
    graphics().RenderSpriteTiled(sprite, 0, 0, -5, 40);
    Sprite empty(0, 0);
    graphics().RenderSpriteTiled(&empty, 0, 0, 100, 100);
    graphics().RenderSkin(3, 0, 0, 100, 100);  // a 0 x 5 record makes no sprite
    graphics().RenderSkin(19999, 0, 0, 100, 100);
    EXPECT_TRUE(test.engine()->calls.empty());
}

TEST_F(GraphicsTest, BoxFillNeedsAlpha) {
    graphics().RenderBox(10, 20, 100, 50, 0xFFFFFFFF, 0xFF000000, 0x00FFFFFF);
    EXPECT_EQ(test.engine()->Log(), (std::vector<std::string>{
                                        "RenderRectangle(0xffffffff, 10, 20, 100, 1)",
                                        "RenderRectangle(0xffffffff, 10, 21, 1, 48)",
                                        "RenderRectangle(0xff000000, 10, 69, 100, 1)",
                                        "RenderRectangle(0xff000000, 109, 21, 1, 48)",
                                    }));
    test.engine()->Clear();
    graphics().RenderBox(10, 20, 100, 50, 0xFFFFFFFF, 0xFF000000, 0x01FFFFFF);
    ASSERT_EQ(test.engine()->calls.size(), 5u);
    EXPECT_EQ(test.engine()->calls[4].text, "RenderRectangle(0x01ffffff, 11, 21, 98, 48)");
}

TEST_F(GraphicsTest, SetColorIsStoredEvenWhenTheBackEndIgnoresIt) {
    graphics().SetColor(0x80112233);
    EXPECT_EQ(graphics().GetColor(), 0x80112233u);
    EXPECT_EQ(test.engine()->Log(), (std::vector<std::string>{"SetColor(0x80112233)"}));
}

TEST(GraphicsWithoutEngine, DrawsNothingAndFailsBeginScene) {
    TestApp test(0);
    EXPECT_FALSE(test.app->graphics->BeginScene());
    test.app->graphics->RenderRectangle(0xFFFFFFFF, 0, 0, 10, 10);
}

}  // namespace
