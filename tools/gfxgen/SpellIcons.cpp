#include "tools/gfxgen/SpellIcons.h"

#include <cmath>

#include "tools/gfxgen/Paint.h"

namespace {

struct Colour {
    float r;
    float g;
    float b;
};

// An opaque square with a radial glow from `inner` at the middle to `outer`
// at the corners, and a one-pixel darker rim: the common ground of the icons,
// so that each reads as a button on every skin.
void Ground(GfxImage& image, Colour inner, Colour outer) {
    const float middle = (image.width - 1) / 2.0f;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const float d = std::hypot(x - middle, y - middle) / (middle * 1.42f);
            const float t = Clamp(d, 0, 1);
            float shade = 1.0f;
            if (x == 0 || y == 0 || x == image.width - 1 || y == image.height - 1)
                shade = 0.55f;
            SetPixel(image, x, y, Mix(inner.r, outer.r, t) * shade, Mix(inner.g, outer.g, t) * shade,
                     Mix(inner.b, outer.b, t) * shade);
        }
}

}  // namespace

// A white cross with a soft green halo.
bool DrawLightHealingIcon(GfxImage& image) {
    if (image.width != 32 || image.height != 32)
        return false;
    Ground(image, {40, 120, 70}, {10, 40, 25});
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const bool bar = (x >= 13 && x <= 18 && y >= 6 && y <= 25) || (y >= 13 && y <= 18 && x >= 6 && x <= 25);
            if (bar)
                SetPixel(image, x, y, 235, 255, 235);
            else if ((x >= 12 && x <= 19 && y >= 5 && y <= 26) || (y >= 12 && y <= 19 && x >= 5 && x <= 26))
                BlendPixel(image, x, y, 150, 255, 160, 0.8f);
        }
    return true;
}

// An orange ball with a yellow core and a flame tail to the lower left.
bool DrawFireballIcon(GfxImage& image) {
    if (image.width != 32 || image.height != 32)
        return false;
    Ground(image, {90, 30, 10}, {30, 8, 4});
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const float d = std::hypot(x - 19.0f, y - 12.0f);
            const float tail = std::hypot((x - 19.0f + (y - 12.0f)) * 0.5f, (y - 12.0f) - (x - 19.0f));
            if (d <= 8.5f) {
                const float t = d / 8.5f;
                SetPixel(image, x, y, 255, Mix(240, 110, t), Mix(120, 20, t));
            } else if (x < 19 && y > 12 && tail < 7.0f + 0.3f * (19 - x)) {
                BlendPixel(image, x, y, 255, 90, 20, Clamp(1.0f - std::hypot(x - 19.0f, y - 12.0f) / 22.0f, 0, 1));
            }
        }
    return true;
}

// A pale blue shard pointing to the upper right.
bool DrawIceLanceIcon(GfxImage& image) {
    if (image.width != 32 || image.height != 32)
        return false;
    Ground(image, {30, 60, 110}, {8, 16, 40});
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            // Along the diagonal from (5, 26) to (27, 4); the width narrows to the tip.
            const float along = ((x - 5.0f) + (26.0f - y)) / 44.0f;
            const float across = std::fabs((x - 5.0f) - (26.0f - y)) / 2.0f;
            if (along < 0 || along > 1)
                continue;
            const float halfWidth = 4.0f * (1.0f - along) + 0.5f;
            if (across <= halfWidth)
                SetPixel(image, x, y, Mix(170, 240, along), Mix(215, 250, along), 255);
        }
    return true;
}
