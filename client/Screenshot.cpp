#include "client/Screenshot.h"

#include <cstring>
#include <sstream>

std::vector<uint8_t> ScreenshotImage(const uint8_t* block, int width, int height) {
    if (!block || width <= 0 || height <= 0)
        return std::vector<uint8_t>();
    const size_t w = size_t(width);
    const size_t h = size_t(height);
    std::vector<uint8_t> image(w * h * 4, 0);
    for (size_t row = 0; row < h; ++row) {
        const uint8_t* in = block + row * w * 3;
        // The block's first row is the bottom of the picture.
        uint8_t* out = image.data() + (h - 1 - row) * w * 4;
        for (size_t i = 0; i < w; ++i, in += 3, out += 4) {
            std::memcpy(out, in, 3);
            out[3] = 255;
        }
    }
    return image;
}

std::string ScreenshotFileName(const std::string& folder, const std::tm& time, uint32_t ticks) {
    std::ostringstream name;
    name << folder << time.tm_mday << '_' << time.tm_mon + 1 << '_' << time.tm_year + 1900 << '_' << time.tm_hour
         << '_' << time.tm_min << '_' << time.tm_sec << '_' << ticks << ".png";
    return name.str();
}
