#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "tests/support/ClientFixture.h"

class GameInterface;

// What the protocol fuzz target does with one input, shared with the test
// that replays the inputs it found (tests/protocol/regressions).
//
// The first byte chooses the screen (bit 0: a game screen at the game world,
// else the login screen at the login server) and the size of the pieces the
// rest arrives in ((byte >> 1) * 8 + 1 bytes). The pieces are cut into frames
// and every frame is dispatched; then one main-loop frame runs: the pending
// changes, the game screen's update with every side window open, and the
// drawing of the screen and of every control and dialog through the
// recording back end. A game screen is then torn down (the return to the
// login screen) and one more frame drawn.
//
// Every input starts from a screen of its own (a new game screen, or the
// login screen) with the first run's options and no item records, so that
// one input replays alone as it ran in a sequence.
class ProtocolFrameHarness {
public:
    // gfxPath: the graphics file the client starts with.
    explicit ProtocolFrameHarness(const std::string& gfxPath);
    ~ProtocolFrameHarness();
    ProtocolFrameHarness(const ProtocolFrameHarness&) = delete;
    ProtocolFrameHarness& operator=(const ProtocolFrameHarness&) = delete;

    // afterFrame, when given, looks at the client after the input's frame,
    // before the teardown.
    void Run(const uint8_t* data, size_t size, const std::function<void()>& afterFrame = nullptr);
    Client& client() { return *fixture.client; }

    ClientFixture fixture;

private:
    void RunFrame();
    // Restores every minimised side window and shows every hidden one.
    static void OpenEverySideWindow(GameInterface& game);
    // Forgets what the last input's game left for the next: the saved
    // options and files, and the item records.
    void ForgetStoredState();
    // Forgets what the fakes and the back end recorded, which would grow
    // with every input.
    void ForgetRecords();
};
