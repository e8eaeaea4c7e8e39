#include "tools/gfxgen/ActionSprites.h"

#include <cmath>

#include "tools/gfxgen/Paint.h"

namespace {

void Fill(GfxImage& image, int x0, int y0, int w, int h, float r, float g, float b) {
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            if (x >= 0 && y >= 0 && x < image.width && y < image.height)
                SetPixel(image, x, y, r, g, b);
}

// A line one and a half pixels wide, by coverage.
void Line(GfxImage& image, float x0, float y0, float x1, float y1, float r, float g, float b) {
    const float dx = x1 - x0, dy = y1 - y0;
    const float length2 = dx * dx + dy * dy;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const float px = x + 0.5f - x0, py = y + 0.5f - y0;
            const float t = Clamp((px * dx + py * dy) / length2, 0, 1);
            const float ex = px - t * dx, ey = py - t * dy;
            const float d = std::sqrt(ex * ex + ey * ey);
            const float a = Clamp(1.25f - d, 0, 1);
            if (a > 0)
                BlendPixel(image, x, y, r, g, b, a);
        }
}

bool Sized(const GfxImage& image, int w, int h) { return image.width == w && image.height == h; }

}  // namespace

bool DrawLootAction(GfxImage& image) {
    if (!Sized(image, 32, 32))
        return false;
    // An open bag with coins above it.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const float dx = (x + 0.5f - 16) / 11, dy = (y + 0.5f - 21) / 9;
            if (dx * dx + dy * dy <= 1)
                SetPixel(image, x, y, 150 - 30 * dy, 100 - 20 * dy, 50);
        }
    Fill(image, 9, 11, 14, 3, 110, 70, 35);
    for (const int cx : {11, 16, 21})
        for (int y = 5; y < 11; ++y)
            for (int x = cx - 3; x <= cx + 3; ++x) {
                const float ex = (x + 0.5f - cx) / 3.2f, ey = (y + 0.5f - 8) / 2.6f;
                if (ex * ex + ey * ey <= 1)
                    SetPixel(image, x, y, 240, 200, 40);
            }
    return true;
}

bool DrawFishingRod(GfxImage& image) {
    if (!Sized(image, 32, 32))
        return false;
    Line(image, 5, 28, 26, 4, 120, 80, 40);
    Line(image, 26, 4, 28, 20, 220, 220, 220);
    Fill(image, 27, 20, 3, 3, 200, 40, 40);
    return true;
}

bool DrawLever(GfxImage& image) {
    if (!Sized(image, 32, 32))
        return false;
    Fill(image, 8, 22, 16, 6, 90, 90, 100);
    Line(image, 16, 24, 23, 8, 150, 150, 160);
    for (int y = 4; y < 12; ++y)
        for (int x = 19; x < 28; ++x) {
            const float ex = (x + 0.5f - 23.5f) / 3.5f, ey = (y + 0.5f - 8) / 3.5f;
            if (ex * ex + ey * ey <= 1)
                SetPixel(image, x, y, 200, 30, 30);
        }
    return true;
}

bool DrawChest(GfxImage& image) {
    if (!Sized(image, 32, 32))
        return false;
    Fill(image, 5, 12, 22, 15, 140, 85, 35);
    Fill(image, 5, 8, 22, 5, 165, 105, 45);
    Fill(image, 5, 12, 22, 1, 80, 50, 20);
    Fill(image, 14, 13, 4, 4, 230, 200, 60);
    return true;
}

bool DrawToggleExpanded(GfxImage& image) {
    if (!Sized(image, 8, 8))
        return false;
    Fill(image, 1, 3, 6, 2, 235, 235, 235);
    return true;
}

bool DrawToggleCollapsed(GfxImage& image) {
    if (!Sized(image, 8, 8))
        return false;
    Fill(image, 1, 3, 6, 2, 235, 235, 235);
    Fill(image, 3, 1, 2, 6, 235, 235, 235);
    return true;
}
