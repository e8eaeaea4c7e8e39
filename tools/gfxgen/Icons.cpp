#include "tools/gfxgen/Icons.h"

#include <algorithm>

#include "tools/gfxgen/Paint.h"

namespace {

// The up arrow; the others are this picture turned. A plain light triangle
// reads best at this size on every skin.
GfxImage UpArrow() {
    return FromPicture(
        {
            ".........",
            ".........",
            "....o....",
            "...ooo...",
            "..ooooo..",
            ".ooooooo.",
            "ooooooooo",
            ".........",
            ".........",
        },
        {{'o', Rgba(215, 215, 215)}});
}

// Turns a square picture: quarter turns clockwise.
GfxImage Turned(const GfxImage& source, int quarterTurns) {
    GfxImage image = source;
    for (int turn = 0; turn < quarterTurns; ++turn) {
        GfxImage next(image.height, image.width);
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) {
                const uint8_t* p = image.At(x, y);
                std::copy(p, p + 4, next.At(image.height - 1 - y, x));
            }
        image = next;
    }
    return image;
}

bool Put(GfxImage& image, const GfxImage& picture) {
    if (picture.width != image.width || picture.height != image.height)
        return false;
    image = picture;
    return true;
}

}  // namespace

bool DrawArrowUp(GfxImage& image) { return Put(image, UpArrow()); }
bool DrawArrowRight(GfxImage& image) { return Put(image, Turned(UpArrow(), 1)); }
bool DrawArrowDown(GfxImage& image) { return Put(image, Turned(UpArrow(), 2)); }
bool DrawArrowLeft(GfxImage& image) { return Put(image, Turned(UpArrow(), 3)); }
