// Sprite images an engine holds: every image made is freed once, also when a
// sprite is made again (a minimap chunk, a font sheet) or moves to another
// engine, and the counts a long run watches stay true.
#include <gtest/gtest.h>

#include <memory>

#include "engine/Sprite.h"
#include "tests/support/RecordingEngine.h"

namespace {

SpriteRecord Picture(uint16_t width, uint16_t height) {
    SpriteRecord record;
    record.width = width;
    record.height = height;
    record.pixels.reset(new uint8_t[size_t(width) * height * 4]());
    return record;
}

TEST(SpriteImages, MakingASpriteAgainFreesItsOldImage) {
    RecordingEngine engine;
    SpriteRecord record = Picture(4, 4);
    Sprite sprite(4, 4);
    for (int i = 0; i < 3; ++i)
        engine.GenerateSprite(&sprite, &record, false);
    EXPECT_EQ(engine.LiveSprites(), 1u);
    EXPECT_EQ(engine.SpritesMade(), 3u);
    EXPECT_EQ(engine.SpritesFreed(), 2u);
    EXPECT_EQ(engine.spritesReleased, 2);
    EXPECT_EQ(sprite.handle, 3u);
    EXPECT_EQ(sprite.engine, &engine);
}

TEST(SpriteImages, MovingToAnotherEngineFreesTheImageInTheFirst) {
    RecordingEngine first, second;
    SpriteRecord record = Picture(2, 2);
    Sprite sprite(2, 2);
    first.GenerateSprite(&sprite, &record, false);
    second.GenerateSprite(&sprite, &record, false);
    EXPECT_EQ(first.LiveSprites(), 0u);
    EXPECT_EQ(first.SpritesFreed(), 1u);
    EXPECT_EQ(second.LiveSprites(), 1u);
    EXPECT_EQ(sprite.engine, &second);
}

// Outfit frames and minimap chunks are made and deleted all the time: the
// engine's live count comes back to where it was.
TEST(SpriteImages, ChurnLeavesTheLiveCountFlat) {
    RecordingEngine engine;
    SpriteRecord record = Picture(8, 8);
    Sprite kept(8, 8);
    engine.GenerateSprite(&kept, &record, false);
    for (int round = 0; round < 50; ++round) {
        auto frame = std::make_unique<Sprite>(8, 8);
        engine.GenerateSprite(frame.get(), &record, false);
        engine.GenerateSprite(frame.get(), &record, true);
    }
    EXPECT_EQ(engine.LiveSprites(), 1u);
    EXPECT_EQ(engine.SpritesMade(), 101u);
    EXPECT_EQ(engine.SpritesFreed(), 100u);
    EXPECT_EQ(engine.spritesReleased, 100);
}

}  // namespace
