#include "tools/gfxgen/LoginBackdrop.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/gfxgen/Paint.h"

namespace {

constexpr int kPictureWidth = 1920;
constexpr int kPictureHeight = 1024;

struct Rgb {
    float r, g, b;
};

Rgb MixRgb(const Rgb& a, const Rgb& b, float t) { return {Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t)}; }

// Smooth one-dimensional noise in [0, 1).
float Noise1(float x, uint32_t seed) {
    const float fx = std::floor(x);
    const float t = SmoothStep(0, 1, x - fx);
    return Mix(Random01(int(fx), 0, seed), Random01(int(fx) + 1, 0, seed), t);
}

float Fractal1(float x, int octaves, uint32_t seed) {
    float sum = 0, weight = 0, amplitude = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * Noise1(x, seed + uint32_t(i) * 131u);
        weight += amplitude;
        amplitude *= 0.5f;
        x *= 2.03f;
    }
    return sum / weight;
}

// Two-dimensional value noise in [0, 1), not periodic.
float Noise2(float x, float y, uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const float tx = SmoothStep(0, 1, x - fx), ty = SmoothStep(0, 1, y - fy);
    const int ix = int(fx), iy = int(fy);
    return Mix(Mix(Random01(ix, iy, seed), Random01(ix + 1, iy, seed), tx),
               Mix(Random01(ix, iy + 1, seed), Random01(ix + 1, iy + 1, seed), tx), ty);
}

float Fractal2(float x, float y, int octaves, uint32_t seed) {
    float sum = 0, weight = 0, amplitude = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * Noise2(x, y, seed + uint32_t(i) * 977u);
        weight += amplitude;
        amplitude *= 0.5f;
        x *= 2.01f;
        y *= 2.01f;
    }
    return sum / weight;
}

// A float picture, painted layer by layer, then written out once.
class Canvas {
public:
    Canvas() : pixels_(size_t(kPictureWidth) * kPictureHeight) {}
    Rgb& At(int x, int y) { return pixels_[size_t(y) * kPictureWidth + size_t(x)]; }
    void Blend(int x, int y, const Rgb& c, float a) {
        if (x < 0 || y < 0 || x >= kPictureWidth || y >= kPictureHeight || a <= 0)
            return;
        Rgb& p = At(x, y);
        p = MixRgb(p, c, Clamp(a, 0, 1));
    }

private:
    std::vector<Rgb> pixels_;
};

const Rgb kMoonLight = {255, 236, 200};
constexpr float kMoonX = 1490, kMoonY = 215, kMoonRadius = 56;
constexpr float kHorizon = 700;

void PaintSky(Canvas& canvas) {
    struct Stop {
        float y;
        Rgb color;
    };
    const Stop stops[] = {
        {0, {6, 8, 24}},       {300, {20, 24, 58}},   {520, {58, 46, 92}},
        {640, {130, 78, 96}},  {720, {196, 116, 82}}, {1024, {210, 130, 90}},
    };
    for (int y = 0; y < kPictureHeight; ++y) {
        Rgb row = stops[0].color;
        for (size_t i = 1; i < sizeof(stops) / sizeof(stops[0]); ++i)
            if (y >= stops[i - 1].y)
                row = MixRgb(stops[i - 1].color, stops[i].color,
                             SmoothStep(stops[i - 1].y, stops[i].y, float(y)));
        for (int x = 0; x < kPictureWidth; ++x) {
            // A warm glow low in the sky, strongest left of the middle.
            const float dx = (x - 760.0f) / 900.0f, dy = (y - kHorizon) / 260.0f;
            const float glow = std::exp(-(dx * dx + dy * dy)) * 0.35f;
            canvas.At(x, y) = MixRgb(row, {235, 150, 90}, glow);
        }
    }
}

void PaintStars(Canvas& canvas) {
    for (int y = 0; y < 620; ++y) {
        const float fade = 1 - SmoothStep(200, 620, float(y));
        for (int x = 0; x < kPictureWidth; ++x) {
            const float r = Random01(x, y, 4242);
            if (r < 0.9982f)
                continue;
            const float brightness = (r - 0.9982f) / 0.0018f;
            const float tint = Random01(x, y, 4343);
            const Rgb color = tint < 0.3f ? Rgb{200, 210, 255} : (tint > 0.85f ? Rgb{255, 225, 190} : Rgb{245, 245, 255});
            const float a = fade * (0.35f + 0.65f * brightness);
            canvas.Blend(x, y, color, a);
            if (brightness > 0.8f) {
                // The brightest stars get a small cross of light.
                for (int d = 1; d <= 2; ++d) {
                    const float s = a * (d == 1 ? 0.45f : 0.15f);
                    canvas.Blend(x + d, y, color, s);
                    canvas.Blend(x - d, y, color, s);
                    canvas.Blend(x, y + d, color, s);
                    canvas.Blend(x, y - d, color, s);
                }
            }
        }
    }
}

void PaintMoon(Canvas& canvas) {
    const int reach = 420;
    for (int y = std::max(0, int(kMoonY) - reach); y < std::min(kPictureHeight, int(kMoonY) + reach); ++y) {
        for (int x = int(kMoonX) - reach; x < int(kMoonX) + reach; ++x) {
            const float d = std::hypot(x + 0.5f - kMoonX, y + 0.5f - kMoonY);
            // Halo first, then the disc with soft limb darkening and grey seas.
            const float halo = std::exp(-(d - kMoonRadius) / 70.0f) * 0.28f + std::exp(-(d - kMoonRadius) / 12.0f) * 0.2f;
            if (d > kMoonRadius)
                canvas.Blend(x, y, kMoonLight, Clamp(halo, 0, 0.6f));
            const float edge = Clamp(kMoonRadius + 0.5f - d, 0, 1);
            if (edge <= 0)
                continue;
            const float limb = std::sqrt(std::max(0.0f, 1 - (d / kMoonRadius) * (d / kMoonRadius)));
            const float seas = SmoothStep(0.55f, 0.7f, Fractal2(x / 22.0f, y / 22.0f, 4, 777));
            const float shade = (0.78f + 0.22f * limb) * (1 - 0.16f * seas);
            canvas.Blend(x, y, {kMoonLight.r * shade, kMoonLight.g * shade, kMoonLight.b * shade}, edge);
        }
    }
}

// Long thin clouds, lit on the side facing the moon.
void PaintClouds(Canvas& canvas) {
    for (int y = 120; y < 560; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            const float n = Fractal2(x / 260.0f, y / 34.0f, 5, 999);
            const float band = SmoothStep(0.52f, 0.72f, n) * (1 - SmoothStep(420, 560, float(y))) * SmoothStep(120, 200, float(y));
            if (band <= 0)
                continue;
            const float lit = std::exp(-std::hypot(x - kMoonX, (y - kMoonY) * 1.6f) / 520.0f);
            const Rgb color = MixRgb({60, 50, 88}, {210, 190, 190}, lit);
            canvas.Blend(x, y, color, band * 0.55f);
        }
    }
}

// A mountain range: a ridge line from noise, filled below with its colour,
// which fades into the haze at its foot; sharp peaks from folded noise.
struct Range {
    float base;       // y of the ridge's mean line
    float height;     // how far peaks rise above it
    float scale;      // pixels per noise unit
    uint32_t seed;
    Rgb color;
    Rgb haze;
    float hazeDepth;  // pixels below the mean line where the haze is strongest
    float rim;        // moonlight along the ridge: only far ridges catch it visibly
};

std::vector<float> Ridge(const Range& range) {
    std::vector<float> top(kPictureWidth);
    for (int x = 0; x < kPictureWidth; ++x) {
        const float n = Fractal1(x / range.scale, 6, range.seed);
        const float peaks = 1 - std::fabs(2 * Fractal1(x / (range.scale * 1.7f), 4, range.seed + 55) - 1);
        top[size_t(x)] = range.base - range.height * (0.55f * n + 0.45f * peaks * peaks);
    }
    return top;
}

void PaintRange(Canvas& canvas, const Range& range, const std::vector<float>& top) {
    for (int x = 0; x < kPictureWidth; ++x) {
        const float ridge = top[size_t(x)];
        for (int y = std::max(0, int(ridge)); y < kPictureHeight; ++y) {
            const float cover = Clamp(y + 1 - ridge, 0, 1);
            // The haze depends on the height alone, so that it lies level
            // across the range instead of following the peaks down.
            const float haze = SmoothStep(range.base - range.height * 0.4f, range.base + range.hazeDepth, float(y)) * 0.6f;
            // A thin rim of moonlight along the ridge.
            const float rim = std::exp(-(y - ridge) / 1.5f) * range.rim;
            const Rgb c = MixRgb(MixRgb(range.color, range.haze, haze), kMoonLight, rim);
            canvas.Blend(x, y, c, cover);
        }
    }
}

void Rect(Canvas& canvas, int x0, int y0, int x1, int y1, const Rgb& c) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            canvas.Blend(x, y, c, 1);
}

// A pointed roof over [x0, x1) with its eaves at y.
void Roof(Canvas& canvas, int x0, int x1, int y, int height, const Rgb& c) {
    const float mid = (x0 + x1) / 2.0f;
    const float half = (x1 - x0) / 2.0f;
    for (int j = 0; j < height; ++j) {
        const float w = half * (j + 1) / height;
        for (int x = int(mid - w); x < int(std::ceil(mid + w)); ++x) {
            const float cover = Clamp(w - std::fabs(x + 0.5f - mid) + 0.5f, 0, 1);
            canvas.Blend(x, y - height + j, c, cover);
        }
    }
}

// The x of the highest point of a ridge between two columns.
int HighestPoint(const std::vector<float>& ridge, int from, int to) {
    return int(std::min_element(ridge.begin() + from, ridge.begin() + to) - ridge.begin());
}

// A castle on a far ridge, its windows lit. Its walls reach down to the bottom
// of the picture: the range painted over it afterwards hides all that stands
// below the ridge, so the castle always stands on the ground.
void PaintCastle(Canvas& canvas, const std::vector<float>& ridge, int centre, const Rgb& c) {
    const int ground = int(ridge[size_t(centre)]) + 6;
    const Rgb window = {255, 196, 110};
    // Curtain wall with battlements.
    Rect(canvas, centre - 58, ground - 34, centre + 62, kPictureHeight, c);
    for (int x = centre - 58; x < centre + 62; x += 8)
        Rect(canvas, x, ground - 39, x + 4, ground - 34, c);
    // Keep.
    Rect(canvas, centre - 18, ground - 88, centre + 22, ground, c);
    for (int x = centre - 18; x < centre + 22; x += 8)
        Rect(canvas, x, ground - 94, x + 4, ground - 88, c);
    // Towers with pointed roofs.
    const struct {
        int x, width, height;
    } towers[] = {{-70, 18, 66}, {56, 18, 70}, {-32, 12, 108}, {30, 12, 100}};
    for (const auto& t : towers) {
        Rect(canvas, centre + t.x, ground - t.height, centre + t.x + t.width, kPictureHeight, c);
        Roof(canvas, centre + t.x - 3, centre + t.x + t.width + 3, ground - t.height, t.width + 8, c);
    }
    // A pennant on the tallest tower.
    Rect(canvas, centre - 27, ground - 138, centre - 26, ground - 120, c);
    Rect(canvas, centre - 26, ground - 138, centre - 18, ground - 134, c);
    const int windows[][2] = {{-8, 70}, {8, 70}, {-8, 50}, {-26, 86}, {35, 80}, {-64, 50}, {61, 52}, {0, 24}};
    for (const auto& w : windows) {
        Rect(canvas, centre + w[0], ground - w[1], centre + w[0] + 3, ground - w[1] + 5, window);
        // A little glow around each window.
        for (int y = -4; y < 9; ++y)
            for (int x = -4; x < 7; ++x)
                canvas.Blend(centre + w[0] + x, ground - w[1] + y, window, 0.05f);
    }
}

// Fir trees along a ridge: stacked triangles, denser and taller here and there.
void PaintTrees(Canvas& canvas, const std::vector<float>& ridge, const Rgb& c, uint32_t seed) {
    for (int x = 0; x < kPictureWidth; x += 5) {
        const float density = Fractal1(x / 140.0f, 3, seed);
        if (Random01(x, 7, seed) > density * 1.4f - 0.2f)
            continue;
        const int tx = x + int(Random01(x, 8, seed) * 4);
        const float height = 18 + Random01(x, 9, seed) * 34 * (0.5f + density);
        const float foot = ridge[size_t(std::min(tx, kPictureWidth - 1))] + 4;
        const float halfWidth = height * 0.28f;
        for (int j = 0; j < int(height); ++j) {
            // Three tiers of branches, wider towards each tier's bottom.
            const float t = j / height;
            const float tier = std::fmod(t * 3, 1.0f);
            const float w = halfWidth * (0.25f + 0.75f * t) * (0.55f + 0.45f * tier);
            const int y = int(foot - height) + j;
            for (int px = int(tx - w - 1); px <= int(tx + w + 1); ++px)
                canvas.Blend(px, y, c, Clamp(w - std::fabs(px + 0.5f - tx) + 0.5f, 0, 1));
        }
        Rect(canvas, tx - 1, int(foot) - 2, tx + 1, int(foot) + 3, c);
    }
}

// Thin mist lying in the valleys between the ranges.
void PaintMist(Canvas& canvas, float centre, float thickness, float strength, uint32_t seed) {
    for (int y = int(centre - thickness * 2); y < int(centre + thickness * 2); ++y) {
        if (y < 0 || y >= kPictureHeight)
            continue;
        const float band = std::exp(-((y - centre) / thickness) * ((y - centre) / thickness));
        for (int x = 0; x < kPictureWidth; ++x) {
            const float n = Fractal2(x / 180.0f, y / 20.0f, 4, seed);
            canvas.Blend(x, y, {150, 120, 140}, band * strength * SmoothStep(0.35f, 0.75f, n));
        }
    }
}

void PaintVignette(Canvas& canvas) {
    for (int y = 0; y < kPictureHeight; ++y)
        for (int x = 0; x < kPictureWidth; ++x) {
            const float dx = (x - kPictureWidth / 2.0f) / (kPictureWidth * 0.62f);
            const float dy = (y - kPictureHeight * 0.45f) / (kPictureHeight * 0.75f);
            const float dark = SmoothStep(0.55f, 1.25f, std::sqrt(dx * dx + dy * dy)) * 0.55f;
            canvas.Blend(x, y, {0, 0, 4}, dark);
        }
}

}  // namespace

bool DrawLoginBackdrop(GfxImage& image) {
    if (image.width < kPictureWidth || image.height != kPictureHeight)
        return false;
    Canvas canvas;
    PaintSky(canvas);
    PaintStars(canvas);
    PaintClouds(canvas);
    PaintMoon(canvas);

    const Range ranges[] = {
        {650, 230, 260, 11, {96, 72, 112}, {176, 112, 112}, 160, 0.2f},
        {735, 170, 190, 22, {58, 44, 82}, {140, 90, 104}, 150, 0.12f},
        {840, 150, 150, 33, {32, 26, 50}, {86, 56, 76}, 160, 0.04f},
        {960, 110, 120, 44, {12, 11, 22}, {30, 22, 36}, 140, 0.0f},
    };
    std::vector<float> ridges[4];
    for (int i = 0; i < 4; ++i)
        ridges[i] = Ridge(ranges[i]);
    PaintRange(canvas, ranges[0], ridges[0]);
    PaintMist(canvas, 700, 26, 0.35f, 1201);
    PaintCastle(canvas, ridges[1], HighestPoint(ridges[1], 330, 560), ranges[1].color);
    PaintRange(canvas, ranges[1], ridges[1]);
    PaintMist(canvas, 790, 30, 0.3f, 1202);
    PaintTrees(canvas, ridges[2], ranges[2].color, 1301);
    PaintRange(canvas, ranges[2], ridges[2]);
    PaintMist(canvas, 900, 34, 0.22f, 1203);
    PaintTrees(canvas, ridges[3], ranges[3].color, 1302);
    PaintRange(canvas, ranges[3], ridges[3]);
    PaintVignette(canvas);

    // The columns right of the picture repeat its last column, so filtering at
    // the picture's right edge never blends in transparent pixels.
    for (int y = 0; y < kPictureHeight; ++y)
        for (int x = 0; x < image.width; ++x) {
            const Rgb& c = canvas.At(std::min(x, kPictureWidth - 1), y);
            const float grain = Random01(x, y, 5151) - 0.5f;  // breaks up banding in the gradients
            SetPixel(image, x, y, c.r + grain, c.g + grain, c.b + grain);
        }
    return true;
}
