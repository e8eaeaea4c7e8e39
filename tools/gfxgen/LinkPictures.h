#pragma once

#include "tools/gfxgen/GfxWriter.h"

// The two pictures of the completed tutorial's link buttons, each drawn
// centred on its 165 x 117 button: the fan sites' list (6601), three players
// before a banner, and the city map (6600), a walled town on a river. The
// dialog writes each link's caption under its button's children, over the
// button's lower part, so the pictures leave that band clear. Plain shapes
// in solid colours, so that a screenshot test finds them by a pixel.
bool DrawFansitePicture(GfxImage& image);
bool DrawCityMapPicture(GfxImage& image);

namespace linkpictures {
// The size of both sprites, and the height of the picture at their top; the
// rows below it are transparent.
constexpr int kWidth = 155;
constexpr int kHeight = 113;
constexpr int kPictureHeight = 88;
// The fan sites' sky and the map's parchment (red, green, blue), opaque.
constexpr unsigned char kBannerSky[3] = {46, 70, 130};
constexpr unsigned char kParchment[3] = {222, 200, 150};
}  // namespace linkpictures
