#include "tests/wine/backends/Harness.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "engine/GraphicsEngine.h"
#include "engine/gui/GUIManager.h"
#include "platform/Win32.h"

int PrintingBoxes::Show(const std::string& text, const std::string& caption, unsigned style, void*) {
    std::string oneLine = text;
    std::replace(oneLine.begin(), oneLine.end(), '\n', '|');
    std::printf("BOX %s|%s\n", caption.c_str(), oneLine.c_str());
    std::fflush(stdout);
    shown.push_back(text);
    if (!answers.empty()) {
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return (style & 0xF) == platform::kMbYesNo ? platform::kIdYes : platform::kIdOk;
}

std::unique_ptr<SpriteRecord> MakeRecord(int width, int height,
                                         const std::function<uint32_t(int x, int y)>& rgbaTopDown) {
    auto record = std::make_unique<SpriteRecord>();
    record->width = uint16_t(width);
    record->height = uint16_t(height);
    record->pixels.reset(new uint8_t[size_t(width) * size_t(height) * 4]);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t color = rgbaTopDown(x, y);
            uint8_t* p = record->pixels.get() + (size_t(height - 1 - y) * size_t(width) + size_t(x)) * 4;
            p[0] = uint8_t(color >> 16);
            p[1] = uint8_t(color >> 8);
            p[2] = uint8_t(color);
            p[3] = uint8_t(color >> 24);
        }
    return record;
}

uint32_t RecordPixel(const SpriteRecord& record, int x, int y) {
    const uint8_t* p = record.Pixel(x, record.height - 1 - y);
    return uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16 | uint32_t(p[3]) << 24;
}

std::unique_ptr<SpriteRecord> MakeBlockFont() {
    const int cell = 'H' - 32;
    const int cellX = (cell % 32) * 16;
    const int cellY = (cell / 32) * 16;
    return MakeRecord(512, 128, [&](int x, int y) -> uint32_t {
        const bool ink = x >= cellX + 1 && x <= cellX + 8 && y >= cellY + 3 && y <= cellY + 12;
        return ink ? 0xFFFFFFFFu : 0xFF000000u;
    });
}

namespace {
int Channel(uint32_t color, int channel) { return int((color >> (8 * channel)) & 0xFF); }
}  // namespace

std::vector<SmoothPoint> SmoothPoints(const SpriteRecord& record, int left, int top, int right, int bottom,
                                      int maxSpread, size_t count) {
    std::vector<SmoothPoint> found;
    for (int y = top + 1; y < bottom - 1; ++y) {
        for (int x = left + 1; x < right - 1; ++x) {
            const uint32_t centre = RecordPixel(record, x, y);
            // Full magenta is the DirectDraw colour key; it cannot be shown.
            if ((centre & 0xFFFFFF) == 0xFF00FF)
                continue;
            int spread = 0;
            bool opaque = true;
            for (int dy = -1; dy <= 1 && opaque; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const uint32_t p = RecordPixel(record, x + dx, y + dy);
                    if ((p >> 24) != 0xFF) {
                        opaque = false;
                        break;
                    }
                    for (int c = 0; c < 3; ++c)
                        spread = std::max(spread, std::abs(Channel(p, c) - Channel(centre, c)));
                }
            if (opaque && spread <= maxSpread)
                found.push_back({x, y, centre, spread});
        }
    }
    if (found.size() <= count)
        return found;
    // Spread the chosen points over the area.
    std::vector<SmoothPoint> chosen;
    for (size_t i = 0; i < count; ++i)
        chosen.push_back(found[i * found.size() / count]);
    return chosen;
}

uint32_t Blend(uint32_t src, uint32_t dst) {
    const double a = double(src >> 24) / 255.0;
    uint32_t out = 0xFF000000u;
    for (int c = 0; c < 3; ++c) {
        const double value = Channel(src, c) * a + Channel(dst, c) * (1 - a);
        out |= uint32_t(value + 0.5) << (8 * c);
    }
    return out;
}

Harness::Harness(const std::string& dir) : workDir(dir) { platform::SetMessageBoxes(&boxes); }

Harness::~Harness() {
    delete app;
    platform::SetMessageBoxes(nullptr);
}

bool Harness::Open(int width, int height, const std::string& title) {
    app = new KEngine2();
    GUIManager::Attach(*app);
    app->SetSize(width, height);
    app->SetTitle(title, true);
    if (!app->CreateMainWindow(false))
        return false;
    Pump();
    return true;
}

void Harness::Pump() {
    if (app)
        app->PumpMessages();
}

bool Harness::WaitForFile(const std::string& name, int timeoutMs) {
    const std::string path = workDir + "\\" + name;
    for (int waited = 0; waited < timeoutMs; waited += 20) {
        if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            return true;
        Pump();
        ::Sleep(20);
    }
    return false;
}

void Harness::Shot(const std::string& name) {
    POINT corner = {0, 0};
    ::ClientToScreen(static_cast<HWND>(app->window), &corner);
    std::printf("SHOT %s %ld %ld %d %d\n", name.c_str(), corner.x, corner.y, app->clientWidth, app->clientHeight);
    std::fflush(stdout);
    Check(WaitForFile(name + ".done", 30000), "the driver took the screenshot " + name);
}

bool Harness::Resize(const std::string& name, int width, int height) {
    std::printf("RESIZE %s %d %d\n", name.c_str(), width, height);
    std::fflush(stdout);
    if (!WaitForFile(name + ".done", 30000))
        return false;
    for (int waited = 0; waited < 5000; waited += 20) {
        Pump();
        if (app->clientWidth == width && app->clientHeight == height)
            return true;
        ::Sleep(20);
    }
    return false;
}

void Harness::Expect(const std::string& shot, int x, int y, uint32_t rgba, int tolerance, const std::string& group,
                     const std::string& label) {
    std::printf("EXPECT %s %d %d %u %u %u %d %s %s\n", shot.c_str(), x, y, unsigned(rgba & 0xFF),
                unsigned((rgba >> 8) & 0xFF), unsigned((rgba >> 16) & 0xFF), tolerance, group.c_str(),
                label.c_str());
}

void Harness::WriteReadScreen(const std::string& shot) {
    const int w = app->clientWidth;
    const int h = app->clientHeight;
    uint8_t* block = app->engine ? app->engine->ReadScreen(0, 0, w, h) : nullptr;
    if (!block) {
        Check(false, "ReadScreen gave a block for " + shot);
        return;
    }
    const std::string file = workDir + "\\read-" + shot + ".ppm";
    if (FILE* out = std::fopen(file.c_str(), "wb")) {
        std::fprintf(out, "P6\n%d %d\n255\n", w, h);
        // The block's first row is the bottom of the rectangle.
        for (int row = h - 1; row >= 0; --row)
            std::fwrite(block + size_t(row) * size_t(w) * 3, 1, size_t(w) * 3, out);
        std::fclose(out);
        std::printf("READ %s read-%s.ppm\n", shot.c_str(), shot.c_str());
    }
    delete[] block;
}

void Harness::Check(bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok" : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!ok)
        ++failures;
}
