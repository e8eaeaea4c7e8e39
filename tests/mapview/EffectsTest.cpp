// Effects and projectiles, floating texts, and the light they give.
#include <gtest/gtest.h>

#include "engine/Font.h"
#include "tests/mapview/MapViewFixture.h"
#include "tests/support/DrawnText.h"
#include "world/FloatingTexts.h"
#include "world/LightMap.h"

namespace {

class EffectsTest : public ::testing::Test, public MapViewFixture {
protected:
    EffectsTest() {
        map.viewX = 100;
        map.viewY = 50;
        map.camera->x = 40;  // nothing followed: the stored origin
        map.camera->y = 40;
    }
};

TEST_F(EffectsTest, AnItemAnimationLastsFiftyMillisecondsAFramePlusAQuarterSecond) {
    const struct {
        int frames;
        uint32_t asked, lasts;
    } cases[] = {
        {6, 400, 550}, {20, 400, 800}, {3, 400, 400}, {4, 400, 450}, {0, 400, 400}, {6, 1000, 1000}, {6, 399, 399},
    };
    for (const auto& c : cases) {
        Record(4100)->animationFrames = uint8_t(c.frames);
        effects.AddEffect(1, 2, 7, 4100, c.asked);
        EXPECT_EQ(effects.records.back().duration, c.lasts) << c.frames << " frames, " << c.asked << " ms";
    }
    effects.AddEffect(1, 2, 7, 4999, 400);  // no record
    EXPECT_EQ(effects.records.back().duration, 400u);
}

TEST_F(EffectsTest, ProjectilesFlySeventyMillisecondsASquareFacingTheirWay) {
    Sprites({4200, 4201, 4202, 4203});
    Record(4200);  // one picture a direction, no animation
    const struct {
        int toX, toY;
        uint32_t lasts;
        int sprite;
    } cases[] = {
        {43, 44, 350, 4203},  // 3 east, 4 south: 5 squares
        {40, 38, 140, 4202},  // straight north
        {40, 42, 140, 4200},  // straight south
        {37, 40, 210, 4201},  // west
        {41, 37, 221, 4203},  // east and north: east wins
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sprite);
        effects.Clear();
        effects.AddProjectile(40, 40, 7, c.toX, c.toY, 4200);
        EXPECT_EQ(effects.records.back().duration, c.lasts);
        EXPECT_EQ(effects.records.back().angle, -1.0f);  // not OpenGL
        test.engine()->Clear();
        effects.Draw(7);
        const auto drawn = DrawnSprites();
        ASSERT_EQ(drawn.size(), 1u);
        EXPECT_EQ(drawn[0].id, c.sprite);
    }
}

TEST_F(EffectsTest, AProjectileGlidesFromItsFirstMillisecond) {
    Sprites({4200, 4201, 4202, 4203});
    effects.AddProjectile(40, 40, 7, 43, 44, 4200);  // 350 ms
    std::vector<std::pair<int, int>> places;
    for (uint32_t step : {0u, 1u, 174u, 174u}) {
        Advance(step);
        test.engine()->Clear();
        effects.Draw(7);
        const auto drawn = DrawnSprites();
        ASSERT_EQ(drawn.size(), 1u);
        places.push_back({drawn[0].x, drawn[0].y});
    }
    // At 0 ms it stands on its source; after 1 ms it has barely moved; at
    // half its time it is half-way; at the end it is gone.
    EXPECT_EQ(places[0], std::make_pair(100, 50));
    EXPECT_EQ(places[1], std::make_pair(100, 50));
    EXPECT_EQ(places[2], std::make_pair(100 + 48, 50 + 64));  // half of 3 and 4 squares
    EXPECT_EQ(places[3].first, 100 + 95);
    Advance(1);
    test.engine()->Clear();
    effects.Draw(7);
    EXPECT_TRUE(effects.records.empty());
}

TEST_F(EffectsTest, OnOpenGLMarkedProjectilesTurnTowardTheirTarget) {
    Sprites({4200, 4201, 4202, 4203, 4210, 4211});
    Record(4200)->flags = kItemRotatedProjectile;
    ItemRecord* ball = Record(4210);
    ball->flags = kItemUndirectedProjectile | kItemRotatedProjectile;
    ball->animationFrames = 1;
    effects.AddProjectile(40, 40, 7, 40, 45, 4200);
    EXPECT_EQ(effects.records.back().angle, -1.0f);  // Direct3D: never turned
    test.app->engineType = kEngineOpenGL;
    effects.AddProjectile(40, 40, 7, 40, 45, 4200);
    EXPECT_FLOAT_EQ(effects.records.back().angle, 90.0f);
    effects.AddProjectile(40, 40, 7, 40, 45, 4210);
    SpriteId(nullptr);  // every sprite made before the calls are looked at
    test.engine()->Clear();
    effects.Draw(7);
    const auto sprites = test.engine()->Calls("RenderSprite");
    ASSERT_EQ(sprites.size(), 3u);
    // The turned one is drawn about its centre with direction 3's picture.
    EXPECT_EQ(SpriteId(sprites[1]->sprite), 4203);
    EXPECT_EQ(sprites[1]->args[10], 90);
    EXPECT_EQ(sprites[1]->args[0], 100 + 16);
    // One picture for every direction: the turn is dropped for good.
    EXPECT_EQ(SpriteId(sprites[2]->sprite), 4210);
    EXPECT_EQ(effects.records.back().angle, -1.0f);
    Advance(250);
    test.engine()->Clear();
    effects.Draw(7);
    EXPECT_EQ(SpriteId(test.engine()->Calls("RenderSprite")[2]->sprite), 4211);  // frame every 250 ms
}

TEST_F(EffectsTest, AnEffectShowsItsFramesEvenlyAndExpiresOnAnyFloor) {
    Sprites({4100, 4101, 4102, 4103, 4104});
    Record(4100)->animationFrames = 4;
    effects.AddEffect(40, 40, 7, 4100, 500);
    effects.AddEffect(40, 40, 6, 4100, 100);  // on a floor that is not drawn
    const struct {
        uint32_t at;
        int frame;
    } cases[] = {{0, 0}, {99, 0}, {100, 1}, {250, 2}, {399, 3}, {400, 4}, {499, 4}};
    uint32_t now = 0;
    for (const auto& c : cases) {
        Advance(c.at - now);
        now = c.at;
        test.engine()->Clear();
        effects.Draw(7);
        const auto drawn = DrawnSprites();
        ASSERT_EQ(drawn.size(), 1u) << c.at;
        EXPECT_EQ(drawn[0].id, 4100 + c.frame) << c.at;
        if (c.at >= 100) {
            EXPECT_EQ(effects.records.size(), 1u) << "the expired effect of floor 6 is gone";
        }
    }
}

TEST_F(EffectsTest, AZeroLengthEffectIsDroppedWithoutDividing) {
    Sprites({4100});
    Record(4100)->animationFrames = 4;
    effects.AddEffect(40, 40, 7, 4100, 0);
    effects.AddProjectile(40, 40, 7, 40, 40, 4100);  // no distance: 0 ms
    effects.Draw(7);
    EXPECT_TRUE(effects.records.empty());
    EXPECT_TRUE(DrawnSprites().empty());
}

TEST_F(EffectsTest, LightGivingEffectsShrinkOverTheirLife) {
    Record(4110)->flags = kItemLightSource;
    effects.AddEffect(41, 42, 7, 4110, 400);
    effects.AddEffect(41, 42, 7, 4100, 400);  // no light
    auto lights = map.CollectDynamicLights();
    ASSERT_EQ(lights.size(), 1u);
    EXPECT_FLOAT_EQ(lights[0].x, 1 * 16 + 8);
    EXPECT_FLOAT_EQ(lights[0].y, 2 * 16 + 8);
    EXPECT_FLOAT_EQ(lights[0].radius, 48);
    Advance(300);
    lights = map.CollectDynamicLights();
    ASSERT_EQ(lights.size(), 1u);
    EXPECT_FLOAT_EQ(lights[0].radius, 12);
    Advance(100);
    EXPECT_TRUE(map.CollectDynamicLights().empty());
}

TEST_F(EffectsTest, CreaturesLightTheirRadiusOnTheCameraFloorOnly) {
    const struct {
        int lightByte, z;
        bool lit;
    } cases[] = {{6, 7, true}, {13, 7, true}, {14, 7, false}, {0, 7, false}, {255, 7, false}, {6, 6, false}};
    uint32_t id = 10;
    for (const auto& c : cases) {
        Creature* creature = AddCreature(id++, 42, 43, c.z);
        creature->lightByte = c.lightByte;
        const auto lights = map.CollectDynamicLights();
        ASSERT_EQ(lights.size(), c.lit ? 1u : 0u) << c.lightByte;
        if (c.lit) {
            EXPECT_FLOAT_EQ(lights[0].radius, c.lightByte * 16.0f);
            EXPECT_FLOAT_EQ(lights[0].x, 2 * 16 + 8);
        }
        map.RemoveCreature(creature->id);
    }
}

TEST_F(EffectsTest, TilesWithALightAreCollectedForTheLightMap) {
    ItemRecord* torch = Record(5900);
    torch->flags = kItemLightSource;
    Put(43, 45, 7, {5900});
    map.CollectLightSources();
    const auto& sources = LightMap::Instance()->sources;
    ASSERT_EQ(sources.size(), 1u);
    EXPECT_EQ(sources[0].dx, 3);
    EXPECT_EQ(sources[0].dy, 5);
    EXPECT_EQ(sources[0].radius, 6);
    EXPECT_EQ(sources[0].red, 80);
    EXPECT_EQ(LightMap::Instance()->dirty, 1);
}

class FloatingTextsTest : public EffectsTest {
protected:
    FloatingTextsTest() {
        test.LoadFont();
        texts.map = &map;
    }
    DrawnText Only() {
        const auto drawn = DrawnTexts(*test.engine(), test.app->font->sheet);
        EXPECT_EQ(drawn.size(), 1u);
        return drawn.empty() ? DrawnText() : drawn[0];
    }
    FloatingTexts texts;
};

TEST_F(FloatingTextsTest, ColoursByType) {
    const struct {
        int type;
        uint32_t colour;
    } cases[] = {{1, 0xFF1414DC}, {2, 0xFFFFFFFF}, {3, 0xFF14DC14}, {4, 0xFFCD6932}, {0, 0xFF000000}, {9, 0xFF000000}};
    for (const auto& c : cases) {
        texts.Clear();
        texts.Add(41, 42, c.type, "12");
        test.engine()->Clear();
        texts.Draw();
        EXPECT_EQ(Only().color, c.colour) << c.type;
    }
}

TEST_F(FloatingTextsTest, ATextRisesFadesAndGoes) {
    texts.Add(41, 42, 3, "+25");
    const int width = test.app->font->GetTextWidth("+25");
    const float x = float(1 * 32 + 100 + 32 / 3 - width / 2);
    const float y = float(2 * 32 + 50 + 32 / 3);
    const struct {
        uint32_t at;
        float rise;
        uint32_t alpha;
    } cases[] = {{0, 0, 255}, {500, 25, 255}, {765, 38, 255}, {766, 38, 254}, {900, 45, 120}, {1019, 50, 1}};
    uint32_t now = 0;
    for (const auto& c : cases) {
        Advance(c.at - now);
        now = c.at;
        test.engine()->Clear();
        texts.Draw();
        const DrawnText text = Only();
        EXPECT_EQ(text.x, x) << c.at;
        EXPECT_EQ(text.y, y - c.rise) << c.at;
        EXPECT_EQ(text.color >> 24, c.alpha) << c.at;
    }
    Advance(1);
    texts.Draw();
    EXPECT_TRUE(texts.records.empty());
}

}  // namespace
