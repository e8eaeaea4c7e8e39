// The bitmap font: advance widths, building sheets, glyph placement, outlines,
// one batch per text under Direct3D and one sheet per colour under DirectDraw.
#include <gtest/gtest.h>

#include <map>

#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/SpriteStore.h"
#include "tests/support/TestApp.h"

namespace {

TEST(FontWidths, BuiltInTable) {
    Font font;
    const std::pair<const char*, int> texts[] = {
        {"Hello", 28}, {"", 0}, {"\n", 5}, {"a\x01", 7 + 5}, {" ", 3}, {"\xff", 8}, {"\x80\x9f", 8 + 9},
    };
    for (const auto& [text, width] : texts)
        EXPECT_EQ(font.GetTextWidth(text), width) << text;
    const std::pair<uint16_t, int> chars[] = {{0, 3}, {33, 9}, {223, 8}, {224, 5}, {255, 5}, {65535, 5}};
    for (const auto& [index, width] : chars)
        EXPECT_EQ(font.GetCharWidth(index), width) << index;
}

TEST(FontWidths, MeasuredFromTheSheetTopBandFirst) {
    // 512 x 128: cells of 16 x 16. Ink only where placed below.
    GfxImage sheet(512, 128);
    for (int x = 0; x < 3; ++x)
        sheet.Set(16 * 1 + x, 5, 0xFFFFFFFF);     // index 1: columns 0 to 2
    sheet.Set(16 * 2 + 15, 0, 0xFF0000FF);        // index 2: top row, last column
    sheet.Set(16 * 3 + 9, 15, 0xFF00FF00);        // index 3: bottom row of its cell
    sheet.Set(16 * 5 + 4, 16 * 7 + 3, 0xFFFF0000);  // index 229: the eighth band
    sheet.Set(16 * 0 + 12, 8, 0xFFFFFFFF);        // index 0 is the space: width / 160 whatever the ink
    GfxWriter writer;
    writer.Put(2, sheet);
    TestApp test(0);
    test.LoadSprites(writer);
    SpriteRecord* image = test.app->sprites->DecodeSprite(2);
    ASSERT_NE(image, nullptr);

    Font font;
    ASSERT_NE(font.Build(image, 0xFFFFFFFF, false, false), nullptr);
    const std::map<int, int> expected = {{0, 3}, {1, 3}, {2, 16}, {3, 10}, {229, 5}};
    for (int index = 0; index < Font::kAdvanceCount; ++index) {
        const auto it = expected.find(index);
        EXPECT_EQ(font.advances[index], it == expected.end() ? 1 : it->second) << index;
    }

    Font kept;
    kept.Build(image, 0xFFFFFFFF, false, true);
    EXPECT_EQ(kept.advances[2], kBuiltInAdvances[2]);
}

TEST(FontSheet, InkBecomesWhiteOrTheTintWithRedAsAlpha) {
    TestApp test;
    test.engine()->keepPixels = true;
    // Blue, green, red, alpha of the source; the source alpha plays no part.
    SpriteRecord image;
    image.width = 4;
    image.height = 1;
    const uint8_t source[] = {0, 0, 0, 99, 200, 100, 128, 7, 5, 0, 0, 9, 255, 255, 255, 0};
    image.pixels.reset(new uint8_t[sizeof source]);
    std::copy(source, source + sizeof source, image.pixels.get());
    struct Case {
        bool tint;
        uint32_t color;
        std::vector<uint8_t> pixels;
    };
    const Case cases[] = {
        {false, 0xFF204080, {0, 0, 0, 0, 255, 255, 255, 128, 255, 255, 255, 0, 255, 255, 255, 255}},
        // trunc(200 / 255 x 0x20) = 25, trunc(100 / 255 x 0x40) = 25, trunc(128 / 255 x 0x80) = 64
        {true, 0xFF204080, {0, 0, 0, 0, 25, 25, 64, 128, 0, 0, 0, 0, 0x20, 0x40, 0x80, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tint);
        Font font;
        font.SetOwner(test.app);
        test.engine()->Clear();
        Sprite* sheet = font.Build(&image, c.color, c.tint, true);
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(font.sheet, sheet);
        EXPECT_EQ(test.engine()->Log(), (std::vector<std::string>{"GenerateSprite(sprite " +
                                                                  std::to_string(sheet->handle) + ", 4, 1, 1)"}));
        EXPECT_EQ(test.engine()->lastPixels, c.pixels);
    }
    Font font;
    EXPECT_EQ(font.Build(nullptr, 0xFFFFFFFF, false, true), nullptr);
    EXPECT_EQ(font.sheet, nullptr);
}

// Where one glyph lands and which cell it comes from.
struct Glyph {
    float x, y, sourceX, sourceY;
};
bool operator==(const Glyph& l, const Glyph& r) {
    return l.x == r.x && l.y == r.y && l.sourceX == r.sourceX && l.sourceY == r.sourceY;
}
std::ostream& operator<<(std::ostream& out, const Glyph& g) {
    return out << "{" << g.x << ", " << g.y << ", " << g.sourceX << ", " << g.sourceY << "}";
}

class FontTest : public ::testing::Test {
protected:
    explicit FontTest(int type = kEngineDirect3D) : test(type) {
        test.LoadFont();
        test.engine()->Clear();
    }

    Font& font() { return *test.app->font; }
    Graphics& graphics() { return *test.app->graphics; }
    // The glyphs of every batch drawn so far, one list per batch.
    std::vector<std::vector<Glyph>> Batches() const {
        std::vector<std::vector<Glyph>> batches;
        for (const RecordedCall* call : test.engine()->Calls("RenderSpriteBatch")) {
            batches.emplace_back();
            for (const BatchQuad& q : call->quads)
                batches.back().push_back({q.x, q.y, q.sourceX, q.sourceY});
        }
        return batches;
    }

    TestApp test;
};

TEST_F(FontTest, OneBatchPerTextUnderDirect3D) {
    font().DrawText("Hello", 10, 20, 0xFF00FFFF, -128);
    EXPECT_EQ(test.engine()->Count("RenderSprite"), 0u);
    const std::vector<const RecordedCall*> batches = test.engine()->Calls("RenderSpriteBatch");
    ASSERT_EQ(batches.size(), 1u);
    EXPECT_EQ(batches[0]->sprite, font().sheet);
    ASSERT_EQ(batches[0]->quads.size(), 5u);
    const BatchQuad& h = batches[0]->quads[0];
    EXPECT_EQ((std::vector<float>{h.x, h.y, h.w, h.h, h.textureWidth, h.textureHeight, h.sourceX, h.sourceY,
                                  h.sourceWidth, h.sourceHeight}),
              (std::vector<float>{10, 22, 16, 16, 512, 128, 128, 16, 16, 16}));
    EXPECT_EQ(Batches()[0], (std::vector<Glyph>{
                                {10, 22, 128, 16}, {18, 22, 80, 32}, {25, 22, 192, 32}, {28, 22, 192, 32},
                                {31, 22, 240, 32}}));
    // The colour tints the batch and is set back to white afterwards.
    EXPECT_EQ(test.engine()->Log()[0], "SetColor(0xff00ffff)");
    EXPECT_EQ(test.engine()->Log()[2], "SetColor(0xffffffff)");
    EXPECT_EQ(graphics().GetColor(), 0xFFFFFFFFu);
}

TEST_F(FontTest, GlyphPlacement) {
    struct Case {
        const char* name;
        std::string text;
        float y;
        int cellHeight;
        std::vector<Glyph> glyphs;
    };
    const Case cases[] = {
        {"a space draws nothing but advances", "a b", 20, 16, {{10, 22, 16, 32}, {20, 22, 32, 32}}},
        {"control bytes draw nothing but advance 5", "a\x01" "b", 20, 16, {{10, 22, 16, 32}, {22, 22, 32, 32}}},
        {"a newline goes 16 down and back to x", "ab\ncd", 20, 16,
         {{10, 22, 16, 32}, {17, 22, 32, 32}, {10, 38, 48, 32}, {16, 38, 64, 32}}},
        {"16 down whatever the cell height", "a\nc", 20, 20, {{10, 22, 16, 40}, {10, 38, 48, 40}}},
        {"the line at the top limit is drawn", "a", -128, 16, {{10, -126, 16, 32}}},
        {"lines above the top limit are skipped", "ab\ncd", -140, 16, {{10, -122, 48, 32}, {16, -122, 64, 32}}},
        {"the last cell", "\xff", 20, 16, {{10, 22, 496, 96}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test.engine()->Clear();
        font().cellHeight = c.cellHeight;
        font().DrawText(c.text, 10, c.y, 0xFFFFFFFF, -128);
        const auto batches = Batches();
        ASSERT_EQ(batches.size(), 1u);
        EXPECT_EQ(batches[0], c.glyphs);
    }
}

TEST_F(FontTest, OutlineIsFourPassesInTheColoursBlackThenTheText) {
    graphics().RenderText("A", 10, 20, 0x80FFFFFF, true);
    const std::vector<std::string> log = test.engine()->Log();
    const std::string batch = "RenderSpriteBatch(sprite " + std::to_string(font().sheet->handle) + ", 1)";
    std::vector<std::string> expected;
    for (const char* color : {"0x80000000", "0x80000000", "0x80000000", "0x80000000", "0x80ffffff"})
        expected.insert(expected.end(), {std::string("SetColor(") + color + ")", batch, "SetColor(0xffffffff)"});
    EXPECT_EQ(log, expected);
    const std::vector<Glyph> firstGlyphs = {
        {9, 22, 16, 16}, {10, 21, 16, 16}, {11, 22, 16, 16}, {10, 23, 16, 16}, {10, 22, 16, 16}};
    std::vector<Glyph> drawn;
    for (const auto& glyphs : Batches())
        drawn.push_back(glyphs.at(0));
    EXPECT_EQ(drawn, firstGlyphs);
}

TEST_F(FontTest, RenderTextUsesTheTopLimitAndNeedsAFont) {
    graphics().RenderText("A", 0, -128, 0xFFFFFFFF);
    graphics().RenderText("A", 0, -129, 0xFFFFFFFF);
    const auto batches = Batches();
    ASSERT_EQ(batches.size(), 2u);
    EXPECT_EQ(batches[0].size(), 1u);
    EXPECT_EQ(batches[1].size(), 0u);

    test.engine()->Clear();
    Font other;
    other.SetOwner(test.app);
    graphics().RenderText("A", 0, 0, 0xFFFFFFFF, true, &other);  // a font without a sheet draws nothing
    EXPECT_EQ(test.engine()->Count("RenderSpriteBatch"), 0u);
    delete test.app->font;
    test.app->font = nullptr;
    test.engine()->Clear();
    graphics().RenderText("A", 0, 0, 0xFFFFFFFF, true);
    EXPECT_TRUE(test.engine()->calls.empty());
}

class OpenGLFontTest : public FontTest {
protected:
    OpenGLFontTest() : FontTest(kEngineOpenGL) {}
};

// OpenGL draws a text as one batch as well, in the colour it was given; only
// the back ends that cannot draw a batch get single glyphs.
TEST_F(OpenGLFontTest, ATextIsOneBatchInItsColour) {
    font().DrawText("Hi", 10, 20, 0xFF0000FF, -128);
    const std::string sheet = std::to_string(font().sheet->handle);
    EXPECT_EQ(test.engine()->Log(), (std::vector<std::string>{
                                        "SetColor(0xff0000ff)",
                                        "RenderSpriteBatch(sprite " + sheet + ", 2)",
                                        "SetColor(0xffffffff)",
                                    }));
    EXPECT_EQ(Batches()[0], (std::vector<Glyph>{{10, 22, 128, 16}, {18, 22, 144, 32}}));
}

class DirectDrawFontTest : public FontTest {
protected:
    DirectDrawFontTest() : FontTest(kEngineDirectDraw) {}

    // The sheet each text was drawn with.
    std::vector<const Sprite*> SheetsDrawn() const {
        std::vector<const Sprite*> sheets;
        for (const RecordedCall* call : test.engine()->Calls("RenderSprite"))
            sheets.push_back(call->sprite);
        return sheets;
    }
};

TEST_F(DirectDrawFontTest, EachColourGetsItsOwnSheetMadeOnce) {
    test.engine()->keepPixels = true;
    const uint32_t colors[] = {0xFF0000FF, 0xFF00FF00, 0xFF0000FF, 0x800000FF, 0xFF00FF00, 0xFF0000FF};
    std::map<uint32_t, const Sprite*> sheetOf;
    for (uint32_t color : colors) {
        SCOPED_TRACE(color);
        const int generated = test.engine()->spritesGenerated;
        font().DrawText("A", 0, 0, color, -128);
        ASSERT_EQ(SheetsDrawn().size(), 1u);
        const Sprite* sheet = SheetsDrawn()[0];
        if (sheetOf.count(color)) {
            EXPECT_EQ(sheet, sheetOf[color]);
            EXPECT_EQ(test.engine()->spritesGenerated, generated);
        } else {
            EXPECT_EQ(test.engine()->spritesGenerated, generated + 1);
            // Ink in the colour, its strength as alpha.
            const std::vector<uint8_t>& pixels = test.engine()->lastPixels;
            const uint8_t* ink = &pixels[(size_t(128 - 1 - 4) * 512 + 16) * 4];  // cell of "!", row 4 from the top
            EXPECT_EQ((std::vector<uint8_t>(ink, ink + 4)),
                      (std::vector<uint8_t>{uint8_t(color >> 16), uint8_t(color >> 8), uint8_t(color), 255}));
            sheetOf[color] = sheet;
        }
        test.engine()->Clear();
    }
    EXPECT_EQ(sheetOf.size(), 3u);
    // Nothing asks the engine to tint, and no cached sheet was ever released:
    // only the white sheet the font started with.
    EXPECT_EQ(test.engine()->Count("SetColor"), 0u);
    EXPECT_EQ(test.engine()->spritesReleased, 1);
    EXPECT_EQ(font().colorCache.size(), 3u);
}

TEST_F(DirectDrawFontTest, EverySheetIsReleasedOnceWhenTheFontGoes) {
    font().DrawText("red", 0, 0, 0xFF0000FF, -128);
    font().DrawText("green", 0, 0, 0xFF00FF00, -128);
    font().DrawText("red", 0, 0, 0xFF0000FF, -128);
    delete test.app->font;
    test.app->font = nullptr;
    std::map<uint32_t, int> generated, released;
    for (const EngineEvent& event : RecordingEngine::history) {
        if (event.kind == EngineEvent::Generated)
            ++generated[event.handle];
        else if (event.kind == EngineEvent::Released)
            ++released[event.handle];
    }
    EXPECT_EQ(generated.size(), 3u);  // white, red, green
    EXPECT_EQ(released, generated);
}

}  // namespace
