// One idle frame of the game screen: GameInterface::Update and Draw through
// the recording engine, in a client that has just entered the game (six side
// windows, the chat area, no creatures). The recording engine only logs, so
// the figure is the game screen's own cost per frame.
#include <benchmark/benchmark.h>

#include "bench/game/BenchGame.h"
#include "client/Client.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "game/GameInterface.h"
#include "tests/support/ClientFixture.h"
#include "tests/support/RecordingEngine.h"
#include "tests/support/TestApp.h"
#include "tools/gfxgen/GfxWriter.h"

namespace {

void BM_GameFrame(benchmark::State& state) {
    ClientFixture fixture;
    // The sprites start-up needs, with the default skin at its real size
    // (128 x 128): the skin's tiles are most of the frame's draw calls.
    GfxWriter writer;
    writer.Put(2, MakeTestGlyphSheet());
    writer.Put(403, GfxImage(32, 32));
    writer.Put(5764, GfxImage(128, 128));
    writer.Put(6195, GfxImage(64, 13));
    writer.Put(6196, GfxImage(64, 13));
    Client* started = StartBenchGame(fixture, writer, state);
    if (!started)
        return;
    Client& client = *started;
    RecordingEngine* engine = static_cast<RecordingEngine*>(client.app->engine);
    size_t calls = 0;
    for (auto _ : state) {
        client.game->Update();
        client.app->graphics->BeginScene();
        client.game->Draw();
        client.app->graphics->EndScene();
        calls = engine->calls.size();
        engine->Clear();
    }
    // The recording engine formats every call as text, which is most of the
    // time measured here: the calls per frame say what a real back end gets.
    state.counters["engine_calls_per_frame"] = double(calls);
}
BENCHMARK(BM_GameFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
