#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/Sprite.h"

// A marker the player put on the map (or one of the built-in ones).
struct MinimapMarker {
    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 0;
    uint32_t icon = 0;  // sprite id drawn for the marker
    std::string text;   // its tooltip
};

// The chunk key of a tile: every tile of one 256 x 256 area of one floor shares it.
uint32_t MinimapChunkKey(uint16_t x, uint16_t y, uint8_t z);

// The explored map of one area of 256 x 256 tiles on one floor: a colour code
// and a walk speed per tile, and the picture of the colours, made into a
// texture only when the chunk is drawn after a change.
class MinimapChunk {
public:
    static constexpr int kSide = 256;
    static constexpr int kCells = kSide * kSide;
    static constexpr uint8_t kDefaultSpeed = 100;

    MinimapChunk(int32_t baseX, int32_t baseY, int32_t floor);

    // Cell index of the chunk-relative tile (x, y): x outer, y inner, as the
    // area files store them.
    static int Cell(int x, int y) { return (x & 255) * kSide + (y & 255); }

    // The texture, made again first when the picture changed since; null for a
    // chunk that never received a pixel.
    Sprite* Upload();
    // Frees the old texture (through the back end that made it) and has the
    // active back end make a new one from the picture, with nearest filtering.
    void CreateTexture();
    // Writes the palette pixel of a colour code for cell (x, y): column x, row
    // 255 - y counted from the bottom, so tile y grows downwards on screen.
    void SetPixel(int x, int y, uint8_t colour);
    // Records one tile: a new colour sets modified, clears empty when not 0 and
    // writes its pixel; a speed of 0 is never stored.
    void SetTile(int x, int y, uint8_t colour, uint8_t speed);
    uint8_t GetColor(int x, int y) const { return colour[Cell(x, y)]; }
    uint8_t GetSpeed(int x, int y) const { return speed[Cell(x, y)]; }
    // The texture no longer matches (a new back end): make it again before drawing.
    void Invalidate() { dirty = true; }

    std::unique_ptr<Sprite> texture;
    SpriteRecord image;
    uint8_t colour[kCells];
    uint8_t speed[kCells];
    int32_t baseX = 0;
    int32_t baseY = 0;
    int32_t floor = 0;
    bool dirty = false;
    bool modified = false;
    bool empty = true;
    uint64_t lastUse = 0;  // the minimap's look-up count when last looked up
};

// The pixel of a colour code, blue, green, red, alpha as the picture stores it.
uint32_t MinimapPixel(uint8_t colour);
