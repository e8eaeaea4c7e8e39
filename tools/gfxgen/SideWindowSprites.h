#pragma once

#include "tools/gfxgen/GfxWriter.h"

// The equipment window's placeholders (what belongs in an empty cell, 32 x 32:
// 388 to 394 and 1558 to 1561), the condition icons of its strip (drawn at
// 11 x 11) and the container windows' title icons (14 x 14). False for an id
// that is none of them.
bool PaintSideWindowSprite(int id, GfxImage& image);

template <int Id>
bool DrawSideWindowSprite(GfxImage& image) {
    return PaintSideWindowSprite(Id, image);
}
