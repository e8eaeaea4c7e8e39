#pragma once

// The floor programs: the cheapest program that shows the client's idle login
// screen's cost on the same stack. Each opens a window of the client's size,
// sets up its drawing API the way the client's back end does, and draws one
// full-window picture per frame at the client's pacing. bench/compare.sh runs
// each beside the client.

#include <cstdint>
#include <vector>

#include "platform/Win32.h"

// A picture the size of the login backdrop's texture (2048 x 1024), in the
// client's decoded layout: blue, green, red, alpha, bottom row first.
struct FloorPicture {
    static constexpr int kWidth = 2048;
    static constexpr int kHeight = 1024;
    // The part of the texture the backdrop uses.
    static constexpr int kUsedWidth = 1920;
    static constexpr int kUsedHeight = 1024;
    std::vector<uint8_t> pixels;
    FloorPicture();
};

// Where the backdrop lies: the used part scaled to cover the client area,
// centred, as the login screen places it.
RECT CoverRect(int clientWidth, int clientHeight);

// One drawing API's floor: Init once, then Frame once a pass.
class FloorDrawer {
public:
    virtual ~FloorDrawer() = default;
    virtual bool Init(HWND window, int width, int height, const FloorPicture& picture) = 0;
    virtual void Frame() = 0;
};

// Runs the window and the paced loop: 1000 x 700 unless the arguments say
// "<width> <height>", frame limit 60 (a 17 ms period), the rate in the title
// once a second, as the client does. Returns the exit code.
int RunFloor(FloorDrawer& drawer, const char* name, int argc, char** argv);
