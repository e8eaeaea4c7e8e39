#pragma once

#include "tools/gfxgen/GfxWriter.h"

// The mouse actions' and the experience window's pictures: the general
// action "Loot" (246, 32 x 32), the fishing rod 316, the fake server's
// usable lever 140 and openable chest 141 (32 x 32 items, also the icons of
// the context menu), and the experience window's toggle, expanded 891 and
// collapsed 892 (8 x 8).
bool DrawLootAction(GfxImage& image);
bool DrawFishingRod(GfxImage& image);
bool DrawLever(GfxImage& image);
bool DrawChest(GfxImage& image);
bool DrawToggleExpanded(GfxImage& image);
bool DrawToggleCollapsed(GfxImage& image);
