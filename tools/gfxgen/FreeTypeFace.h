#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One typeface opened through FreeType, rendering single glyphs into coverage
// bitmaps. The glyph sheet and the logo both draw their letters with it.
struct GlyphBitmap {
    int width = 0;
    int rows = 0;
    int left = 0;   // from the pen position to the first column
    int top = 0;    // from the baseline up to the first row
    double advance = 0;          // pen advance in pixels
    std::vector<uint8_t> coverage;  // rows top first, 0 to 255

    uint8_t At(int x, int y) const { return coverage[size_t(y) * size_t(width) + size_t(x)]; }
};

class FreeTypeFace {
public:
    FreeTypeFace() = default;
    ~FreeTypeFace();
    FreeTypeFace(const FreeTypeFace&) = delete;
    FreeTypeFace& operator=(const FreeTypeFace&) = delete;

    bool Open(const std::string& path);
    // Sets the size in pixels; xScale narrows or widens the letters (hinting
    // then works on the narrowed outline, which keeps stems crisp).
    void SetSize(double pixelHeight, double xScale = 1.0);
    bool HasGlyph(uint32_t codePoint) const;
    // Anti-aliased glyph of a Unicode code point at the current size; empty
    // when the face has none. hinted false keeps the outline's own shape, which
    // large display text prefers.
    GlyphBitmap Render(uint32_t codePoint, bool hinted = true) const;
    // Horizontal kerning between two code points, in pixels.
    double Kerning(uint32_t left, uint32_t right) const;

private:
    void* library_ = nullptr;  // FT_Library
    void* face_ = nullptr;     // FT_Face
};
