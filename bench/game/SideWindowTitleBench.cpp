// A side window's title cut to the room of its title bar, as an open-container
// message (and every resize) has it done: titles of 2 000 and 16 000 bytes, far
// wider than the bar. The cut measures prefixes by halving, so the long title
// costs a few times the short one, not eight times a hundred.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/game/BenchGame.h"
#include "client/Client.h"
#include "sidewindows/SideWindow.h"
#include "tests/support/ClientFixture.h"
#include "tests/support/TestApp.h"
#include "tools/gfxgen/GfxWriter.h"

namespace {

void BM_SideWindowLongTitle(benchmark::State& state) {
    ClientFixture fixture;
    GfxWriter writer;
    writer.Put(2, MakeTestGlyphSheet());
    writer.Put(5764, GfxImage(128, 128));
    // The window measures its title with the running client's font.
    if (!StartBenchGame(fixture, writer, state))
        return;
    SideWindow window;
    window.windowId = 650;
    window.Create("Bag", 165, 100);
    window.AddCloseButton();
    window.AddMinimizeButton();
    // Words of mixed widths, as a server-written title would have.
    std::string title;
    while (title.size() < size_t(state.range(0)))
        title += "Bag of Holding (";
    title.resize(size_t(state.range(0)));
    for (auto _ : state) {
        window.TruncateWithEllipsis(title);
        benchmark::DoNotOptimize(window.shownTitle);
    }
    state.counters["shown_bytes"] = double(window.shownTitle.size());
}
BENCHMARK(BM_SideWindowLongTitle)->Arg(2000)->Arg(16000)->Unit(benchmark::kMicrosecond);

}  // namespace
