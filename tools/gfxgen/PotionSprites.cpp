#include "tools/gfxgen/PotionSprites.h"

#include <algorithm>
#include <cmath>

#include "tools/gfxgen/Paint.h"

bool PaintPotion(int size, GfxImage& image) {
    if (size < 1 || size > 5 || image.width != 32 || image.height != 32)
        return false;
    // The belly grows from a small vial to a large round flask; the neck
    // stays narrow and the liquid fills the lower two thirds of the belly.
    const float radius = 6.0f + 1.75f * float(size);
    const float cx = 16.0f;
    const float cy = 31.0f - radius;
    const float neckHalf = 2.0f + 0.25f * float(size);
    const float neckTop = std::max(1.0f, cy - radius - 6.0f);
    const float liquidTop = cy - radius / 3.0f;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const float px = x + 0.5f;
            const float py = y + 0.5f;
            const float d = std::sqrt((px - cx) * (px - cx) + (py - cy) * (py - cy));
            const bool inBelly = d <= radius;
            const bool inNeck = std::fabs(px - cx) <= neckHalf && py >= neckTop && py <= cy;
            if (!inBelly && !inNeck)
                continue;
            const bool rim = inBelly ? d > radius - 1.2f : std::fabs(px - cx) > neckHalf - 1.0f;
            if (rim) {
                SetPixel(image, x, y, 200, 215, 225, 0.9f);
            } else if (inBelly && py >= liquidTop) {
                // Lit from the upper left.
                const float light = Clamp(1.0f - ((px - cx) + (py - cy)) / (2.5f * radius), 0.4f, 1.2f);
                SetPixel(image, x, y, Clamp(190 * light, 0, 255), 20 * light, 30 * light);
            } else {
                SetPixel(image, x, y, 170, 190, 205, 0.35f);
            }
        }
    // The cork.
    for (int y = int(neckTop) - 2; y < int(neckTop) + 1; ++y)
        for (int x = int(cx - neckHalf); x <= int(cx + neckHalf); ++x)
            if (x >= 0 && y >= 0 && x < 32 && y < 32)
                SetPixel(image, x, y, 140, 95, 50);
    // A highlight on the glass.
    for (int i = 0; i < 3; ++i)
        BlendPixel(image, int(cx - radius * 0.45f) + i / 2, int(cy - radius * 0.1f) + i, 255, 255, 255, 0.8f);
    return true;
}
