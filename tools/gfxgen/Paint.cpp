#include "tools/gfxgen/Paint.h"

#include <cmath>
#include <cstring>

uint32_t Rgba(int r, int g, int b, int a) {
    return uint32_t(r & 0xFF) | uint32_t(g & 0xFF) << 8 | uint32_t(b & 0xFF) << 16 | uint32_t(a & 0xFF) << 24;
}

float SmoothStep(float edge0, float edge1, float x) {
    const float t = Clamp((x - edge0) / (edge1 - edge0), 0, 1);
    return t * t * (3 - 2 * t);
}

void SetPixel(GfxImage& image, int x, int y, float r, float g, float b, float a) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height)
        return;
    auto byte = [](float v) { return int(std::lround(Clamp(v, 0, 255))); };
    image.Set(x, y, Rgba(byte(r), byte(g), byte(b), byte(a * 255)));
}

void BlendPixel(GfxImage& image, int x, int y, float r, float g, float b, float a) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height || a <= 0)
        return;
    const uint8_t* p = image.At(x, y);
    const float below = p[3] / 255.0f;
    const float out = a + below * (1 - a);
    auto mix = [&](float top, float bottom) { return (top * a + bottom * below * (1 - a)) / out; };
    SetPixel(image, x, y, mix(r, p[2]), mix(g, p[1]), mix(b, p[0]), out);
}

float Random01(int x, int y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 0x8DA6B343u ^ uint32_t(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return (h >> 8) / 16777216.0f;
}

float PeriodicNoise(float x, float y, int period, uint32_t seed) {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const float tx = SmoothStep(0, 1, x - fx);
    const float ty = SmoothStep(0, 1, y - fy);
    auto wrap = [period](int v) { return ((v % period) + period) % period; };
    const int x0 = wrap(int(fx));
    const int y0 = wrap(int(fy));
    const int x1 = wrap(x0 + 1);
    const int y1 = wrap(y0 + 1);
    const float top = Mix(Random01(x0, y0, seed), Random01(x1, y0, seed), tx);
    const float bottom = Mix(Random01(x0, y1, seed), Random01(x1, y1, seed), tx);
    return Mix(top, bottom, ty);
}

float TileFractal(float x, float y, int size, int cells, int octaves, uint32_t seed) {
    float sum = 0;
    float weight = 0;
    float amplitude = 1;
    for (int octave = 0; octave < octaves; ++octave) {
        const float scale = float(cells) / float(size);
        sum += amplitude * PeriodicNoise(x * scale, y * scale, cells, seed + uint32_t(octave) * 7919u);
        weight += amplitude;
        amplitude *= 0.5f;
        cells *= 2;
    }
    return sum / weight;
}

GfxImage FromPicture(std::initializer_list<const char*> rows,
                     std::initializer_list<std::pair<char, uint32_t>> palette) {
    const int height = int(rows.size());
    const int width = height ? int(std::strlen(*rows.begin())) : 0;
    GfxImage image(width, height);
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; x < width && row[x]; ++x)
            for (const auto& entry : palette)
                if (entry.first == row[x])
                    image.Set(x, y, entry.second);
        ++y;
    }
    return image;
}

void FillRect(GfxImage& image, int x0, int y0, int x1, int y1, uint32_t colour) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (x >= 0 && y >= 0 && x < image.width && y < image.height)
                image.Set(x, y, colour);
}

void Border(GfxImage& image, int thickness, uint32_t colour) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (x < thickness || y < thickness || x >= image.width - thickness || y >= image.height - thickness)
                image.Set(x, y, colour);
}
