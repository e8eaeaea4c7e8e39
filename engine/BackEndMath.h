#pragma once

// Arithmetic shared by the drawing back ends, kept apart from the drawing APIs
// so that it builds and is tested natively.

#include <cstdint>
#include <vector>

#include "engine/GraphicsEngine.h"

// A rectangle of whole pixels, laid out as a Win32 RECT: right and bottom are
// one past the last pixel.
struct IntRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

inline bool operator==(const IntRect& a, const IntRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Float to whole pixels, toward zero, as the blit and scissor rectangles take them.
inline int32_t Truncate(float value) { return int32_t(value); }

// Texture coordinates of a source rectangle. Decoded pixels start with the
// bottom row of the picture, so that row is texture row 0 and a source
// rectangle measured from the picture's top maps to v = 1 - y / height.
struct TexCoords {
    float uLeft;
    float uRight;
    float vTop;
    float vBottom;
};

TexCoords SourceTexCoords(float textureWidth, float textureHeight, float sourceX, float sourceY, float sourceWidth,
                          float sourceHeight);

// A corner of a sprite quad as the OpenGL back end sends it: texture
// coordinate, then window position (interleaved for a vertex array).
struct QuadCorner {
    float u, v;
    float x, y;
};

// The four corners of the destination (x, y, w, h) in the order OpenGL draws a
// sprite: bottom-left, top-left, top-right, bottom-right.
void SpriteQuadCorners(float x, float y, float w, float h, const TexCoords& coords, QuadCorner out[4]);

// The corners of every quad of a batch, four a quad in that order, exactly as
// a sprite drawn alone gets them; the vector is overwritten.
void BatchQuadCorners(const BatchQuad* quads, int count, std::vector<QuadCorner>& out);

// An interface colour (red in the lowest byte, alpha in the highest) as four
// floats 0..1 in the order red, green, blue, alpha.
void ColorToFloats(uint32_t color, float out[4]);

// The four user clip planes (a, b, c, d with ax + by + cz + d >= 0 kept) that
// keep left <= x <= right and top <= y <= bottom while the model-view matrix is
// the identity, so that they lie in window pixels.
void ClipPlanes(const ClipRect& clip, double planes[4][4]);
