#pragma once

#include "tools/gfxgen/GfxWriter.h"

// The minimap's map marker (5768, 18 x 18, drawn centred on its tile).
bool DrawMapMarker(GfxImage& image);
