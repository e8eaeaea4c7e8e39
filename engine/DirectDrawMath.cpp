#include "engine/DirectDrawMath.h"

#include <algorithm>

bool HasRgbMasks(const PixelMasks& masks) { return masks.red != 0 && masks.green != 0 && masks.blue != 0; }

namespace {

// One channel into its mask. Without the zero check the search for the mask's
// lowest bit would never end.
uint32_t PackChannel(uint8_t value, uint32_t mask) {
    if (mask == 0)
        return 0;
    int shift = 0;
    while (((mask >> shift) & 1) == 0)
        ++shift;
    int width = 0;
    while (shift + width < 32 && ((mask >> (shift + width)) & 1) != 0)
        ++width;
    const uint64_t scaled = (uint64_t(value) << width) >> 8;
    return uint32_t(scaled << shift) & mask;
}

}  // namespace

uint32_t ToSurfaceColor(uint8_t red, uint8_t green, uint8_t blue, const PixelMasks& masks) {
    return PackChannel(red, masks.red) | PackChannel(green, masks.green) | PackChannel(blue, masks.blue);
}

bool ClipRectangle(float x, float y, float w, float h, const IntRect& view, IntRect& fill) {
    const int32_t left = Truncate(x);
    const int32_t top = Truncate(y);
    fill.left = std::max(left, view.left);
    fill.top = std::max(top, view.top);
    fill.right = std::min(left + Truncate(w), view.right);
    fill.bottom = std::min(top + Truncate(h), view.bottom);
    return !(fill.bottom < view.top || fill.right < view.left || fill.top > view.bottom || fill.left > view.right);
}

IntRect TruncatedRect(float x, float y, float w, float h) {
    IntRect rect;
    rect.left = Truncate(x);
    rect.top = Truncate(y);
    rect.right = Truncate(x) + Truncate(w);
    rect.bottom = Truncate(y) + Truncate(h);
    return rect;
}

bool SpriteBlitRects(float x, float y, float w, float h, float sourceX, float sourceY, float sourceWidth,
                     float sourceHeight, const IntRect& view, IntRect& destination, IntRect& source) {
    if (float(view.left) > x + w || float(view.top) > y + h)
        return false;
    source.left = Truncate(std::min(sourceX, sourceX + sourceWidth));
    source.right = Truncate(std::max(sourceX, sourceX + sourceWidth));
    source.top = Truncate(std::min(sourceY, sourceY + sourceHeight));
    source.bottom = Truncate(std::max(sourceY, sourceY + sourceHeight));
    destination = TruncatedRect(x, y, w, h);
    return true;
}

OneRectRegion MakeRegion(const IntRect& rect) {
    OneRectRegion region;
    region.bound = rect;
    region.rect = rect;
    return region;
}

const char* DirectDrawErrorNumber(uint32_t hr) {
    struct Entry {
        uint32_t hr;
        const char* number;
    };
    static const Entry kErrors[] = {
        {0x80004005, "#1"},  {0x8876006E, "#2"},  {0x88760082, "#3"},  {0x80070057, "#4"},  {0x887600B4, "#5"},
        {0x887600CD, "#6"},  {0x8876023F, "#7"},  {0x887600FA, "#8"},  {0x88760118, "#9"},  {0x88760122, "#10"},
        {0x88760136, "#11"}, {0x88760154, "#12"}, {0x887601AE, "#13"}, {0x887601C2, "#14"}, {0x80004001, "#17"},
        {0x88760232, "#18"}, {0x8007000E, "#19"}, {0x88760245, "#20"}, {0x8876005F, "#21"}, {0x88760064, "#22"},
        {0x88760091, "#23"}, {0x887600D4, "#24"}, {0x887600E6, "#25"}, {0x88760104, "#26"}, {0x8876017C, "#27"},
        {0x88760234, "#28"}, {0x88760238, "#29"}, {0x8876021C, "#30"},
    };
    for (const Entry& entry : kErrors)
        if (entry.hr == hr)
            return entry.number;
    return "Unknown Error";
}

std::string DirectDrawErrorText(const std::string& step, uint32_t hr) {
    return step + " " + DirectDrawErrorNumber(hr) + "\nTry continuing anyway?";
}

void WriteSpritePixels(const SpriteRecord& record, const PixelMasks& masks, int bytesPerPixel, int pitch,
                       uint8_t* bits) {
    const uint32_t key = ColorKey(masks);
    for (int y = 0; y < record.height; ++y) {
        uint8_t* out = bits + size_t(record.height - 1 - y) * size_t(pitch);
        for (int x = 0; x < record.width; ++x, out += bytesPerPixel) {
            const uint8_t* pixel = record.Pixel(x, y);
            const uint32_t value = pixel[3] == 0 ? key : ToSurfaceColor(pixel[2], pixel[1], pixel[0], masks);
            for (int byte = 0; byte < bytesPerPixel; ++byte)
                out[byte] = uint8_t(value >> (8 * byte));
        }
    }
}
