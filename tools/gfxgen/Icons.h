#pragma once

#include "tools/gfxgen/GfxWriter.h"

// The arrow icons of scroll bars, tab groups, tables and selectors (9 x 9,
// drawn centred on their buttons): 5 up, 6 down, 8 left, 9 right.
bool DrawArrowUp(GfxImage& image);
bool DrawArrowDown(GfxImage& image);
bool DrawArrowLeft(GfxImage& image);
bool DrawArrowRight(GfxImage& image);
