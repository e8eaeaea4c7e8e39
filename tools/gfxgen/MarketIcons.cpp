#include "tools/gfxgen/MarketIcons.h"

#include <cmath>

#include "tools/gfxgen/Paint.h"

namespace {

struct Colour {
    float r;
    float g;
    float b;
};

// Which part of the picture a pixel centre (x, y in 0..32) belongs to: 0
// none, 1 the body, 2 the detail.
using Shape = int (*)(float x, float y);

float Dist(float x, float y, float cx, float cy) { return std::hypot(x - cx, y - cy); }

// Distance from a point to the segment (ax, ay)-(bx, by).
float SegmentDist(float x, float y, float ax, float ay, float bx, float by) {
    const float dx = bx - ax;
    const float dy = by - ay;
    const float t = Clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
    return Dist(x, y, ax + t * dx, ay + t * dy);
}

bool Box(float x, float y, float left, float top, float right, float bottom) {
    return x >= left && x <= right && y >= top && y <= bottom;
}

// A cut gem: a flat table on top, the crown widening, the pavilion to a point.
int Valuables(float x, float y) {
    const float dx = std::fabs(x - 16);
    if (y >= 7 && y <= 12)
        return dx <= 7 + (y - 7) * 1.2f ? (y < 9 && dx < 5 ? 2 : 1) : 0;
    if (y > 12 && y <= 27)
        return dx <= 13 * (27 - y) / 15 ? (dx < 1.2f ? 2 : 1) : 0;
    return 0;
}

// An apple with its stalk and a leaf.
int Food(float x, float y) {
    if (Dist(x, y, 12, 19) <= 8.5f || Dist(x, y, 20, 19) <= 8.5f)
        return y > 12 || std::fabs(x - 16) > 2 ? 1 : 0;
    if (SegmentDist(x, y, 16, 12, 17, 5) <= 1.1f)
        return 2;
    if (Dist(x, y, 21, 7) <= 2.8f && Dist(x, y, 19, 9) <= 3.2f)
        return 2;
    return 0;
}

// A tied sack.
int Other(float x, float y) {
    if (Dist(x, y, 16, 20) <= 10)
        return 1;
    if (Box(x, y, 13, 6, 19, 12))
        return std::fabs(y - 10) < 1.2f ? 2 : 1;
    return 0;
}

// A sword, point up and to the right.
int MeleeWeapons(float x, float y) {
    if (SegmentDist(x, y, 12, 20, 26, 6) <= 1.8f)
        return 1;
    if (SegmentDist(x, y, 8, 16, 16, 24) <= 1.5f)
        return 2;
    if (SegmentDist(x, y, 11, 21, 6, 26) <= 1.5f)
        return 2;
    return 0;
}

// A bow and its string.
int RangedWeapons(float x, float y) {
    const float d = Dist(x, y, 24, 16);
    if (x <= 24 && d >= 12 && d <= 15 && y >= 3 && y <= 29)
        return 1;
    if (std::fabs(x - 21.5f) <= 0.6f && y >= 4 && y <= 28)
        return 2;
    return 0;
}

// A wand with a star on its tip.
int Wands(float x, float y) {
    const float sx = x - 22;
    const float sy = y - 10;
    const float angle = std::atan2(sy, sx);
    const float reach = 4 + 3 * std::pow(std::fabs(std::cos(2.5f * angle)), 4.0f);
    if (std::hypot(sx, sy) <= reach)
        return 2;
    if (SegmentDist(x, y, 7, 27, 20, 12) <= 1.6f)
        return 1;
    return 0;
}

// A heater shield with a cross.
int Shields(float x, float y) {
    const float dx = std::fabs(x - 16);
    if (y < 5 || y > 29)
        return 0;
    const float half = y <= 15 ? 12 : 12 * std::sqrt(Clamp(1 - (y - 15) * (y - 15) / 196.0f, 0, 1));
    if (dx > half)
        return 0;
    return (dx <= 1.6f && y >= 8 && y <= 25) || (std::fabs(y - 13) <= 1.6f && dx <= 8) ? 2 : 1;
}

// A helmet with its eye slit.
int Helmets(float x, float y) {
    const float d = Dist(x, y, 16, 18);
    if (y <= 18 && d <= 11)
        return 1;
    if (Box(x, y, 5, 18, 27, 27))
        return Box(x, y, 9, 19, 23, 21) ? 2 : (Box(x, y, 14.5f, 21, 17.5f, 27) ? 1 : (y <= 23 ? 1 : 0));
    return 0;
}

// A breastplate with shoulders and a neck opening.
int Armors(float x, float y) {
    if (Dist(x, y, 16, 6) <= 4.5f)
        return 0;
    if (Box(x, y, 4, 5, 28, 12))
        return 1;
    if (Box(x, y, 8, 12, 24, 28))
        return std::fabs(x - 16) <= 0.8f || std::fabs(y - 20) <= 0.8f ? 2 : 1;
    return 0;
}

// Trousers: a belt and two legs.
int Legs(float x, float y) {
    if (Box(x, y, 7, 4, 25, 8))
        return 2;
    if (Box(x, y, 7, 8, 25, 14))
        return 1;
    if (y > 14 && y <= 29 && ((x >= 7 && x <= 15) || (x >= 17 && x <= 25)))
        return 1;
    return 0;
}

// A boot: the shaft and the foot, with a sole.
int Boots(float x, float y) {
    if (Box(x, y, 9, 26, 27, 29))
        return 2;
    if (Box(x, y, 9, 4, 19, 26))
        return Box(x, y, 9, 4, 19, 7) ? 2 : 1;
    if (y >= 18 && y < 26 && x >= 19 && Dist(x, y, 21, 26) <= 7.5f)
        return 1;
    return 0;
}

// A chain of beads with a pendant.
int Necklaces(float x, float y) {
    const float d = Dist(x, y, 16, 9);
    if (y >= 9 && std::fabs(d - 11) <= 1.6f) {
        const float angle = std::atan2(y - 9, x - 16);
        return std::fmod(angle * 11 + 20, 2.0f) < 1.4f ? 1 : 0;
    }
    if (y < 9 && std::fabs(d - 11) <= 1.2f)
        return 1;
    if (Dist(x, y, 16, 25) <= 4)
        return 2;
    return 0;
}

// A ring with a stone.
int Rings(float x, float y) {
    if (Dist(x, y, 16, 9) <= 4.2f)
        return 2;
    const float d = Dist(x, y, 16, 19);
    return d >= 6.5f && d <= 10 ? 1 : 0;
}

// A bracer: a band seen from the side, with two straps.
int Bracers(float x, float y) {
    if (!Box(x, y, 8, 5, 24, 28))
        return 0;
    const float dx = std::fabs(x - 16);
    if (dx > 8 - 1.5f * std::fabs(y - 16.5f) / 11.5f)
        return 0;
    return std::fabs(y - 11) <= 1.3f || std::fabs(y - 22) <= 1.3f ? 2 : 1;
}

// A gauntlet: the cuff, the back of the hand, four fingers and the thumb.
int Gauntlets(float x, float y) {
    if (Box(x, y, 9, 22, 23, 29))
        return 2;
    if (Box(x, y, 9, 11, 23, 22))
        return 1;
    for (int finger = 0; finger < 4; ++finger) {
        const float left = 9 + 3.6f * finger;
        if (Box(x, y, left, 3 + (finger == 0 || finger == 3 ? 2 : 0), left + 2.8f, 11))
            return 1;
    }
    if (SegmentDist(x, y, 23, 19, 28, 12) <= 1.8f)
        return 1;
    return 0;
}

struct Icon {
    int id;
    Shape shape;
    Colour body;
    Colour detail;
};

const Icon kIcons[] = {
    {1390, Valuables, {70, 190, 225}, {200, 245, 255}},
    {2497, Food, {200, 40, 40}, {90, 150, 50}},
    {1731, Other, {185, 145, 90}, {110, 75, 40}},
    {1662, MeleeWeapons, {200, 205, 215}, {170, 120, 50}},
    {2739, RangedWeapons, {150, 95, 45}, {225, 225, 215}},
    {1687, Wands, {120, 80, 45}, {250, 215, 70}},
    {567, Shields, {70, 95, 170}, {225, 195, 80}},
    {574, Helmets, {165, 170, 180}, {35, 35, 40}},
    {582, Armors, {160, 165, 175}, {110, 115, 125}},
    {1647, Legs, {95, 110, 150}, {120, 80, 45}},
    {1653, Boots, {125, 80, 45}, {70, 45, 25}},
    {1617, Necklaces, {225, 190, 70}, {200, 50, 90}},
    {3065, Rings, {225, 190, 70}, {60, 170, 90}},
    {1644, Bracers, {150, 100, 55}, {200, 200, 210}},
    {1570, Gauntlets, {165, 170, 180}, {110, 115, 125}},
};

int PartAt(Shape shape, int x, int y) {
    if (x < 0 || y < 0 || x >= 32 || y >= 32)
        return 0;
    return shape(float(x) + 0.5f, float(y) + 0.5f);
}

}  // namespace

bool PaintMarketIcon(int spriteId, GfxImage& image) {
    if (image.width != 32 || image.height != 32)
        return false;
    for (const Icon& icon : kIcons) {
        if (icon.id != spriteId)
            continue;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const int part = PartAt(icon.shape, x, y);
                if (part == 0)
                    continue;
                // A dark rim where the picture meets the background, the
                // rest lit from the upper left.
                const bool rim = !PartAt(icon.shape, x - 1, y) || !PartAt(icon.shape, x + 1, y) ||
                                 !PartAt(icon.shape, x, y - 1) || !PartAt(icon.shape, x, y + 1);
                const Colour c = part == 1 ? icon.body : icon.detail;
                const float light = rim ? 0.45f : Mix(1.2f, 0.75f, float(x + y) / 62.0f);
                SetPixel(image, x, y, Clamp(c.r * light, 0, 255), Clamp(c.g * light, 0, 255),
                         Clamp(c.b * light, 0, 255));
            }
        return true;
    }
    return false;
}
