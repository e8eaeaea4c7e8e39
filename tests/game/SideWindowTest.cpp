// The side windows' frame, the two panels that stack them and the actions
// window, on the real GUI over the recording engine.
#include <algorithm>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "client/Hosts.h"
#include "client/Settings.h"
#include "engine/Font.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "net/Connection.h"
#include "protocol/Protocol.h"
#include "sidewindows/Actions.h"
#include "sidewindows/SidePanel.h"
#include "sidewindows/SideWindow.h"
#include "tests/support/GameFixture.h"
#include "tests/support/DrawnText.h"

namespace {

// Side windows of a test, standing in the game screen's list instead of the
// six standard windows (given back, unharmed, at the end).
class SideWindowTest : public GameTest {
protected:
    void StartGame(const std::string& ini = "") {
        Start(ini);
        saved.swap(game().sideWindows);
    }
    void TearDown() override {
        if (client && client->game) {
            game().sideWindows.clear();
            game().sideWindows.swap(saved);
        }
        made.clear();
    }
    // A window of the list at (x, y), `height` pixels high.
    SideWindow* Make(int x, int y, int height, int id = 0) {
        made.push_back(std::make_unique<SideWindow>());
        SideWindow* window = made.back().get();
        window->windowId = id ? id : 600 + int(made.size());
        window->Create("Window", 165, height);
        window->dialog->MoveBy(x - window->dialog->x, y - window->dialog->y);
        game().sideWindows.push_back(window);
        return window;
    }
    std::vector<SideWindow*> Collected(SidePanel& panel, bool takeUnplaced = false) {
        panel.CollectWindows(takeUnplaced);
        return panel.windows;
    }
    int ScreenWidth() const { return client->app->clientWidth; }
    // A window with the close and minimise buttons, whose title has
    // kTitleRoom pixels: 165 - 55 - 16.
    SideWindow* MakeTitled() {
        SideWindow* window = Make(835, 0, 60);
        window->AddCloseButton();
        window->AddMinimizeButton();
        return window;
    }
    static constexpr int kTitleRoom = 94;

    std::list<SideWindow*> saved;
    std::vector<std::unique_ptr<SideWindow>> made;
};

}  // namespace

TEST_F(SideWindowTest, TitleBarButtonsSitAtTheirOffsets) {
    StartGame();
    SideWindow* both = Make(835, 0, 60);
    both->AddCloseButton();
    both->AddMinimizeButton();
    SideWindow* alone = Make(835, 60, 60);
    alone->AddMinimizeButton();
    EXPECT_EQ(both->minimizeButtonOffset, 30);
    EXPECT_EQ(alone->minimizeButtonOffset, 16);
    // The buttons follow the frame when it moves.
    both->dialog->MoveBy(-835, 100);
    both->AddIconButton();
    both->AddLootButton();
    both->PlaceControls();
    EXPECT_EQ(both->closeButton->x, 165 - 16);
    EXPECT_EQ(both->minimizeButton->x, 165 - 30);
    EXPECT_EQ(both->iconButton->x, 165 - 44);
    EXPECT_EQ(both->lootButton->x, 165 - 70);
    EXPECT_EQ(both->lootButton->width, 38);
    EXPECT_EQ(both->lootButton->caption, "Loot");
    EXPECT_EQ(both->iconButton->icon, 1734);
    EXPECT_EQ(both->closeButton->y, 104);
    // Made once; removed and destroyed at once.
    GUIButton* icon = both->iconButton;
    both->AddIconButton();
    EXPECT_EQ(both->iconButton, icon);
    both->RemoveIconButton();
    both->RemoveLootButton();
    both->RemoveLootButton();
    EXPECT_EQ(both->iconButton, nullptr);
    EXPECT_EQ(both->lootButton, nullptr);
    EXPECT_EQ(both->dialog->children.size(), 2u);
}

TEST_F(SideWindowTest, LongTitlesAreCutToTheRoomBesideTheButtons) {
    StartGame();
    const Font& font = *client->app->font;
    SideWindow* window = MakeTitled();
    const int room = kTitleRoom;
    const std::string fits = "Backpack";
    ASSERT_LE(font.GetTextWidth(fits), room);
    window->TruncateWithEllipsis(fits);
    EXPECT_EQ(window->shownTitle, fits);

    const std::string longTitle = "A very long title of a bag of holding";
    ASSERT_GT(font.GetTextWidth(longTitle), room);
    window->TruncateWithEllipsis(longTitle);
    EXPECT_EQ(window->fullTitle, longTitle);
    const std::string& shown = window->shownTitle;
    ASSERT_GT(shown.size(), 3u);
    EXPECT_EQ(shown.substr(shown.size() - 3), "...");
    const std::string kept = shown.substr(0, shown.size() - 3);
    EXPECT_EQ(longTitle.compare(0, kept.size(), kept), 0);
    EXPECT_LE(font.GetTextWidth(kept), room);
    EXPECT_GT(font.GetTextWidth(longTitle.substr(0, kept.size() + 1)), room);
    // The frame draws no title of its own but keeps its bar.
    EXPECT_EQ(window->dialog->title, " ");
}

namespace {

// The cut the title had when it dropped one character per measure: the
// longest prefix whose width fits the room, with "..." when anything went.
std::string CutOneByOne(const Font& font, std::string text, int room) {
    bool cut = false;
    while (!text.empty() && font.GetTextWidth(text) > room) {
        text.pop_back();
        cut = true;
    }
    return cut ? text + "..." : text;
}

}  // namespace

TEST_F(SideWindowTest, TitlesAreCutWhereTheOneByOneCutEnded) {
    StartGame();
    const Font& font = *client->app->font;
    SideWindow* window = MakeTitled();
    const int room = kTitleRoom;
    // A title exactly as wide as the room, built from narrow and wide letters.
    std::string exact;
    while (font.GetTextWidth(exact + "i") <= room)
        exact += font.GetTextWidth(exact + "W") <= room ? 'W' : 'i';
    ASSERT_LE(font.GetTextWidth(exact), room);
    const std::string high = "caf\xe9 \xff\xfe\x80 \xc3\xa9t\xc3\xa9 na\xc3\xafve \xe2\x82\xac \xe2\x82\xac \xe2\x82\xac";
    const std::string cases[] = {
        "",
        "a",
        exact,
        exact + "i",
        exact + "W",
        "W" + exact,
        std::string(1, '\x01') + exact,  // a control byte has a width of its own
        high,
        high + high + high,
        std::string(200, 'l'),
        std::string(200, 'W'),
        std::string(1500, 'm'),
        std::string("\0\0\0", 3) + std::string(40, 'x'),
    };
    // The room shrinks with the icon and the loot button beside the others.
    for (int buttons = 0; buttons < 3; ++buttons) {
        int shrink = 0;
        if (buttons >= 1) {
            window->AddIconButton();
            shrink += 16;
        }
        if (buttons >= 2) {
            window->AddLootButton();
            shrink += 38;
        }
        for (const std::string& title : cases) {
            SCOPED_TRACE(std::to_string(buttons) + " buttons more, title of " + std::to_string(title.size()) +
                         " bytes: " + title.substr(0, 40));
            window->TruncateWithEllipsis(title);
            EXPECT_EQ(window->fullTitle, title);
            EXPECT_EQ(window->shownTitle, CutOneByOne(font, title, room - shrink));
        }
    }
    // The table reaches both ends: a title shown whole and one cut.
    window->TruncateWithEllipsis(exact);
    EXPECT_EQ(window->shownTitle, CutOneByOne(font, exact, room - 54));
    window->RemoveIconButton();
    window->RemoveLootButton();
    window->TruncateWithEllipsis(exact);
    EXPECT_EQ(window->shownTitle, exact);
    window->TruncateWithEllipsis(exact + "i");
    EXPECT_EQ(window->shownTitle, exact + "...");
}

TEST_F(SideWindowTest, MinimisingAndRestoringTwiceKeepsHeightAndResizing) {
    StartGame();
    SideWindow* window = Make(835, 0, 120);
    window->AddMinimizeButton();
    window->dialog->SetSizeLimits(165, 241, 100, 300);
    window->dialog->height = 150;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        window->ToggleMinimize(true);
        EXPECT_EQ(window->minimized, 1);
        EXPECT_EQ(window->dialog->height, SideWindow::kMinimizedHeight);
        EXPECT_FALSE(window->dialog->HasFlag(GUIControl::kResizeHeight));
        EXPECT_EQ(window->minimizeButton->icon, SideWindow::kRestoreSprite);
        window->ToggleMinimize(false);  // asks for nothing
        EXPECT_EQ(window->minimized, 1);
        SideWindow::OnMinimizeButton(window);
        EXPECT_EQ(window->minimized, 0);
        EXPECT_EQ(window->dialog->height, 150);
        EXPECT_TRUE(window->dialog->HasFlag(GUIControl::kResizeHeight));
        EXPECT_EQ(window->minimizeButton->icon, SideWindow::kMinimizeSprite);
    }
    // A frame that could not be resized stays so after a restore.
    window->dialog->ClearFlag(GUIControl::kResizeHeight);
    window->ToggleMinimize(true);
    window->ToggleMinimize(true);
    EXPECT_FALSE(window->dialog->HasFlag(GUIControl::kResizeHeight));
}

TEST_F(SideWindowTest, CreateClampsTheWidthAndStartsFarBelow) {
    StartGame();
    const struct {
        int asked;
        int made;
    } cases[] = {{100, 165}, {300, 241}, {200, 200}};
    int id = 700;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asked);
        made.push_back(std::make_unique<SideWindow>());
        SideWindow* window = made.back().get();
        window->windowId = ++id;
        window->Create("Bag", c.asked, 88);
        EXPECT_EQ(window->dialog->width, c.made);
        EXPECT_EQ(window->dialog->y, 1000 + 100 * id);
        EXPECT_EQ(window->dialog->x, ScreenWidth() - 165);  // forcewindowsright is on by default
        EXPECT_EQ(window->restoreHeight, 88);
        EXPECT_EQ(client->app->gui->FindControl(id), window->dialog);
    }
}

TEST_F(SideWindowTest, WithoutForceWindowsRightANewWindowGoesToTheShownLeftPanel) {
    StartGame();
    client->settings->SetForceWindowsRight(false);
    auto create = [this](int id) {
        made.push_back(std::make_unique<SideWindow>());
        SideWindow* window = made.back().get();
        window->windowId = id;
        window->Create("Bag", 165, 88);
        game().sideWindows.push_back(window);
        return window;
    };
    SideWindow* left = create(640);
    EXPECT_EQ(left->dialog->x, 0);
    EXPECT_EQ(Collected(*game().leftPanel), std::vector<SideWindow*>{left});
    EXPECT_TRUE(Collected(*game().rightPanel).empty());

    game().leftPanel->SetWidth(0);
    SideWindow* right = create(650);
    EXPECT_EQ(right->dialog->x, ScreenWidth() - 165);
    EXPECT_EQ(Collected(*game().rightPanel, true), (std::vector<SideWindow*>{left, right}));
}

TEST_F(SideWindowTest, PanelWidthsKeepTheirLimits) {
    StartGame();
    const struct {
        int screen;
        int asked;
        int left;
        int right;
    } cases[] = {
        {1000, 100, 165, 165}, {1000, 0, 0, 165},     {1000, -5, 0, 165},
        {1000, 300, 241, 241}, {1000, 200, 200, 200}, {500, 300, 150, 150},
        {500, 100, 150, 150},  {500, 0, 0, 150},
        // A screen narrower than 200 pixels leaves no column at all.
        {150, 200, 0, 0},
    };
    const int savedWidth = client->app->clientWidth;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.screen) + " " + std::to_string(c.asked));
        client->app->clientWidth = c.screen;
        SidePanel left(true);
        SidePanel right(false);
        EXPECT_EQ(left.GetWidth(), 165);
        left.SetWidth(c.asked);
        right.SetWidth(c.asked);
        EXPECT_EQ(left.GetWidth(), c.left);
        EXPECT_EQ(right.GetWidth(), c.right);
    }
    client->app->clientWidth = savedWidth;
}

TEST_F(SideWindowTest, PanelsCollectTheirWindowsByPosition) {
    StartGame();
    SideWindow* inLeft = Make(10, 300, 50);
    SideWindow* inRight = Make(ScreenWidth() - 100, 40, 50);
    SideWindow* midField = Make(400, 200, 50);
    EXPECT_EQ(Collected(*game().leftPanel), std::vector<SideWindow*>{inLeft});
    EXPECT_EQ(Collected(*game().rightPanel), std::vector<SideWindow*>{inRight});
    // The column stacks from the top, flush with its edge.
    EXPECT_EQ(game().leftPanel->Layout(), 50);
    EXPECT_EQ(inLeft->dialog->x, 0);
    EXPECT_EQ(inLeft->dialog->y, 0);
    // Dropped in the middle of the field: no column takes it, it stays.
    game().rightPanel->Layout();
    EXPECT_EQ(midField->dialog->x, 400);
    EXPECT_EQ(midField->dialog->y, 200);
}

TEST_F(SideWindowTest, AHiddenWindowTakesNoRoom) {
    StartGame();
    const int x = ScreenWidth() - 165;
    SideWindow* top = Make(x, 0, 60);
    SideWindow* hidden = Make(x, 60, 80);
    SideWindow* bottom = Make(x, 140, 70);
    hidden->dialog->SetFlag(GUIControl::kHidden);
    game().rightPanel->CollectWindows(false);
    EXPECT_EQ(game().rightPanel->Layout(), 130);
    EXPECT_EQ(top->dialog->y, 0);
    EXPECT_EQ(bottom->dialog->y, 60);
}

TEST_F(SideWindowTest, DraggingPastANeighboursMiddleSwaps) {
    StartGame();
    const int x = ScreenWidth() - 165;
    SideWindow* upper = Make(x, 0, 100);
    SideWindow* lower = Make(x, 100, 100);
    SideWindow* last = Make(x, 200, 40);
    SidePanel& panel = *game().rightPanel;
    const struct {
        int draggedTop;
        std::vector<SideWindow*> order;
    } cases[] = {
        {51, {upper, lower, last}},   // not past the middle of the upper window
        {49, {lower, upper, last}},   // past it
        {-30, {lower, upper, last}},  // above the column
        {260, {upper, last, lower}},  // below the last window's middle
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.draggedTop);
        upper->dialog->MoveBy(0, -upper->dialog->y);
        lower->dialog->MoveBy(0, 100 - lower->dialog->y);
        last->dialog->MoveBy(0, 200 - last->dialog->y);
        lower->dialog->dragging = true;
        lower->dialog->MoveBy(0, c.draggedTop - lower->dialog->y);
        EXPECT_EQ(Collected(panel), c.order);
        panel.Layout();
        EXPECT_EQ(lower->dialog->y, c.draggedTop) << "the mouse keeps the dragged frame";
        // The window on the move is drawn above the others.
        EXPECT_EQ(client->app->gui->root->children.back(), lower->dialog);
        // Released where it was: the order stays.
        lower->dialog->dragging = false;
        EXPECT_EQ(Collected(panel), c.order);
    }
}

TEST_F(SideWindowTest, ManyOverlappingFramesSortWithoutFault) {
    // Frames that overlap one another with one of them dragged: the order must
    // come out the same whatever the list's order (the sort needs a strict
    // weak ordering, and the sanitizers watch the sort).
    StartGame();
    const int x = ScreenWidth() - 165;
    std::vector<SideWindow*> windows;
    for (int i = 0; i < 40; ++i)
        windows.push_back(Make(x, (i * 37) % 300, 20 + (i * 53) % 200));
    windows[17]->dialog->dragging = true;
    const std::vector<SideWindow*> first = Collected(*game().rightPanel);
    game().sideWindows.reverse();
    std::vector<SideWindow*> second = Collected(*game().rightPanel);
    ASSERT_EQ(first.size(), 40u);
    // Equal y may come in list order; compare the y sequence and the dragged place.
    auto ys = [](const std::vector<SideWindow*>& list) {
        std::vector<int> out;
        for (const SideWindow* w : list)
            out.push_back(w->dialog->y);
        return out;
    };
    EXPECT_EQ(ys(first), ys(second));
    EXPECT_EQ(std::find(first.begin(), first.end(), windows[17]) - first.begin(),
              std::find(second.begin(), second.end(), windows[17]) - second.begin());
}

TEST_F(SideWindowTest, TheFrameDrawsTitleGripAndContent) {
    StartGame();
    SideWindow* window = Make(ScreenWidth() - 165, 0, 100);
    window->TruncateWithEllipsis("Pouch");
    const struct {
        int icon;
        bool iconDrawn;
    } cases[] = {{0, false}, {403, true}, {25000, false}, {-3, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.icon);
        window->titleIcon = c.icon;
        engine().Clear();
        DrawFrame();
        bool found = false;
        for (const DrawnText& text : VisibleTexts(engine(), client->app->font->sheet)) {
            if (text.text != "Pouch")
                continue;
            found = true;
            EXPECT_EQ(text.color, SideWindow::kTitleColor);
            const int width = client->app->font->GetTextWidth("Pouch");
            const int expectedX = c.icon > 0 ? window->dialog->x + 26
                                             : window->dialog->x + 165 / 2 - width / 2;
            EXPECT_EQ(int(text.x), expectedX);
        }
        EXPECT_TRUE(found);
        // The 14 x 14 icon at (x + 8, y + 3); ids outside the store draw nothing.
        bool iconDrawn = false;
        for (const RecordedCall* call : engine().Calls("RenderSprite"))
            if (call->args.size() >= 4 && int(call->args[0]) == window->dialog->x + 8 && int(call->args[1]) == 3 &&
                int(call->args[2]) == 14)
                iconDrawn = true;
        EXPECT_EQ(iconDrawn, c.iconDrawn);
    }
}

TEST_F(SideWindowTest, AWindowGoneLeavesNoClickableFrame) {
    StartGame();
    int closes = 0;
    auto window = std::make_unique<SideWindow>();
    window->windowId = 777;
    window->Create("Bag", 165, 88);
    window->AddCloseButton();
    window->closeButton->action = [](void* count) { ++*static_cast<int*>(count); };
    window->closeButton->actionContext = &closes;
    GUIButton* close = window->closeButton;
    window.reset();
    EXPECT_EQ(client->app->gui->FindControl(777), nullptr);
    EXPECT_EQ(close->action, &SideWindow::EmptyCallback);
    close->action(close->actionContext);
    EXPECT_EQ(closes, 0);
    client->app->gui->Update();
}

// --- The actions window ---

namespace {

std::vector<uint8_t> QueuedOpcodes(Client& client) {
    std::vector<uint8_t> opcodes;
    for (const auto& frame : client.protocol->connection->QueuedFrames())
        if (frame.size() > 2)
            opcodes.push_back(frame[2]);
    client.protocol->connection->ClearQueues();
    return opcodes;
}

void Click(GUIButton* button) { button->action(button->actionContext); }

}  // namespace

TEST_F(GameTest, ActionsButtonsStandInTheirRows) {
    Start("[windows]\nactionsx=835\nactionswidth=165\n");
    Actions& actions = *game().actions;
    const int x = actions.dialog->x;
    const int y = actions.dialog->y;
    // W = 149 is odd: the right-hand buttons are one pixel wider.
    const struct {
        GUIButton* button;
        const char* caption;
        int dx, dy, w;
    } rows[] = {
        {actions.premiumButton, "Buy Premium Cards", 8, 26, 149},
        {actions.autofollowButton, "Autofollow", 8, 53, 74},
        {actions.fightmodeButton, "Fightmode", 82, 53, 75},
        {actions.questsButton, "Quests", 8, 80, 74},
        {actions.spellsButton, "Spells", 82, 80, 75},
        {actions.talentsButton, "Talents", 8, 100, 74},
        {actions.guildButton, "Guild", 82, 100, 75},
        {actions.optionsButton, "Options", 8, 120, 149},
        {actions.logoutButton, "Logout", 8, 140, 149},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.caption);
        ASSERT_NE(row.button, nullptr);
        EXPECT_EQ(row.button->caption, row.caption);
        EXPECT_EQ(row.button->x, x + row.dx);
        EXPECT_EQ(row.button->y, y + row.dy);
        EXPECT_EQ(row.button->width, row.w);
        EXPECT_EQ(row.button->height, 20);
        EXPECT_EQ(row.button->GetParent(), actions.dialog);
    }
    EXPECT_EQ(actions.premiumButton->textColor, 0xFF82FF82u);
    EXPECT_EQ(actions.logoutButton->textColor, 0xFFB4B4B4u);
    EXPECT_EQ(client->app->gui->FindControl(GameIds::kAutofollowButton), actions.autofollowButton);

    // Minimised: no buttons; restored: all nine again.
    actions.ToggleMinimize(true);
    for (const auto& row : rows)
        EXPECT_TRUE(row.button->HasFlag(GUIControl::kHidden)) << row.caption;
    actions.ToggleMinimize(true);
    for (const auto& row : rows)
        EXPECT_FALSE(row.button->HasFlag(GUIControl::kHidden)) << row.caption;
}

TEST_F(GameTest, AMinimisedActionsWindowStartsWithoutButtons) {
    Start("[windows]\nactionsminimized=true\n");
    Actions& actions = *game().actions;
    EXPECT_EQ(actions.dialog->height, 19);
    ASSERT_NE(actions.logoutButton, nullptr);
    EXPECT_TRUE(actions.logoutButton->HasFlag(GUIControl::kHidden));
    actions.ToggleMinimize(true);
    EXPECT_EQ(actions.dialog->height, 177);
    EXPECT_FALSE(actions.logoutButton->HasFlag(GUIControl::kHidden));
}

TEST_F(GameTest, ActionsButtonsSendTheirRequests) {
    Start();
    Actions& actions = *game().actions;
    client->protocol->connection->ClearQueues();
    const struct {
        GUIButton* button;
        uint8_t opcode;
    } cases[] = {
        {actions.questsButton, 0x28},
        {actions.spellsButton, 0x31},
        {actions.guildButton, 0x37},
        {actions.logoutButton, 0x13},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button->caption);
        Click(c.button);
        EXPECT_EQ(QueuedOpcodes(*client), std::vector<uint8_t>{c.opcode});
    }
    // The rest send nothing.
    Click(actions.talentsButton);
    Click(actions.optionsButton);
    Click(actions.autofollowButton);
    Click(actions.fightmodeButton);
    EXPECT_TRUE(QueuedOpcodes(*client).empty());

    Click(actions.premiumButton);
    ASSERT_EQ(fixture.platform.shell.opened.size(), 1u);
    EXPECT_EQ(fixture.platform.shell.opened[0], kPremiumPageUrl);
    EXPECT_EQ(fixture.platform.shell.showCommands[0], 1);
}

TEST_F(GameTest, TheSwitchButtonsFlipTheirStates) {
    Start();
    Actions& actions = *game().actions;
    const bool first = client->settings->GetAutoFollow();
    EXPECT_EQ(actions.autofollowButton->style, first ? 1 : 0);
    Click(actions.autofollowButton);
    EXPECT_EQ(client->settings->GetAutoFollow(), !first);
    EXPECT_EQ(actions.autofollowButton->style, first ? 0 : 1);
    Click(actions.autofollowButton);
    EXPECT_EQ(client->settings->GetAutoFollow(), first);
    EXPECT_EQ(actions.autofollowButton->style, first ? 1 : 0);

    // The mode switched on from the keyboard shows on the button; a click
    // then switches it off.
    game().hotkeyMode = 1;
    DrawFrame();
    EXPECT_EQ(actions.fightmodeButton->style, 1);
    Click(actions.fightmodeButton);
    EXPECT_EQ(game().hotkeyMode, 0);
    Click(actions.fightmodeButton);
    EXPECT_EQ(game().hotkeyMode, 1);
}
