#pragma once

#include <cstdint>
#include <initializer_list>
#include <utility>

#include "tools/gfxgen/GfxWriter.h"

// Small painting helpers shared by the pictures of the generator. Colours are
// floats 0 to 255 per channel; alpha 0 to 1.

uint32_t Rgba(int r, int g, int b, int a = 255);
inline float Clamp(float v, float low, float high) { return v < low ? low : (v > high ? high : v); }
inline float Mix(float a, float b, float t) { return a + (b - a) * t; }
float SmoothStep(float edge0, float edge1, float x);

// Fills the pixels from (x0, y0) up to but not including (x1, y1) that lie
// inside the image.
void FillRect(GfxImage& image, int x0, int y0, int x1, int y1, uint32_t colour);
// A frame of `thickness` pixels along the image's edges.
void Border(GfxImage& image, int thickness, uint32_t colour);

// Sets a pixel from float channels, clamped and rounded.
void SetPixel(GfxImage& image, int x, int y, float r, float g, float b, float a = 1);
// Paints a colour over a pixel with coverage a (source over).
void BlendPixel(GfxImage& image, int x, int y, float r, float g, float b, float a);

// A reproducible pseudo-random number in [0, 1) for a lattice point.
float Random01(int x, int y, uint32_t seed);
// Value noise in [0, 1) that repeats every `period` lattice cells in x and y,
// so a picture built from it tiles without a seam.
float PeriodicNoise(float x, float y, int period, uint32_t seed);
// Octaves of periodic noise over a square tile of `size` pixels, the first with
// `cells` lattice cells across the tile; in [0, 1).
float TileFractal(float x, float y, int size, int cells, int octaves, uint32_t seed);

// A picture drawn as text, one string per row, top row first; each character
// is looked up in the palette and unknown characters stay transparent.
GfxImage FromPicture(std::initializer_list<const char*> rows,
                     std::initializer_list<std::pair<char, uint32_t>> palette);
