#include "tools/gfxgen/ChatSprites.h"

#include <cmath>

#include "tools/gfxgen/Paint.h"

bool DrawTipBackground(GfxImage& image) {
    using chatsprites::kTipFill;
    FillRect(image, 0, 0, image.width, image.height, Rgba(kTipFill[0], kTipFill[1], kTipFill[2]));
    Border(image, 2, Rgba(200, 170, 80));
    return true;
}

// A gold diamond: the tip cannot be closed.
bool DrawTipEmblem(GfxImage& image) {
    const float cx = image.width / 2.0f;
    const float cy = image.height / 2.0f;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (std::fabs(x + 0.5f - cx) / cx + std::fabs(y + 0.5f - cy) / cy <= 1.0f)
                image.Set(x, y, Rgba(230, 190, 60));
    return true;
}

// A red button with a white cross.
bool DrawTipClose(GfxImage& image) {
    FillRect(image, 0, 0, image.width, image.height, Rgba(170, 40, 40));
    Border(image, 1, Rgba(90, 20, 20));
    const int size = image.height - 8;
    const int left = (image.width - size) / 2;
    for (int i = 0; i < size; ++i)
        for (int t = 0; t < 2; ++t) {
            image.Set(left + i + t, 4 + i, Rgba(255, 255, 255));
            image.Set(left + size - 1 - i + t, 4 + i, Rgba(255, 255, 255));
        }
    return true;
}

// Two facing pages on a leather cover, the spine down the middle.
bool DrawBook(GfxImage& image) {
    using chatsprites::kPageColor;
    FillRect(image, 0, 0, image.width, image.height, Rgba(96, 52, 28));
    const int mid = image.width / 2;
    const uint32_t page = Rgba(kPageColor[0], kPageColor[1], kPageColor[2]);
    FillRect(image, 8, 8, mid - 2, image.height - 8, page);
    FillRect(image, mid + 2, 8, image.width - 8, image.height - 8, page);
    FillRect(image, mid - 2, 4, mid + 2, image.height - 4, Rgba(60, 30, 16));
    return true;
}
