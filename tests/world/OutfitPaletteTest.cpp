// Outfit colours and the colouring of outfit sprites.
#include <gtest/gtest.h>

#include <memory>

#include "engine/Sprite.h"
#include "engine/SpriteStore.h"
#include "tests/support/TestApp.h"
#include "world/OutfitPalette.h"

namespace {

struct Rgba {
    int r, g, b, a;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

std::ostream& operator<<(std::ostream& out, const Rgba& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}

const Rgba kClear = {0, 0, 0, 0};

// A decoded image from pixels given row by row from the bottom row up, as
// decoded images keep them.
std::unique_ptr<SpriteRecord> Image(int width, int height, const std::vector<Rgba>& pixels) {
    auto image = std::make_unique<SpriteRecord>();
    image->width = uint16_t(width);
    image->height = uint16_t(height);
    image->pixels.reset(new uint8_t[size_t(width * height * 4)]());
    for (size_t i = 0; i < pixels.size() && i < size_t(width * height); ++i) {
        uint8_t* p = image->pixels.get() + i * 4;
        p[0] = uint8_t(pixels[i].b);
        p[1] = uint8_t(pixels[i].g);
        p[2] = uint8_t(pixels[i].r);
        p[3] = uint8_t(pixels[i].a);
    }
    return image;
}

std::unique_ptr<SpriteRecord> Filled(int width, int height, Rgba color) {
    return Image(width, height, std::vector<Rgba>(size_t(width * height), color));
}

Rgba At(const SpriteRecord& image, int x, int row) {
    const uint8_t* p = image.Pixel(x, row);
    return {p[2], p[1], p[0], p[3]};
}

OutfitColors TestColors() {
    OutfitColors colors;
    colors.skin = {200, 100, 50, 255};
    colors.red = {250, 0, 0, 255};
    colors.green = {0, 250, 0, 255};
    colors.blue = {0, 0, 250, 255};
    colors.addon = {100, 200, 255, 255};
    colors.second = {255, 255, 0, 255};
    return colors;
}

TEST(OutfitPaletteTest, OnlyThePlayerOutfitsAreColoured) {
    const struct {
        int spriteId;
        bool colorable;
        int pose;
    } cases[] = {
        {10, true, 370},     {145, true, 378},    {806, true, 830},   {1161, true, 1185},
        {5730, true, 5754},  {4908, true, 4932},  {11, false, 11},    {0, false, 0},
        {200, false, 200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.spriteId);
        EXPECT_EQ(IsColorableOutfit(c.spriteId), c.colorable);
        EXPECT_EQ(GetOutfitPoseSprite(c.spriteId), c.pose);
    }
}

TEST(OutfitPaletteTest, ColourIndexesFromTheServerStayInsideThePalette) {
    const OutfitPalette& palette = *OutfitPalette::Instance();
    const auto rgb = [](OutfitColor c) { return Rgba{c.red, c.green, c.blue, c.alpha}; };
    EXPECT_EQ(rgb(palette.GetColor(0)), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(rgb(palette.GetColor(21)), (Rgba{255, 170, 0, 255}));
    EXPECT_EQ(rgb(palette.GetColor(127)), (Rgba{130, 0, 0, 255}));
    // The server sends bytes: 128 to 255 take the last colour.
    EXPECT_EQ(rgb(palette.GetColor(128)), (Rgba{130, 0, 0, 255}));
    EXPECT_EQ(rgb(palette.GetColor(255)), (Rgba{130, 0, 0, 255}));
    EXPECT_EQ(rgb(palette.GetColor(-1)), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(rgb(palette.GetSkinColor(0)), (Rgba{215, 185, 150, 255}));
    EXPECT_EQ(rgb(palette.GetSkinColor(5)), (Rgba{190, 115, 75, 255}));
    EXPECT_EQ(rgb(palette.GetSkinColor(9)), (Rgba{190, 115, 75, 255}));
    EXPECT_EQ(rgb(palette.GetSkinColor(-2)), (Rgba{215, 185, 150, 255}));
    EXPECT_EQ(rgb(palette.skinColors[7]), (Rgba{0, 0, 0, 255}));

    const int outfit[9] = {10, 0, 0, 200, 255, 9, 128, 0, 127};
    const OutfitColors colors = palette.ResolveColors(outfit);
    EXPECT_EQ(rgb(colors.addon), (Rgba{130, 0, 0, 255}));
    EXPECT_EQ(rgb(colors.second), (Rgba{130, 0, 0, 255}));
    EXPECT_EQ(rgb(colors.skin), (Rgba{190, 115, 75, 255}));
    EXPECT_EQ(rgb(colors.red), (Rgba{130, 0, 0, 255}));
    EXPECT_EQ(rgb(colors.green), (Rgba{255, 255, 255, 255}));
}

TEST(OutfitPaletteTest, TheMaskChoosesTheColourOfEachBasePixel) {
    const struct {
        const char* name;
        Rgba base;
        Rgba mask;
        Rgba result;
    } cases[] = {
        {"red part, scaled by the base's red and cut", {200, 200, 200, 255}, {255, 0, 0, 255}, {196, 0, 0, 255}},
        {"green part", {255, 10, 10, 255}, {0, 255, 0, 255}, {0, 250, 0, 255}},
        {"blue part", {51, 0, 0, 128}, {0, 0, 255, 255}, {0, 0, 50, 255}},
        {"skin", {255, 0, 0, 255}, {255, 255, 0, 255}, {200, 100, 50, 255}},
        {"black stays opaque black", {0, 0, 0, 255}, {255, 0, 0, 255}, {0, 0, 0, 255}},
        {"a mask colour that selects nothing", {0, 0, 0, 255}, {128, 0, 0, 255}, {0, 0, 0, 255}},
        {"another unselecting mask colour", {90, 80, 70, 200}, {255, 0, 255, 255}, {90, 80, 70, 200}},
        {"the mask's alpha is not consulted", {255, 255, 255, 255}, {255, 0, 0, 0}, {250, 0, 0, 255}},
        {"a transparent base pixel becomes all zeros", {9, 9, 9, 0}, {255, 0, 0, 255}, kClear},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto base = Image(1, 1, {c.base});
        auto mask = Image(1, 1, {c.mask});
        auto result = ColorizeOutfitSprite(base.get(), mask.get(), nullptr, nullptr, TestColors());
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(At(*result, 0, 0), c.result);
    }
}

TEST(OutfitPaletteTest, ASmallSpriteIsColouredPixelByPixel) {
    // Two rows of two: bottom row skin and red, top row unmarked and clear.
    auto base = Image(2, 2, {{255, 0, 0, 255}, {200, 200, 200, 255}, {40, 50, 60, 255}, {7, 7, 7, 0}});
    auto mask = Image(2, 1, {{255, 255, 0, 255}, {255, 0, 0, 255}});  // no mask for the top row
    auto result = ColorizeOutfitSprite(base.get(), mask.get(), nullptr, nullptr, TestColors());
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(At(*result, 0, 0), (Rgba{200, 100, 50, 255}));
    EXPECT_EQ(At(*result, 1, 0), (Rgba{196, 0, 0, 255}));
    EXPECT_EQ(At(*result, 0, 1), (Rgba{40, 50, 60, 255}));
    EXPECT_EQ(At(*result, 1, 1), kClear);
}

TEST(OutfitPaletteTest, WithoutMaskAndLayersTheBaseIsTakenAsItIs) {
    auto base = Image(2, 1, {{1, 2, 3, 4}, {5, 6, 7, 0}});
    auto result = ColorizeOutfitSprite(base.get(), nullptr, nullptr, nullptr, TestColors());
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(At(*result, 0, 0), (Rgba{1, 2, 3, 4}));
    EXPECT_EQ(At(*result, 1, 0), (Rgba{5, 6, 7, 0}));
    EXPECT_EQ(ColorizeOutfitSprite(nullptr, base.get(), nullptr, nullptr, TestColors()), nullptr);
}

TEST(OutfitPaletteTest, AWiderAddonPutsTheBaseAtTheRightEdge) {
    auto base = Filled(32, 32, {255, 255, 255, 255});
    auto mask = Filled(32, 32, {255, 0, 0, 255});
    auto addon = Image(64, 1, {{255, 255, 255, 255}});  // one pixel at the left edge of the bottom row
    auto result = ColorizeOutfitSprite(base.get(), mask.get(), addon.get(), nullptr, TestColors());
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->width, 64);
    EXPECT_EQ(result->height, 32);
    EXPECT_EQ(At(*result, 0, 0), (Rgba{100, 200, 255, 255}));  // the addon's colour
    EXPECT_EQ(At(*result, 1, 0), kClear);                      // neither base nor layer
    EXPECT_EQ(At(*result, 31, 5), kClear);
    EXPECT_EQ(At(*result, 32, 5), (Rgba{250, 0, 0, 255}));     // the base's left column
    EXPECT_EQ(At(*result, 63, 31), (Rgba{250, 0, 0, 255}));
}

TEST(OutfitPaletteTest, LayerPixelsCoverTheBase) {
    auto base = Image(3, 1, {{0, 0, 0, 0}, {100, 100, 100, 255}, {100, 100, 100, 255}});
    auto mask = Filled(3, 1, {255, 0, 0, 255});
    // The second layer covers the transparent and the middle base pixel; the
    // addon covers the middle one again.
    auto second = Image(3, 1, {{255, 0, 0, 255}, {0, 0, 0, 255}, {0, 0, 0, 0}});
    auto addon = Image(2, 1, {{0, 0, 0, 0}, {102, 0, 0, 255}});
    auto result = ColorizeOutfitSprite(base.get(), mask.get(), nullptr, second.get(), TestColors());
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(At(*result, 0, 0), (Rgba{255, 255, 0, 255}));  // the second colour, alpha 255
    EXPECT_EQ(At(*result, 1, 0), (Rgba{0, 0, 0, 255}));      // a black layer pixel is opaque black
    EXPECT_EQ(At(*result, 2, 0), (Rgba{98, 0, 0, 255}));     // uncovered: the mask colours it

    result = ColorizeOutfitSprite(base.get(), mask.get(), addon.get(), second.get(), TestColors());
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(At(*result, 1, 0), (Rgba{40, 80, 102, 255}));  // the addon wins, scaled by 102/255
}

class OutfitSpriteTest : public ::testing::Test {
protected:
    OutfitSpriteTest() {
        GfxWriter writer;
        writer.Put(100, SolidImage(2));   // the frame
        writer.Put(112, SolidImage(2));   // its mask
        for (int facing = 0; facing < 4; ++facing)
            writer.Put(200 + facing, SolidImage(3 + facing));  // addon frames, one per facing
        writer.Put(300, SolidImage(7));   // second layer, facing down
        writer.Put(301, SolidImage(8));   // second layer, facing right
        test.LoadSprites(writer);
        test.engine()->Clear();
    }

    static GfxImage SolidImage(int width) {
        GfxImage image(width, 2);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < width; ++x)
                image.Set(x, y, 0xFF808080);
        return image;
    }

    TestApp test;
};

TEST_F(OutfitSpriteTest, EachFacingTakesItsOwnLayers) {
    // Colour indexes the palette does not have, as the server may send them.
    const int outfit[9] = {100, 200, 300, 255, 200, 250, 128, 129, 255};
    const int widths[4] = {7, 4, 5, 8};  // the widest image used: facings 1 and 2 have no second layer
    for (int facing = 0; facing < 4; ++facing) {
        SCOPED_TRACE(facing);
        std::unique_ptr<Sprite> sprite(OutfitPalette::Instance()->MakeColoredSprite(100, 12, facing, outfit));
        ASSERT_NE(sprite, nullptr);
        EXPECT_EQ(sprite->width, widths[facing]);
        EXPECT_EQ(sprite->height, 2);
        EXPECT_EQ(sprite->engine, test.engine());  // made through the active back end
    }
}

TEST_F(OutfitSpriteTest, TheCharacterListGetsAPictureThroughTheSpriteCache) {
    const int outfit[9] = {100, 0, 0, 0, 0, 7, 7, 12, 127};
    OutfitSpriteCache* cache = OutfitPalette::Instance();
    std::unique_ptr<Sprite> sprite(cache->GetSprite(100, 12, 0, outfit));
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->width, 2);
    EXPECT_EQ(test.engine()->Count("GenerateSprite"), 1u);
    // A frame without an image gives no picture.
    EXPECT_EQ(cache->GetSprite(150, 12, 0, outfit), nullptr);
}

}  // namespace
