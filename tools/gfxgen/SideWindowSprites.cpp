#include "tools/gfxgen/SideWindowSprites.h"

#include <cmath>

#include "tools/gfxgen/Paint.h"

namespace {

// A soft grey outline of a shape given as a coverage function over the unit
// square: the placeholders only hint at what goes into the cell.
template <typename Shape>
bool Silhouette(GfxImage& image, Shape inside) {
    const int w = image.width;
    const int h = image.height;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float u = (x + 0.5f) / float(w);
            const float v = (y + 0.5f) / float(h);
            if (inside(u, v))
                SetPixel(image, x, y, 150, 150, 150, 0.45f);
        }
    return true;
}

// A round badge in a colour with a lighter rim, the condition icons' shape.
bool Badge(GfxImage& image, float r, float g, float b, int mark) {
    const float c = (image.width - 1) * 0.5f;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const float d = std::sqrt((x - c) * (x - c) + (y - c) * (y - c));
            if (d > c + 0.5f)
                continue;
            const float rim = d > c - 1.5f ? 1.3f : 1.0f;
            SetPixel(image, x, y, r * rim, g * rim, b * rim);
            const int dx = x - int(c);
            const int dy = y - int(c);
            bool on = false;
            switch (mark) {
            case 0: on = dx == dy || dx == -dy; break;                          // crossed swords
            case 1: on = dx == 0 && dy != 2; break;                             // exclamation
            case 2: on = dy >= -1 && dy <= 1 && (dx == -2 || dx == 2); break;   // bubbles
            case 3: on = (dx == 0 || dy == 0) && d < c - 1.5f; break;           // cross
            default: on = d < c * 0.45f; break;                                 // dot
            }
            if (on && d < c - 1.0f)
                SetPixel(image, x, y, 240, 240, 240);
        }
    return true;
}

bool Bag(GfxImage& image, float r, float g, float b) {
    const int w = image.width;
    const int h = image.height;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float u = (x + 0.5f) / float(w) - 0.5f;
            const float v = (y + 0.5f) / float(h);
            const bool body = v > 0.3f && std::fabs(u) < 0.42f - (v - 0.3f) * 0.1f && v < 0.95f;
            const bool neck = v > 0.12f && v <= 0.3f && std::fabs(u) < 0.18f;
            if (body || neck) {
                const float shade = 1.0f - v * 0.35f;
                SetPixel(image, x, y, r * shade, g * shade, b * shade);
            }
        }
    return true;
}

bool Ring(float u, float v, float cx, float cy, float r0, float r1) {
    const float d = std::sqrt((u - cx) * (u - cx) + (v - cy) * (v - cy));
    return d >= r0 && d <= r1;
}

// Placeholders of the equipment cells.
bool Paint388(GfxImage& image) {  // head: a helmet
    return Silhouette(image, [](float u, float v) {
        return (v > 0.2f && v < 0.65f && Ring(u, v, 0.5f, 0.55f, 0.0f, 0.33f) && v < 0.6f) ||
               (v >= 0.55f && v < 0.7f && u > 0.17f && u < 0.83f && (u < 0.35f || u > 0.65f));
    });
}
bool Paint389(GfxImage& image) {  // body: armour
    return Silhouette(image, [](float u, float v) {
        return (v > 0.2f && v < 0.85f && u > 0.28f && u < 0.72f) || (v > 0.2f && v < 0.42f && u > 0.12f && u < 0.88f);
    });
}
bool Paint390(GfxImage& image) {  // legs
    return Silhouette(image, [](float u, float v) {
        return v > 0.15f && v < 0.9f && u > 0.28f && u < 0.72f && !(v > 0.4f && u > 0.46f && u < 0.54f);
    });
}
bool Paint391(GfxImage& image) {  // feet: boots
    return Silhouette(image, [](float u, float v) {
        return (v > 0.2f && v < 0.8f && u > 0.35f && u < 0.6f) || (v >= 0.65f && v < 0.8f && u > 0.2f && u < 0.6f);
    });
}
bool Paint392(GfxImage& image) {  // left hand: a shield
    return Silhouette(image, [](float u, float v) {
        return v > 0.15f && v < 0.85f && std::fabs(u - 0.5f) < 0.32f - (v > 0.55f ? (v - 0.55f) : 0.0f);
    });
}
bool Paint393(GfxImage& image) {  // right hand: a sword
    return Silhouette(image, [](float u, float v) {
        return (std::fabs(u - v) < 0.07f && v > 0.15f && v < 0.75f) ||
               (std::fabs(u + v - 1.3f) < 0.06f && u > 0.55f && u < 0.8f);
    });
}
bool Paint394(GfxImage& image) {  // neck: an amulet
    return Silhouette(image, [](float u, float v) {
        return Ring(u, v, 0.5f, 0.35f, 0.24f, 0.3f) || Ring(u, v, 0.5f, 0.7f, 0.0f, 0.12f);
    });
}
bool Paint1558(GfxImage& image) {  // back: a bag
    return Silhouette(image, [](float u, float v) {
        return (v > 0.35f && v < 0.85f && u > 0.22f && u < 0.78f) || Ring(u, v, 0.5f, 0.35f, 0.12f, 0.17f);
    });
}
bool Paint1559(GfxImage& image) {  // a ring
    return Silhouette(image, [](float u, float v) { return Ring(u, v, 0.5f, 0.55f, 0.16f, 0.24f); });
}
bool Paint1560(GfxImage& image) {  // a belt pouch
    return Silhouette(image, [](float u, float v) {
        return (v > 0.4f && v < 0.75f && u > 0.25f && u < 0.75f) || (v > 0.3f && v <= 0.4f && u > 0.2f && u < 0.8f);
    });
}
bool Paint1561(GfxImage& image) {  // ammunition: arrows
    return Silhouette(image, [](float u, float v) {
        return (std::fabs(u - 0.4f) < 0.04f || std::fabs(u - 0.6f) < 0.04f) && v > 0.15f && v < 0.85f;
    });
}

// Condition icons; 1104 (in combat) is the map's glow, already in the file.
bool Paint1115(GfxImage& image) { return Badge(image, 190, 40, 40, 0); }
bool Paint1535(GfxImage& image) { return Badge(image, 150, 110, 40, 2); }
bool Paint1668(GfxImage& image) { return Badge(image, 200, 120, 30, 1); }
bool Paint5913(GfxImage& image) { return Badge(image, 220, 190, 60, 3); }
bool Paint6448(GfxImage& image) { return Badge(image, 50, 140, 60, 4); }

// Title icons of the fake server's containers: a backpack and a bag.
bool Paint2853(GfxImage& image) { return Bag(image, 140, 95, 50); }
bool Paint2854(GfxImage& image) { return Bag(image, 110, 130, 70); }

}  // namespace

bool PaintSideWindowSprite(int id, GfxImage& image) {
    switch (id) {
    case 388:
        return Paint388(image);
    case 389:
        return Paint389(image);
    case 390:
        return Paint390(image);
    case 391:
        return Paint391(image);
    case 392:
        return Paint392(image);
    case 393:
        return Paint393(image);
    case 394:
        return Paint394(image);
    case 1558:
        return Paint1558(image);
    case 1559:
        return Paint1559(image);
    case 1560:
        return Paint1560(image);
    case 1561:
        return Paint1561(image);
    case 1115:
        return Paint1115(image);
    case 1535:
        return Paint1535(image);
    case 1668:
        return Paint1668(image);
    case 5913:
        return Paint5913(image);
    case 6448:
        return Paint6448(image);
    case 2853:
        return Paint2853(image);
    case 2854:
        return Paint2854(image);
    default:
        return false;
    }
}
