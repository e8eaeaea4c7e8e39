#include "tools/gfxgen/LinkPictures.h"

#include <cmath>

#include "tools/gfxgen/Paint.h"

namespace {

void FillCircle(GfxImage& image, float cx, float cy, float r, uint32_t colour) {
    for (int y = int(cy - r) - 1; y <= int(cy + r) + 1; ++y)
        for (int x = int(cx - r) - 1; x <= int(cx + r) + 1; ++x)
            if (x >= 0 && y >= 0 && x < image.width && y < image.height &&
                std::hypot(x + 0.5f - cx, y + 0.5f - cy) <= r)
                image.Set(x, y, colour);
}

// A player: a head over a rounded body, in the colour of its tunic.
void Figure(GfxImage& image, int cx, int baseY, uint32_t tunic) {
    FillRect(image, cx - 9, baseY - 28, cx + 9, baseY, tunic);
    FillCircle(image, float(cx), float(baseY - 28), 9, tunic);
    FillCircle(image, float(cx), float(baseY - 44), 8, Rgba(232, 196, 160));
}

void PaintFansites(GfxImage& image) {
    using linkpictures::kBannerSky;
    FillRect(image, 0, 0, image.width, image.height, Rgba(kBannerSky[0], kBannerSky[1], kBannerSky[2]));
    // The ground, and a banner on two poles behind the players.
    FillRect(image, 0, image.height - 22, image.width, image.height, Rgba(70, 110, 50));
    FillRect(image, 24, 3, 28, 62, Rgba(110, 80, 50));
    FillRect(image, image.width - 28, 3, image.width - 24, 62, Rgba(110, 80, 50));
    FillRect(image, 28, 5, image.width - 28, 20, Rgba(200, 60, 50));
    FillRect(image, 34, 11, image.width - 34, 14, Rgba(240, 210, 120));
    const int base = image.height - 14;
    Figure(image, image.width / 2 - 40, base, Rgba(60, 150, 220));
    Figure(image, image.width / 2, base - 4, Rgba(230, 180, 40));
    Figure(image, image.width / 2 + 40, base, Rgba(170, 70, 170));
    Border(image, 1, Rgba(200, 170, 80));
}

void PaintCityMap(GfxImage& image) {
    using linkpictures::kParchment;
    FillRect(image, 0, 0, image.width, image.height, Rgba(kParchment[0], kParchment[1], kParchment[2]));
    // A river winding down the map.
    const uint32_t water = Rgba(70, 120, 190);
    for (int y = 0; y < image.height; ++y) {
        const int mid = 30 + int(10 * std::sin(y / 12.0f));
        FillRect(image, mid - 5, y, mid + 5, y + 1, water);
    }
    // The town wall, its streets and the blocks of houses between them.
    const int left = 55, top = 14, right = image.width - 12, bottom = image.height - 14;
    const uint32_t wall = Rgba(110, 90, 70);
    FillRect(image, left, top, right, top + 4, wall);
    FillRect(image, left, bottom - 4, right, bottom, wall);
    FillRect(image, left, top, left + 4, bottom, wall);
    FillRect(image, right - 4, top, right, bottom, wall);
    const uint32_t house = Rgba(170, 80, 60);
    for (int by = top + 10; by + 12 < bottom - 4; by += 20)
        for (int bx = left + 10; bx + 14 < right - 4; bx += 22)
            FillRect(image, bx, by, bx + 14, by + 12, house);
    // The bridge over the river to the town gate.
    FillRect(image, 20, image.height / 2 - 3, left, image.height / 2 + 3, Rgba(140, 110, 80));
    Border(image, 1, Rgba(120, 90, 50));
}

// Paints the picture into the sprite's top rows.
bool DrawPicture(GfxImage& image, void (*paint)(GfxImage&)) {
    GfxImage picture(image.width, linkpictures::kPictureHeight);
    paint(picture);
    for (int y = 0; y < picture.height && y < image.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            for (int channel = 0; channel < 4; ++channel)
                image.At(x, y)[channel] = picture.At(x, y)[channel];
    return true;
}

}  // namespace

bool DrawFansitePicture(GfxImage& image) { return DrawPicture(image, &PaintFansites); }

bool DrawCityMapPicture(GfxImage& image) { return DrawPicture(image, &PaintCityMap); }
