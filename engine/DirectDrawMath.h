#pragma once

// The arithmetic of the DirectDraw back end: packing colours into a surface's
// pixel format, the blit rectangles and their clipping against the view, clip
// regions, the error texts and the conversion of decoded pixels into a
// colour-keyed surface. Portable, so it is tested natively.

#include <cstdint>
#include <string>

#include "engine/BackEndMath.h"
#include "engine/Sprite.h"

// The red, green and blue masks of an RGB surface format.
struct PixelMasks {
    uint32_t red = 0;
    uint32_t green = 0;
    uint32_t blue = 0;
};

// A palettized format has no masks; colours cannot be packed into it.
bool HasRgbMasks(const PixelMasks& masks);

// Packs a colour into the format: each channel keeps its top bits, as many as
// its mask has, and moves to the mask's place (8-bit channels stay as they
// are, 5-6-5 keeps the top 5, 6 and 5 bits). A channel whose mask is zero adds
// nothing.
uint32_t ToSurfaceColor(uint8_t red, uint8_t green, uint8_t blue, const PixelMasks& masks);

// The source colour key of sprite surfaces: full magenta.
inline uint32_t ColorKey(const PixelMasks& masks) { return masks.red | masks.blue; }

// Black that is not opaque cannot be blitted (there is no blending); the
// rectangle is left out or covered with the skin's shading tile instead.
inline bool IsTranslucentBlack(uint32_t color) { return (color & 0x00FFFFFFu) == 0 && (color >> 24) != 0xFF; }

// The fill rectangle of RenderRectangleInternal: the rectangle (each value
// truncated) cut to the view. False when it lies wholly outside.
bool ClipRectangle(float x, float y, float w, float h, const IntRect& view, IntRect& fill);

// The blit rectangles of RenderSpriteInternal. False when the sprite lies
// wholly left of or above the view; the rest of the clipping is the clipper's.
bool SpriteBlitRects(float x, float y, float w, float h, float sourceX, float sourceY, float sourceWidth,
                     float sourceHeight, const IntRect& view, IntRect& destination, IntRect& source);

// (x, y, x + w, y + h) with each value truncated before adding.
IntRect TruncatedRect(float x, float y, float w, float h);

// A clip list of one rectangle, laid out as a Win32 RGNDATA: a 32-byte header
// (size 32, type RDH_RECTANGLES, one rectangle of 16 bytes, the bounds) and
// the rectangle.
struct OneRectRegion {
    uint32_t size = 32;
    uint32_t type = 1;
    uint32_t count = 1;
    uint32_t regionSize = 16;
    IntRect bound;
    IntRect rect;
};
static_assert(sizeof(OneRectRegion) == 48, "laid out as RGNDATA with one RECT");

OneRectRegion MakeRegion(const IntRect& rect);

// "#13" and so on for the DirectDraw errors the error box knows, or
// "Unknown Error".
const char* DirectDrawErrorNumber(uint32_t hr);
// The text of the error box: the step, the error's number, and the question.
std::string DirectDrawErrorText(const std::string& step, uint32_t hr);

// Writes a sprite's decoded pixels (bottom row first) into a locked surface of
// the given format, top row first: transparent pixels get the colour key, any
// other pixel its own colour at full strength (partial alpha is lost).
// bytesPerPixel is 2, 3 or 4; pitch is the surface's bytes a row.
void WriteSpritePixels(const SpriteRecord& record, const PixelMasks& masks, int bytesPerPixel, int pitch,
                       uint8_t* bits);
