#include "tools/gfxgen/MapSprites.h"

#include <cmath>

#include "tools/gfxgen/Paint.h"

namespace {

void Fill(GfxImage& image, int r, int g, int b, int a = 255) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            image.Set(x, y, Rgba(r, g, b, a));
}

// A square outline `thickness` pixels wide, `inset` pixels in from the edge.
void Frame(GfxImage& image, int inset, int thickness, uint32_t colour) {
    for (int y = inset; y < image.height - inset; ++y)
        for (int x = inset; x < image.width - inset; ++x) {
            const bool edge = x < inset + thickness || y < inset + thickness ||
                              x >= image.width - inset - thickness || y >= image.height - inset - thickness;
            if (edge)
                image.Set(x, y, colour);
        }
}

void Disc(GfxImage& image, float cx, float cy, float radius, int r, int g, int b) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            const float a = Clamp(radius - d + 0.5f, 0, 1);
            if (a > 0)
                BlendPixel(image, x, y, float(r), float(g), float(b), a);
        }
}

// A soft round glow: opaque white in the middle fading to nothing at the rim.
void Glow(GfxImage& image) {
    const float c = image.width / 2.0f;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const float d = std::hypot(x + 0.5f - c, y + 0.5f - c) / c;
            const float a = Clamp(1.0f - d, 0, 1);
            if (a > 0)
                SetPixel(image, x, y, 255, 255, 255, a);
        }
}

// A ring whose radius grows with the frame: the item effects.
void Ring(GfxImage& image, int frame, int frames, int r, int g, int b) {
    const float c = image.width / 2.0f;
    const float radius = 4.0f + 10.0f * float(frame) / float(frames > 1 ? frames - 1 : 1);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const float d = std::fabs(std::hypot(x + 0.5f - c, y + 0.5f - c) - radius);
            const float a = Clamp(2.5f - d, 0, 1);
            if (a > 0)
                SetPixel(image, x, y, float(r), float(g), float(b), a);
        }
}

// An arrow across the tile pointing in a direction: 0 down, 1 left, 2 up, 3 right.
void Arrow(GfxImage& image, int direction, int r, int g, int b) {
    GfxImage up(32, 32);
    for (int y = 6; y < 26; ++y)
        for (int x = 14; x < 18; ++x)
            up.Set(x, y, Rgba(r, g, b));
    for (int y = 4; y < 14; ++y)
        for (int x = 16 - (y - 4); x < 16 + (y - 4); ++x)
            up.Set(x, y, Rgba(r, g, b));
    // Quarter turns clockwise from "up": right 1, down 2, left 3.
    const int turns = direction == 2 ? 0 : direction == 3 ? 1 : direction == 0 ? 2 : 3;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            int sx = x, sy = y;
            for (int t = 0; t < turns; ++t) {
                const int nx = sy;
                const int ny = 31 - sx;
                sx = nx;
                sy = ny;
            }
            const uint8_t* p = up.At(sx, sy);
            if (p[3])
                image.Set(x, y, Rgba(p[2], p[1], p[0], p[3]));
        }
}

}  // namespace

bool PaintMapSprite(int id, GfxImage& image) {
    if (id >= 4300 && id <= 4308) {  // pattern ground, three by three tiles
        const unsigned char* c = mapsprites::kPatternColors[id - 4300];
        Fill(image, c[0], c[1], c[2]);
        return true;
    }
    if (id >= 3201 && id <= 3225) {  // target marks: hover, attack, follow; 8 frames each
        const int group = id >= 3218 ? 2 : id >= 3210 ? 1 : 0;
        const int frame = id - (group == 2 ? 3218 : group == 1 ? 3210 : 3201);
        const uint32_t colours[3] = {Rgba(255, 255, 255), Rgba(255, 30, 30), Rgba(30, 255, 30)};
        Frame(image, frame / 2, 2, colours[group]);
        return true;
    }
    if (id >= 4100 && id <= 4104) {  // an item effect of five frames
        Ring(image, id - 4100, 5, 120, 200, 255);
        return true;
    }
    if (id >= 4110 && id <= 4113) {  // a light-giving effect of four frames
        Disc(image, 16, 16, 4.0f + 2.0f * float(id - 4110), 255, 220, 120);
        return true;
    }
    if (id >= 4200 && id <= 4203) {  // a projectile with a picture per direction
        Arrow(image, id - 4200, 230, 230, 230);
        return true;
    }
    if (id >= 4210 && id <= 4211) {  // a projectile with one picture for every direction, two frames
        Disc(image, 16, 16, id == 4210 ? 6.0f : 8.0f, 255, 120, 0);
        return true;
    }
    if (id >= 5617 && id <= 5620) {  // ambient sparkle
        Disc(image, 10.0f + 4.0f * float(id - 5617), 12, 3, 255, 255, 180);
        return true;
    }
    if (id >= 6231 && id <= 6234) {  // ambient ember rising from 6239
        Disc(image, 16, 24.0f - 4.0f * float(id - 6231), 3, 255, 90, 40);
        return true;
    }
    switch (id) {
    case 386:  // kind overlays, drawn over a creature
        Fill(image, 255, 60, 60, 90);
        return true;
    case 387:
        Fill(image, 60, 60, 255, 90);
        return true;
    case 1104:
        Glow(image);
        return true;
    case 2032:  // the marker over a creature
        Disc(image, 9, 9, 8, 255, 0, 255);
        return true;
    case 3428:  // the goal of click-to-walk
        Frame(image, 6, 2, Rgba(255, 255, 255));
        return true;
    case 6239:  // an ember pit that now and then sends up an ember
        Fill(image, 90, 20, 20);
        Disc(image, 16, 16, 9, 230, 80, 20);
        return true;
    case 6608: case 6609: case 6610: case 6611: {  // status icons over a name
        const int colours[4][3] = {{40, 160, 255}, {255, 215, 0}, {200, 0, 0}, {0, 200, 120}};
        const int* c = colours[id - 6608];
        Fill(image, 20, 20, 20);
        for (int y = 1; y < image.height - 1; ++y)
            for (int x = 1; x < image.width - 1; ++x)
                image.Set(x, y, Rgba(c[0], c[1], c[2]));
        return true;
    }
    default:
        return false;
    }
}
