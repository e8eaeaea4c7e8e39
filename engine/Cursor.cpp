#include "engine/Cursor.h"

#include <cstring>

#include "engine/Sprite.h"

bool IsCursorImage(const SpriteRecord* image) {
    return image && image->pixels && image->width >= kCursorSize && image->height >= kCursorSize;
}

void BuildCursorPlanes(const SpriteRecord& image, uint8_t andPlane[kCursorPlaneBytes],
                       uint8_t xorPlane[kCursorPlaneBytes]) {
    std::memset(andPlane, 0, kCursorPlaneBytes);
    std::memset(xorPlane, 0, kCursorPlaneBytes);
    for (int r = 0; r < kCursorSize; ++r) {
        for (int c = 0; c < kCursorSize; ++c) {
            // Row r of the pixel buffer in memory order, as the image is stored.
            const uint8_t red = image.pixels[(size_t(r) * image.width + size_t(c)) * 4 + 2];
            const int byte = r * 4 + c / 8;
            const uint8_t bit = uint8_t(0x80u >> (c % 8));
            if (red == 128)
                andPlane[byte] |= bit;
            else if (red == 255)
                xorPlane[byte] |= bit;
        }
    }
}
