#pragma once

#include <cstdint>

#include "tools/gfxgen/GfxWriter.h"

// Sprite 2, the font's glyph sheet: 32 x 8 cells of 16 x 16 pixels for the
// codes 32 to 255, a coverage mask with the ink strength in red. Each glyph is
// fitted so that its rightmost ink column is its built-in advance - 1, which is
// what the font measures when it builds itself from the sheet.
bool DrawGlyphSheet(GfxImage& sheet);

// The character a code of the sheet shows: Latin-1, with the Windows
// characters in 128 to 159, where Latin-1 has only control codes; 0 for the
// codes that have none (a box is drawn there).
uint32_t SheetCodePoint(int code);
