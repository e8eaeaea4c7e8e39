// The login screen's layout and drawing.
#include <gtest/gtest.h>

#include <algorithm>

#include "client/Client.h"
#include "client/ConfigFile.h"
#include "client/Hosts.h"
#include "client/MainMenu.h"
#include "client/Settings.h"
#include "engine/KEngine2.h"
#include "engine/WindowMessages.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIText.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameInterface.h"
#include "net/Connection.h"
#include "protocol/Protocol.h"
#include "tests/support/ClientFixture.h"
#include "tests/support/FakeSockets.h"
#include "tests/support/GuiInput.h"
#include "tests/support/RecordingEngine.h"

namespace {

std::vector<std::string> Rects(int width, int height) {
    std::vector<std::string> rects;
    for (const MainMenu::ControlRect& r : MainMenu::LayoutRects(width, height))
        rects.push_back(std::to_string(r.id) + ": " + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
                        std::to_string(r.width) + ", " + std::to_string(r.height));
    return rects;
}

TEST(MainMenuLayout, ControlsStayCentred) {
    EXPECT_EQ(Rects(1000, 700), (std::vector<std::string>{
                                    "11: 326, 331, 348, 25",
                                    "7: 442, 381, 116, 25",
                                    "2: 326, 381, 116, 25",
                                    "261: 558, 381, 116, 25",
                                    "14: 326, 257, 100, 15",
                                    "13: 415, 250, 260, 30",
                                    "15: 326, 297, 100, 15",
                                    "16: 415, 290, 260, 30",
                                }));
    EXPECT_EQ(Rects(2560, 1080), (std::vector<std::string>{
                                     "11: 1106, 521, 348, 25",
                                     "7: 1222, 571, 116, 25",
                                     "2: 1106, 571, 116, 25",
                                     "261: 1338, 571, 116, 25",
                                     "14: 1106, 447, 100, 15",
                                     "13: 1195, 440, 260, 30",
                                     "15: 1106, 487, 100, 15",
                                     "16: 1195, 480, 260, 30",
                                 }));
    // Odd sizes: halves rounded toward zero.
    EXPECT_EQ(Rects(1001, 701)[0], "11: 326, 331, 348, 25");
}

TEST(MainMenuLayout, BackdropCoversTheClientAreaInItsProportions) {
    const struct {
        int width;
        int height;
        MainMenu::BackdropRect rect;
    } cases[] = {
        {1000, 700, {-156, 0, 1312, 700}},
        {2560, 1080, {0, -142, 2560, 1365}},
        {1920, 1024, {0, 0, 1920, 1024}},
        {1920, 1200, {-165, 0, 2250, 1200}},
        {3000, 1000, {0, -300, 3000, 1600}},
    };
    for (const auto& c : cases) {
        const MainMenu::BackdropRect r = MainMenu::Backdrop(c.width, c.height);
        EXPECT_EQ(r.x, c.rect.x) << c.width << "x" << c.height;
        EXPECT_EQ(r.y, c.rect.y) << c.width << "x" << c.height;
        EXPECT_EQ(r.width, c.rect.width) << c.width << "x" << c.height;
        EXPECT_EQ(r.height, c.rect.height) << c.width << "x" << c.height;
    }
}

// Where the controls of the login screen are, in the order of LayoutRects.
std::vector<std::string> PlacedRects(GUIManager* gui) {
    std::vector<std::string> rects;
    for (const MainMenu::ControlRect& r : MainMenu::LayoutRects(0, 0)) {
        const GUIControl* c = gui->FindControl(r.id);
        rects.push_back(c ? std::to_string(r.id) + ": " + std::to_string(c->x) + ", " + std::to_string(c->y) + ", " +
                                std::to_string(c->width) + ", " + std::to_string(c->height)
                          : std::to_string(r.id) + ": missing");
    }
    return rects;
}

// The controls with an id that are alive (not waiting for deletion).
size_t CountControls(GUIManager* gui, int32_t id) {
    const std::vector<GUIControl*> all = gui->root->CollectDescendants();
    return size_t(std::count_if(all.begin(), all.end(), [id](GUIControl* c) { return c->id == id; }));
}

class MainMenuTest : public ::testing::Test, public ClientFixture {
protected:
    Client& StartAt(int width, int height) {
        return StartClient("[options]\nfpslimit=0\nwindowwidth=" + std::to_string(width) +
                           "\nwindowheight=" + std::to_string(height) + "\nwindowmaximized=false\n");
    }
    GuiInput Input(Client& client) { return GuiInput(*client.app, platform.keys); }
    // A click in the middle of a control.
    void ClickOn(Client& client, int32_t id) {
        const GUIControl* control = client.app->gui->FindControl(id);
        ASSERT_NE(control, nullptr) << id;
        Input(client).Click(control->x + control->width / 2, control->y + control->height / 2);
    }

    std::vector<std::string> Draw(Client& client) {
        RecordingEngine* engine = static_cast<RecordingEngine*>(client.app->engine);
        // The first draw makes the sprites' images; the second only draws.
        client.menu->DrawNotification();
        engine->Clear();
        client.menu->DrawNotification();
        return engine->Log();
    }
};

TEST_F(MainMenuTest, BackdropLogoAndPanelAt1000x700) {
    Client& client = StartClient();
    const std::vector<std::string> log = Draw(client);
    ASSERT_GE(log.size(), 2u);
    // Sprites are numbered in the order their images were made, the font's first.
    EXPECT_EQ(log[0], "RenderSprite(sprite 2, -156, 0, 1312, 700, 2048, 1024, 0, 0, 1920, 1024, 0, 0)");
    EXPECT_EQ(log[1], "RenderSprite(sprite 3, 300, 160, 400, 100, 40, 10, 0, 0, 40, 10, 0, 0)");
    const std::vector<std::string> tail(log.end() - 18, log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{
                        // the raised double frame around the panel
                        "RenderRectangle(0xff3c3c3c, 305, 230, 390, 1)",
                        "RenderRectangle(0xff3c3c3c, 305, 231, 1, 195)",
                        "RenderRectangle(0xff0a0a0a, 305, 426, 390, 1)",
                        "RenderRectangle(0xff0a0a0a, 694, 231, 1, 195)",
                        "RenderRectangle(0xff3c3c3c, 306, 231, 388, 1)",
                        "RenderRectangle(0xff3c3c3c, 306, 232, 1, 193)",
                        "RenderRectangle(0xff0a0a0a, 306, 425, 388, 1)",
                        "RenderRectangle(0xff0a0a0a, 693, 232, 1, 193)",
                        // sunken frames around "Login" and the row of buttons
                        "RenderRectangle(0xff0a0a0a, 325, 330, 350, 1)",
                        "RenderRectangle(0xff0a0a0a, 325, 331, 1, 25)",
                        "RenderRectangle(0xff3c3c3c, 325, 356, 350, 1)",
                        "RenderRectangle(0xff3c3c3c, 674, 331, 1, 25)",
                        "RenderRectangle(0xff0a0a0a, 325, 380, 350, 1)",
                        "RenderRectangle(0xff0a0a0a, 325, 381, 1, 25)",
                        "RenderRectangle(0xff3c3c3c, 325, 406, 350, 1)",
                        "RenderRectangle(0xff3c3c3c, 674, 381, 1, 25)",
                        // the groove
                        "RenderRectangle(0xff0a0a0a, 325, 367, 350, 1)",
                        "RenderRectangle(0xff3c3c3c, 325, 368, 350, 1)",
                    }));
    // The panel is the skin tiled over (305, 230, 390, 197) in 16-pixel tiles.
    size_t tiles = 0;
    for (const std::string& line : log)
        if (line.rfind("RenderSprite(sprite 4, ", 0) == 0)
            ++tiles;
    EXPECT_EQ(tiles, 25u * 13u);
}

TEST_F(MainMenuTest, BannerOnlyWithANotification) {
    Client& client = StartClient();
    client.menu->notificationText = "";
    const size_t plain = Draw(client).size();

    client.menu->notificationText = "Server restart\nat noon\ntoday";
    client.menu->notificationLines = 3;
    const std::vector<std::string> log = Draw(client);
    ASSERT_GT(log.size(), plain);
    // The box is (cx - 260, cy + 120, 520, (3 + 3) * 16), white at alpha 30
    // around black at alpha 220.
    EXPECT_EQ(log[plain], "RenderRectangle(0x1effffff, 240, 470, 520, 1)");
    EXPECT_EQ(log[plain + 2], "RenderRectangle(0x1effffff, 240, 565, 520, 1)");
    EXPECT_EQ(log[plain + 4], "RenderRectangle(0xdc000000, 241, 471, 518, 94)");
    EXPECT_GT(log.size(), plain + 5);  // the title and the text
}

TEST_F(MainMenuTest, ControlsArePlacedForTheWindowAndFollowItsResize) {
    Client& client = StartAt(1000, 700);
    GUIManager* gui = client.app->gui;
    EXPECT_EQ(PlacedRects(gui), Rects(1000, 700));

    client.app->HandleMessage(wm::kSize, wm::kSizeMaximized, (1080 << 16) | 2560);
    client.RunPass();
    EXPECT_EQ(PlacedRects(gui), Rects(2560, 1080));
}

TEST_F(MainMenuTest, TheControlsAndTheFocusOfTheLoginScreen) {
    Client& client = StartClient();
    GUIManager* gui = client.app->gui;
    std::vector<int32_t> ids;
    for (const GUIControl* c : gui->root->children)
        ids.push_back(c->id);
    EXPECT_EQ(ids, (std::vector<int32_t>{2, 7, 261, 11, 14, 13, 15, 16}));

    const struct {
        int32_t id;
        const char* caption;
    } buttons[] = {{2, "Options"}, {7, "About"}, {261, "Website"}, {11, "Login"}};
    for (const auto& b : buttons) {
        const GUIButton* button = dynamic_cast<GUIButton*>(gui->FindControl(b.id));
        ASSERT_NE(button, nullptr) << b.id;
        EXPECT_EQ(button->caption, b.caption);
    }
    const GUIText* account = dynamic_cast<GUIText*>(gui->FindControl(14));
    const GUIText* password = dynamic_cast<GUIText*>(gui->FindControl(15));
    ASSERT_TRUE(account && password);
    EXPECT_EQ(account->text, "Login name:");
    EXPECT_EQ(password->text, "Password:");
    for (int32_t id : {13, 16}) {
        const GUITextbox* box = dynamic_cast<GUITextbox*>(gui->FindControl(id));
        ASSERT_NE(box, nullptr) << id;
        EXPECT_TRUE(box->HasFlag(GUIControl::kMasked)) << id;
        EXPECT_EQ(box->GetText(), "");
    }
    EXPECT_EQ(gui->focus, gui->FindControl(13));
    // The controls take the skin of the GUI root.
    EXPECT_EQ(gui->FindControl(11)->skin, 5764);
}

TEST_F(MainMenuTest, TypedAccountAndPasswordGoToTheProtocolOnLogin) {
    const struct {
        const char* name;
        bool byButton;
        std::string account;
        std::string password;
    } cases[] = {
        {"Enter", false, "alice", "open sesame"},
        {"the Login button", true, "bob", "x"},
        {"empty fields are sent as they are", false, "", ""},
    };
    for (const auto& c : cases) {
        // The attempt is held open, so the "Connecting" box is what the player
        // sees however quickly a refusal would come.
        FakeSockets sockets;
        sockets.HoldConnects();
        Client& client = StartClient();
        GUIManager* gui = client.app->gui;
        client.protocol->account = "old";
        client.protocol->password = "old";
        GuiInput input = Input(client);
        input.Type(c.account);
        input.Char('\t');  // on to the password
        input.Type(c.password);
        // Both fields show stars only.
        EXPECT_EQ(static_cast<GUITextbox*>(gui->FindControl(13))->GetVisibleText(), std::string(c.account.size(), '*'))
            << c.name;
        if (c.byButton)
            ClickOn(client, 11);
        else
            input.Char('\r');
        client.RunPass();

        EXPECT_EQ(client.protocol->account, c.account) << c.name;
        EXPECT_EQ(client.protocol->password, c.password) << c.name;
        EXPECT_EQ(client.protocol->mode, 0) << c.name;
        // The "Connecting" box cannot be closed while the attempt runs.
        const GUIDialog* box = dynamic_cast<GUIDialog*>(gui->FindControl(GUIManager::kMessageBoxId));
        ASSERT_NE(box, nullptr) << c.name;
        EXPECT_EQ(box->title, "Connecting");
        EXPECT_EQ(static_cast<GUIText*>(gui->FindControl(GUIManager::kMessageTextId))->text,
                  "Connecting to the login server...");
        EXPECT_TRUE(gui->FindControl(GUIManager::kMessageButtonId)->HasFlag(GUIControl::kDisabled));

        // Enter again while the box is open neither logs in nor closes the box.
        input.Type("more");
        input.Char('\r');
        client.RunPass();
        EXPECT_EQ(client.protocol->password, c.password) << c.name;
        EXPECT_NE(gui->FindControl(GUIManager::kMessageBoxId), nullptr) << c.name;

        // The client goes before the sockets it uses.
        sockets.Release();
        this->client.reset();
    }
}

TEST_F(MainMenuTest, EnterDoesNotLogInWhileADialogOfTheLoginScreenIsOpen) {
    const struct {
        const char* name;
        void (*open)(Client&);
    } cases[] = {
        {"About", [](Client& c) { MainMenu::OnAboutClicked(nullptr); }},
        {"Options", [](Client& c) { MainMenu::OnOptionsClicked(nullptr); }},
        {"character list",
         [](Client& c) {
             GUIDialog* list = new GUIDialog();
             list->id = 20;
             c.app->gui->AddControl(list);
         }},
        // Enter presses the box's button, which closes it; that Enter must not
        // log in as well.
        {"a message box", [](Client& c) { c.app->gui->MessageBox("Error", "Connecting failed"); }},
    };
    for (const auto& c : cases) {
        Client& client = StartClient();
        c.open(client);
        client.RunPass();
        client.protocol->account = "untouched";
        Input(client).Type("alice");
        Input(client).Char('\r');
        client.RunPass();
        EXPECT_EQ(client.protocol->account, "untouched") << c.name;
    }
}

TEST_F(MainMenuTest, EnterAfterTheMessageBoxIsGoneLogsIn) {
    Client& client = StartClient();
    GuiInput input = Input(client);
    client.app->gui->MessageBox("Error", "Connecting failed");
    input.Type("alice");
    input.Char('\r');  // closes the box
    client.RunPass();
    EXPECT_EQ(client.app->gui->FindControl(GUIManager::kMessageBoxId), nullptr);
    EXPECT_EQ(client.protocol->account, "");
    input.Char('\r');
    client.RunPass();
    EXPECT_EQ(client.protocol->account, "alice");
}

TEST_F(MainMenuTest, NoLoginWhileAGameRuns) {
    Client& client = StartClient();
    MainMenu* menu = client.menu;
    client.game = new GameInterface(false);  // as if the game had started under the menu
    client.protocol->account = "untouched";
    menu->OnLogin();
    EXPECT_EQ(client.protocol->account, "untouched");
    EXPECT_EQ(client.app->gui->FindControl(GUIManager::kMessageBoxId), nullptr);
}

TEST_F(MainMenuTest, WebsiteOpensTheSitesStartPage) {
    Client& client = StartClient();
    ClickOn(client, 261);
    EXPECT_EQ(platform.shell.opened, (std::vector<std::string>{kWebsiteUrl}));
    // A browser that does not start changes nothing on the screen.
    platform.shell.result = false;
    ClickOn(client, 261);
    EXPECT_EQ(platform.shell.opened.size(), 2u);
    EXPECT_EQ(client.app->gui->FindControl(GUIManager::kMessageBoxId), nullptr);
}

TEST_F(MainMenuTest, AboutOpensOnceAndItsCloseButtonClosesIt) {
    Client& client = StartAt(1000, 700);
    GUIManager* gui = client.app->gui;
    ClickOn(client, 7);
    ClickOn(client, 7);
    client.RunPass();
    ASSERT_EQ(CountControls(gui, 5), 1u);
    const GUIDialog* about = dynamic_cast<GUIDialog*>(gui->FindControl(5));
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->title, "About");
    EXPECT_EQ((std::vector<int>{about->x, about->y, about->width, about->height}),
              (std::vector<int>{329, 240, 342, 230}));
    const GUIButton* close = dynamic_cast<GUIButton*>(gui->FindControl(6));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->caption, "Close");
    EXPECT_EQ(close->GetParent(), about);

    ClickOn(client, 6);
    EXPECT_EQ(gui->FindControl(5), nullptr);
    client.RunPass();
    // It opens again after it was closed.
    ClickOn(client, 7);
    EXPECT_EQ(CountControls(gui, 5), 1u);
}

TEST_F(MainMenuTest, OptionsOpensOnceAndClosingSavesTheOptions) {
    Client& client = StartAt(1000, 700);
    GUIManager* gui = client.app->gui;
    ClickOn(client, 2);
    ClickOn(client, 2);
    ASSERT_EQ(CountControls(gui, 172), 1u);
    const GUIDialog* options = dynamic_cast<GUIDialog*>(gui->FindControl(172));
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->title, "Options");
    EXPECT_EQ((std::vector<int>{options->x, options->y, options->width, options->height}),
              (std::vector<int>{320, 168, 360, 365}));

    client.settings->SetFpsLimit(42);
    ClickOn(client, 4);
    client.RunPass();
    EXPECT_EQ(gui->FindControl(172), nullptr);
    ConfigFile saved;
    ASSERT_TRUE(saved.Load(OptionsFolder() + "/velmora.ini"));
    EXPECT_EQ(saved.GetInt("options", "fpslimit"), 42);
}

// The menu queues its controls when the game starts; the game screen makes
// its own controls before the GUI's next update, some with the same ids.
TEST_F(MainMenuTest, LeavingTheMenuRemovesItsControlsButNotTheGamesWithTheSameIds) {
    Client& client = StartClient();
    GUIManager* gui = client.app->gui;
    MainMenu::OnAboutClicked(nullptr);
    MainMenu::OnOptionsClicked(nullptr);
    GUIDialog* characters = new GUIDialog();
    characters->id = 20;
    gui->AddControl(characters);
    gui->MessageBox("Connecting", "Connecting to the game world...");

    client.StartGame(false);
    // Without a game connection the pass would go back to the login screen.
    client.protocol->connection->SetState(Connection::kConnecting);
    GUIText* gameLabel = new GUIText();
    gameLabel->id = 13;
    gui->AddControl(gameLabel);
    GUIButton* gameButton = new GUIButton();
    gameButton->id = 2;
    gui->AddControl(gameButton);
    client.RunPass();

    EXPECT_EQ(gui->FindControl(13), gameLabel);
    EXPECT_EQ(gui->FindControl(2), gameButton);
    for (int32_t id : {7, 11, 261, 14, 15, 16, 5, 6, 20})
        EXPECT_EQ(gui->FindControl(id), nullptr) << id;
    // Not the login screen's: they stay.
    EXPECT_NE(gui->FindControl(172), nullptr);
    EXPECT_NE(gui->FindControl(GUIManager::kMessageBoxId), nullptr);
}

TEST_F(MainMenuTest, ReturningFromTheGameBuildsTheLoginScreenAgain) {
    Client& client = StartAt(1000, 700);
    client.StartGame(false);
    client.RunPass();
    client.ReturnToMenu();
    client.RunPass();
    ASSERT_NE(client.menu, nullptr);
    GUIManager* gui = client.app->gui;
    EXPECT_EQ(PlacedRects(gui), Rects(1000, 700));
    for (const MainMenu::ControlRect& r : MainMenu::LayoutRects(0, 0))
        EXPECT_EQ(CountControls(gui, r.id), 1u) << r.id;
    EXPECT_EQ(gui->focus, gui->FindControl(13));
}

TEST_F(MainMenuTest, PanelFramesTakeTheGuiRootsColours) {
    Client& client = StartAt(1000, 700);
    client.app->gui->root->lightColor = 0xFF112233;
    client.app->gui->root->darkColor = 0xFF445566;
    const std::vector<std::string> log = Draw(client);
    EXPECT_NE(std::find(log.begin(), log.end(), "RenderRectangle(0xff112233, 305, 230, 390, 1)"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "RenderRectangle(0xff445566, 305, 426, 390, 1)"), log.end());
}

}  // namespace
