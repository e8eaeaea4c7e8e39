// The light map's grid (static light of the tiles, dynamic light, smoothing)
// and its three ways of drawing, one per back end.
#include <gtest/gtest.h>

#include <memory>

#include "engine/Direct3DMath.h"
#include "engine/Graphics.h"
#include "tests/support/TestApp.h"
#include "world/LightMap.h"

namespace {

LightFrame Above(int backEnd = 1) {
    LightFrame frame;
    frame.cameraZ = 7;
    frame.backEnd = backEnd;
    frame.originX = 100;
    frame.originY = 50;
    return frame;
}

TEST(LightMap, DaylightDrawsNothingAndNightCoversTheView) {
    const struct {
        int level;
        int z;
        bool drawn;
        float interior;  // darkness of a cell far from the edges
    } cases[] = {
        {0, 7, false, 0},   {1, 7, false, 0},    {2, 7, true, 0.02f},
        {60, 0, true, 0.6f}, {0, 8, true, 1.0f}, {5, 15, true, 1.0f},  // below ground always full dark
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("level " + std::to_string(c.level) + " floor " + std::to_string(c.z));
        TestApp app(kEngineOpenGL);
        auto light = std::make_unique<LightMap>();
        light->SetDarkness(c.level);
        LightFrame frame = Above();
        frame.cameraZ = c.z;
        EXPECT_EQ(light->Update(frame, app.app->graphics, app.app->engine), c.drawn);
        EXPECT_EQ(app.engine()->Count("RenderTriangle"), c.drawn ? 2u * 50 * 42 : 0u);
        if (c.drawn) {
            EXPECT_NEAR(light->outDarkness[20][20], c.interior, 1e-6);
            // Beyond the grid's first row and column it counts as dark.
            EXPECT_NEAR(light->outDarkness[0][0], (5.0f + 4 * c.interior) / 9, 1e-6);
        }
    }
}

TEST(LightMap, StaticSourcesCutColouredPools) {
    auto light = std::make_unique<LightMap>();
    light->frameLevel = 100;
    // A light of radius 6 on the view's top-left tile: its centre is the
    // point of cell (9, 9).
    light->sources = {LightSource{0, 0, 6, 80, 30, 0, 255}};
    light->ComputeStaticLight();
    EXPECT_FLOAT_EQ(light->staticDarkness[9][9], 0.1f);  // never 0, even at the source
    EXPECT_EQ(light->staticColor[9][9], 0xFF001B48u);    // (80, 30, 0) x 0.9, rounded
    // d = distance / 192 + 0.1: lit while below the level's 1.0.
    EXPECT_LT(light->staticDarkness[19][9], 1.0f);  // 5 tiles
    EXPECT_FLOAT_EQ(light->staticDarkness[21][9], 1.0f);  // 6 tiles
    EXPECT_FLOAT_EQ(light->staticDarkness[9][30], 1.0f);
    // The nearest source wins a cell.
    light->sources.push_back(LightSource{10, 0, 6, 0, 0, 90, 255});
    light->ComputeStaticLight();
    EXPECT_EQ(light->staticColor[29][9], 0xFF510000u);
    EXPECT_EQ(light->staticColor[9][9], 0xFF001B48u);
}

TEST(LightMap, SourcesAtTheGridsEdgeWriteOnlyCellsInsideIt) {
    // AddressSanitizer watches the writes; the cells inside still get light.
    auto light = std::make_unique<LightMap>();
    light->frameLevel = 100;
    light->sources = {LightSource{-3, -3, 6, 255, 255, 255, 255}, LightSource{29, 29, 13, 255, 255, 255, 255},
                      LightSource{0, 0, 0, 255, 255, 255, 255}};
    light->ComputeStaticLight();
    EXPECT_LT(light->staticDarkness[0][0], 0.5f);
    EXPECT_LT(light->staticDarkness[59][59], 1.0f);
}

TEST(LightMap, DynamicLightsDarkenNothingAndZeroRadiusGivesNoLight) {
    auto light = std::make_unique<LightMap>();
    light->SetDarkness(100);
    LightFrame frame = Above();
    // A creature's light of radius 3 tiles on the view's top-left tile.
    frame.lights = {DynamicLight{8, 8, 48}, DynamicLight{100, 100, 0}};
    light->Update(frame, nullptr, nullptr);
    EXPECT_FLOAT_EQ(light->frameDarkness[9][9], 0.0f);
    EXPECT_EQ(light->frameColor[9][9], 0xFF000000u);
    EXPECT_FLOAT_EQ(light->frameDarkness[30][30], 1.0f);
    // Only drawn cells take dynamic light.
    frame.lights = {DynamicLight{(50 - 8) * 8, 8, 48}};  // on the point of cell (50, 9)
    light->Update(frame, nullptr, nullptr);
    EXPECT_FLOAT_EQ(light->frameDarkness[50][9], 1.0f);
    EXPECT_LT(light->frameDarkness[49][9], 1.0f);
}

TEST(LightMap, EachBackEndDrawsTheGridItsOwnWay) {
    const LightSource torch{8, 6, 6, 80, 30, 0, 255};
    {
        SCOPED_TRACE("OpenGL: two triangles a cell with the corners' colours");
        TestApp app(kEngineOpenGL);
        auto light = std::make_unique<LightMap>();
        light->SetDarkness(100);
        light->SetLightSources({torch});
        light->Update(Above(1), app.app->graphics, app.app->engine);
        const auto triangles = app.engine()->Calls("RenderTriangle");
        ASSERT_EQ(triangles.size(), 4200u);
        EXPECT_EQ(app.engine()->Count("RenderBatch"), 0u);
        // Cell (0, 0): its square starts 8 cells left of and above the origin.
        EXPECT_EQ(triangles[0]->args[3], 100 - 128);
        EXPECT_EQ(triangles[0]->args[4], 50 - 128);
        EXPECT_EQ(uint32_t(triangles[0]->args[0]), light->CornerColor(0, 0));
    }
    {
        SCOPED_TRACE("Direct3D 9: one batch of every cell, ARGB colours");
        TestApp app(kEngineDirect3D);
        auto light = std::make_unique<LightMap>();
        light->SetDarkness(100);
        light->SetLightSources({torch});
        light->Update(Above(2), app.app->graphics, app.app->engine);
        const auto batches = app.engine()->Calls("RenderBatch");
        ASSERT_EQ(batches.size(), 1u);
        EXPECT_EQ(batches[0]->args[0], 12600);
        ASSERT_EQ(batches[0]->vertices.size(), 12600u);
        EXPECT_LE(batches[0]->vertices.size(), size_t(kBatchVertices));  // one RenderBatch call takes it whole
        EXPECT_EQ(batches[0]->vertices[0].color, ToD3DColor(light->CornerColor(0, 0)));
        EXPECT_FLOAT_EQ(batches[0]->vertices[0].x, 100 - 128 - 0.5f);
        EXPECT_EQ(app.engine()->Count("RenderTriangle"), 0u);
        EXPECT_EQ(app.engine()->Count("RenderRectangle"), 0u);
    }
    {
        SCOPED_TRACE("DirectDraw: opaque black squares where the corner's alpha exceeds 180");
        TestApp app(kEngineDirectDraw);
        auto light = std::make_unique<LightMap>();
        light->SetDarkness(100);
        light->SetLightSources({torch});
        light->Update(Above(3), app.app->graphics, app.app->engine);
        const auto squares = app.engine()->Calls("RenderRectangle");
        size_t expected = 0;
        for (int cx = 0; cx < 50; ++cx)
            for (int cy = 0; cy < 42; ++cy)
                expected += (light->CornerColor(cx, cy) >> 24) > 180;
        EXPECT_EQ(squares.size(), expected);
        EXPECT_LT(expected, 2100u);  // the torch's pool stays open
        EXPECT_GT(expected, 1000u);
        for (const auto* square : squares) {
            EXPECT_EQ(uint32_t(square->args[0]), 0xFF000000u);
            EXPECT_EQ(square->args[3], 16);
        }
        EXPECT_EQ(app.engine()->Count("RenderTriangle") + app.engine()->Count("RenderBatch"), 0u);
    }
}

TEST(LightMap, StaticLightFollowsTheLevelBelowGroundWithoutANewMessage) {
    auto light = std::make_unique<LightMap>();
    light->SetDarkness(40);
    LightFrame frame = Above();
    light->Update(frame, nullptr, nullptr);
    EXPECT_NEAR(light->outDarkness[20][20], 0.4f, 1e-6);
    frame.cameraZ = 8;
    light->Update(frame, nullptr, nullptr);
    EXPECT_NEAR(light->outDarkness[20][20], 1.0f, 1e-6);
}

}  // namespace
