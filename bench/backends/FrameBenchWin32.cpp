// Draws a frame of 2 000 sprites of 32 x 32 and 200 short texts with one back
// end in a real window, 100 times after a warm-up, and prints the median
// frame time. Usage: bench_backends <engine type>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "engine/Graphics.h"
#include "engine/GraphicsEngine.h"
#include "engine/KEngine2.h"
#include "engine/Sprite.h"

namespace {

const int kSprites = 2000;
const int kTexts = 200;
const int kWarmUp = 10;
const int kFrames = 100;

// A decoded 32 x 32 picture: a coloured disc on a transparent ground, so
// that colour keys and blending both have work to do.
std::unique_ptr<SpriteRecord> Picture(uint32_t rgb) {
    auto record = std::make_unique<SpriteRecord>();
    record->width = 32;
    record->height = 32;
    record->pixels.reset(new uint8_t[32 * 32 * 4]);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            uint8_t* p = record->pixels.get() + (y * 32 + x) * 4;
            const int dx = x - 16, dy = y - 16;
            const bool inside = dx * dx + dy * dy < 15 * 15;
            p[0] = uint8_t(rgb >> 16);
            p[1] = uint8_t(rgb >> 8);
            p[2] = uint8_t(rgb);
            p[3] = inside ? 255 : 0;
        }
    return record;
}

// A glyph sheet whose printable cells are small blocks of ink.
std::unique_ptr<SpriteRecord> GlyphSheet() {
    auto record = std::make_unique<SpriteRecord>();
    record->width = 512;
    record->height = 128;
    record->pixels.reset(new uint8_t[512 * 128 * 4]());
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 512; ++x) {
            const int cx = x % 16, cy = y % 16;
            if (cx >= 1 && cx <= 6 && cy >= 3 && cy <= 12) {
                uint8_t* p = record->pixels.get() + (y * 512 + x) * 4;
                p[0] = p[1] = p[2] = p[3] = 255;
            }
        }
    return record;
}

}  // namespace

int main(int argc, char** argv) {
    const int type = argc > 1 ? std::atoi(argv[1]) : 2;
    KEngine2 app;
    app.SetSize(800, 600);
    app.SetTitle("Velmora frame benchmark", true);
    if (!app.CreateMainWindow(false) || !app.CreateGraphicsEngine(type)) {
        std::fprintf(stderr, "engine %d does not start\n", type);
        return 1;
    }
    app.PumpMessages();
    std::unique_ptr<SpriteRecord> glyphs = GlyphSheet();
    app.SetFont(glyphs.get(), true);

    const uint32_t colours[8] = {0xE04020, 0x20C040, 0x3060E0, 0xE0C020, 0xC030C0, 0x20C0C0, 0x808080, 0xF0F0F0};
    std::vector<std::unique_ptr<SpriteRecord>> pictures;
    std::vector<std::unique_ptr<Sprite>> sprites;
    for (uint32_t colour : colours) {
        pictures.push_back(Picture(colour));
        sprites.push_back(std::make_unique<Sprite>(32, 32));
        app.engine->GenerateSprite(sprites.back().get(), pictures.back().get(), false);
    }
    // Fixed pseudo-random positions over the client area.
    std::vector<int> xs(kSprites), ys(kSprites);
    uint32_t seed = 12345;
    for (int i = 0; i < kSprites; ++i) {
        seed = seed * 1103515245u + 12345u;
        xs[i] = int((seed >> 8) % uint32_t(app.clientWidth - 32));
        seed = seed * 1103515245u + 12345u;
        ys[i] = int((seed >> 8) % uint32_t(app.clientHeight - 32));
    }
    const uint32_t textColours[4] = {0xFFFFFFFFu, 0xFF30D0F0u, 0xFFE06010u, 0xFF40FF40u};

    Graphics& g = *app.graphics;
    std::vector<double> times;
    for (int frame = 0; frame < kWarmUp + kFrames; ++frame) {
        const auto start = std::chrono::steady_clock::now();
        if (g.BeginScene()) {
            g.ClearScene(0xFF191919u);
            for (int i = 0; i < kSprites; ++i)
                g.RenderSprite(sprites[size_t(i) % sprites.size()].get(), xs[i], ys[i]);
            for (int i = 0; i < kTexts; ++i)
                g.RenderText("Velmora " + std::to_string(i), (i % 8) * 96, (i / 8) * 22 + 20,
                             textColours[i % 4], i % 5 == 0);
            g.EndScene();
        }
        app.PumpMessages();
        const auto end = std::chrono::steady_clock::now();
        if (frame >= kWarmUp)
            times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    std::printf("engine %d median %.2f ms min %.2f max %.2f\n", type, times[times.size() / 2], times.front(),
                times.back());
    sprites.clear();
    return 0;
}
