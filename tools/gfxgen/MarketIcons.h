#pragma once

#include "tools/gfxgen/GfxWriter.h"

// The market's category icons (32 x 32), one per category of its grid:
// 1390 valuables, 2497 food, 1731 other, 1662 melee weapons, 2739 ranged
// weapons, 1687 wands, 567 shields, 574 helmets, 582 armors, 1647 legs,
// 1653 boots, 1617 necklaces, 3065 rings, 1644 bracers, 1570 gauntlets.
// False for another id or another image size.
bool PaintMarketIcon(int spriteId, GfxImage& image);

template <int Id>
bool DrawMarketIcon(GfxImage& image) {
    return PaintMarketIcon(Id, image);
}
