#pragma once

#include <cstdint>
#include <memory>

class GraphicsEngine;

// Decoded pixels are 4 bytes each, blue, green, red, alpha, with the bottom row
// of the picture first (as in BMP files); a transparent pixel is four zeros.
struct SpriteRecord {
    std::unique_ptr<uint8_t[]> data;    // run-length data from the file; null once decoded
    std::unique_ptr<uint8_t[]> pixels;  // width x height x 4 bytes; null until decoded
    uint16_t width = 0;
    uint16_t height = 0;
    uint32_t size = 0;  // bytes of run-length data

    const uint8_t* Pixel(int x, int rowFromBottom) const {
        return pixels.get() + (static_cast<size_t>(rowFromBottom) * width + static_cast<size_t>(x)) * 4;
    }
};

// A drawable image held by a back end. Only the back end that made it knows how
// to free it, so destroying a sprite hands it back to that engine: a DirectDraw
// surface is released, and an OpenGL name is never deleted in another context.
// When that engine goes away first it releases the image and forgets the sprite.
struct Sprite {
    uint32_t handle = 0;       // OpenGL texture name
    uint16_t width = 0;
    uint16_t height = 0;
    void* object = nullptr;    // Direct3D texture
    uintptr_t surface = 0;     // DirectDraw surface
    GraphicsEngine* engine = nullptr;  // the back end that made the image, if any

    Sprite() = default;
    Sprite(uint16_t w, uint16_t h) : width(w), height(h) {}
    ~Sprite();
    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;
};
