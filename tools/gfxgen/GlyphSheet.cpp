#include "tools/gfxgen/GlyphSheet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/Font.h"
#include "tools/gfxgen/Fonts.h"
#include "tools/gfxgen/FreeTypeFace.h"
#include "tools/gfxgen/Paint.h"

// How the sheet fits the advance table. The font takes a glyph's advance to be
// 1 + its rightmost column holding a pixel whose blue, green or red is not 0,
// and draws each pixel with its red as the strength. A pixel with blue but no
// red therefore counts for the width and never shows: every cell gets such a
// width mark in its column advance - 1, so each letter can sit centred in its
// advance, with its natural shape, and still measure exactly as the table says.
// Letters wider than their advance allows are narrowed until they fit.

namespace {

constexpr int kCell = 16;
constexpr int kBaseline = 12;      // rows above it hold capitals and accents, below it descenders
constexpr int kMarkRow = kCell - 1;
constexpr double kPixelSize = 12;  // DejaVu Sans Bold at 12 px matches the advance table's proportions
// Anti-aliasing fringes fainter than this are dropped: they blur small text.
constexpr int kFaintest = 40;
// Ink strengths are lifted by this gamma: thin strokes of a 12 px face read
// better a little heavier.
constexpr double kInkGamma = 0.8;

// Windows characters of the codes 128 to 159; 0 where the code page has none.
const uint16_t kWindowsHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

struct Cell {
    uint8_t coverage[kCell][kCell] = {};  // [row][column]
};

// Places a glyph's ink centred in the columns 0 to advance - 1, with the spare
// column, when there is one, on the left so that neighbours never touch; false
// when the ink is wider than `room` columns.
bool PlaceGlyph(const GlyphBitmap& glyph, int advance, int room, Cell& cell) {
    int first = glyph.width;
    int last = -1;
    for (int y = 0; y < glyph.rows; ++y) {
        const int row = kBaseline - glyph.top + y;
        if (row < 0 || row >= kCell)
            continue;
        for (int x = 0; x < glyph.width; ++x) {
            if (glyph.At(x, y) >= kFaintest) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    const int width = last - first + 1;
    if (last < 0 || width > room)
        return false;
    cell = Cell();
    const int start = (advance - width + 1) / 2;
    for (int y = 0; y < glyph.rows; ++y) {
        const int row = kBaseline - glyph.top + y;
        if (row < 0 || row >= kCell)
            continue;
        for (int x = first; x <= last; ++x) {
            const uint8_t value = glyph.At(x, y);
            if (value >= kFaintest)
                cell.coverage[row][start + x - first] = uint8_t(std::lround(255 * std::pow(value / 255.0, kInkGamma)));
        }
    }
    return true;
}

GlyphBitmap RenderScaled(FreeTypeFace& face, uint32_t codePoint, double xScale) {
    face.SetSize(kPixelSize, xScale);
    return face.Render(codePoint);
}

// A character at its natural width when it fits with a gap column; otherwise
// narrowed until it does, or, for the widest characters of the narrowest
// advances, until it fills the whole advance.
bool FitGlyph(FreeTypeFace& face, uint32_t codePoint, int advance, Cell& cell) {
    for (int room = advance - 1; room <= advance; ++room)
        for (double scale = 1.0; scale >= 0.3; scale -= 0.025)
            if (PlaceGlyph(RenderScaled(face, codePoint, scale), advance, room, cell))
                return true;
    return false;
}

// A hollow box: the mark for codes without a character.
void BoxGlyph(int advance, Cell& cell) {
    cell = Cell();
    for (int row = 4; row <= kBaseline - 1; ++row)
        for (int column = 1; column <= advance - 1; ++column)
            if (row == 4 || row == kBaseline - 1 || column == 1 || column == advance - 1)
                cell.coverage[row][column] = 255;
}

}  // namespace

uint32_t SheetCodePoint(int code) {
    if (code >= 32 && code < 127)
        return uint32_t(code);
    if (code >= 128 && code < 160)
        return kWindowsHigh[code - 128];
    if (code == 0xA0)  // the no-break space: no ink, but it keeps its width
        return 0;
    if (code == 0xAD)  // the soft hyphen shows as a hyphen
        return '-';
    if (code >= 160 && code < 256)
        return uint32_t(code);
    return 0;
}

bool DrawGlyphSheet(GfxImage& sheet) {
    FreeTypeFace face;
    if (!face.Open(kSansBoldPath)) {
        std::fprintf(stderr, "gfxgen: cannot open %s\n", kSansBoldPath);
        return false;
    }
    bool ok = true;
    // The space stays empty: the font gives it the sheet's width / 160.
    for (int code = 33; code < 256; ++code) {
        const int index = code - 32;
        const int advance = kBuiltInAdvances[index];
        const uint32_t codePoint = SheetCodePoint(code);
        Cell cell;
        if (code == 0xA0) {
            // Nothing to draw but the width mark.
        } else if (codePoint == 0x2026 && advance < 5) {
            // No three dots fit so few columns: two say "and so on" well enough.
            cell.coverage[kBaseline - 1][advance - 3] = 255;
            cell.coverage[kBaseline - 1][advance - 1] = 255;
        } else if (!codePoint || !face.HasGlyph(codePoint)) {
            BoxGlyph(advance, cell);
        } else if (!FitGlyph(face, codePoint, advance, cell)) {
            std::fprintf(stderr, "gfxgen: glyph %d does not fit %d columns\n", code, advance);
            ok = false;
            continue;
        }
        const int x0 = (index % 32) * kCell;
        const int y0 = (index / 32) * kCell;
        for (int row = 0; row < kCell; ++row)
            for (int column = 0; column < kCell; ++column)
                if (const uint8_t value = cell.coverage[row][column])
                    sheet.Set(x0 + column, y0 + row, Rgba(value, value, value, 255));
        if (!cell.coverage[kMarkRow][advance - 1])
            sheet.Set(x0 + advance - 1, y0 + kMarkRow, Rgba(0, 0, 2, 255));
    }
    return ok;
}
