// Start-up, the main loop and the switch between the two screens.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "client/ConfigFile.h"
#include "client/Hosts.h"
#include "client/MainMenu.h"
#include "client/Settings.h"
#include "dialogs/social/QuitDialog.h"
#include "dialogs/trade/TradeWindow.h"
#include "engine/Font.h"
#include "engine/KEngine2.h"
#include "engine/WindowMessages.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "game/GameInterface.h"
#include "net/Connection.h"
#include "protocol/Protocol.h"
#include "sidewindows/Inventory.h"
#include "tests/support/ClientFixture.h"
#include "tests/support/GuiInput.h"
#include "tests/support/RecordingEngine.h"

namespace {

using Hosts = std::vector<std::string>;
const std::string A = kLoginHostA;
const std::string B = kLoginHostB;
const std::string C = kLoginHostC;

class ClientTest : public ::testing::Test, public ClientFixture {};

TEST(LoginHosts, TheFirstTwoTakeTurnsAndTheThirdIsLast) {
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(Client::BuiltInLoginHosts(r), r <= 4 ? (Hosts{A, B, C}) : (Hosts{B, A, C})) << r;
}

TEST_F(ClientTest, WithoutLoginServerFileTheBuiltInHostsAndPortAreUsed) {
    Client& client = MakeClient();
    EXPECT_TRUE(client.loginHosts == (Hosts{A, B, C}) || client.loginHosts == (Hosts{B, A, C}));
    EXPECT_EQ(client.loginPort, 5657);
}

TEST_F(ClientTest, LoginServerFileReplacesHostsAndPort) {
    const struct {
        const char* name;
        std::string content;
        Hosts hosts;
        uint16_t port;
    } cases[] = {
        {"host and port", "play.example.org\n7171\n", {"play.example.org"}, 7171},
        {"CR LF like LF", "play.example.org\r\n7171\r\n", {"play.example.org"}, 7171},
        {"one line", "play.example.org", {"play.example.org"}, 0},
        {"one line with its end", "play.example.org\n", {"play.example.org"}, 0},
        {"port taken to 16 bits", "h\n70000\n", {"h"}, 4464},
        {"negative port", "h\n-1\n", {"h"}, 65535},
        {"port without digits", "h\nport\n", {"h"}, 0},
        {"leading blanks of the port", "h\n  8080x\n", {"h"}, 8080},
        {"the host is not trimmed", " h \n1\n", {" h "}, 1},
        {"empty file", "", {""}, 0},
        {"empty first line", "\n7171", {""}, 7171},
    };
    for (const auto& c : cases) {
        WriteFileBytes(dir.Path("loginserver.txt"), c.content);
        Client& client = MakeClient();
        EXPECT_EQ(client.loginHosts, c.hosts) << c.name;
        EXPECT_EQ(client.loginPort, c.port) << c.name;
    }
    // Only the start of a huge file is read; its two lines still count.
    WriteFileBytes(dir.Path("loginserver.txt"), "play.example.org\n7171\n");
    std::filesystem::resize_file(dir.Path("loginserver.txt"), uintmax_t(64) << 20);
    Client& client = MakeClient();
    EXPECT_EQ(client.loginHosts, (Hosts{"play.example.org"}));
    EXPECT_EQ(client.loginPort, 7171);
}

TEST_F(ClientTest, GraphicsFileStampIsChecked) {
    const char* const old = "The graphics file velmora.gfx is old - please reinstall your client.";
    // The length a written file is cut to, from its whole length; null keeps it whole.
    using Cut = std::function<uintmax_t(uintmax_t)>;
    const struct {
        const char* name;
        bool present;
        uint32_t stamp;
        Cut cut;
        bool started;
        const char* box;
    } cases[] = {
        {"missing", false, 0, nullptr, false, "The graphics file velmora.gfx is missing."},
        {"last refused stamp", true, 1403107799, nullptr, false, old},
        {"first accepted stamp", true, 1403107800, nullptr, true, nullptr},
        {"stamp above the signed range reads as old", true, 3000000000u, nullptr, false, old},
        // Cut inside the header, there is no stamp to read (0).
        {"empty", true, 0, [](uintmax_t) { return 0; }, false, old},
        {"cut inside the header", true, 0, [](uintmax_t) { return 6; }, false, old},
        {"cut to 1000 bytes", true, 1403107800, [](uintmax_t) { return 1000; }, false, old},
        {"cut in half", true, 1403107800, [](uintmax_t whole) { return whole / 2; }, false, old},
        {"one byte short", true, 1403107800, [](uintmax_t whole) { return whole - 1; }, false, old},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.Path("velmora.gfx");
        std::filesystem::remove(path);
        if (c.present)
            WriteGraphicsFile(c.stamp);
        if (c.cut)
            std::filesystem::resize_file(path, c.cut(std::filesystem::file_size(path)));
        platform.boxes.shown.clear();
        Client& client = MakeClient();
        EXPECT_EQ(client.Init(), c.started) << c.name;
        EXPECT_EQ(client.gfxVersion, int32_t(c.stamp)) << c.name;
        if (c.box) {
            ASSERT_EQ(platform.boxes.shown.size(), 1u) << c.name;
            EXPECT_EQ(platform.boxes.shown[0].text, c.box);
            EXPECT_EQ(platform.boxes.shown[0].caption, "Load Error");
            EXPECT_EQ(platform.boxes.shown[0].style, 0x30u);
            EXPECT_EQ(platform.boxes.shown[0].owner, nullptr);
            EXPECT_EQ(client.menu, nullptr);
        } else {
            EXPECT_TRUE(platform.boxes.shown.empty()) << c.name;
            EXPECT_NE(client.menu, nullptr);
        }
    }
}

TEST_F(ClientTest, BackEndFallbacksFollowTheUsersAnswers) {
    const std::string d3d = "Failed to init Direct3D9 - try DirectDraw?";
    const std::string ddraw = "Failed to init DirectDraw. Try OpenGL instead?";
    const int yes = platform::kIdYes;
    const int no = platform::kIdNo;
    const struct {
        const char* name;
        const char* option;  // null: no "engine" key
        std::set<int> failing;
        std::vector<int> answers;
        std::vector<std::string> boxes;
        int engine;  // the back end running afterwards, 0 for none
    } cases[] = {
        {"default is Direct3D 9", nullptr, {}, {}, {}, 2},
        {"OpenGL falls back silently", "opengl", {1}, {}, {}, 2},
        {"a word the client does not know selects OpenGL", "vulkan", {}, {}, {}, 1},
        {"so does an empty one", "", {}, {}, {}, 1},
        {"Direct3D 9 offers DirectDraw", nullptr, {2}, {yes}, {d3d}, 3},
        {"declining ends the start", nullptr, {2}, {no}, {d3d}, 0},
        {"DirectDraw offers OpenGL", "directdraw", {3}, {yes}, {ddraw}, 1},
        {"Direct3D 9 to DirectDraw to OpenGL", "direct3d", {2, 3}, {yes, yes}, {d3d, ddraw}, 1},
        {"OpenGL's silent fallback fails too", "opengl", {1, 2}, {no}, {d3d}, 0},
        {"the chain goes round while the user agrees", nullptr, {1, 2, 3}, {yes, yes, yes, no},
         {d3d, ddraw, d3d, ddraw}, 0},
    };
    for (const auto& c : cases) {
        WriteGraphicsFile();
        WriteOptions(c.option ? std::string("[options]\nengine=") + c.option + "\n" : std::string());
        failingEngines = c.failing;
        platform.boxes.answers.assign(c.answers.begin(), c.answers.end());
        platform.boxes.shown.clear();
        Client& client = MakeClient();
        // The boxes belong to the main window (a stand-in handle that no
        // window has, as the test makes no window).
        void* const mainWindow = reinterpret_cast<void*>(uintptr_t(0xDEAD0000u));
        client.app->window = mainWindow;
        EXPECT_EQ(client.Init(), c.engine != 0) << c.name;
        std::vector<std::string> shown;
        for (const auto& box : platform.boxes.shown) {
            shown.push_back(box.text);
            EXPECT_EQ(box.caption, "Error");
            EXPECT_EQ(box.style, unsigned(platform::kMbYesNo));
            EXPECT_EQ(box.owner, mainWindow);
        }
        client.app->window = nullptr;
        EXPECT_EQ(shown, c.boxes) << c.name;
        EXPECT_TRUE(platform.boxes.answers.empty()) << c.name;
        ASSERT_EQ(client.app->engine != nullptr, c.engine != 0) << c.name;
        if (c.engine) {
            EXPECT_EQ(static_cast<RecordingEngine*>(client.app->engine)->type, c.engine) << c.name;
        }
        // A fallback is not stored as the user's choice.
        if (c.option) {
            EXPECT_EQ(client.settings->options->GetString("options", "engine"), c.option) << c.name;
        } else {
            EXPECT_FALSE(client.settings->options->HasKey("options", "engine")) << c.name;
        }
    }
}

TEST_F(ClientTest, InitOpensTheSavedWindowAndTheLoginScreen) {
    Client& client = StartClient("[options]\nwindowwidth=1024\nwindowheight=768\nwindowmaximized=false\n");
    EXPECT_EQ(client.app->clientWidth, 1024);
    EXPECT_EQ(client.app->clientHeight, 768);
    EXPECT_EQ(client.app->title, "Velmora Online");
    EXPECT_EQ(client.gfxVersion, 1500000000);
    ASSERT_NE(client.app->font, nullptr);
    EXPECT_NE(client.app->font->sheet, nullptr);
    EXPECT_EQ(client.app->gui->GetSkin(), 5764);
    EXPECT_NE(client.dragCursor, nullptr);
    EXPECT_EQ(client.app->cursorKind, 1);
    EXPECT_NE(client.protocol, nullptr);
    EXPECT_NE(client.optionsDialog, nullptr);
    EXPECT_NE(client.menu, nullptr);
    EXPECT_EQ(client.game, nullptr);
    EXPECT_EQ(client.app->closeCallback, &Client::OnCloseRequest);
}

TEST(FramePacing, PeriodIsTheCeilingOfASecondByTheLimit) {
    const struct {
        int limit;
        int period;
    } cases[] = {{60, 17}, {30, 34}, {100, 10}, {999, 2}, {1, 1000}, {0, 0}, {-5, 0}, {1000, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(Client::FramePeriod(c.limit), c.period) << c.limit;
}

TEST(FramePacing, WaitIsTheRestOfThePeriodBetweenOneAnd999) {
    const struct {
        int limit;
        uint32_t elapsed;
        uint32_t wait;
    } cases[] = {
        {60, 5, 12}, {60, 16, 1}, {60, 17, 0}, {60, 500, 0}, {60, 1000000, 0},
        {1, 0, 0},   {1, 1, 999}, {0, 0, 0},   {-1, 0, 0},   {1000, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Client::FrameWait(c.limit, c.elapsed), c.wait) << c.limit << " " << c.elapsed;
}

TEST_F(ClientTest, PassDrawsTheLoginScreenBetweenBeginAndEndOfScene) {
    Client& client = StartClient();
    RecordingEngine* engine = static_cast<RecordingEngine*>(client.app->engine);
    engine->Clear();
    const uint32_t frames = client.app->frameCount;
    client.RunPass();
    const std::vector<std::string> log = engine->Log();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], "BeginScene()");
    EXPECT_EQ(log[1], "ClearScene(0xff191919)");
    EXPECT_EQ(log.back(), "EndScene()");
    EXPECT_GE(engine->Count("RenderSprite"), 2u);  // backdrop and logo
    EXPECT_EQ(client.app->frameCount, frames + 1);

    // A frame the engine cannot begin is skipped, and still counted.
    engine->beginSceneResult = false;
    engine->Clear();
    client.RunPass();
    EXPECT_EQ(engine->Log(), (std::vector<std::string>{"BeginScene()"}));
    EXPECT_EQ(client.app->frameCount, frames + 2);
}

// The safe point: a change deferred from inside a GUI callback runs at the
// start of the next pass, before that pass draws, in the order asked; one
// deferred while the safe point runs waits for the pass after.
TEST_F(ClientTest, DeferredChangesRunAtTheStartOfTheNextPass) {
    Client& client = StartClient();
    RecordingEngine* engine = static_cast<RecordingEngine*>(client.app->engine);
    std::vector<std::string> order;
    client.Defer([&] {
        order.push_back("first, scenes begun: " + std::to_string(engine->Count("BeginScene")));
        client.Defer([&] { order.push_back("deferred by the first"); });
    });
    client.Defer([&] { order.push_back("second"); });
    client.Defer(nullptr);
    EXPECT_TRUE(order.empty());

    engine->Clear();
    client.RunPass();
    EXPECT_EQ(order, (std::vector<std::string>{"first, scenes begun: 0", "second"}));
    client.RunPass();
    EXPECT_EQ(order.size(), 3u);
    EXPECT_EQ(order.back(), "deferred by the first");
    client.RunPass();
    EXPECT_EQ(order.size(), 3u);
}

TEST_F(ClientTest, GamePassClearsToBlack) {
    Client& client = StartClient();
    client.StartGame(false);
    // Without a game connection the pass would go back to the login screen;
    // one being made keeps the game.
    client.protocol->connection->SetState(Connection::kConnecting);
    RecordingEngine* engine = static_cast<RecordingEngine*>(client.app->engine);
    engine->Clear();
    client.RunPass();
    const std::vector<std::string> log = engine->Log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[1], "ClearScene(0xff000000)");
}

TEST_F(ClientTest, ResizeStoresTheNewWindowSize) {
    Client& client = StartClient();
    client.app->HandleMessage(wm::kSize, wm::kSizeMaximized, (900 << 16) | 1200);
    client.RunPass();
    int32_t width = 0;
    int32_t height = 0;
    bool maximised = false;
    client.settings->GetWindowSize(width, height, maximised);
    EXPECT_EQ(width, 1200);
    EXPECT_EQ(height, 900);
    EXPECT_TRUE(maximised);
}

TEST_F(ClientTest, CtrlSTakesAScreenshotOnlyInTheGameOutsideFightMode) {
    const struct {
        const char* name;
        bool game;
        bool fightMode;
        bool control;
        int key;
        bool taken;
        int32_t modifiers = 0;  // the key-down's own
    } cases[] = {
        {"in the game", true, false, true, 0x53, true},
        {"Control let go before the pass", true, false, false, 0x53, true, InputEvent::kCtrlHeld},
        {"fight mode on", true, true, true, 0x53, false},
        {"without Control", true, false, false, 0x53, false},
        {"another key", true, false, true, 0x54, false},
        {"login screen", false, false, true, 0x53, false},
    };
    for (const auto& c : cases) {
        Client& client = StartClient("[options]\nfpslimit=0\nsspath=" + dir.Path("shots") + "\n");
        if (c.game) {
            client.StartGame(false);
            client.game->hotkeyMode = c.fightMode;
        }
        platform.keys.down.clear();
        if (c.control)
            platform.keys.down.insert(platform::kVkControl);
        RecordingEngine* engine = static_cast<RecordingEngine*>(client.app->engine);
        engine->Clear();
        InputEvent key{InputEvent::KeyDown, c.key, 0, 0};
        key.modifiers = c.modifiers;
        client.app->events.push_back(key);
        client.RunPass();
        client.JoinScreenshotThreads();
        EXPECT_EQ(engine->Count("ReadScreen"), c.taken ? 1u : 0u) << c.name;
    }
}

TEST_F(ClientTest, StartGameReplacesTheMenuOnce) {
    Client& client = StartClient();
    client.StartGame(true);
    ASSERT_NE(client.game, nullptr);
    EXPECT_EQ(client.menu, nullptr);
    GameInterface* game = client.game;
    client.StartGame(false);
    EXPECT_EQ(client.game, game);
}

TEST_F(ClientTest, ReturnToMenuEndsTheTradeSavesAndRestoresTheTitle) {
    Client& client = StartClient();
    client.StartGame(false);
    client.protocol->tradeWindow = new TradeWindow("Bob");
    client.protocol->tradeWindow->Show();
    client.app->SetTitle("Velmora Online - Alice", true);
    client.settings->SetFpsLimit(45);
    client.ReturnToMenu();
    EXPECT_EQ(client.protocol->tradeWindow, nullptr);
    client.app->gui->Update();
    EXPECT_EQ(client.app->gui->FindControl(TradeWindow::kDialogId), nullptr);
    EXPECT_EQ(client.game, nullptr);
    EXPECT_NE(client.menu, nullptr);
    EXPECT_EQ(client.app->title, "Velmora Online");
    EXPECT_NE(ReadFileBytes(OptionsFolder() + "/velmora.ini").find("fpslimit=45"), std::string::npos);
}

// The layout of the game just left is on disk as soon as the login screen is
// back, not only at the next save: a crash in between would lose it.
TEST_F(ClientTest, ReturnToMenuSavesTheLayoutOfTheGameJustLeft) {
    Client& client = StartClient();
    client.StartGame(false);
    client.game->chatHeight = 210;
    client.ReturnToMenu();
    EXPECT_NE(ReadFileBytes(OptionsFolder() + "/velmora.ini").find("chath=210"), std::string::npos);
}

TEST_F(ClientTest, ClosingAsksFirstWhileAConditionKeepsTheCharacterInTheWorld) {
    const struct {
        const char* name;
        bool game;
        int condition;  // 0: none
        bool closes;
    } cases[] = {
        {"login screen", false, 0, true},
        {"game without conditions", true, 0, true},
        {"harmless condition", true, 6448, true},
        {"condition 1104", true, 1104, false},
        {"condition 1115", true, 1115, false},
        {"condition 1668", true, 1668, false},
    };
    for (const auto& c : cases) {
        Client& client = StartClient();
        Inventory inventory;
        if (c.game) {
            client.StartGame(false);
            client.game->inventory = &inventory;
            if (c.condition)
                inventory.conditions[c.condition] = false;
        }
        client.app->HandleMessage(wm::kClose, 0, 0);
        EXPECT_EQ(client.app->running, !c.closes) << c.name;
        if (client.game)
            client.game->inventory = nullptr;
    }
}

TEST_F(ClientTest, ALostWindowEndsTheGameWithoutAsking) {
    // Even where a close would ask first, as nothing can be shown any more.
    Client& client = StartClient();
    Inventory inventory;
    client.StartGame(false);
    client.game->inventory = &inventory;
    inventory.conditions[1104] = false;
    EXPECT_EQ(client.app->lostCallback, &Client::OnWindowLost);
    client.app->HandleMessage(wm::kDestroy, 0, 0);
    EXPECT_FALSE(client.app->running);
    EXPECT_TRUE(client.app->windowLost);
    EXPECT_EQ(client.app->gui->FindControl(QuitDialog::kDialogId), nullptr);
    client.game->inventory = nullptr;
    // The pass goes on without drawing on the window that is gone.
    RecordingEngine* engine = static_cast<RecordingEngine*>(client.app->engine);
    engine->Clear();
    client.RunPass();
    EXPECT_EQ(engine->Count("BeginScene"), 0u);
}

TEST_F(ClientTest, QuitQuestionOffersLogoutQuitAndCancel) {
    const struct {
        const char* name;
        int32_t button;  // 0: Enter
        bool running;
    } cases[] = {
        {"Logout", 92, true},
        {"Quit", 90, false},
        {"Cancel", 91, true},
        {"Enter cancels", 0, true},
    };
    for (const auto& c : cases) {
        Client& client = StartClient();
        GUIManager* gui = client.app->gui;
        Inventory inventory;
        client.StartGame(false);
        // Without a game connection the pass would go back to the login screen.
        client.protocol->connection->SetState(Connection::kConnecting);
        client.game->inventory = &inventory;
        inventory.conditions[1104] = false;
        client.app->HandleMessage(wm::kClose, 0, 0);
        client.app->HandleMessage(wm::kClose, 0, 0);
        client.RunPass();
        size_t boxes = 0;
        for (const GUIControl* control : gui->root->children)
            boxes += control->id == 89 ? 1 : 0;
        ASSERT_EQ(boxes, 1u) << c.name;
        const GUIDialog* box = dynamic_cast<GUIDialog*>(gui->FindControl(89));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->title, "Quit Client");

        GuiInput input(*client.app, platform.keys);
        if (c.button) {
            const GUIButton* button = dynamic_cast<GUIButton*>(gui->FindControl(c.button));
            ASSERT_NE(button, nullptr) << c.name;
            input.Click(button->x + 5, button->y + 5);
        } else {
            input.Char('\r');
        }
        EXPECT_EQ(client.app->running, c.running) << c.name;
        // Quit ends the program with the box still open.
        EXPECT_EQ(gui->FindControl(89) != nullptr, !c.running) << c.name;
        client.game->inventory = nullptr;
    }
}

TEST_F(ClientTest, SetCursorKinds) {
    Client& client = StartClient();
    const struct {
        int kind;
        int shown;
    } cases[] = {{2, -1}, {1, 1}, {3, 4}, {4, 5}, {7, 5}, {0, 5}};
    for (const auto& c : cases) {
        client.SetCursor(c.kind);
        EXPECT_EQ(client.app->cursorKind, c.shown) << c.kind;
    }
}

TEST_F(ClientTest, ShutdownSavesTheOptionsAndFreesTheParts) {
    Client& client = StartClient();
    client.app->HandleMessage(wm::kSize, 0, (650 << 16) | 900);
    client.RunPass();
    client.Shutdown();
    EXPECT_EQ(client.app, nullptr);
    EXPECT_EQ(client.menu, nullptr);
    EXPECT_EQ(client.settings, nullptr);
    ConfigFile saved;
    ASSERT_TRUE(saved.Load(OptionsFolder() + "/velmora.ini"));
    EXPECT_EQ(saved.GetInt("options", "windowwidth"), 900);
    EXPECT_EQ(saved.GetInt("options", "windowheight"), 650);
    EXPECT_EQ(saved.GetString("options", "windowmaximized"), "false");
}

// The trade's window belongs to the GUI, which goes with the application
// object: a shutdown in the middle of a trade ends it first, and the
// protocol, which outlives the shutdown, holds none afterwards.
TEST_F(ClientTest, ShutdownEndsARunningTradeWhileItsWindowCanStillClose) {
    Client& client = StartClient();
    client.StartGame(false);
    client.protocol->tradeWindow = new TradeWindow("Bob");
    client.protocol->tradeWindow->Show();
    client.Shutdown();
    EXPECT_EQ(client.protocol->tradeWindow, nullptr);
    EXPECT_EQ(client.app, nullptr);
}

}  // namespace
