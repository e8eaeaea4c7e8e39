// Arithmetic shared by the back ends: texture coordinates of bottom-up
// pictures, colours as floats and the clip planes.
#include <gtest/gtest.h>

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
