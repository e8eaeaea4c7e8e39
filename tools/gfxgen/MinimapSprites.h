#pragma once

#include "tools/gfxgen/GfxWriter.h"

// The minimap's pictures: the map marker (5768, 18 x 18, drawn centred on its
// tile) and the zoom buttons' icons, minus (891) and plus (892), 12 x 12; the
// side windows' minimise and restore buttons show the same two.
bool DrawMapMarker(GfxImage& image);
bool DrawMinusIcon(GfxImage& image);
bool DrawPlusIcon(GfxImage& image);
