#pragma once

#include "tools/gfxgen/GfxWriter.h"

// The game screen's notices: the tip box (5722) with its emblem (5723) and
// close button (5724), and the open book of paged texts (1812). Plain shapes
// in solid colours, so that a screenshot test finds them by a pixel.
bool DrawTipBackground(GfxImage& image);
bool DrawTipEmblem(GfxImage& image);
bool DrawTipClose(GfxImage& image);
bool DrawBook(GfxImage& image);

namespace chatsprites {
// The tip box's fill and the book's page colour (red, green, blue), opaque.
constexpr unsigned char kTipFill[3] = {36, 52, 92};
constexpr unsigned char kPageColor[3] = {226, 210, 170};
}  // namespace chatsprites
