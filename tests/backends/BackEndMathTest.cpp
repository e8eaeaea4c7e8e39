// Arithmetic shared by the back ends: texture coordinates of bottom-up
// pictures, the corners of sprite quads and batches, colours as floats and the
// clip planes.
#include <gtest/gtest.h>

#include <vector>

#include "engine/BackEndMath.h"

namespace {

TEST(BackEndMath, SourceRectanglesMapToBottomUpTextureCoordinates) {
    const struct {
        float textureWidth, textureHeight, sourceX, sourceY, sourceWidth, sourceHeight;
        TexCoords expected;
    } cases[] = {
        {32, 32, 0, 0, 32, 32, {0, 1, 1, 0}},            // whole picture
        {32, 64, 16, 0, 16, 16, {0.5f, 1, 1, 0.75f}},    // top-right corner is the end of the texture
        {32, 64, 0, 48, 8, 16, {0, 0.25f, 0.25f, 0}},    // bottom-left corner is its start
        {1024, 1024, 0, 0, 544, 416, {0, 544.0f / 1024, 1, 1 - 416.0f / 1024}},  // the game screen buffer
    };
    for (const auto& c : cases) {
        const TexCoords t = SourceTexCoords(c.textureWidth, c.textureHeight, c.sourceX, c.sourceY, c.sourceWidth,
                                            c.sourceHeight);
        EXPECT_FLOAT_EQ(t.uLeft, c.expected.uLeft);
        EXPECT_FLOAT_EQ(t.uRight, c.expected.uRight);
        EXPECT_FLOAT_EQ(t.vTop, c.expected.vTop);
        EXPECT_FLOAT_EQ(t.vBottom, c.expected.vBottom);
    }
}

TEST(BackEndMath, SpriteCornersRunFromBottomLeftClockwiseOnScreen) {
    QuadCorner c[4];
    SpriteQuadCorners(10, 20, 16, 8, TexCoords{0.25f, 0.5f, 1.0f, 0.75f}, c);
    const float expected[4][4] = {{0.25f, 0.75f, 10, 28}, {0.25f, 1.0f, 10, 20}, {0.5f, 1.0f, 26, 20},
                                  {0.5f, 0.75f, 26, 28}};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ((std::vector<float>{c[i].u, c[i].v, c[i].x, c[i].y}),
                  std::vector<float>(expected[i], expected[i] + 4))
            << "corner " << i;
}

// A glyph drawn in a batch must land on exactly the pixels and texels it
// gets when drawn alone: the same floats, corner by corner.
TEST(BackEndMath, BatchCornersAreExactlyThoseOfSingleSprites) {
    const BatchQuad quads[] = {
        {10, 22, 16, 16, 512, 128, 128, 16, 16, 16},
        {18.5f, -3, 16, 16, 512, 128, 496, 112, 16, 16},
        {-7, 1000, 32, 8, 300, 7, 3, 1, 11, 5},  // scaled, odd sizes
    };
    std::vector<QuadCorner> corners = {{9, 9, 9, 9}};  // overwritten
    BatchQuadCorners(quads, 3, corners);
    ASSERT_EQ(corners.size(), 12u);
    for (int i = 0; i < 3; ++i) {
        const BatchQuad& q = quads[i];
        QuadCorner alone[4];
        SpriteQuadCorners(q.x, q.y, q.w, q.h,
                          SourceTexCoords(q.textureWidth, q.textureHeight, q.sourceX, q.sourceY, q.sourceWidth,
                                          q.sourceHeight),
                          alone);
        for (int k = 0; k < 4; ++k) {
            const QuadCorner& b = corners[size_t(i) * 4 + size_t(k)];
            EXPECT_TRUE(b.u == alone[k].u && b.v == alone[k].v && b.x == alone[k].x && b.y == alone[k].y)
                << "quad " << i << " corner " << k;
        }
    }
    BatchQuadCorners(quads, 0, corners);
    EXPECT_TRUE(corners.empty());
    BatchQuadCorners(nullptr, 2, corners);
    EXPECT_TRUE(corners.empty());
}

TEST(BackEndMath, ColoursBecomeRedGreenBlueAlphaFloats) {
    float f[4];
    ColorToFloats(0x80FF3300u, f);
    EXPECT_FLOAT_EQ(f[0], 0.0f);
    EXPECT_FLOAT_EQ(f[1], 0x33 / 255.0f);
    EXPECT_FLOAT_EQ(f[2], 1.0f);
    EXPECT_FLOAT_EQ(f[3], 0x80 / 255.0f);
}

TEST(BackEndMath, ClipPlanesKeepExactlyTheClipRectangle) {
    double planes[4][4];
    ClipPlanes(ClipRect{10, 20, 110, 70}, planes);
    auto kept = [&](double x, double y) {
        for (const auto& p : planes)
            if (p[0] * x + p[1] * y + p[3] < 0)
                return false;
        return true;
    };
    EXPECT_TRUE(kept(10, 20));
    EXPECT_TRUE(kept(110, 70));
    EXPECT_TRUE(kept(60, 45));
    EXPECT_FALSE(kept(9.5, 45));
    EXPECT_FALSE(kept(60, 19.5));
    EXPECT_FALSE(kept(110.5, 45));
    EXPECT_FALSE(kept(60, 70.5));
}

}  // namespace
