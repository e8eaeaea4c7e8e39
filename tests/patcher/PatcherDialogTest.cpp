// The patcher's steps: the request, the progress, the dialog, unpacking into
// the common application-data folder, starting "patch.exe", and every way a
// download or a package can fail.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "client/Hosts.h"
#include "client/PatcherDialog.h"
#include "engine/Font.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIText.h"
#include "tests/support/Scratch.h"
#include "tests/patcher/PatcherFixture.h"
#include "tests/support/DrawnText.h"
#include "tests/support/RecordingEngine.h"
#include "tests/support/ZipTestSupport.h"

namespace fs = std::filesystem;

namespace {

const std::string kError = "Patching Error: ";

class PatcherDialogTest : public ::testing::Test {
protected:
    GUIManager* gui() const { return f.client->app->gui; }
    RecordingEngine* engine() const { return static_cast<RecordingEngine*>(f.client->app->engine); }

    std::unique_ptr<PatcherDialog> OpenPatcher(int32_t version = 612) {
        auto patcher = std::make_unique<PatcherDialog>(version);
        patcher->Open();
        return patcher;
    }

    // Steps until the patcher has finished; the number of steps that asked
    // for more. Fails the test when it never finishes.
    int RunToEnd(PatcherDialog& patcher, int limit = 100) {
        for (int steps = 0; steps < limit; ++steps)
            if (!patcher.Run())
                return steps;
        ADD_FAILURE() << "the patcher did not finish";
        return limit;
    }

    // The texts the next frame draws where the dialog shows its step.
    std::vector<std::string> StepTexts() {
        const GUIControl* dialog = gui()->FindControl(PatcherDialog::kDialogId);
        engine()->Clear();
        f.UpdateGui();
        std::vector<std::string> texts;
        for (const DrawnText& text : VisibleTexts(*engine(), f.client->app->font->sheet))
            if (text.color == 0xFFC8C8C8 && text.x == dialog->x + 20 && text.y == dialog->y + 70)
                texts.push_back(text.text);
        return texts;
    }

    bool Started() const { return !f.fixture.platform.shell.opened.empty() || !f.fixture.platform.process.exits.empty(); }

    PatcherFixture f;
};

TEST_F(PatcherDialogTest, TheRequestAsksTheFileServerForTheVersionsPackage) {
    const struct {
        int32_t version;
        const char* path;
    } cases[] = {{612, "/velmoramedia/client/velmora_612.zip"}, {0, "/velmoramedia/client/velmora_475.zip"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        f.sockets.sent.clear();
        auto patcher = OpenPatcher(c.version);
        EXPECT_TRUE(patcher->Run());
        EXPECT_EQ(f.sockets.Sent(), std::string("GET ") + c.path +
                                        " HTTP/1.1\r\nHost: " + kPatchHost +
                                        "\r\nUser-Agent: KHyperText Class\r\nConnection: Close\r\n\r\n");
        EXPECT_EQ(PatcherDialog::DownloadPath(c.version == 0 ? 475 : c.version), c.path);
    }
    EXPECT_EQ(f.sockets.Connects(), std::vector<std::string>(2, kPatchHost));
}

TEST_F(PatcherDialogTest, OpenShowsOnePatchingDialogWithCancel) {
    auto patcher = OpenPatcher();
    patcher->Open();
    const int cx = f.client->app->clientWidth / 2;
    const int cy = f.client->app->clientHeight / 2;
    int dialogs = 0;
    for (GUIControl* control : gui()->root->children)
        dialogs += control->id == PatcherDialog::kDialogId;
    EXPECT_EQ(dialogs, 1);

    auto* dialog = dynamic_cast<GUIDialog*>(gui()->FindControl(PatcherDialog::kDialogId));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->title, "Patching");
    EXPECT_EQ((std::vector<int>{dialog->x, dialog->y, dialog->width, dialog->height}),
              (std::vector<int>{cx - 200, cy - 75, 400, 150}));
    ASSERT_EQ(dialog->children.size(), 2u);
    const GUIControl* line = dialog->children[0];
    EXPECT_NE(dynamic_cast<const GUILine*>(line), nullptr);
    EXPECT_EQ((std::vector<int>{line->x, line->y, line->width, line->height}),
              (std::vector<int>{cx - 193, cy + 30, 386, 1}));
    auto* cancel = dynamic_cast<GUIButton*>(dialog->children[1]);
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->id, PatcherDialog::kCancelButtonId);
    EXPECT_EQ(cancel->caption, "Cancel");
    EXPECT_EQ((std::vector<int>{cancel->x, cancel->y, cancel->width, cancel->height}),
              (std::vector<int>{cx - 60, cy + 40, 120, 25}));
}

TEST_F(PatcherDialogTest, TheBarFollowsTheBytesOfTheAnnouncedBody) {
    const std::string body(1000, 'x');
    const std::string answer = HttpAnswer(200, body);
    f.sockets.Answer(answer.substr(0, answer.size() - 750));
    auto patcher = OpenPatcher();
    EXPECT_TRUE(patcher->Run());
    EXPECT_FLOAT_EQ(patcher->progress, 25.0f);

    const GUIControl* dialog = gui()->FindControl(PatcherDialog::kDialogId);
    EXPECT_EQ(StepTexts(), std::vector<std::string>{"Step1/2:Downloadingpatch..."});
    const auto bars = engine()->Calls("RenderRectangle");
    const RecordedCall* bar = nullptr;
    for (const RecordedCall* call : bars)
        if (uint32_t(call->args[0]) == 0x64808080)
            bar = call;
    ASSERT_NE(bar, nullptr);
    // A quarter of the 358 pixels inside the frame, cut to whole pixels.
    EXPECT_EQ(bar->args, (std::vector<double>{double(0x64808080), double(dialog->x + 21), double(dialog->y + 41),
                                              89, 23}));

    // The rest: the package is here, the next step unpacks it.
    f.sockets.Answer(answer.substr(answer.size() - 750));
    EXPECT_TRUE(patcher->Run());
    EXPECT_EQ(patcher->downloading, 0);
    EXPECT_FLOAT_EQ(patcher->progress, 0.0f);
    EXPECT_EQ(StepTexts(), std::vector<std::string>{"Step2/2:Applyingpatch..."});
}

TEST_F(PatcherDialogTest, AGoodPackageIsUnpackedAndThePatchProgramStarted) {
    const std::string binary("\x00\x01\xff\r\n\x00", 6);
    f.sockets.Answer(HttpAnswer(200, MakePackage({{"patch.exe", "the package's own copy"},
                                                  {"data/", ""},
                                                  {"data/a.bin", binary},
                                                  {"maps/world/b.map", "map"}})));
    auto patcher = OpenPatcher();
    RunToEnd(*patcher);

    EXPECT_EQ(ReadFileBytes(f.Common("data/a.bin")), binary);
    EXPECT_EQ(ReadFileBytes(f.Common("maps/world/b.map")), "map");
    // The copy beside the client runs; the package's own is not unpacked.
    EXPECT_FALSE(fs::exists(f.Common("patch.exe")));
    EXPECT_EQ(f.fixture.platform.shell.opened, std::vector<std::string>{"patch.exe"});
    EXPECT_EQ(f.fixture.platform.shell.showCommands, std::vector<int>{platform::kSwShow});
    EXPECT_EQ(f.fixture.platform.process.exits, std::vector<int>{0});
    EXPECT_EQ(f.ShownBox(), "");
    EXPECT_TRUE(f.fixture.platform.boxes.shown.empty());
}

TEST_F(PatcherDialogTest, APatchProgramThatCannotStartIsLeftToTheUser) {
    f.fixture.platform.shell.result = false;
    f.sockets.Answer(HttpAnswer(200, MakePackage({{"a.txt", "a"}})));
    auto patcher = OpenPatcher();
    RunToEnd(*patcher);
    ASSERT_EQ(f.fixture.platform.boxes.shown.size(), 1u);
    const auto& box = f.fixture.platform.boxes.shown[0];
    EXPECT_EQ(box.caption, "Patching");
    EXPECT_EQ(box.text, "Patch files downloaded - please run patch.exe manually with admin privileges.");
    EXPECT_EQ(box.style, platform::kMbOk);
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(f.fixture.platform.process.exits, std::vector<int>{0});
}

TEST_F(PatcherDialogTest, APackageMadeByZipIsUnpackedWhole) {
    std::string package;
    ASSERT_TRUE(ReadWholeFile(FixturePath("deflated.zip"), &package));
    f.sockets.Answer(HttpAnswer(200, package));
    auto patcher = OpenPatcher();
    RunToEnd(*patcher);
    EXPECT_EQ(f.fixture.platform.process.exits, std::vector<int>{0});
    for (const char* name : {"readme.txt", "data/text.txt", "data/noise.bin", "data/empty.dat",
                             "data/deep/nested/leaf.txt"}) {
        std::string expected;
        ASSERT_TRUE(ReadWholeFile(TreeFile(name), &expected));
        EXPECT_EQ(ReadFileBytes(f.Common(name)), expected) << name;
    }
    EXPECT_TRUE(fs::is_directory(f.Common("data/emptydir")));
    // The read-only file must become writable again before the scratch area goes.
    fs::permissions(f.Common("readonly.txt"), fs::perms::owner_write, fs::perm_options::add);
}

// Every failure ends the patcher with its box, and never starts "patch.exe":
// the old program must not install a package that did not arrive whole.
TEST(PatcherFailures, AFailedDownloadOrPackageShowsPatchingErrorAndStartsNothing) {
    struct Case {
        const char* name;
        std::function<void(PatcherFixture&)> setUp;
        std::string box;
        std::vector<std::string> absent;  // files that must not exist afterwards
    };
    const std::string big(600, 'b');
    const Case cases[] = {
        {"no connection", [](PatcherFixture& f) { f.sockets.refusingHosts.insert(kPatchHost); },
         "Could not connect to the patching server.", {}},
        {"the request cannot be sent", [](PatcherFixture& f) { f.sockets.sendError = 10054; },
         "Could not send patching request.", {}},
        {"not found", [](PatcherFixture& f) { f.sockets.Answer(HttpAnswer(404, "gone")); },
         "Failed patch download (error code: 404).", {}},
        {"cut short",
         [](PatcherFixture& f) {
             f.sockets.Answer("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n0123456789");
             f.sockets.peerClosed = true;
         },
         "Failed patch download (error code: -1).", {}},
        {"200 without a length",
         [](PatcherFixture& f) {
             f.sockets.Answer("HTTP/1.1 200 OK\r\n\r\nPK");
             f.sockets.peerClosed = true;
         },
         "Failed patch download (the package is empty).", {}},
        {"not an archive", [](PatcherFixture& f) { f.sockets.Answer(HttpAnswer(200, "<html>moved</html>")); },
         "Failed to unpack the patch (Couldn't create/open file).", {}},
        {"the first entry cannot be listed",
         [](PatcherFixture& f) {
             PackageEntry broken{"a.txt", "a"};
             broken.brokenLocalHeader = true;
             f.sockets.Answer(HttpAnswer(200, MakePackage({broken, {"b.txt", "b"}})));
         },
         "Failed to unpack the patch (Zipfile is corrupt or not a zipfile).", {"a.txt", "b.txt"}},
        {"data that fails its CRC-32",
         [](PatcherFixture& f) {
             PackageEntry wrong{"a.txt", "a"};
             wrong.wrongCrc = true;
             f.sockets.Answer(HttpAnswer(200, MakePackage({wrong})));
         },
         "Failed to unpack the patch (Zipfile is corrupt or not a zipfile).", {"a.txt"}},
        {"a name leaving the folder",
         [](PatcherFixture& f) {
             f.sockets.Answer(HttpAnswer(200, MakePackage({{"ok.txt", "ok"}, {"../evil.txt", "evil"}})));
         },
         "Failed to unpack the patch (Couldn't create/open file).", {"../evil.txt"}},
        {"a device name",
         [](PatcherFixture& f) { f.sockets.Answer(HttpAnswer(200, MakePackage({{"data/nul.txt", "x"}}))); },
         "Failed to unpack the patch (Couldn't create/open file).", {"data/nul.txt"}},
        {"more than a package may unpack",
         [big](PatcherFixture& f) {
             PackageEntry bomb{"big.bin", big};
             bomb.claimedSize = 600u * 1024 * 1024;
             f.sockets.Answer(HttpAnswer(200, MakePackage({bomb})));
         },
         "Failed to unpack the patch (Zipfile is corrupt or not a zipfile).", {"big.bin"}},
        {"no common application-data folder",
         [](PatcherFixture& f) {
             f.fixture.platform.folders.commonAppData.clear();
             f.sockets.Answer(HttpAnswer(200, MakePackage({{"a.txt", "a"}})));
         },
         "Could not find the folder for the patch files.", {"a.txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PatcherFixture f;
        c.setUp(f);
        {
            PatcherDialog patcher(612);
            patcher.Open();
            for (int steps = 0; steps < 100 && patcher.Run(); ++steps) {
            }
            EXPECT_EQ(f.ShownBox(), kError + c.box);
        }
        EXPECT_TRUE(f.fixture.platform.shell.opened.empty());
        EXPECT_TRUE(f.fixture.platform.process.exits.empty());
        for (const std::string& name : c.absent)
            EXPECT_FALSE(fs::exists(f.Common(name))) << name;
        // The client goes on: the dialog closes, the box stays.
        f.UpdateGui();
        EXPECT_EQ(f.client->app->gui->FindControl(PatcherDialog::kDialogId), nullptr);
        EXPECT_EQ(f.ShownBox(), kError + c.box);
    }
}

// Listing an entry fails half-way through the package: the file unpacked
// before it keeps its bytes (the failed entry is not written under the name
// of the one before), and the patch counts as failed.
TEST_F(PatcherDialogTest, AnEntryThatCannotBeListedIsSkippedNotWrittenUnderAStaleName) {
    PackageEntry broken{"b.txt", "bbbbbbbb"};
    broken.brokenLocalHeader = true;
    f.sockets.Answer(HttpAnswer(200, MakePackage({{"a.txt", "alpha"}, broken, {"c.txt", "c"}})));
    auto patcher = OpenPatcher();
    RunToEnd(*patcher);
    EXPECT_EQ(ReadFileBytes(f.Common("a.txt")), "alpha");
    EXPECT_FALSE(fs::exists(f.Common("b.txt")));
    EXPECT_EQ(f.ShownBox(), kError + "Failed to unpack the patch (Zipfile is corrupt or not a zipfile).");
    EXPECT_FALSE(Started());
}

TEST_F(PatcherDialogTest, CancelEndsThePatcherAtTheNextStepWithoutABox) {
    auto patcher = OpenPatcher();
    EXPECT_TRUE(patcher->Run());
    f.Click(PatcherDialog::kCancelButtonId);
    f.sockets.Answer(HttpAnswer(200, MakePackage({{"a.txt", "a"}})));
    EXPECT_FALSE(patcher->Run());
    patcher.reset();
    EXPECT_EQ(f.sockets.Closed(), f.sockets.Opened());
    f.UpdateGui();
    EXPECT_EQ(gui()->FindControl(PatcherDialog::kDialogId), nullptr);
    EXPECT_EQ(f.ShownBox(), "");
    EXPECT_FALSE(Started());
}

TEST_F(PatcherDialogTest, ClosingGivesTheFocusToTheChatInputWhenThereIsOne) {
    for (bool chat : {false, true}) {
        SCOPED_TRACE(chat ? "with the chat input" : "without");
        GUIText* input = nullptr;
        if (chat) {
            input = new GUIText();
            input->id = PatcherDialog::kFocusAfterClose;
            gui()->AddControl(input);
        }
        auto patcher = OpenPatcher();
        gui()->focus = gui()->FindControl(PatcherDialog::kCancelButtonId);
        patcher.reset();
        EXPECT_EQ(gui()->focus, input);
        EXPECT_EQ(gui()->FindControl(PatcherDialog::kDialogId), nullptr);
        f.UpdateGui();
    }
}

// The "New Version" box's button has become "Patch"; an error must come in a
// box that can be closed.
TEST_F(PatcherDialogTest, TheErrorBoxHasItsOwnCloseButton) {
    gui()->MessageBox("New Version", "A new version will be downloaded.");
    auto* patch = dynamic_cast<GUIButton*>(gui()->FindControl(GUIManager::kMessageButtonId));
    ASSERT_NE(patch, nullptr);
    patch->SetCaption("Patch");
    patch->action = [](void*) {};

    f.sockets.Answer(HttpAnswer(404, "gone"));
    auto patcher = OpenPatcher();
    RunToEnd(*patcher);
    patcher.reset();
    f.UpdateGui();
    EXPECT_EQ(f.ShownBox(), kError + "Failed patch download (error code: 404).");
    auto* close = dynamic_cast<GUIButton*>(gui()->FindControl(GUIManager::kMessageButtonId));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->caption, "Close");
    f.Click(GUIManager::kMessageButtonId);
    f.UpdateGui();
    EXPECT_EQ(f.ShownBox(), "");
}

}  // namespace
