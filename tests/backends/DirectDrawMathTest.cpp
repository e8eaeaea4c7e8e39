// The DirectDraw back end's arithmetic: colour packing, the blit rectangles,
// clip regions, the error box text and colour-keyed sprite pixels.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/DirectDrawMath.h"

namespace {

const PixelMasks kRgb32 = {0xFF0000, 0x00FF00, 0x0000FF};
const PixelMasks kRgb565 = {0xF800, 0x07E0, 0x001F};
const PixelMasks kRgb555 = {0x7C00, 0x03E0, 0x001F};

TEST(DirectDrawMath, ColoursArePackedIntoTheSurfaceFormat) {
    const struct {
        uint8_t r, g, b;
        PixelMasks masks;
        uint32_t expected;
    } cases[] = {
        {0x12, 0x34, 0x56, kRgb32, 0x123456},
        {255, 255, 255, kRgb565, 0xFFFF},
        {0x80, 0x80, 0x80, kRgb565, 0x10u << 11 | 0x20u << 5 | 0x10u},  // top bits kept
        {0x07, 0x03, 0x07, kRgb565, 0},                                  // below one step of each channel
        {255, 0, 255, kRgb555, 0x7C1F},
        {0x12, 0x34, 0x56, {0x0000FF, 0x00FF00, 0xFF0000}, 0x563412},   // blue-green-red order
    };
    for (const auto& c : cases)
        EXPECT_EQ(ToSurfaceColor(c.r, c.g, c.b, c.masks), c.expected) << std::hex << c.expected;
}

TEST(DirectDrawMath, AZeroMaskAddsNothingInsteadOfHanging) {
    EXPECT_EQ(ToSurfaceColor(255, 255, 255, PixelMasks{}), 0u);
    EXPECT_EQ(ToSurfaceColor(0x12, 0x34, 0x56, {0xFF0000, 0, 0xFF}), 0x120056u);
    EXPECT_FALSE(HasRgbMasks(PixelMasks{}));
    EXPECT_FALSE(HasRgbMasks({0xFF0000, 0, 0xFF}));
    EXPECT_TRUE(HasRgbMasks(kRgb565));
}

TEST(DirectDrawMath, TheColourKeyIsFullMagenta) {
    EXPECT_EQ(ColorKey(kRgb32), 0xFF00FFu);
    EXPECT_EQ(ColorKey(kRgb565), 0xF81Fu);
    EXPECT_EQ(ColorKey(kRgb565), ToSurfaceColor(255, 0, 255, kRgb565));
}

TEST(DirectDrawMath, OnlyBlackThatIsNotOpaqueIsTranslucentBlack) {
    EXPECT_TRUE(IsTranslucentBlack(0x80000000u));
    EXPECT_TRUE(IsTranslucentBlack(0x00000000u));
    EXPECT_TRUE(IsTranslucentBlack(0xFE000000u));
    EXPECT_FALSE(IsTranslucentBlack(0xFF000000u));
    EXPECT_FALSE(IsTranslucentBlack(0x80808080u));
    EXPECT_FALSE(IsTranslucentBlack(0x80000001u));
}

TEST(DirectDrawMath, RectanglesAreCutToTheView) {
    const IntRect view = {0, 0, 800, 600};
    const struct {
        float x, y, w, h;
        bool drawn;
        IntRect fill;
    } cases[] = {
        {-10, -10, 30, 30, true, {0, 0, 20, 20}},
        {10.9f, 5.5f, 20.9f, 5, true, {10, 5, 30, 10}},  // each value truncated
        {780, 590, 100, 100, true, {780, 590, 800, 600}},
        {900, 0, 10, 10, false, {}},
        {0, 700, 10, 10, false, {}},
        {-50, 0, 10, 10, false, {}},
    };
    for (const auto& c : cases) {
        IntRect fill;
        EXPECT_EQ(ClipRectangle(c.x, c.y, c.w, c.h, view, fill), c.drawn) << c.x << "," << c.y;
        if (c.drawn) {
            EXPECT_EQ(fill, c.fill) << c.x << "," << c.y;
        }
    }
}

TEST(DirectDrawMath, SpritesWhollyLeftOrAboveTheViewAreSkipped) {
    const IntRect view = {0, 0, 800, 600};
    IntRect destination, source;
    EXPECT_FALSE(SpriteBlitRects(-40, 0, 32, 32, 0, 0, 32, 32, view, destination, source));
    EXPECT_FALSE(SpriteBlitRects(0, -33, 32, 32, 0, 0, 32, 32, view, destination, source));
    ASSERT_TRUE(SpriteBlitRects(-20, 5, 32, 32, 0, 0, 32, 32, view, destination, source));
    EXPECT_EQ(destination, (IntRect{-20, 5, 12, 37}));
    EXPECT_EQ(source, (IntRect{0, 0, 32, 32}));
    // A negative source size gives the same rectangle in the right order.
    ASSERT_TRUE(SpriteBlitRects(10, 10, 64, 16, 16, 8, -16, -8, view, destination, source));
    EXPECT_EQ(source, (IntRect{0, 0, 16, 8}));
    EXPECT_EQ(destination, (IntRect{10, 10, 74, 26}));
}

TEST(DirectDrawMath, RegionIsAnRgnDataOfOneRectangle) {
    const OneRectRegion region = MakeRegion({5, 6, 800, 600});
    uint32_t words[12];
    std::memcpy(words, &region, sizeof words);
    const uint32_t expected[12] = {32, 1, 1, 16, 5, 6, 800, 600, 5, 6, 800, 600};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(words[i], expected[i]) << i;
}

TEST(DirectDrawMath, ErrorTextNamesTheStepAndTheErrorNumber) {
    EXPECT_EQ(DirectDrawErrorText("Init(DirectDrawCreate)", 0x887601AEu),
              "Init(DirectDrawCreate) #13\nTry continuing anyway?");
    EXPECT_EQ(DirectDrawErrorText("SetSettings()", 0x12345678u), "SetSettings() Unknown Error\nTry continuing anyway?");
    const struct {
        uint32_t hr;
        const char* number;
    } cases[] = {{0x80004005u, "#1"}, {0x80070057u, "#4"}, {0x887601C2u, "#14"}, {0x80004001u, "#17"},
                 {0x8007000Eu, "#19"}, {0x8876021Cu, "#30"}, {0x88760096u, "Unknown Error"}};
    for (const auto& c : cases)
        EXPECT_STREQ(DirectDrawErrorNumber(c.hr), c.number) << std::hex << c.hr;
}

// A 2 x 2 picture, decoded rows bottom-up: bottom row transparent, then a
// pixel with alpha 1; top row opaque magenta, then an opaque colour.
SpriteRecord TwoByTwo() {
    SpriteRecord record;
    record.width = 2;
    record.height = 2;
    const uint8_t pixels[16] = {0, 0, 0, 0, 10, 20, 30, 1, 255, 0, 255, 255, 0x56, 0x34, 0x12, 255};
    record.pixels.reset(new uint8_t[16]);
    std::memcpy(record.pixels.get(), pixels, 16);
    return record;
}

TEST(DirectDrawMath, SpritePixelsAreTurnedTopRowFirstWithTheColourKey) {
    const SpriteRecord record = TwoByTwo();
    const int pitch = 12;  // 8 bytes of pixels and 4 of padding a row
    std::vector<uint8_t> bits(pitch * 2, 0xCC);
    WriteSpritePixels(record, kRgb32, 4, pitch, bits.data());
    auto at = [&](int x, int y) {
        uint32_t value;
        std::memcpy(&value, &bits[size_t(y) * pitch + size_t(x) * 4], 4);
        return value;
    };
    EXPECT_EQ(at(0, 0), 0xFF00FFu);  // opaque magenta is the key: it turns transparent
    EXPECT_EQ(at(1, 0), 0x123456u);
    EXPECT_EQ(at(0, 1), 0xFF00FFu);  // transparent
    EXPECT_EQ(at(1, 1), 0x1E140Au);  // alpha 1 is drawn fully opaque
    EXPECT_EQ(bits[8], 0xCC);        // the padding is left alone
    EXPECT_EQ(bits[pitch + 8], 0xCC);
}

TEST(DirectDrawMath, SpritePixelsFitSixteenBitSurfaces) {
    const SpriteRecord record = TwoByTwo();
    std::vector<uint8_t> bits(8, 0);
    WriteSpritePixels(record, kRgb565, 2, 4, bits.data());
    const uint16_t top0 = uint16_t(bits[0] | bits[1] << 8);
    const uint16_t top1 = uint16_t(bits[2] | bits[3] << 8);
    const uint16_t bottom0 = uint16_t(bits[4] | bits[5] << 8);
    EXPECT_EQ(top0, 0xF81F);
    EXPECT_EQ(top1, ToSurfaceColor(0x12, 0x34, 0x56, kRgb565));
    EXPECT_EQ(bottom0, 0xF81F);
}

}  // namespace
