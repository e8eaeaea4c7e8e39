// The generated velmora.gfx read back through the sprite store, the font and
// the cursor code, as the client reads it: every sprite the program relies on
// is there, with the size and the pixels its users need.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "engine/Cursor.h"
#include "engine/Font.h"
#include "engine/SpriteStore.h"

namespace {

class GeneratedFileTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const char* path = std::getenv("VELMORA_GFX");
        store = new SpriteStore();
        stamp = path && *path ? store->Load(path) : 0;
    }
    static void TearDownTestSuite() {
        delete store;
        store = nullptr;
    }
    void SetUp() override { ASSERT_NE(stamp, 0u) << "VELMORA_GFX does not name a readable graphics file"; }

    static SpriteRecord* Decode(int id) { return store->DecodeSprite(uint32_t(id)); }

    static SpriteStore* store;
    static uint32_t stamp;
};

SpriteStore* GeneratedFileTest::store = nullptr;
uint32_t GeneratedFileTest::stamp = 0;

// Pixels are stored bottom row first; these take y from the top of the picture.
const uint8_t* PixelFromTop(const SpriteRecord& record, int x, int y) { return record.Pixel(x, record.height - 1 - y); }
int Alpha(const SpriteRecord& record, int x, int y) { return PixelFromTop(record, x, y)[3]; }

TEST_F(GeneratedFileTest, StampIsCurrent) { EXPECT_GT(int32_t(stamp), SpriteStore::kOldestStamp); }

TEST_F(GeneratedFileTest, EverySpriteTheProgramUsesIsThereWithItsSize) {
    // 0 for a size the program does not prescribe; those must only be non-empty.
    const struct {
        int id, width, height;
    } cases[] = {
        {2, 512, 128},    // glyph sheet: 32 x 8 cells of 16 x 16
        {3, 2048, 1024},  // login backdrop: drawn as a 2048 x 1024 texture
        {5, 0, 0},     {6, 0, 0},    {8, 0, 0},    {9, 0, 0},
        {403, 32, 32},  // drag cursor
        {1373, 0, 0},  {1374, 0, 0}, {1862, 0, 0}, {5762, 0, 0}, {5763, 0, 0}, {5764, 0, 0},
        {6540, 0, 0},
        // The talents dialog's icons, drawn at their own size in 18 x 18 rows.
        {5765, 18, 18}, {5766, 18, 18}, {5767, 18, 18}, {5768, 18, 18}, {5769, 18, 18}, {5770, 18, 18},
        {5771, 18, 18},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("sprite " + std::to_string(c.id));
        const SpriteRecord* record = Decode(c.id);
        ASSERT_NE(record, nullptr);
        ASSERT_NE(store->GetSprite(c.id), nullptr);
        if (c.width) {
            EXPECT_EQ(record->width, c.width);
            EXPECT_EQ(record->height, c.height);
        }
        EXPECT_GT(record->width, 0);
        EXPECT_GT(record->height, 0);
    }
}

TEST_F(GeneratedFileTest, FontMeasuresTheBuiltInAdvancesFromTheSheet) {
    SpriteRecord* sheet = Decode(2);
    ASSERT_NE(sheet, nullptr);
    Font font;
    for (int& advance : font.advances)
        advance = 0;
    font.Build(sheet, 0xFFFFFFFF, false, false);
    // Codes 32 to 255; the space measures the sheet's width / 160.
    for (int index = 0; index < 224; ++index)
        EXPECT_EQ(font.advances[index], kBuiltInAdvances[index]) << "code " << index + 32;
}

TEST_F(GeneratedFileTest, EveryCharacterShowsInkAndTheSpacesShowNone) {
    const SpriteRecord* sheet = Decode(2);
    ASSERT_NE(sheet, nullptr);
    for (int code = 32; code < 256; ++code) {
        const int cell = code - 32;
        int strongest = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                strongest = std::max<int>(strongest, PixelFromTop(*sheet, (cell % 32) * 16 + x, (cell / 32) * 16 + y)[2]);
        if (code == 32 || code == 160)
            EXPECT_EQ(strongest, 0) << "code " << code;
        else
            EXPECT_GE(strongest, 128) << "code " << code;
    }
}

TEST_F(GeneratedFileTest, DragCursorIsUprightWithItsTipAtTheHotSpot) {
    SpriteRecord* image = Decode(403);
    ASSERT_TRUE(IsCursorImage(image));
    uint8_t andPlane[kCursorPlaneBytes];
    uint8_t xorPlane[kCursorPlaneBytes];
    BuildCursorPlanes(*image, andPlane, xorPlane);
    // kind: 0 transparent, 1 white, 2 black, by row from the top as CreateCursor takes them.
    auto kind = [&](int row, int column) {
        const int bit = 0x80 >> (column % 8);
        if (andPlane[row * 4 + column / 8] & bit)
            return 0;
        return (xorPlane[row * 4 + column / 8] & bit) ? 1 : 2;
    };
    int counts[3] = {};
    for (int row = 0; row < 32; ++row)
        for (int column = 0; column < 32; ++column)
            ++counts[kind(row, column)];
    EXPECT_GT(counts[1], 20);
    EXPECT_GT(counts[2], 20);
    EXPECT_GT(counts[0], 32 * 32 / 2);
    // The client makes it with hot spot (0, 0): the pointer's tip is there.
    EXPECT_NE(kind(0, 0), 0);
    EXPECT_EQ(kind(0, 31), 0);
    EXPECT_EQ(kind(31, 0), 0);
    EXPECT_EQ(kind(31, 31), 0);
}

TEST_F(GeneratedFileTest, ArrowIconsPointTheirWayAndFitAScrollButton) {
    // Scroll bars are 15 pixels wide and draw the icon centred inside.
    const struct {
        int id;
        const char* way;
        bool vertical;
        bool tipFirst;  // the tip is at the top or at the left
    } cases[] = {{5, "up", true, true}, {6, "down", true, false}, {8, "left", false, true}, {9, "right", false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.way);
        const SpriteRecord* icon = Decode(c.id);
        ASSERT_NE(icon, nullptr);
        EXPECT_LE(icon->width, 13);
        EXPECT_LE(icon->height, 13);
        // An arrow has less ink on the half with its tip than on the half with its base.
        const int length = c.vertical ? icon->height : icon->width;
        int first = 0, second = 0;
        for (int y = 0; y < icon->height; ++y)
            for (int x = 0; x < icon->width; ++x) {
                if (!Alpha(*icon, x, y))
                    continue;
                const int along = c.vertical ? y : x;
                first += along < length / 2;
                second += along >= (length + 1) / 2;
            }
        if (c.tipFirst)
            EXPECT_LT(first, second);
        else
            EXPECT_GT(first, second);
    }
}

// A skin is tiled behind every dialog: a hole would show what lies behind, a
// seam would draw a grid over the dialog, and grey text must stay readable.
TEST_F(GeneratedFileTest, SkinsAreOpaqueDarkAndSeamless) {
    for (int id : {1373, 1374, 5762, 5763, 5764}) {
        SCOPED_TRACE("skin " + std::to_string(id));
        const SpriteRecord* skin = Decode(id);
        ASSERT_NE(skin, nullptr);
        const int w = skin->width, h = skin->height;
        double brightness = 0, inside = 0, across = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const uint8_t* p = PixelFromTop(*skin, x, y);
                ASSERT_EQ(p[3], 255) << "at " << x << ", " << y;
                brightness += (p[0] + p[1] + p[2]) / 3.0;
            }
            // Neighbours across the tile's edge differ no more than neighbours inside.
            for (int x = 0; x + 1 < w; ++x)
                inside += std::abs(PixelFromTop(*skin, x, y)[1] - PixelFromTop(*skin, x + 1, y)[1]);
            across += std::abs(PixelFromTop(*skin, w - 1, y)[1] - PixelFromTop(*skin, 0, y)[1]);
        }
        EXPECT_LT(brightness / (w * h), 90);
        EXPECT_LT(across / h, 2 * inside / (double(w - 1) * h) + 2);
        double down = 0, wrap = 0;
        for (int x = 0; x < w; ++x) {
            for (int y = 0; y + 1 < h; ++y)
                down += std::abs(PixelFromTop(*skin, x, y)[1] - PixelFromTop(*skin, x, y + 1)[1]);
            wrap += std::abs(PixelFromTop(*skin, x, h - 1)[1] - PixelFromTop(*skin, x, 0)[1]);
        }
        EXPECT_LT(wrap / w, 2 * down / (double(h - 1) * w) + 2);
    }
}

// The completed tutorial's two link buttons are 165 x 117 and draw their
// picture centred, and the dialog writes each link's caption under the
// buttons, 97 to 111 pixels below a button's top: a picture must leave the
// button's frame visible, cover the rest down to the caption, and let the
// caption show through.
TEST_F(GeneratedFileTest, LinkPicturesFitTheirButtonsAndLeaveTheCaptionClear) {
    for (int id : {6600, 6601}) {
        SCOPED_TRACE("picture " + std::to_string(id));
        const SpriteRecord* picture = Decode(id);
        ASSERT_NE(picture, nullptr);
        EXPECT_LE(picture->width, 165 - 4);
        EXPECT_LE(picture->height, 117 - 4);
        EXPECT_GE(picture->width, 165 - 20);
        const int top = 117 / 2 - picture->height / 2;  // as the button draws its icon
        int clearAbove = 0;
        int inkInCaption = 0;
        for (int y = 0; y < picture->height; ++y)
            for (int x = 0; x < picture->width; ++x) {
                const int row = top + y;
                if (row < 80)
                    clearAbove += Alpha(*picture, x, y) != 255;
                else if (row >= 95 && row < 113)
                    inkInCaption += Alpha(*picture, x, y) != 0;
            }
        EXPECT_EQ(clearAbove, 0);
        EXPECT_EQ(inkInCaption, 0);
    }
}

// The DirectDraw back end cannot blend, so translucent black is faked with
// this tile: opaque black pixels between transparent ones, half and half.
TEST_F(GeneratedFileTest, TranslucentBlackTileIsHalfOpaqueBlack) {
    const SpriteRecord* tile = Decode(1862);
    ASSERT_NE(tile, nullptr);
    int opaque = 0, clear = 0;
    for (int y = 0; y < tile->height; ++y)
        for (int x = 0; x < tile->width; ++x) {
            const uint8_t* p = PixelFromTop(*tile, x, y);
            if (p[3] == 0) {
                ++clear;
                continue;
            }
            ++opaque;
            EXPECT_EQ(p[3], 255);
            EXPECT_LT(p[0] + p[1] + p[2], 3 * 32);
        }
    EXPECT_EQ(opaque, clear);
}

TEST_F(GeneratedFileTest, BackdropCoversTheScreenAndTheLogoClearsThePanel) {
    const SpriteRecord* backdrop = Decode(3);
    ASSERT_NE(backdrop, nullptr);
    // The login screen shows the left 1920 x 1024 pixels over the whole window.
    for (int y = 0; y < 1024; y += 7)
        for (int x = 0; x < 1920; x += 7)
            ASSERT_EQ(Alpha(*backdrop, x, y), 255) << "at " << x << ", " << y;

    // The logo is drawn 100 pixels high at 190 above the middle, the panel at
    // 120 above it: the logo's lower 30 % lies behind the panel.
    const SpriteRecord* logo = Decode(6540);
    ASSERT_NE(logo, nullptr);
    int shown = 0, hidden = 0;
    for (int y = 0; y < logo->height; ++y)
        for (int x = 0; x < logo->width; ++x)
            (y < logo->height * 70 / 100 ? shown : hidden) += Alpha(*logo, x, y) != 0;
    EXPECT_GT(shown, logo->width * logo->height / 20);
    EXPECT_EQ(hidden, 0);
    EXPECT_EQ(Alpha(*logo, 0, 0), 0);
}

// The brewing dialog draws potion size k as sprite 1931 + 3k at its own size
// inside a 40 x 40 box: each fits the box with room for the 4-pixel margin,
// and a larger size shows more potion.
TEST_F(GeneratedFileTest, PotionSizesFitTheirBoxAndGrow) {
    int previous = 0;
    for (int size = 1; size <= 5; ++size) {
        SCOPED_TRACE("size " + std::to_string(size));
        const SpriteRecord* potion = Decode(1931 + 3 * size);
        ASSERT_NE(potion, nullptr);
        EXPECT_EQ(potion->width, 32);
        EXPECT_EQ(potion->height, 32);
        int ink = 0;
        for (int y = 0; y < potion->height; ++y)
            for (int x = 0; x < potion->width; ++x)
                ink += Alpha(*potion, x, y) != 0;
        EXPECT_GT(ink, previous);
        previous = ink;
    }
}

// The market's grid draws each category's icon at 32 x 32 in its cell: all
// fifteen are there, each a picture of its own on a clear background.
TEST_F(GeneratedFileTest, EveryMarketCategoryHasAnIconOfItsOwn) {
    const int ids[] = {1390, 2497, 1731, 1662, 2739, 1687, 567, 574, 582, 1647, 1653, 1617, 3065, 1644, 1570};
    std::vector<std::vector<uint8_t>> alphas;
    for (const int id : ids) {
        SCOPED_TRACE("sprite " + std::to_string(id));
        const SpriteRecord* icon = Decode(id);
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(icon->width, 32);
        EXPECT_EQ(icon->height, 32);
        std::vector<uint8_t> alpha;
        int ink = 0;
        for (int y = 0; y < icon->height; ++y)
            for (int x = 0; x < icon->width; ++x) {
                alpha.push_back(Alpha(*icon, x, y));
                ink += alpha.back() != 0;
            }
        EXPECT_GT(ink, 32 * 32 / 10);
        EXPECT_EQ(Alpha(*icon, 0, 0), 0);
        EXPECT_EQ(Alpha(*icon, 31, 31), 0);
        for (const auto& other : alphas)
            EXPECT_NE(alpha, other) << "the same outline as another category's";
        alphas.push_back(alpha);
    }
}

}  // namespace
