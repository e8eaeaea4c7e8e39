#include "tools/gfxgen/GameSprites.h"

#include "tools/gfxgen/Paint.h"

namespace {

// A bar fill: a colour lit from the top, darker at the bottom, so that a
// stretched bar still reads as rounded.
bool BarFill(GfxImage& image, float r, float g, float b) {
    for (int y = 0; y < image.height; ++y) {
        const float t = float(y) / float(image.height - 1);
        const float light = t < 0.3f ? Mix(1.35f, 1.0f, t / 0.3f) : Mix(1.0f, 0.55f, (t - 0.3f) / 0.7f);
        for (int x = 0; x < image.width; ++x)
            SetPixel(image, x, y, r * light, g * light, b * light);
    }
    return true;
}

bool Put(GfxImage& image, const GfxImage& picture) {
    if (picture.width != image.width || picture.height != image.height)
        return false;
    image = picture;
    return true;
}

}  // namespace

bool DrawHealthFill(GfxImage& image) { return BarFill(image, 190, 30, 30); }

bool DrawManaFill(GfxImage& image) { return BarFill(image, 40, 70, 200); }

bool DrawCloseIcon(GfxImage& image) {
    return Put(image, FromPicture(
                          {
                              "............",
                              ".oo......oo.",
                              ".ooo....ooo.",
                              "..ooo..ooo..",
                              "...oooooo...",
                              "....oooo....",
                              "....oooo....",
                              "...oooooo...",
                              "..ooo..ooo..",
                              ".ooo....ooo.",
                              ".oo......oo.",
                              "............",
                          },
                          {{'o', Rgba(215, 215, 215)}}));
}

bool DrawChannelListIcon(GfxImage& image) {
    return Put(image, FromPicture(
                          {
                              "............",
                              ".oo.ooooooo.",
                              ".oo.ooooooo.",
                              "............",
                              ".oo.ooooooo.",
                              ".oo.ooooooo.",
                              "............",
                              ".oo.ooooooo.",
                              ".oo.ooooooo.",
                              "............",
                              "............",
                              "............",
                          },
                          {{'o', Rgba(215, 215, 215)}}));
}

bool DrawIgnoreListIcon(GfxImage& image) {
    return Put(image, FromPicture(
                          {
                              "....oooo....",
                              "..oo....oo..",
                              ".o.x....x.o.",
                              ".o..x..x..o.",
                              "o....xx....o",
                              "o....xx....o",
                              "o...x..x...o",
                              ".o.x....x.o.",
                              ".ox......xo.",
                              "..oo....oo..",
                              "....oooo....",
                              "............",
                          },
                          {{'o', Rgba(215, 215, 215)}, {'x', Rgba(220, 80, 80)}}));
}
