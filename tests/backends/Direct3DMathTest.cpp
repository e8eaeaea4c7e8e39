// The Direct3D back end's arithmetic: colours, vertex lists with their
// half-pixel shift, the batch chunks, the buffer stretch and the screen read.
#include <gtest/gtest.h>

#include <vector>

#include "engine/Direct3DMath.h"

namespace {

TEST(Direct3DMath, ColoursSwapRedAndBlueAndKeepAlpha) {
    const struct {
        uint32_t rgba;
        uint32_t d3d;
    } cases[] = {
        {0x80FF0000u, 0x800000FFu},  // blue at half alpha
        {0xFF0000FFu, 0xFFFF0000u},  // opaque red
        {0x11223344u, 0x11443322u},
        {0xFF000000u, 0xFF000000u},
        {0x00FFFFFFu, 0x00FFFFFFu},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ToD3DColor(c.rgba), c.d3d) << std::hex << c.rgba;
}

TEST(Direct3DMath, ErrorTextShowsTheCodeInLowerCaseHexWithoutLeadingZeros) {
    EXPECT_EQ(D3DErrorText("Failed to create device", 0x8876086Cu),
              "Failed to create device (error code 0x8876086c)");
    EXPECT_EQ(D3DErrorText("Failed to get device caps", 0x1u), "Failed to get device caps (error code 0x1)");
}

TEST(Direct3DMath, RectanglesHaveNoHalfPixelShift) {
    ScreenVertex v[4];
    RectangleStrip(0xFF112233u, 10, 20, 30, 40, v);
    const float expected[4][4] = {{10, 20, 0, 0}, {40, 20, 1, 0}, {10, 60, 0, 1}, {40, 60, 1, 1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(v[i].x, expected[i][0]);
        EXPECT_FLOAT_EQ(v[i].y, expected[i][1]);
        EXPECT_FLOAT_EQ(v[i].u, expected[i][2]);
        EXPECT_FLOAT_EQ(v[i].v, expected[i][3]);
        EXPECT_EQ(v[i].color, 0xFF112233u);
        EXPECT_EQ(v[i].z, 0.0f);
        EXPECT_EQ(v[i].rhw, 1.0f);
    }
}

TEST(Direct3DMath, TrianglesAreShiftedByHalfAPixelAndKeepTheirCornerColours) {
    const uint32_t colors[3] = {1, 2, 3};
    const float points[6] = {0, 0, 10, 0, 0, 10};
    ScreenVertex v[3];
    TriangleVertices(colors, points, v);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(v[i].x, points[2 * i] - 0.5f);
        EXPECT_FLOAT_EQ(v[i].y, points[2 * i + 1] - 0.5f);
        EXPECT_EQ(v[i].color, colors[i]);
    }
}

TEST(Direct3DMath, SpriteStripMapsTopOfPictureToTheLastTextureRow) {
    // Source (8, 0, 16, 8) of a 32 x 32 picture: its top quarter-strip, which
    // is stored last since decoded rows run bottom-up.
    const TexCoords c = SourceTexCoords(32, 32, 8, 0, 16, 8);
    const uint32_t colors[4] = {0xA, 0xB, 0xC, 0xD};
    ScreenVertex v[4];
    SpriteStrip(100, 50, 64, 32, c, colors, v);
    const float expected[4][4] = {
        {99.5f, 49.5f, 0.25f, 1.0f}, {163.5f, 49.5f, 0.75f, 1.0f}, {99.5f, 81.5f, 0.25f, 0.75f},
        {163.5f, 81.5f, 0.75f, 0.75f}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(v[i].x, expected[i][0]) << i;
        EXPECT_FLOAT_EQ(v[i].y, expected[i][1]) << i;
        EXPECT_FLOAT_EQ(v[i].u, expected[i][2]) << i;
        EXPECT_FLOAT_EQ(v[i].v, expected[i][3]) << i;
        EXPECT_EQ(v[i].color, colors[i]);
    }
}

TEST(Direct3DMath, BatchIsOneTriangleListOfSixVerticesAQuad) {
    const BatchQuad quads[2] = {{0, 0, 16, 16, 512, 128, 16, 0, 16, 16}, {8, 0, 16, 16, 512, 128, 32, 16, 16, 16}};
    std::vector<ScreenVertex> v;
    BatchTriangles(quads, 2, 0xFF00FF00u, v);
    ASSERT_EQ(v.size(), 12u);
    // First quad: corners top-left, top-right, bottom-right, top-left,
    // bottom-right, bottom-left, each shifted by half a pixel.
    const float corners[6][2] = {{-0.5f, -0.5f}, {15.5f, -0.5f}, {15.5f, 15.5f},
                                 {-0.5f, -0.5f}, {15.5f, 15.5f}, {-0.5f, 15.5f}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_FLOAT_EQ(v[i].x, corners[i][0]) << i;
        EXPECT_FLOAT_EQ(v[i].y, corners[i][1]) << i;
        EXPECT_EQ(v[i].color, 0xFF00FF00u);
    }
    EXPECT_FLOAT_EQ(v[0].u, 16.0f / 512);
    EXPECT_FLOAT_EQ(v[0].v, 1.0f);
    EXPECT_FLOAT_EQ(v[2].v, 1.0f - 16.0f / 128);
    // Second quad starts where its own record says.
    EXPECT_FLOAT_EQ(v[6].x, 7.5f);
    EXPECT_FLOAT_EQ(v[6].u, 32.0f / 512);
    EXPECT_FLOAT_EQ(v[6].v, 1.0f - 16.0f / 128);

    BatchTriangles(quads, 0, 0, v);
    EXPECT_TRUE(v.empty());
    BatchTriangles(quads, -1, 0, v);
    EXPECT_TRUE(v.empty());
}

TEST(Direct3DMath, BatchChunksNeverOverrunTheVertexBuffer) {
    const struct {
        int count;
        std::vector<int> chunks;
    } cases[] = {
        {0, {}},
        {-3, {}},
        {2, {}},
        {7, {6}},  // the seventh vertex is not drawn
        {15000, {15000}},
        {15003, {15000, 3}},
        {30001, {15000, 15000}},
        {45005, {15000, 15000, 15000, 3}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BatchChunks(c.count), c.chunks) << c.count;
}

TEST(Direct3DMath, BatchVerticesKeepPositionAndColourOnly) {
    const ScreenVertex in[2] = {{1, 2, 9, 9, 0x80FF0000u, 7, 7}, {3, 4, -1, 0, 0x11223344u, 1, 1}};
    ScreenVertex out[2];
    CopyBatchVertices(in, 2, out);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(out[i].x, in[i].x);
        EXPECT_EQ(out[i].y, in[i].y);
        EXPECT_EQ(out[i].color, in[i].color);  // taken as ARGB, unchanged
        EXPECT_EQ(out[i].z, 0.0f);
        EXPECT_EQ(out[i].rhw, 1.0f);
        EXPECT_EQ(out[i].u, 0.0f);
        EXPECT_EQ(out[i].v, 0.0f);
    }
}

TEST(Direct3DMath, BufferDestinationClampsRightAndBottomToTheClient) {
    const struct {
        float x, y, w, h;
        IntRect expected;
    } cases[] = {
        {100, 0, 2000, 500, {100, 0, 1000, 500}},
        {0, 100, 500, 2000, {0, 100, 500, 800}},
        {10.7f, 5.9f, 20.7f, 10.9f, {10, 5, 30, 15}},  // truncated before adding
        {-50, -20, 100, 100, {-50, -20, 50, 80}},      // left and top stay
    };
    for (const auto& c : cases) {
        const IntRect r = BufferDestination(c.x, c.y, c.w, c.h, 1000, 800);
        EXPECT_EQ(r, c.expected) << c.x << "," << c.y;
    }
}

TEST(Direct3DMath, EmptyOrInvertedStretchesAreSkipped) {
    const struct {
        IntRect destination;
        int sourceWidth, sourceHeight;
        bool stretchable;
    } cases[] = {
        {{0, 0, 544, 416}, 544, 416, true},
        {{1200, 0, 1000, 416}, 544, 416, false},  // view right of a narrow window
        {{0, 900, 544, 800}, 544, 416, false},    // below a short one
        {{10, 10, 10, 20}, 544, 416, false},      // no width
        {{0, 0, 544, 416}, 0, 416, false},        // nothing to copy
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsStretchable(c.destination, c.sourceWidth, c.sourceHeight), c.stretchable)
            << c.destination.left << "," << c.destination.top;
}

// A 4 x 3 display whose pixel (x, y) is B = x, G = y, R = 100 + 10 y + x, A = 255,
// with padding at the end of each row.
std::vector<uint8_t> TestScreen(int& pitch) {
    pitch = 4 * 4 + 8;
    std::vector<uint8_t> screen(size_t(pitch) * 3, 0xEE);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            uint8_t* p = &screen[size_t(y) * pitch + size_t(x) * 4];
            p[0] = uint8_t(x);
            p[1] = uint8_t(y);
            p[2] = uint8_t(100 + 10 * y + x);
            p[3] = 255;
        }
    return screen;
}

TEST(Direct3DMath, ScreenReadGivesRgbRowsBottomUp) {
    int pitch;
    const std::vector<uint8_t> screen = TestScreen(pitch);
    uint8_t block[6];
    CopyScreenPixels(screen.data(), pitch, 4, 3, 0, 0, 2, 1, block);
    EXPECT_EQ(std::vector<uint8_t>(block, block + 6), (std::vector<uint8_t>{100, 0, 0, 101, 0, 1}));

    uint8_t tall[2 * 2 * 3];
    CopyScreenPixels(screen.data(), pitch, 4, 3, 2, 1, 2, 2, tall);
    // First block row is the bottom row of the rectangle (screen row 2).
    EXPECT_EQ(std::vector<uint8_t>(tall, tall + 12),
              (std::vector<uint8_t>{122, 2, 2, 123, 2, 3, 112, 1, 2, 113, 1, 3}));
}

TEST(Direct3DMath, ScreenReadLeavesOffDisplayPixelsBlack) {
    int pitch;
    const std::vector<uint8_t> screen = TestScreen(pitch);
    // A 3 x 2 rectangle from (-1, 2): only screen pixels (0, 2) and (1, 2) exist.
    std::vector<uint8_t> block(3 * 2 * 3, 0xAB);
    CopyScreenPixels(screen.data(), pitch, 4, 3, -1, 2, 3, 2, block.data());
    const std::vector<uint8_t> expected = {
        0, 0, 0, 0, 0, 0, 0, 0, 0,          // block row 0: screen row 3, off the display
        0, 0, 0, 120, 2, 0, 121, 2, 1,      // block row 1: screen row 2
    };
    EXPECT_EQ(block, expected);
}

}  // namespace
