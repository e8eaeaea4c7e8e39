#include "tools/gfxgen/Skins.h"

#include <cmath>

#include "tools/gfxgen/Paint.h"

namespace {

// Fine grain in [-1, 1] that differs from pixel to pixel.
float Grain(int x, int y, uint32_t seed) { return Random01(x, y, seed) * 2 - 1; }

// Paints a soft line of the given width across a tile, wrapping at the edges so
// that the tile stays seamless.
void WrappedLine(GfxImage& image, float x0, float y0, float x1, float y1, float r, float g, float b, float alpha) {
    const float length = std::hypot(x1 - x0, y1 - y0);
    const int steps = int(length * 3) + 1;
    for (int i = 0; i <= steps; ++i) {
        const float t = float(i) / float(steps);
        // Thinner and fainter towards both ends, like a real scratch.
        const float fade = std::sin(t * 3.14159f);
        const float x = Mix(x0, x1, t);
        const float y = Mix(y0, y1, t);
        const int px = int(std::floor(x));
        const int py = int(std::floor(y));
        const float fx = x - px;
        const float fy = y - py;
        const float weights[4] = {(1 - fx) * (1 - fy), fx * (1 - fy), (1 - fx) * fy, fx * fy};
        for (int k = 0; k < 4; ++k) {
            const int wx = ((px + k % 2) % image.width + image.width) % image.width;
            const int wy = ((py + k / 2) % image.height + image.height) % image.height;
            BlendPixel(image, wx, wy, r, g, b, alpha * fade * weights[k] * 0.6f);
        }
    }
}

// Diagonal stripes 8 pixels apart (the tile's size is a multiple of 16, so they
// continue across its edges), with soft edges, grain and faint clouds.
void Stripes(GfxImage& image, float dark, float light, uint32_t seed) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const float phase = float((x + y) % 16) + 0.5f;
            // 1 across the light band, 0 across the dark one, a pixel of ramp between.
            const float band = SmoothStep(0, 1.5f, phase) * (1 - SmoothStep(8, 9.5f, phase));
            const float cloud = TileFractal(float(x), float(y), image.width, 4, 3, seed) - 0.5f;
            const float v = Mix(dark, light, band) + cloud * 10 + Grain(x, y, seed + 1) * 1.5f;
            SetPixel(image, x, y, v, v, v + 2);
        }
    }
}

}  // namespace

bool DrawEarthSkin(GfxImage& image) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const float soil = TileFractal(float(x), float(y), image.width, 4, 5, 101);
            // Dark cracks where a second noise crosses its middle.
            const float ridge = std::fabs(TileFractal(float(x), float(y), image.width, 3, 4, 202) - 0.5f);
            const float crack = 1 - SmoothStep(0.0f, 0.03f, ridge);
            // Small pebbles: lighter specks here and there.
            const float speck = Random01(x, y, 303) > 0.985f ? 14.0f : 0.0f;
            const float t = Clamp((soil - 0.3f) * 2.5f, 0, 1);
            const float grain = Grain(x, y, 404) * 4;
            const float r = Mix(44, 86, t) - crack * 16 + speck + grain;
            const float g = Mix(32, 63, t) - crack * 12 + speck * 0.8f + grain;
            const float b = Mix(22, 42, t) - crack * 8 + speck * 0.6f + grain * 0.8f;
            SetPixel(image, x, y, r, g, b);
        }
    }
    return true;
}

bool DrawDustSkin(GfxImage& image) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const float haze = TileFractal(float(x), float(y), image.width, 2, 5, 505);
            const float fine = TileFractal(float(x), float(y), image.width, 16, 2, 606);
            const float mote = Random01(x, y, 707) > 0.992f ? 12.0f : 0.0f;
            const float v = 46 + (haze - 0.5f) * 36 + (fine - 0.5f) * 10 + Grain(x, y, 808) * 3 + mote;
            SetPixel(image, x, y, v + 6, v + 3, v - 3);
        }
    }
    return true;
}

bool DrawDarkScratchesSkin(GfxImage& image) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const float cloud = TileFractal(float(x), float(y), image.width, 4, 4, 909) - 0.5f;
            const float v = 24 + cloud * 12 + Grain(x, y, 1010) * 2;
            SetPixel(image, x, y, v, v, v + 1);
        }
    }
    // Scratches mostly along one diagonal, as if from years of use, each with a
    // dark edge beside its light groove.
    for (int i = 0; i < 70; ++i) {
        const float x = Random01(i, 1, 1111) * float(image.width);
        const float y = Random01(i, 2, 1111) * float(image.height);
        const float angle = -0.7f + (Random01(i, 3, 1111) - 0.5f) * 0.9f;
        const float length = 6 + Random01(i, 4, 1111) * 34;
        const float dx = std::cos(angle) * length;
        const float dy = std::sin(angle) * length;
        const float strength = 0.35f + Random01(i, 5, 1111) * 0.5f;
        WrappedLine(image, x + 1, y + 1, x + dx + 1, y + dy + 1, 6, 6, 6, strength);
        WrappedLine(image, x, y, x + dx, y + dy, 78, 78, 80, strength);
    }
    return true;
}

bool DrawLightStripesSkin(GfxImage& image) {
    Stripes(image, 50, 62, 1212);
    return true;
}

bool DrawDarkStripesSkin(GfxImage& image) {
    Stripes(image, 22, 32, 1313);
    return true;
}

bool DrawTranslucentBlackTile(GfxImage& image) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if ((x + y) % 2 == 0)
                image.Set(x, y, Rgba(0, 0, 0));
    return true;
}
