// What the protocol fuzz target does with an input (tests/support/
// ProtocolFrameHarness): the frames dispatched, then one main-loop frame
// drawn with every side window open. Every input the fuzzer once found
// harmful (tests/protocol/regressions) goes through it again here, under
// the sanitizers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/KEngine2.h"
#include "game/ChatLog.h"
#include "dialogs/social/NoGuildDialog.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "game/GameInterface.h"
#include "sidewindows/SideWindow.h"
#include "tests/support/ProtocolFrameHarness.h"
#include "tests/support/RecordingEngine.h"
#include "tests/support/Scratch.h"

namespace {

namespace fs = std::filesystem;

// A path from the test's environment, as this build's file functions take it.
std::string FromEnvironment(const char* name, const std::string& below = "") {
    const char* value = std::getenv(name);
    std::string path = value && *value ? std::string(value) + below : std::string();
#ifdef _WIN32
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
#endif
    return path;
}

std::vector<std::string> KeptInputs() {
    std::vector<std::string> paths;
    std::error_code error;
    const std::string folder = FromEnvironment("VELMORA_SOURCE_DIR", "/tests/protocol/regressions");
    for (const auto& item : fs::directory_iterator(fs::u8path(folder), error))
        if (item.is_regular_file())
            paths.push_back(item.path().generic_string());
    return paths;
}

// One frame: a u16 length, then the payload.
std::string Frame(const std::string& payload) {
    return std::string(1, char(payload.size() & 0xFF)) + char(payload.size() >> 8) + payload;
}

class ProtocolFuzzFrameTest : public ::testing::Test {
protected:
    void Run(const std::string& input, const std::function<void()>& afterFrame = nullptr) {
        harness.Run(reinterpret_cast<const uint8_t*>(input.data()), input.size(), afterFrame);
    }
    RecordingEngine& engine() { return *static_cast<RecordingEngine*>(harness.client().app->engine); }

    ProtocolFrameHarness harness{FromEnvironment("VELMORA_GFX")};
};

// Each also as after a long run, whose chat tabs have used up the ids of
// their range: the fuzzer's inputs run one after the other in one client.
TEST_F(ProtocolFuzzFrameTest, EveryKeptFuzzInputRunsWithoutHarm) {
    const std::vector<std::string> inputs = KeptInputs();
    EXPECT_FALSE(inputs.empty());
    for (const std::string& path : inputs) {
        SCOPED_TRACE(path);
        const std::string input = ReadFileBytes(path);
        ASSERT_FALSE(input.empty());
        for (int32_t nextId : {ChatLog::kFirstControlId, ChatLog::kEndControlId}) {
            ChatLog::Instance()->nextId = nextId;
            Run(input);
        }
    }
}

// The frame after the input runs on a game screen of the input's own, with
// every side window open, and draws the dialog the message opened.
TEST_F(ProtocolFuzzFrameTest, TheFrameDrawsAFreshGameScreenWithWhatTheInputOpened) {
    // The no-guild dialog with one invitation (0x3a), and a ping.
    const std::string invitation = std::string("\x3a\x01\x07\x00\x00\x00\x05\x00", 8) + "Guild" + "\x19\x01\x00";
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        bool looked = false;
        Run("\x01" + Frame(invitation), [&] {
            looked = true;
            GameInterface* game = harness.client().game;
            ASSERT_NE(game, nullptr);
            EXPECT_NE(harness.client().app->gui->FindControl(NoGuildDialog::kDialogId), nullptr);
            for (const SideWindow* window : game->sideWindows) {
                EXPECT_EQ(window->minimized, 0) << window->fullTitle;
                EXPECT_FALSE(window->dialog->HasFlag(GUIControl::kHidden)) << window->fullTitle;
            }
            // Only this input's frame is in the log.
            EXPECT_EQ(engine().Count("BeginScene"), 1u);
            EXPECT_EQ(engine().Count("EndScene"), 1u);
            EXPECT_GT(engine().Count("RenderSprite") + engine().Count("RenderSpriteBatch"), 0u);
        });
        EXPECT_TRUE(looked);
        // Torn down, and the login screen drawn once more.
        EXPECT_EQ(harness.client().game, nullptr);
        EXPECT_EQ(engine().Count("EndScene"), 2u);
    }
    // The login screen's input gets no game screen.
    Run(std::string(1, '\0') + Frame(std::string("\x19\x01\x00", 3)),
        [&] { EXPECT_EQ(harness.client().game, nullptr); });
}

}  // namespace
