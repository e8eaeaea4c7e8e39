// Measuring and drawing text, per character.
//
// RenderText is measured twice: through the recording engine of the tests,
// whose logging of every call dominates, and through a counting engine that
// only sums the glyphs it is given, which shows the cost of the font itself.
// Both run as Direct3D (type 2), so every text is one batch.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/Font.h"
#include "engine/Graphics.h"
#include "tests/support/TestApp.h"

namespace {

// A text of the given length from a typical chat line.
std::string Text(int length) {
    const std::string line = "Velmora Online: the market opens at noon, bring 25 gold coins! ";
    std::string text;
    while (int(text.size()) < length)
        text += line;
    text.resize(size_t(length));
    return text;
}

void PerCharacter(benchmark::State& state, size_t characters) {
    state.counters["per_char"] = benchmark::Counter(
        double(characters), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_GetTextWidth(benchmark::State& state) {
    Font font;
    const std::string text = Text(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(font.GetTextWidth(text));
    PerCharacter(state, text.size());
}
BENCHMARK(BM_GetTextWidth)->Arg(8)->Arg(64)->Arg(512);

// Draws nothing and records nothing: counts the glyphs of each batch.
class CountingEngine : public GraphicsEngine {
public:
    ~CountingEngine() override { ReleaseAllSprites(); }
    void GenerateSprite(Sprite* sprite, SpriteRecord*, bool) override { AdoptSprite(sprite); }
    bool InitInternal() override { return true; }
    void RenderSpriteBatchInternal(Sprite*, const BatchQuad* quads, int count) override {
        glyphs += count;
        benchmark::DoNotOptimize(quads);
    }
    long long glyphs = 0;
};

GraphicsEngine* MakeCountingEngine(int type) { return type == kEngineDirect3D ? new CountingEngine() : nullptr; }

void RenderText(benchmark::State& state, TestApp& test) {
    const std::string text = Text(int(state.range(0)));
    const bool outline = state.range(1) != 0;
    RecordingEngine* recording = dynamic_cast<RecordingEngine*>(test.app->engine);
    long long drawn = 0;
    for (auto _ : state) {
        test.app->graphics->RenderText(text, 10, 20, 0xFFFFFFFF, outline);
        // The recording engine's log would grow without end.
        if (recording && ++drawn % 256 == 0)
            recording->Clear();
    }
    PerCharacter(state, text.size());
}

void BM_RenderText_Counting(benchmark::State& state) {
    TestApp test(0);
    test.LoadFont();
    KEngine2::engineFactory = &MakeCountingEngine;
    test.app->CreateGraphicsEngine(kEngineDirect3D);
    RenderText(state, test);
    benchmark::DoNotOptimize(static_cast<CountingEngine*>(test.app->engine)->glyphs);
}
BENCHMARK(BM_RenderText_Counting)->ArgsProduct({{8, 64, 512}, {0, 1}})->ArgNames({"chars", "outline"});

void BM_RenderText_Recording(benchmark::State& state) {
    TestApp test(kEngineDirect3D);
    test.LoadFont();
    RenderText(state, test);
}
BENCHMARK(BM_RenderText_Recording)->ArgsProduct({{8, 64, 512}, {0, 1}})->ArgNames({"chars", "outline"});

}  // namespace
