#include "tools/gfxgen/TalentIcons.h"

#include <cmath>
#include <cstdlib>

#include "tools/gfxgen/Paint.h"

namespace {

struct Colour {
    float r;
    float g;
    float b;
};

// A dark square badge with a lighter rim and a symbol in one colour, lit from
// above: the common look of the six icons. `inside` says which pixel of the
// 16 x 16 area within the rim (x, y from 0 to 15) belongs to the symbol.
template <class Inside>
bool Badge(GfxImage& image, Colour colour, Inside inside) {
    if (image.width != 18 || image.height != 18)
        return false;
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 18; ++x) {
            const bool rim = x == 0 || y == 0 || x == 17 || y == 17;
            if (rim) {
                SetPixel(image, x, y, 95, 95, 105);
                continue;
            }
            SetPixel(image, x, y, 28, 28, 34);
            if (inside(float(x - 1), float(y - 1))) {
                const float light = Mix(1.15f, 0.75f, float(y) / 17.0f);
                SetPixel(image, x, y, colour.r * light, colour.g * light, colour.b * light);
            }
        }
    return true;
}

}  // namespace

// A heart.
bool DrawDurabilityIcon(GfxImage& image) {
    return Badge(image, {215, 45, 45}, [](float x, float y) {
        const float u = (x - 7.5f) / 6.2f;
        const float v = (8.0f - y) / 5.6f;
        const float a = u * u + v * v - 1.0f;
        return a * a * a - u * u * v * v * v <= 0.0f;
    });
}

// A drop of mana.
bool DrawSpiritualityIcon(GfxImage& image) {
    return Badge(image, {60, 120, 230}, [](float x, float y) {
        const float dx = x - 7.5f;
        if (y >= 8.0f)
            return std::hypot(dx, y - 9.5f) <= 5.0f;
        return y >= 1.0f && std::fabs(dx) <= (y - 1.0f) * 0.62f;
    });
}

// Two chevrons pointing right: speed.
bool DrawLegerityIcon(GfxImage& image) {
    return Badge(image, {80, 200, 90}, [](float x, float y) {
        const float d = std::fabs(y - 7.5f);
        if (d > 6.0f)
            return false;
        for (float tip : {8.0f, 14.0f}) {
            const float edge = tip - d;
            if (x <= edge && x > edge - 3.0f)
                return true;
        }
        return false;
    });
}

// A sword pointing up and to the right.
bool DrawAggressionIcon(GfxImage& image) {
    return Badge(image, {230, 140, 50}, [](float x, float y) {
        const float along = (x + (15.0f - y)) * 0.7071f;
        const float across = std::fabs(x - (15.0f - y)) * 0.7071f;
        if (along >= 6.5f && along <= 20.0f && across <= 1.3f)
            return true;  // the blade
        if (along >= 5.0f && along < 6.5f)
            return across <= 3.6f;  // the guard
        return along >= 1.5f && along < 5.0f && across <= 0.8f;  // the grip
    });
}

// A shield.
bool DrawFortificationIcon(GfxImage& image) {
    return Badge(image, {175, 175, 190}, [](float x, float y) {
        const float dx = std::fabs(x - 7.5f);
        if (y < 1.0f || y > 15.0f)
            return false;
        if (y <= 8.0f)
            return dx <= 6.5f;
        return dx <= 6.5f * (15.0f - y) / 7.0f;
    });
}

// A ring with a dot: a ward.
bool DrawResistanceIcon(GfxImage& image) {
    return Badge(image, {170, 80, 220}, [](float x, float y) {
        const float r = std::hypot(x - 7.5f, y - 7.5f);
        return (r >= 4.5f && r <= 7.0f) || r <= 2.0f;
    });
}
