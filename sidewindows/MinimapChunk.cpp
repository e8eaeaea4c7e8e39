#include "sidewindows/MinimapChunk.h"

#include <cstring>

#include "engine/GraphicsEngine.h"
#include "engine/KEngine2.h"

uint32_t MinimapChunkKey(uint16_t x, uint16_t y, uint8_t z) {
    return (uint32_t(x & 0xFF00) << 16) | (uint32_t(y & 0xFF00) << 8) | z;
}

uint32_t MinimapPixel(uint8_t colour) {
    // Bytes in memory: blue, green, red, alpha (little-endian u32).
    auto bgra = [](uint32_t r, uint32_t g, uint32_t b) { return b | (g << 8) | (r << 16) | 0xFF000000u; };
    switch (colour) {
    case 1: return bgra(0, 200, 0);
    case 2: return bgra(0, 0, 255);
    case 3: return bgra(255, 0, 0);
    case 4: return bgra(255, 255, 0);
    case 5: return bgra(255, 255, 255);
    case 6: return bgra(128, 128, 128);
    default: return 0;  // never seen, seen with nothing to show, unknown codes
    }
}

MinimapChunk::MinimapChunk(int32_t baseX, int32_t baseY, int32_t floor)
    : baseX(baseX), baseY(baseY), floor(floor) {
    std::memset(colour, 0, sizeof colour);
    std::memset(speed, kDefaultSpeed, sizeof speed);
    image.width = kSide;
    image.height = kSide;
    image.pixels.reset(new uint8_t[size_t(kCells) * 4]());
}

Sprite* MinimapChunk::Upload() {
    if (dirty) {
        dirty = false;
        CreateTexture();
    }
    return texture.get();
}

void MinimapChunk::CreateTexture() {
    // The old image belongs to the back end that made it, which may have been
    // replaced since: the sprite's destructor hands it back to that one.
    texture.reset();
    if (!g_app || !g_app->engine)
        return;
    texture = std::make_unique<Sprite>(kSide, kSide);
    g_app->engine->GenerateSprite(texture.get(), &image, true);
}

void MinimapChunk::SetPixel(int x, int y, uint8_t code) {
    const uint32_t pixel = MinimapPixel(code);
    uint8_t* at = image.pixels.get() + (size_t(255 - (y & 255)) * kSide + size_t(x & 255)) * 4;
    at[0] = uint8_t(pixel);
    at[1] = uint8_t(pixel >> 8);
    at[2] = uint8_t(pixel >> 16);
    at[3] = uint8_t(pixel >> 24);
    dirty = true;
}

void MinimapChunk::SetTile(int x, int y, uint8_t newColour, uint8_t newSpeed) {
    const int cell = Cell(x, y);
    if (newColour != colour[cell]) {
        colour[cell] = newColour;
        modified = true;
        if (newColour != 0)
            empty = false;
        SetPixel(x, y, newColour);
    }
    if (newSpeed != 0 && newSpeed != speed[cell]) {
        speed[cell] = newSpeed;
        modified = true;
    }
}
