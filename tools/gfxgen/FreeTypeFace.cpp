#include "tools/gfxgen/FreeTypeFace.h"

#include <cmath>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace {
FT_Face Face(void* face) { return static_cast<FT_Face>(face); }
}  // namespace

FreeTypeFace::~FreeTypeFace() {
    if (face_)
        FT_Done_Face(Face(face_));
    if (library_)
        FT_Done_FreeType(static_cast<FT_Library>(library_));
}

bool FreeTypeFace::Open(const std::string& path) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return false;
    library_ = library;
    FT_Face face = nullptr;
    if (FT_New_Face(library, path.c_str(), 0, &face) != 0)
        return false;
    face_ = face;
    return true;
}

void FreeTypeFace::SetSize(double pixelHeight, double xScale) {
    // 26.6 fixed point at 72 dpi, so points are pixels.
    const FT_F26Dot6 height = FT_F26Dot6(std::lround(pixelHeight * 64));
    const FT_F26Dot6 width = FT_F26Dot6(std::lround(pixelHeight * xScale * 64));
    FT_Set_Char_Size(Face(face_), width, height, 72, 72);
}

bool FreeTypeFace::HasGlyph(uint32_t codePoint) const { return FT_Get_Char_Index(Face(face_), codePoint) != 0; }

GlyphBitmap FreeTypeFace::Render(uint32_t codePoint, bool hinted) const {
    GlyphBitmap glyph;
    FT_Face face = Face(face_);
    const FT_UInt index = FT_Get_Char_Index(face, codePoint);
    if (index == 0)
        return glyph;
    const FT_Int32 flags = FT_LOAD_RENDER | (hinted ? FT_LOAD_TARGET_NORMAL : FT_LOAD_NO_HINTING);
    if (FT_Load_Glyph(face, index, flags) != 0)
        return glyph;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.width = int(bitmap.width);
    glyph.rows = int(bitmap.rows);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.advance = slot->advance.x / 64.0;
    glyph.coverage.resize(size_t(glyph.width) * size_t(glyph.rows));
    for (int y = 0; y < glyph.rows; ++y)
        for (int x = 0; x < glyph.width; ++x)
            glyph.coverage[size_t(y) * size_t(glyph.width) + size_t(x)] = bitmap.buffer[y * bitmap.pitch + x];
    return glyph;
}

double FreeTypeFace::Kerning(uint32_t left, uint32_t right) const {
    FT_Face face = Face(face_);
    if (!FT_HAS_KERNING(face))
        return 0;
    FT_Vector delta{};
    FT_Get_Kerning(face, FT_Get_Char_Index(face, left), FT_Get_Char_Index(face, right), FT_KERNING_UNFITTED, &delta);
    return delta.x / 64.0;
}
