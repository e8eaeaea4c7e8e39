#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/RecordingEngine.h"

struct Sprite;

// A text read back from the glyphs the font drew: its characters (blanks draw
// no glyph, so they are missing), where its first glyph went (x, and y as the
// text's y: the glyph's y less the font's 2-pixel drop) and the colour it was
// drawn in.
struct DrawnText {
    std::string text;
    float x = 0;
    float y = 0;
    uint32_t color = 0;
};

// Reads the texts out of a recording engine's log. Each line of a glyph batch
// (Direct3D) is one text; single glyphs of the sheet drawn one after the other on one line in
// one colour (the text box draws so) are joined into one text. Outlined texts
// appear five times: four outline passes, then the text.
std::vector<DrawnText> DrawnTexts(const RecordingEngine& engine, const Sprite* sheet);
// The texts without the outline passes (those drawn in a colour whose red,
// green and blue are all 0 right before the same text in another colour).
std::vector<DrawnText> VisibleTexts(const RecordingEngine& engine, const Sprite* sheet);
