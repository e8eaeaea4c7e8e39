#pragma once

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

// What the main thread hands a screenshot thread, whole: the pixels it read
// from the screen (width x height x 3 bytes, red, green, blue, bottom row
// first) and the screenshot folder, read from the options before the thread
// starts so that the thread never touches the options.
struct ScreenshotJob {
    std::unique_ptr<uint8_t[]> block;
    int width = 0;
    int height = 0;
    std::string folder;
};

// The picture for the PNG encoder: red, green, blue and an opaque alpha per
// pixel, top row first.
std::vector<uint8_t> ScreenshotImage(const uint8_t* block, int width, int height);
// folder + "day_month_year_hour_minute_second_ticks.png", numbers without
// leading zeros, e.g. "9_12_2026_7_5_3_81234.png".
std::string ScreenshotFileName(const std::string& folder, const std::tm& time, uint32_t ticks);
