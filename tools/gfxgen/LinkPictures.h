#pragma once

#include "tools/gfxgen/GfxWriter.h"

// The two pictures of the completed tutorial's link buttons, each filling
// most of its 165 x 117 button: the fan sites' list (6601), three players
// before a banner, and the city map (6600), a walled town on a river.
// Plain shapes in solid colours, so that a screenshot test finds them by a
// pixel.
bool DrawFansitePicture(GfxImage& image);
bool DrawCityMapPicture(GfxImage& image);

namespace linkpictures {
// The size of both pictures.
constexpr int kWidth = 155;
constexpr int kHeight = 107;
// The fan sites' sky and the map's parchment (red, green, blue), opaque.
constexpr unsigned char kBannerSky[3] = {46, 70, 130};
constexpr unsigned char kParchment[3] = {222, 200, 150};
}  // namespace linkpictures
