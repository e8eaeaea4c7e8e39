#pragma once

#include <cstdint>

struct SpriteRecord;

// A cursor made from sprite pixels; freed with DeleteCursorHandle.
struct CursorHandle {
    void* handle = nullptr;  // HCURSOR; null when CreateCursor failed
};

// Cursors are 32 x 32 pixels with 1-bit AND and XOR planes of 4 bytes a row.
constexpr int kCursorSize = 32;
constexpr int kCursorPlaneBytes = kCursorSize * kCursorSize / 8;

// Fills the two planes from the red byte of each pixel of rows 0 to 31 in
// memory order: 128 is transparent, 255 white, anything else black. The image
// must be decoded and at least 32 x 32.
void BuildCursorPlanes(const SpriteRecord& image, uint8_t andPlane[kCursorPlaneBytes],
                       uint8_t xorPlane[kCursorPlaneBytes]);
// True when the image can be a cursor: decoded and at least 32 x 32.
bool IsCursorImage(const SpriteRecord* image);

void DeleteCursorHandle(CursorHandle* cursor);
