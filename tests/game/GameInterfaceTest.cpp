// The game screen as a whole: what it builds and frees in which order, the
// layout it restores and saves, and its input routing.
#include <algorithm>
#include <memory>

#include "client/ConfigFile.h"
#include "client/Settings.h"
#include "dialogs/trade/MoveItemsDialog.h"
#include "engine/Clock.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITextbox.h"
#include "game/HotkeyBar.h"
#include "net/Connection.h"
#include "platform/Platform.h"
#include "protocol/Protocol.h"
#include "sidewindows/Actions.h"
#include "sidewindows/CStatus.h"
#include "sidewindows/Container.h"
#include "sidewindows/Friends.h"
#include "sidewindows/Inventory.h"
#include "sidewindows/SideWindow.h"
#include "sidewindows/Minimap.h"
#include "sidewindows/Party.h"
#include "sidewindows/SidePanel.h"
#include "tests/support/GameFixture.h"
#include "tests/support/GuiInput.h"
#include "world/Creature.h"
#include "world/Map.h"

namespace {

const std::vector<std::string> kBuilt = {
    "ThingActions", "HotkeyBar", "ExperienceWindow", "BuffTimers",
    "NpcShopDialog", "HotkeyDialog", "IgnoreList", "HouseDialog", "HouseBiddingDialog", "SummonMonsterDialog",
    "MoveItemsDialog", "MarketDialog", "WelcomeDialog", "SpellLibraryDialog", "TalentsDialog", "WorldMapDialog",
    "GuildDialog", "NoGuildDialog", "TutorialDialog", "BrewingDialog", "RecipesDialog",
    "Minimap", "Actions", "Inventory", "CStatus", "Friends", "Party"};

std::vector<std::string> Closed(std::initializer_list<const char*> modules) {
    std::vector<std::string> events;
    for (const char* module : modules) {
        events.push_back(std::string(module) + "::Close");
        events.push_back(std::string("~") + module);
    }
    return events;
}

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Main-row slot i casts spell 100 + i, fight-row slot i spell 200 + i.
const std::string kOneSpellPerSlot = [] {
    std::string ini = "[spells1]\n";
    std::string fight = "[fightspells1]\n";
    for (int i = 1; i <= 12; ++i) {
        ini += "F" + std::to_string(i) + "=" + std::to_string(100 + i) + "\n";
        fight += "F" + std::to_string(i) + "=" + std::to_string(200 + i) + "\n";
    }
    return ini + fight;
}();

// The spells of the queued cast requests (0x23), and the queue emptied.
std::vector<int> CastSpells(Connection& connection) {
    std::vector<int> spells;
    for (const std::vector<uint8_t>& frame : connection.QueuedFrames())
        if (frame.size() >= 5 && frame[2] == 0x23)
            spells.push_back(frame[3] | frame[4] << 8);
    connection.ClearQueues();
    return spells;
}

const int kCtrl = platform::kVkControl;
const int kShift = platform::kVkShift;

}  // namespace

TEST_F(GameTest, TheScreenIsBuiltInItsOrder) {
    Start();
    EXPECT_EQ(TakeEvents(), kBuilt);
    // Every owned part exists; the on-demand dialogs and the slots do not.
    GameInterface& g = game();
    EXPECT_NE(g.map, nullptr);
    EXPECT_NE(g.pagedText, nullptr);
    EXPECT_NE(g.tipMessages, nullptr);
    EXPECT_NE(g.floatingTexts, nullptr);
    EXPECT_NE(g.effects, nullptr);
    EXPECT_NE(g.party, nullptr);
    EXPECT_EQ(g.reportDialog, nullptr);
    EXPECT_EQ(g.gmWindow, nullptr);
    EXPECT_TRUE(std::all_of(std::begin(g.containers), std::end(g.containers), [](Container* c) { return !c; }));
    EXPECT_EQ(g.sideWindows.size(), 6u);
    EXPECT_EQ(g.hotkeyMode, 0);
    EXPECT_NE(client->app->gui->FindControl(GameInterface::kChatInputId), nullptr);
}

TEST_F(GameTest, ASecondEnterGameBuildsNothing) {
    Start();
    GameInterface* first = client->game;
    TakeEvents();
    client->StartGame(true);
    EXPECT_EQ(client->game, first);
    EXPECT_TRUE(TakeEvents().empty());
}

TEST_F(GameTest, TheScreenIsTornDownInItsOrder) {
    Start();
    KeyDown('R');  // no Control: nothing
    fixture.platform.keys.down.insert(kCtrl);
    KeyDown('R');
    fixture.platform.keys.down.clear();
    ASSERT_NE(game().reportDialog, nullptr);
    Container* container = new Container(20000 + 2 * 3, 3);
    container->Create("Backpack", 165, 88);
    game().SetContainerWindow(container, 3);
    TakeEvents();

    client->ReturnToMenu();
    const std::vector<std::string> expected = Concat({
        Closed({"MoveItemsDialog"}),
        {"~HotkeyBar", "~ExperienceWindow", "BuffTimers::Clear", "~BuffTimers"},
        Closed({"NpcShopDialog", "HotkeyDialog", "IgnoreList", "HouseDialog", "HouseBiddingDialog",
                "SummonMonsterDialog", "MarketDialog", "WelcomeDialog", "SpellLibraryDialog", "TalentsDialog",
                "WorldMapDialog", "GuildDialog", "NoGuildDialog", "TutorialDialog", "BrewingDialog",
                "RecipesDialog"}),
        {"ThingActions::Clear", "~ThingActions"},
        Closed({"ReportDialog"}),
        // The side windows go last, through the list, the container once.
        {"~Minimap", "~Actions", "~Inventory", "~CStatus", "~Friends", "~Party", "~Container"},
    });
    EXPECT_EQ(TakeEvents(), expected);
    // The layout was written first, with the windows' last geometry.
    EXPECT_TRUE(client->settings->options->HasKey("windows", "minimapx"));
    EXPECT_EQ(client->settings->options->GetInt("windows", "chath"), 138);
}

TEST_F(GameTest, TheLayoutIsRestored) {
    const struct {
        const char* name;
        const char* ini;
        std::function<void(GameInterface&)> check;
    } cases[] = {
        {"an empty ini", "",
         [](GameInterface& g) {
             EXPECT_EQ(g.minimap->dialog->height, 175);
             EXPECT_EQ(g.minimap->dialog->x, 0);
             EXPECT_EQ(g.minimap->dialog->y, 0);
             EXPECT_FLOAT_EQ(g.minimap->zoom, 2.0f);
             EXPECT_EQ(g.actions->dialog->height, 177);
             EXPECT_EQ(g.inventory->dialog->height, 238);
             EXPECT_EQ(g.status->dialog->height, 119);
             EXPECT_EQ(g.status->dialog->x, 1000 - 165);
             EXPECT_EQ(g.status->dialog->y, 0);
             EXPECT_EQ(g.friends->dialog->height, 107);
             EXPECT_EQ(g.friends->dialog->x, 1000 - 165);
             EXPECT_EQ(g.friends->dialog->y, 119);
             EXPECT_TRUE(g.party->dialog->HasFlag(GUIControl::kHidden));
             EXPECT_EQ(g.chatHeight, 138);
             EXPECT_EQ(g.leftPanel->GetWidth(), 165);
             EXPECT_EQ(g.rightPanel->GetWidth(), 165);
             // The five default channels.
             EXPECT_EQ(g.protocol->connection->OutgoingCount(), 5u);
         }},
        {"zoom 0", "[windows]\nminimapzoom=0\n", [](GameInterface& g) { EXPECT_FLOAT_EQ(g.minimap->zoom, 0.25f); }},
        {"zoom 40", "[windows]\nminimapzoom=40\n", [](GameInterface& g) { EXPECT_FLOAT_EQ(g.minimap->zoom, 4.0f); }},
        {"chath 1000 on a tall window", "windowwidth=1000\nwindowheight=900\n[windows]\nchath=1000\n",
         [](GameInterface& g) { EXPECT_EQ(g.chatHeight, 400); }},
        {"chath 1000 on a low window", "[windows]\nchath=1000\n",
         [](GameInterface& g) { EXPECT_EQ(g.chatHeight, 700 - 372); }},
        {"statusheight 500", "[windows]\nstatusheight=500\n",
         [](GameInterface& g) { EXPECT_EQ(g.status->dialog->height, 334); }},
        {"friendsheight 5000", "[windows]\nfriendsheight=5000\n",
         [](GameInterface& g) { EXPECT_EQ(g.friends->dialog->height, 5000); }},
        {"spellboxposition alone", "[windows]\nspellboxposition=3\n",
         [](GameInterface& g) {
             EXPECT_EQ(g.hotkeyBar->side, 2) << "docked at the top beside the left panel";
             EXPECT_EQ(g.hotkeyBar->thickness, HotkeyBar::kMaxThickness);
         }},
        {"spellbox saved", "[windows]\nspellboxsize=70\nspellboxposition=3\n",
         [](GameInterface& g) {
             EXPECT_EQ(g.hotkeyBar->side, 3);
             EXPECT_EQ(g.hotkeyBar->thickness, 70);
         }},
        {"a minimised inventory in its compact view", "[windows]\ninventoryminor=true\ninventoryminimized=true\n",
         [](GameInterface& g) {
             EXPECT_FALSE(g.inventory->expanded);
             EXPECT_EQ(g.inventory->minimized, 1);
             EXPECT_EQ(g.inventory->dialog->height, 19);
             EXPECT_EQ(g.inventory->restoreHeight, Inventory::kCompactHeight);
         }},
        {"Chat becomes English", "[channels]\nChat=true\nTrade=false\n",
         [](GameInterface& g) {
             EXPECT_EQ(g.settings->options->GetString("channels", "Chat"), "false");
             EXPECT_TRUE(g.settings->options->GetBool("channels", "English"));
             // "Main", which the game recorded itself, and "English".
             EXPECT_EQ(g.protocol->connection->OutgoingCount(), 2u);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Start(c.ini);
        c.check(game());
        fixture.client.reset();
        client = nullptr;
    }
}

namespace {

SideWindow* RestoredWindow(GameInterface& g, const std::string& prefix) {
    if (prefix == "minimap")
        return g.minimap;
    if (prefix == "actions")
        return g.actions;
    if (prefix == "inventory")
        return g.inventory;
    if (prefix == "status")
        return g.status;
    return g.friends;
}

}  // namespace

TEST_F(GameTest, WindowsSavedOutsideTheClientAreaComeBackInside) {
    // The client area is 1000 by 700.
    const struct {
        const char* name;
        const char* window;  // its keys' prefix
        const char* keys;
        int x, y, width, height;
    } cases[] = {
        {"statusx at the top of the range", "status", "statusx=2147483647\nstatusy=0", 835, 0, 165, 119},
        {"minimap far up and left", "minimap", "minimapx=-2147483648\nminimapy=-2147483648\nminimapwidth=241", 0,
         0, 241, 175},
        {"inventory below the bottom", "inventory", "inventoryx=400\ninventoryy=100000", 400, 462, 165, 238},
        {"actions partly off the right edge", "actions", "actionsx=900\nactionsy=50", 835, 50, 165, 177},
        {"friends taller than the area", "friends", "friendsx=500\nfriendsy=300\nfriendsheight=5000", 500, 0, 165,
         5000},
        {"a place inside is kept", "inventory", "inventoryx=400\ninventoryy=300", 400, 300, 165, 238},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Start(std::string("[windows]\n") + c.keys + "\n");
        const SideWindow* window = RestoredWindow(game(), c.window);
        EXPECT_EQ(window->dialog->x, c.x);
        EXPECT_EQ(window->dialog->y, c.y);
        EXPECT_EQ(window->dialog->width, c.width);
        EXPECT_EQ(window->dialog->height, c.height);
        // The title-bar button came along.
        EXPECT_EQ(window->minimizeButton->x, c.x + c.width - 16);
        EXPECT_EQ(window->minimizeButton->y, c.y + 4);
        // What is written back is the place it came back to.
        client->ReturnToMenu();
        EXPECT_EQ(client->settings->options->GetInt("windows", std::string(c.window) + "x"), c.x);
        fixture.client.reset();
        client = nullptr;
    }
}

TEST_F(GameTest, ChannelsWithoutANameAreNotJoined) {
    Start("[channels]\n=true\nTrade=true\n");
    // "Main", which the game recorded itself, and "Trade".
    EXPECT_EQ(game().protocol->connection->OutgoingCount(), 2u);
    EXPECT_FALSE(client->settings->options->HasKey("channels", ""));
}

TEST_F(GameTest, TheWelcomeDialogOpensForANewPlayerOnly) {
    const struct {
        const char* ini;
        bool welcome;
        bool shown;
    } cases[] = {
        {"", true, true},
        {"", false, false},
        {"viewedtutorialinfo=true\n", true, false},
        {"viewedtutorialinfo=true\n", false, false},
        // Only the exact word counts.
        {"viewedtutorialinfo=True\n", true, true},
        {"viewedtutorialinfo=1\n", true, true},
        {"viewedtutorialinfo=false\n", true, true},
    };
    for (const auto& c : cases) {
        Start(c.ini, c.welcome);
        const std::vector<std::string> seen = TakeEvents();
        EXPECT_EQ(game().welcomeShown, c.shown ? 1 : 0) << c.ini << c.welcome;
        EXPECT_EQ(std::count(seen.begin(), seen.end(), "WelcomeDialog::Show"), c.shown ? 1 : 0);
        EXPECT_EQ(client->app->gui->FindControl(GameIds::kWelcomeDialog) != nullptr, c.shown) << c.ini << c.welcome;
        fixture.client.reset();
    }
}

TEST_F(GameTest, TheSavedLayoutComesBack) {
    Start("windowwidth=1000\nwindowheight=900\n[windows]\nminimapzoom=7\n");
    GameInterface* g = &game();
    EXPECT_FLOAT_EQ(g->minimap->zoom, 1.75f);
    g->chatHeight = 250;
    g->minimap->dialog->MoveBy(830 - g->minimap->dialog->x, 40 - g->minimap->dialog->y);
    g->inventory->SetExpanded(false);
    g->friends->ToggleMinimize(true);
    g->rightPanel->SetWidth(200);
    g->hotkeyBar->side = 2;
    const GameLayout before = g->CurrentLayout();

    client->ReturnToMenu();
    ConfigFile* options = client->settings->options;
    EXPECT_EQ(options->GetInt("windows", "minimapzoom"), 7);
    EXPECT_EQ(options->GetInt("windows", "chath"), 250);
    EXPECT_TRUE(options->GetBool("windows", "inventoryminor"));
    EXPECT_TRUE(options->GetBool("windows", "friendsminimized"));

    client->StartGame(false);
    ASSERT_NE(client->game, nullptr);
    const GameLayout after = game().CurrentLayout();
    EXPECT_FLOAT_EQ(after.minimapZoom, 1.75f);
    EXPECT_EQ(after.chatHeight, 250);
    EXPECT_EQ(after.minimap.x, before.minimap.x);
    EXPECT_EQ(after.minimap.y, 40);
    EXPECT_TRUE(after.inventoryMinor);
    EXPECT_TRUE(after.friends.minimized);
    EXPECT_EQ(after.rightBarWidth, 200);
    EXPECT_EQ(after.spellBoxPosition, 2);
}

TEST_F(GameTest, TheChatAreaFollowsTheWindow) {
    Start("windowwidth=1000\nwindowheight=700\n[windows]\nchath=400\n");
    GUIManager* gui = client->app->gui;
    // A 700-pixel window caps the chat at 328; a 480-pixel one still gets 138.
    EXPECT_EQ(game().chatHeight, 328);
    const GUIControl* input = gui->FindControl(GameInterface::kChatInputId);
    EXPECT_EQ(input->x, 172);
    EXPECT_EQ(input->width, 656);
    EXPECT_EQ(input->y, 700 - 27);
    EXPECT_EQ(gui->FindControl(GameInterface::kCloseChannelButtonId)->x, 794);
    EXPECT_EQ(gui->FindControl(GameInterface::kChannelListButtonId)->x, 776);
    EXPECT_EQ(gui->FindControl(GameInterface::kIgnoreListButtonId)->x, 758);
    EXPECT_EQ(gui->FindControl(GameInterface::kTabGroupId)->y, 700 - 328 + 7);
    client->app->SetSize(1000, 480);
    game().LayoutChatArea();
    EXPECT_EQ(game().chatHeight, 138);
}

TEST_F(GameTest, AnFKeyFiresOncePerPress) {
    Start(kOneSpellPerSlot);
    Connection* connection = client->protocol->connection;
    connection->ClearQueues();
    KeyDown(0x74);
    KeyDown(0x74);  // repeat while held
    KeyUp(0x74);
    KeyDown(0x74);
    EXPECT_EQ(CastSpells(*connection), (std::vector<int>{105, 105}));
    Event(InputEvent::MiddleUp, 10, 10);
    EXPECT_EQ(CastSpells(*connection), (std::vector<int>{211}));
}

TEST_F(GameTest, DigitsTriggerHotkeysOnlyInHotkeyModeWithTheLineClosed) {
    Start(kOneSpellPerSlot);
    GUIManager* gui = client->app->gui;
    Connection* connection = client->protocol->connection;
    connection->ClearQueues();
    KeyDown('3');
    EXPECT_TRUE(CastSpells(*connection).empty()) << "off: digits are text";

    fixture.platform.keys.down.insert(kCtrl);
    KeyDown('F');
    fixture.platform.keys.down.clear();
    ASSERT_EQ(game().hotkeyMode, 1);
    KeyDown('3');
    KeyDown('3');
    KeyUp('3');
    KeyDown('0');
    EXPECT_EQ(CastSpells(*connection), (std::vector<int>{203, 210}));

    KeyDown(platform::kVkReturn);  // opens the line
    EXPECT_EQ(game().chatLineOpen, 1);
    KeyDown('4');
    EXPECT_TRUE(CastSpells(*connection).empty()) << "the line is open: digits are text";
    KeyDown(platform::kVkReturn);  // closes it, sending nothing
    EXPECT_EQ(game().chatLineOpen, 0);

    GUIDialog* moveItems = new GUIDialog();
    moveItems->id = MoveItemsDialog::kDialogId;
    gui->AddControl(moveItems);
    KeyDown('5');
    EXPECT_TRUE(CastSpells(*connection).empty()) << "the move-items dialog is open";
    gui->DeleteLater(MoveItemsDialog::kDialogId);

    // A dialog's own text box keeps its digits.
    GUITextbox* field = new GUITextbox();
    field->id = 500;
    gui->AddControl(field);
    gui->focus = field;
    KeyDown('6');
    EXPECT_TRUE(CastSpells(*connection).empty());
    gui->focus = gui->FindControl(GameInterface::kChatInputId);
    KeyDown('6');
    EXPECT_EQ(CastSpells(*connection), (std::vector<int>{206}));

    fixture.platform.keys.down.insert(kCtrl);
    KeyDown('F');
    EXPECT_EQ(game().hotkeyMode, 0);
    EXPECT_EQ(game().chatLineOpen, 0);
}

TEST_F(GameTest, EnterSendsTheChatLine) {
    Start();
    Connection* connection = client->protocol->connection;
    connection->ClearQueues();
    GUIManager* gui = client->app->gui;
    GUITextbox* input = dynamic_cast<GUITextbox*>(gui->FindControl(GameInterface::kChatInputId));
    ASSERT_NE(input, nullptr);
    MoveItemsDialog* moveItems = game().moveItems;

    // Empty: nothing is sent.
    KeyDown(platform::kVkReturn);
    EXPECT_EQ(connection->OutgoingCount(), 0u);

    input->SetText("hi");
    KeyDown(platform::kVkReturn);
    EXPECT_EQ(connection->OutgoingCount(), 1u);
    EXPECT_EQ(input->GetText(), "");

    // A dialog's Enter button takes the key, without the final step.
    GUIButton* ok = new GUIButton(777, "OK", nullptr, nullptr);
    gui->AddControl(ok);
    gui->enterButtonId = 777;
    input->SetText("not sent");
    fixture.platform.clock.Advance(1000);
    const uint32_t stamped = moveItems->editTime;
    KeyDown(platform::kVkReturn);
    EXPECT_EQ(connection->OutgoingCount(), 1u);
    EXPECT_EQ(input->GetText(), "not sent");
    EXPECT_EQ(moveItems->editTime, stamped);
    // Once the button is gone, Enter is the chat's again.
    gui->DeleteLater(777);
    KeyDown(platform::kVkReturn);
    EXPECT_EQ(connection->OutgoingCount(), 2u);
    EXPECT_EQ(moveItems->editTime, GetTicks());

    // In hotkey mode the first Enter only opens the line.
    fixture.platform.keys.down.insert(kCtrl);
    KeyDown('F');
    fixture.platform.keys.down.clear();
    input->SetText("later");
    KeyDown(platform::kVkReturn);
    EXPECT_EQ(connection->OutgoingCount(), 2u);
    KeyDown(platform::kVkReturn);
    EXPECT_EQ(connection->OutgoingCount(), 3u);
}

// On a busy machine a quick Ctrl+letter is handled after Ctrl is up again:
// the key-down's own modifiers make it a shortcut all the same.
TEST_F(GameTest, ACtrlShortcutTappedBetweenTwoFramesCountsWithTheCtrlItWentDownWith) {
    const struct {
        int32_t modifiers;
        bool logout;
    } cases[] = {{InputEvent::kCtrlHeld, true}, {0, false}, {InputEvent::kShiftHeld, false}};
    for (const auto& c : cases) {
        Start();
        Connection* connection = client->protocol->connection;
        connection->ClearQueues();
        ASSERT_FALSE(fixture.platform.keys.IsKeyDown(kCtrl));
        InputEvent tap;
        tap.type = InputEvent::KeyDown;
        tap.a = 'L';
        tap.modifiers = c.modifiers;
        game().HandleEvent(tap);
        bool logout = false;
        for (const std::vector<uint8_t>& frame : connection->QueuedFrames())
            logout = logout || (frame.size() >= 3 && frame[2] == 0x13);
        EXPECT_EQ(logout, c.logout) << "modifiers " << c.modifiers;
    }
}

TEST_F(GameTest, CtrlYNeedsAStaffCharacterAndOpensOneWindow) {
    const struct {
        bool creature;
        int level;
        bool opens;
        bool ctrl = true;
    } cases[] = {{false, 0, false}, {true, 2, false}, {true, 3, true}, {true, 255, true}, {true, 3, false, false}};
    for (const auto& c : cases) {
        Start();
        auto player = std::make_unique<Creature>();
        if (c.creature) {
            player->id = 7;
            player->name = "Aldric";
            player->privilegeLevel = c.level;
            game().map->camera->creature = player.get();
        }
        EXPECT_EQ(GetLocalPlayerName(), c.creature ? "Aldric" : "");
        if (c.ctrl)
            fixture.platform.keys.down = {kCtrl};
        KeyDown('Y');
        GMWindow* window = game().gmWindow;
        EXPECT_EQ(window != nullptr, c.opens) << c.level << (c.ctrl ? " with Ctrl" : " without Ctrl");
        KeyDown('Y');
        EXPECT_EQ(game().gmWindow, window) << "one window only";
        fixture.platform.keys.down.clear();
        fixture.client.reset();
    }
}

TEST_F(GameTest, ReleasingTheLeftButtonRepairsTheFocus) {
    Start();
    GUIManager* gui = client->app->gui;
    GUIControl* chatInput = gui->FindControl(GameInterface::kChatInputId);
    GUITextbox* field = new GUITextbox();
    field->id = 501;
    gui->AddControl(field);
    GUITextbox* log = new GUITextbox();
    log->id = 502;
    log->SetFlag(GUIControl::kReadOnly);
    gui->AddControl(log);
    GUIButton* button = new GUIButton(503, "B", nullptr, nullptr);
    gui->AddControl(button);

    const struct {
        const char* name;
        GUIControl* focus;
        GUIControl* after;
    } cases[] = {
        {"a dialog's text box keeps it", field, field},
        {"a read-only box gives it back", log, chatInput},
        {"no focus", nullptr, chatInput},
        {"a button", button, chatInput},
    };
    for (const auto& c : cases) {
        gui->focus = c.focus;
        game().leftButtonDown = 1;
        game().chatResizeAnchor = 5;
        Event(InputEvent::LeftUp, 300, 300);
        EXPECT_EQ(gui->focus, c.after) << c.name;
        EXPECT_EQ(game().leftButtonDown, 0);
        EXPECT_EQ(game().chatResizeAnchor, 0);
    }
}

// Right after entering, before any click, typed text is a chat line.
TEST_F(GameTest, TheChatInputHasTheKeysFromTheStart) {
    Start();
    GUIManager* gui = client->app->gui;
    auto* input = dynamic_cast<GUITextbox*>(gui->FindControl(GameInterface::kChatInputId));
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(gui->focus, input);
    GuiInput(*client->app, fixture.platform.keys).Type("hello");
    EXPECT_EQ(input->GetText(), "hello");
}

TEST_F(GameTest, MovementKeysKeepTheirHeldFlags) {
    Start();
    KeyDown(platform::kVkUp);
    EXPECT_EQ(game().moveKeyHeld[2], 1);
    KeyUp(0x68);  // numpad 8 clears Up
    EXPECT_EQ(game().moveKeyHeld[2], 0);
    KeyDown(0x68);  // and sets nothing
    EXPECT_EQ(game().moveKeyHeld[2], 0);
    KeyDown(0x24);
    KeyDown(0x22);
    EXPECT_EQ(game().moveKeyHeld[5], 1);
    EXPECT_EQ(game().moveKeyHeld[7], 1);
    KeyUp(0x67);
    KeyUp(0x63);
    EXPECT_EQ(game().moveKeyHeld[5], 0);
    EXPECT_EQ(game().moveKeyHeld[7], 0);
}

TEST_F(GameTest, TheWheelZoomsTheMinimapWithinItsRange) {
    Start();
    Minimap* minimap = game().minimap;
    const int x = minimap->dialog->x + 10;
    const int y = minimap->dialog->y + 30;
    const struct {
        float zoom;
        int delta;
        float after;
    } cases[] = {
        {0.25f, 1, 0.25f}, {0.5f, 1, 0.25f}, {4.0f, -1, 4.0f}, {2.0f, -1, 4.0f}, {1.0f, 0, 1.0f},
    };
    for (const auto& c : cases) {
        minimap->zoom = c.zoom;
        Event(InputEvent::Wheel, x, y, c.delta);
        EXPECT_FLOAT_EQ(minimap->zoom, c.after) << c.zoom << " " << c.delta;
    }
    minimap->zoom = 1.0f;
    Event(InputEvent::Wheel, minimap->dialog->x - 50, y, 1);
    EXPECT_FLOAT_EQ(minimap->zoom, 1.0f) << "outside the window";
}

TEST_F(GameTest, EdgeDragsStayWithinTheirLimits) {
    Start("windowwidth=1000\nwindowheight=700\n");
    GameInterface& g = game();
    const int top = 700 - g.chatHeight;
    // A press on the chat area's top edge starts the resize and takes the press.
    EXPECT_TRUE(g.HandleEdgeDrag(500, top + 2, false, true));
    EXPECT_EQ(g.chatResizeAnchor, 3);
    g.leftButtonDown = 1;
    g.HandleEdgeDrag(500, 0, false, false);
    EXPECT_EQ(g.chatHeight, 700 - 372);
    g.HandleEdgeDrag(500, 699, false, false);
    EXPECT_EQ(g.chatHeight, 138);
    g.HandleEdgeDrag(500, top - 58, false, false);
    EXPECT_EQ(g.chatHeight, 138 + 60);
    Event(InputEvent::LeftUp, 500, top - 58);
    EXPECT_EQ(g.chatResizeAnchor, 0);

    // The left panel's edge: a press starts the resize but is not taken.
    EXPECT_FALSE(g.HandleEdgeDrag(163, 300, false, true));
    EXPECT_EQ(g.leftPanel->resizing, 1);
    g.HandleEdgeDrag(500, 300, false, false);
    EXPECT_EQ(g.leftPanel->GetWidth(), 241);
    g.HandleEdgeDrag(20, 300, false, false);
    EXPECT_EQ(g.leftPanel->GetWidth(), 165);
    Event(InputEvent::LeftUp, 20, 300);
    EXPECT_EQ(g.leftPanel->resizing, 0);

    // No press is taken while an item is dragged.
    EXPECT_FALSE(g.HandleEdgeDrag(500, 700 - g.chatHeight + 1, true, true));
    EXPECT_EQ(g.chatResizeAnchor, 0);
}

TEST_F(GameTest, WithoutTheChatInputNothingBreaks) {
    Start();
    GUIManager* gui = client->app->gui;
    gui->RemoveControl(gui->FindControl(GameInterface::kChatInputId), true);
    fixture.platform.keys.down = {kShift};
    KeyDown(platform::kVkUp);
    fixture.platform.keys.down = {kCtrl};
    KeyDown('C');
    fixture.platform.keys.down.clear();
    KeyDown(platform::kVkReturn);
    KeyDown(platform::kVkTab);
    Event(InputEvent::LeftUp, 10, 10);
    Event(InputEvent::RightDown, 10, 10);
    game().Update();
    game().LayoutChatArea();
    EXPECT_EQ(gui->focus, nullptr);
}

TEST_F(GameTest, ANewLinkIsCopiedOnlyAfterTheWarning) {
    Start();
    game().pendingLink = "http://bad.example/x";
    GameInterface::CopyLinkToClipboard(&game());
    EXPECT_EQ(fixture.platform.clipboard.text, "http://bad.example/x");
    // A clipboard that cannot be opened keeps what it held.
    fixture.platform.clipboard.canOpen = false;
    game().pendingLink = "http://other.example";
    GameInterface::CopyLinkToClipboard(&game());
    EXPECT_EQ(fixture.platform.clipboard.text, "http://bad.example/x");
}
