#pragma once

// The shared frame of the back-end checks: an application object with a real
// window, message boxes answered from a script and printed, and the exchange
// with the Python driver, which takes X screenshots and resizes the window.
//
// Lines the program prints for the driver:
//   SHOT <name> <x> <y> <w> <h>   the client area is ready on screen (screen
//                                 coordinates); the driver answers by making
//                                 <work dir>/<name>.done
//   RESIZE <name> <w> <h>         the driver resizes the client area with
//                                 xdotool, then makes <name>.done
//   EXPECT <shot> <x> <y> <r> <g> <b> <tolerance> <group> <label>
//                                 a client pixel the shot must show; group
//                                 "common" must agree across back ends
//   READ <shot> <file>            a ReadScreen block written as a PPM file
//   BOX <caption>|<text>          a message box that was shown
//   ok <what> / FAIL <what>       an in-process check

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/KEngine2.h"
#include "engine/Sprite.h"
#include "platform/Platform.h"

class PrintingBoxes : public platform::MessageBoxes {
public:
    int Show(const std::string& text, const std::string& caption, unsigned style, void* owner) override;
    std::deque<int> answers;  // used up first; then OK or Yes
    std::vector<std::string> shown;
};

// A decoded picture built in the program: `rgbaTopDown(x, y)` gives the colour
// (red lowest, alpha highest) of the pixel x, y counted from the top.
std::unique_ptr<SpriteRecord> MakeRecord(int width, int height,
                                         const std::function<uint32_t(int x, int y)>& rgbaTopDown);
// The pixel x, y from the top of a decoded record, as red lowest, alpha highest.
uint32_t RecordPixel(const SpriteRecord& record, int x, int y);

// A glyph sheet whose only glyph, 'H', is a solid block of ink in the cell's
// columns 1 to 8 and rows 3 to 12.
std::unique_ptr<SpriteRecord> MakeBlockFont();

// A pixel of a sprite that lies inside an opaque area whose 3 x 3
// neighbourhood is even enough that filtering and half-pixel differences
// cannot move it far: `spread` is the largest channel difference there.
struct SmoothPoint {
    int x;
    int y;
    uint32_t color;
    int spread;
};
// Up to `count` such points, spread over the source rectangle, keeping one
// pixel away from its edges.
std::vector<SmoothPoint> SmoothPoints(const SpriteRecord& record, int left, int top, int right, int bottom,
                                      int maxSpread, size_t count);

class Harness {
public:
    Harness(const std::string& workDir);
    ~Harness();

    // Makes the application object and its window.
    bool Open(int width, int height, const std::string& title);
    void Pump();
    // Prints SHOT and waits for the driver.
    void Shot(const std::string& name);
    // Asks the driver to resize the client area; true once the application
    // object has seen the new size.
    bool Resize(const std::string& name, int width, int height);
    void Expect(const std::string& shot, int x, int y, uint32_t rgba, int tolerance, const std::string& group,
                const std::string& label);
    // Reads the whole client area through the engine and writes it as a PPM.
    void WriteReadScreen(const std::string& shot);
    void Check(bool ok, const std::string& what);
    int failures = 0;

    KEngine2* app = nullptr;
    PrintingBoxes boxes;
    std::string workDir;

private:
    bool WaitForFile(const std::string& name, int timeoutMs);
};

// Blends src over dst with src's alpha, as the blending back ends do.
uint32_t Blend(uint32_t src, uint32_t dst);
