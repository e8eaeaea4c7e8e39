#include "tools/gfxgen/WorldSprites.h"

#include <cmath>

#include "tools/gfxgen/Paint.h"

namespace {

void FillEllipse(GfxImage& image, float cx, float cy, float rx, float ry, float r, float g, float b) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
            if (dx * dx + dy * dy <= 1.0f)
                SetPixel(image, x, y, r, g, b);
        }
}

void FillRect(GfxImage& image, int x0, int y0, int w, int h, float r, float g, float b) {
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            if (x >= 0 && y >= 0 && x < image.width && y < image.height)
                SetPixel(image, x, y, r, g, b);
}

bool Grass(GfxImage& image) {
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const float n = TileFractal(float(x), float(y), 32, 4, 3, 100);
            SetPixel(image, x, y, Mix(40, 90, n), Mix(110, 170, n), Mix(30, 60, n));
        }
    return true;
}

bool Water(GfxImage& image) {
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const float wave = 0.5f + 0.5f * std::sin((x + 2 * y) * 0.4f);
            SetPixel(image, x, y, Mix(20, 60, wave), Mix(70, 120, wave), Mix(150, 210, wave));
        }
    return true;
}

bool Wall(GfxImage& image) {
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int row = y / 8;
            const bool joint = y % 8 == 7 || (x + (row % 2) * 8) % 16 == 15;
            const float n = Random01(x, y, 103) * 20;
            const float v = joint ? 70 : 130 + n;
            SetPixel(image, x, y, v, v, v + 5);
        }
    return true;
}

// A pile of n coins, the larger piles higher.
bool Coins(GfxImage& image, int n) {
    static const int kSpots[10][2] = {{16, 24}, {10, 25}, {22, 25}, {13, 21}, {19, 21},
                                      {7, 22},  {25, 22}, {16, 18}, {11, 17}, {21, 17}};
    for (int i = 0; i < n && i < 10; ++i) {
        FillEllipse(image, float(kSpots[i][0]), float(kSpots[i][1]), 4.5f, 2.8f, 150, 110, 10);
        FillEllipse(image, float(kSpots[i][0]), float(kSpots[i][1]) - 0.8f, 3.8f, 2.0f, 250, 205, 60);
    }
    return true;
}

// A flower that sways: frame 0 to 3.
bool Flower(GfxImage& image, int frame) {
    const float sway = std::sin(frame * 1.5708f) * 2.0f;
    FillRect(image, 15, 16, 2, 13, 40, 120, 40);
    const float cx = 16 + sway, cy = 12;
    for (int k = 0; k < 5; ++k) {
        const float a = k * 1.2566f + frame * 0.3f;
        FillEllipse(image, cx + std::cos(a) * 4.5f, cy + std::sin(a) * 4.5f, 3.0f, 3.0f, 230, 80, 140);
    }
    FillEllipse(image, cx, cy, 2.5f, 2.5f, 250, 220, 60);
    return true;
}

bool Crown(GfxImage& image) {
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const float dx = x - 15.5f, dy = y - 13.5f;
            const float edge = 13 + 3 * TileFractal(float(x), float(y), 32, 4, 2, 125);
            if (dx * dx + dy * dy < edge * edge) {
                const float n = TileFractal(float(x), float(y), 32, 8, 2, 126);
                SetPixel(image, x, y, Mix(20, 60, n), Mix(80, 140, n), Mix(20, 50, n), 0.9f);
            }
        }
    return true;
}

bool Torch(GfxImage& image) {
    FillRect(image, 14, 14, 4, 16, 110, 70, 30);
    FillEllipse(image, 16, 10, 4, 6, 250, 140, 20);
    FillEllipse(image, 16, 11, 2, 3.5f, 255, 230, 120);
    return true;
}

// The player figure. group 0 down, 1 left, 2 up, 3 right; step 0 standing,
// 1 and 2 the two walking frames, 3 the pose (arms up). With mask set, the
// parts are painted in the colours that select the outfit's colours: skin
// yellow, shirt red, trousers green, shoes blue; otherwise in greys whose
// brightness shades them.
bool Figure(GfxImage& image, int group, int step, bool mask) {
    struct Colour {
        float r, g, b;
    };
    const Colour skin = mask ? Colour{255, 255, 0} : Colour{200, 200, 200};
    const Colour shirt = mask ? Colour{255, 0, 0} : Colour{170, 170, 170};
    const Colour trousers = mask ? Colour{0, 255, 0} : Colour{140, 140, 140};
    const Colour shoes = mask ? Colour{0, 0, 255} : Colour{90, 90, 90};
    const Colour hair = mask ? Colour{0, 0, 0} : Colour{60, 45, 30};
    const bool side = group == 1 || group == 3;
    const int face = group == 1 ? -1 : group == 3 ? 1 : 0;
    // Legs: apart on walking frames.
    const int spread = step == 1 ? 3 : step == 2 ? -3 : 0;
    if (side) {
        FillRect(image, 14 + spread, 21, 3, 8, trousers.r, trousers.g, trousers.b);
        FillRect(image, 15 - spread, 21, 3, 8, trousers.r, trousers.g, trousers.b);
        FillRect(image, 14 + spread + face, 28, 4, 2, shoes.r, shoes.g, shoes.b);
        FillRect(image, 15 - spread + face, 28, 4, 2, shoes.r, shoes.g, shoes.b);
    } else {
        FillRect(image, 12, 21, 3, 8 - (spread > 0 ? 1 : 0), trousers.r, trousers.g, trousers.b);
        FillRect(image, 17, 21, 3, 8 - (spread < 0 ? 1 : 0), trousers.r, trousers.g, trousers.b);
        FillRect(image, 11, 28 - (spread > 0 ? 1 : 0), 4, 2, shoes.r, shoes.g, shoes.b);
        FillRect(image, 17, 28 - (spread < 0 ? 1 : 0), 4, 2, shoes.r, shoes.g, shoes.b);
    }
    // Body and arms.
    FillRect(image, side ? 13 : 11, 12, side ? 6 : 10, 10, shirt.r, shirt.g, shirt.b);
    if (step == 3) {
        FillRect(image, 8, 4, 3, 9, skin.r, skin.g, skin.b);
        FillRect(image, 21, 4, 3, 9, skin.r, skin.g, skin.b);
    } else if (side) {
        FillRect(image, 15 + spread / 2, 13, 3, 8, skin.r, skin.g, skin.b);
    } else {
        FillRect(image, 8, 13 - spread / 3, 3, 8, skin.r, skin.g, skin.b);
        FillRect(image, 21, 13 + spread / 3, 3, 8, skin.r, skin.g, skin.b);
    }
    // Head: hair on top, and where the figure faces away, all hair.
    FillEllipse(image, 16 + face, 7.5f, 4.5f, 5, skin.r, skin.g, skin.b);
    FillRect(image, 12 + face, 2, 9, group == 2 ? 9 : 3, hair.r, hair.g, hair.b);
    if (!mask && group != 2) {
        const int eye = group == 0 ? 14 : 16 + face * 2;
        FillRect(image, eye, 8, 1, 1, 30, 30, 30);
        if (group == 0)
            FillRect(image, 18, 8, 1, 1, 30, 30, 30);
    }
    return true;
}

// The monster: a brown rat, facing like the figure.
bool Rat(GfxImage& image, int group, int step) {
    const bool side = group == 1 || group == 3;
    const float dir = group == 1 ? -1.0f : group == 3 ? 1.0f : 0.0f;
    const float bob = step == 0 ? 0.0f : step == 1 ? 1.0f : -1.0f;
    FillEllipse(image, 16, 21 + bob, side ? 9.0f : 6.5f, side ? 5.5f : 7.5f, 120, 85, 55);
    FillEllipse(image, 16 + dir * 8, group == 2 ? 15 : 19 + bob + (group == 0 ? 6 : 0), 4, 3.5f, 140, 100, 70);
    if (group != 2) {
        FillRect(image, int(16 + dir * 9), int(19 + bob + (group == 0 ? 6 : 0)), 1, 1, 10, 10, 10);
    }
    // The tail on the far side.
    for (int i = 0; i < 8; ++i) {
        const int tx = int(16 - dir * (9 + i)), ty = int((group == 0 ? 13 : 22) - (group == 2 ? -8 : 0) + i % 2);
        if (tx >= 0 && tx < 32 && ty >= 0 && ty < 32)
            SetPixel(image, tx, ty, 200, 150, 140);
    }
    FillRect(image, 11 + int(bob), 26, 2, 3, 90, 60, 40);
    FillRect(image, 19 - int(bob), 26, 2, 3, 90, 60, 40);
    return true;
}

}  // namespace

bool DrawWorldSprite(int id, GfxImage& image) {
    if (id == 100)
        return Grass(image);
    if (id == 102)
        return Water(image);
    if (id == 103)
        return Wall(image);
    if (id >= 110 && id <= 115) {
        static const int kCount[6] = {1, 2, 3, 4, 6, 10};
        return Coins(image, kCount[id - 110]);
    }
    if (id >= 120 && id <= 123)
        return Flower(image, id - 120);
    if (id == 125)
        return Crown(image);
    if (id == 130)
        return Torch(image);
    if (id >= 10 && id <= 33) {
        const int frame = (id - 10) % 12;
        return Figure(image, frame / 3, frame % 3, id >= 22);
    }
    if (id >= 370 && id <= 377)
        return Figure(image, (id - 370) % 4, 3, id >= 374);
    if (id >= 600 && id <= 611)
        return Rat(image, (id - 600) / 3, (id - 600) % 3);
    return false;
}
