#pragma once

#include "tools/gfxgen/GfxWriter.h"

// The brewing dialog's five potion sizes (1934, 1937, 1940, 1943, 1946 for
// sizes 1 to 5; 32 x 32): a glass flask of red potion that grows with the
// size. False for another size or another image size.
bool PaintPotion(int size, GfxImage& image);

template <int Size>
bool DrawPotion(GfxImage& image) {
    return PaintPotion(Size, image);
}
