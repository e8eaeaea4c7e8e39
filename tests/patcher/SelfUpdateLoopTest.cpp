// The self-update loop: the "Patch" button only records the request, the next
// main-loop pass runs the patcher modally, keeps the window drawn meanwhile
// and goes on with its pass when the patcher has finished.
#include <gtest/gtest.h>

#include "client/Hosts.h"
#include "client/PatcherDialog.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIManager.h"
#include "net/InMessage.h"
#include "protocol/Protocol.h"
#include "tests/patcher/PatcherFixture.h"
#include "tests/support/RecordingEngine.h"

namespace {

class SelfUpdateLoopTest : public ::testing::Test {
protected:
    RecordingEngine* engine() const { return static_cast<RecordingEngine*>(f.client->app->engine); }
    GUIControl* PatchingDialog() const { return f.client->app->gui->FindControl(PatcherDialog::kDialogId); }

    // Frames cleared to the loop's black, and the progress bars drawn.
    int LoopFrames() const {
        int frames = 0;
        for (const RecordedCall* call : engine()->Calls("ClearScene"))
            frames += uint32_t(call->args[0]) == 0xFF000000;
        return frames;
    }

    PatcherFixture f;
};

TEST_F(SelfUpdateLoopTest, ThePatchButtonOnlyRecordsTheRequest) {
    f.client->RunPatcher(612);
    EXPECT_TRUE(f.client->patchRequested);
    EXPECT_EQ(f.client->patchVersion, 612);
    EXPECT_EQ(PatchingDialog(), nullptr);
    EXPECT_EQ(f.sockets.Opened(), 0);
}

// The server's new-version message as the dispatcher hands it over: the
// frame's length, the opcode, the text and the version.
void ReceiveNewVersion(Protocol& protocol, const std::string& text, uint32_t version) {
    std::vector<uint8_t> frame = {0, 0, 0x01, uint8_t(text.size()), uint8_t(text.size() >> 8)};
    frame.insert(frame.end(), text.begin(), text.end());
    for (int i = 0; i < 4; ++i)
        frame.push_back(uint8_t(version >> (8 * i)));
    frame[0] = uint8_t(frame.size() - 2);
    InMessage message(frame.data(), int(frame.size()));
    protocol.Dispatch(message);
}

TEST_F(SelfUpdateLoopTest, ClickingPatchStartsNothingInsideTheClick) {
    ReceiveNewVersion(*f.client->protocol, "Download the new client from the website.", 612);
    auto* patch = dynamic_cast<GUIButton*>(f.client->app->gui->FindControl(GUIManager::kMessageButtonId));
    ASSERT_NE(patch, nullptr);
    ASSERT_EQ(patch->caption, "Patch");
    f.Click(GUIManager::kMessageButtonId);
    EXPECT_EQ(PatchingDialog(), nullptr);
    EXPECT_EQ(f.sockets.Opened(), 0);
    EXPECT_TRUE(f.client->patchRequested);
    EXPECT_EQ(f.client->patchVersion, 612);

    f.sockets.Answer(HttpAnswer(404, "gone"));
    f.client->RunPass();
    EXPECT_NE(f.sockets.Sent().find("GET /velmoramedia/client/velmora_612.zip "), std::string::npos);
    EXPECT_EQ(f.ShownBox(), "Patching Error: Failed patch download (error code: 404).");
}

TEST_F(SelfUpdateLoopTest, TheNextPassRunsThePatcherThenGoesOnWithTheErrorBox) {
    // The answer comes in the patcher's third step, so the loop draws between.
    f.sockets.onSelect = [this](int call) {
        if (call == 3)
            f.sockets.Answer(HttpAnswer(404, "gone"));
    };
    f.client->RunPatcher(612);
    engine()->Clear();
    f.client->RunPass();

    EXPECT_FALSE(f.client->patchRequested);
    EXPECT_NE(f.sockets.Sent().find("GET /velmoramedia/client/velmora_612.zip "), std::string::npos);
    EXPECT_EQ(f.sockets.selects, 3);
    // Two passes of the loop, each black with the login screen's banner and
    // the GUI over it, then the main loop's own frame.
    EXPECT_EQ(LoopFrames(), 2);
    EXPECT_EQ(engine()->Count("BeginScene"), 3u);
    EXPECT_EQ(f.ShownBox(), "Patching Error: Failed patch download (error code: 404).");
    // The pass went on and drew its frame, which removed the patching dialog.
    EXPECT_EQ(PatchingDialog(), nullptr);
    EXPECT_NE(f.client->menu, nullptr);
    EXPECT_TRUE(f.client->app->running);

    // Nothing runs again until the button is pressed again.
    f.client->RunPass();
    EXPECT_EQ(f.sockets.selects, 3);
}

TEST(SelfUpdateLoopEnds, CancelAndClosingTheWindowEndTheLoopWithoutABox) {
    for (bool close : {false, true}) {
        SCOPED_TRACE(close ? "closing the window" : "Cancel");
        PatcherFixture f;
        f.sockets.onSelect = [&f, close](int call) {
            if (call != 3)
                return;
            if (close)
                Client::OnCloseRequest();
            else
                f.Click(PatcherDialog::kCancelButtonId);
        };
        f.client->RunPatcher(0);
        f.client->RunPass();
        EXPECT_EQ(f.ShownBox(), "");
        EXPECT_EQ(f.client->app->gui->FindControl(PatcherDialog::kDialogId), nullptr);
        EXPECT_EQ(f.sockets.Closed(), f.sockets.Opened());
        EXPECT_EQ(f.client->app->running, !close);
        EXPECT_TRUE(f.fixture.platform.process.exits.empty());
    }
}

TEST_F(SelfUpdateLoopTest, ADownloadedPackageEndsTheProcessWithZero) {
    f.sockets.Answer(HttpAnswer(200, MakePackage({{"data/a.bin", "a"}})));
    f.client->RunPatcher(612);
    f.client->RunPass();
    EXPECT_EQ(f.fixture.platform.shell.opened, std::vector<std::string>{"patch.exe"});
    EXPECT_EQ(f.fixture.platform.process.exits, std::vector<int>{0});
}

}  // namespace
