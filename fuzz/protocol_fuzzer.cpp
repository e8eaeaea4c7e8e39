// The game connection's receive path on arbitrary bytes: cut into frames as
// they arrive in pieces, every frame dispatched through the protocol's handler
// table, on the login screen at the login server or, when the first byte says
// so, with a game screen at the game world. Then one frame of the main loop
// runs (the game screen's update and its drawing through the tests' recording
// back end) with every side window open, so that a count, an index, a size or
// a colour that only hurts when it is drawn is drawn.
//
// The client is the tests' one (tests/support/ClientFixture): fake platform
// services, a scratch folder, and the generated graphics file, so that items
// and creatures have their real sprites. Every input starts from a game
// screen of its own, so that what one input leaves behind cannot hurt the
// next and a finding replays alone (tests/protocol/regressions).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "tests/support/ProtocolFrameHarness.h"

namespace {

ProtocolFrameHarness* MakeHarness() {
    // The fixture works in its scratch folder; libFuzzer's corpus and
    // artifact paths may be relative to where the run started. The client
    // keeps its files in the application-data folder, which is the scratch's.
    const std::filesystem::path start = std::filesystem::current_path();
    auto* harness = new ProtocolFrameHarness(VELMORA_FUZZ_GFX);
    std::filesystem::current_path(start);
    static ProtocolFrameHarness* made = harness;
    // The scratch folder goes with the fixture; a run that ends in a crash
    // leaves it, and the next test run's scratch sweep takes it.
    std::atexit([] { delete made; });
    return harness;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 1 << 20)
        return 0;
    static ProtocolFrameHarness* harness = MakeHarness();
    harness->Run(data, size);
    return 0;
}
