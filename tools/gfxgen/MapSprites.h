#pragma once

#include "tools/gfxgen/GfxWriter.h"

// The pictures of the map view: target marks, the marker, status icons and
// their glow, the kind overlays, the click-to-walk goal mark, ambient effects,
// the fake server's effects and projectiles, and a ground whose pattern
// repeats every three tiles. Plain shapes in solid, distinct colours, so that
// a screenshot test can tell them apart by a pixel.
//
// One function draws them all by id; DrawMapSprite<id> gives each row of the
// sprite table its own draw function.
bool PaintMapSprite(int id, GfxImage& image);

template <int Id>
bool DrawMapSprite(GfxImage& image) {
    return PaintMapSprite(Id, image);
}

// Colours the tests sample (red, green, blue).
namespace mapsprites {
// The nine tiles of the 96-pixel pattern ground 4300..4308, in sprite order.
constexpr unsigned char kPatternColors[9][3] = {
    {200, 40, 40}, {40, 200, 40}, {40, 40, 200},  {200, 200, 40}, {40, 200, 200},
    {200, 40, 200}, {120, 80, 20}, {20, 120, 80}, {80, 20, 120},
};
}  // namespace mapsprites
