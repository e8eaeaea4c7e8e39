#pragma once

#include "tools/gfxgen/GfxWriter.h"

// The GUI skins: opaque backgrounds that tile without a seam, dark enough for
// grey text, and matching the frame colours the client gives each of them
// (highlight grey 82 and shadow grey 20 for the lighter three, 60 and 10 for
// the darker two).
bool DrawEarthSkin(GfxImage& image);          // 1373 "Earth"
bool DrawDustSkin(GfxImage& image);           // 1374 "Dust"
bool DrawDarkScratchesSkin(GfxImage& image);  // 5762 "Dark Scratches"
bool DrawLightStripesSkin(GfxImage& image);   // 5763 "Light Stripes"
bool DrawDarkStripesSkin(GfxImage& image);    // 5764 "Dark Stripes"

// 1862: with the "Earth" skin the DirectDraw back end, which cannot blend,
// covers a translucent black rectangle with this tile instead: every other
// pixel opaque black, the rest transparent.
bool DrawTranslucentBlackTile(GfxImage& image);
