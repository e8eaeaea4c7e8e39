#pragma once

#include <cstddef>
#include <cstdint>

#include "tools/gfxgen/GfxWriter.h"

// The version stamp of the generated file: the client refuses files stamped
// 1403107799 or lower.
constexpr uint32_t kGfxStamp = 1500000000;

// One sprite of the generated file: its id, its size and how it is drawn. The
// draw function gets an image of that size, all transparent, and returns false
// when it cannot draw (a typeface is missing). Every id the program relies on
// has a row in kSprites; a new picture is a new row.
struct SpriteEntry {
    int id;
    int width;
    int height;
    const char* name;  // for the preview files and messages
    bool (*draw)(GfxImage& image);
};

extern const SpriteEntry kSprites[];
extern const size_t kSpriteCount;
