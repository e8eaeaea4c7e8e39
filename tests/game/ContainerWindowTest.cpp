// Container windows: the grid arithmetic, the hit test, the title-bar buttons
// and their requests, the opening steps with the geometry saved in
// "containers.ini", and messages 0x0d and 0x0e as the server sends them.
#include <algorithm>
#include <string>
#include <vector>

#include "client/ConfigFile.h"
#include "client/Settings.h"
#include "engine/Font.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIScrollbar.h"
#include "net/Connection.h"
#include "net/InMessage.h"
#include "protocol/Protocol.h"
#include "sidewindows/Container.h"
#include "sidewindows/SidePanel.h"
#include "tests/support/GameFixture.h"
#include "tests/support/DrawnText.h"
#include "tests/support/GuiInput.h"
#include "tests/support/LoginFixture.h"
#include "world/Camera.h"
#include "world/Creature.h"
#include "world/Map.h"

namespace {

struct Item {
    int id;
    int count;
};

Bytes OpenMessage(int index, const std::string& title, int capacity, const std::vector<Item>& items,
                  bool iconButton = false, bool lootButton = false, uint32_t titleIcon = 2853) {
    Wire wire;
    wire.U8(0x0d).U8(uint32_t(index)).U32(titleIcon).Str(title).U8(iconButton ? 1 : 0).U8(lootButton ? 1 : 0);
    wire.U8(uint32_t(capacity)).U8(uint32_t(items.size()));
    for (const Item& item : items)
        wire.U16(uint32_t(item.id)).U8(uint32_t(item.count));
    return wire.bytes;
}

std::vector<Item> Items(int n) {
    std::vector<Item> items;
    for (int i = 0; i < n; ++i)
        items.push_back({7001, 1});
    return items;
}

Bytes Ping() { return Wire().U8(0x19).U16(0x4242).bytes; }

class ContainerTest : public GameTest {
protected:
    void Enter(const std::string& ini = "") {
        Start(ini);
        connection().SetState(Connection::kConnected);
        connection().ClearQueues();
    }
    // The player's own creature, whose name keys "containers.ini".
    void SetPlayer(const std::string& name) {
        Creature* player = new Creature();
        player->id = 7;
        player->name = name;
        game().map->AddCreature(player);
        game().map->camera->creature = player;
    }
    Connection& connection() { return *client->protocol->connection; }
    void Dispatch(const Bytes& payload) {
        const Bytes frame = Frame(payload);
        InMessage message(frame.data(), int(frame.size()));
        client->protocol->Dispatch(message);
        EXPECT_EQ(message.Remaining(), 0);
    }
    Container* Open(int index, int capacity, const std::vector<Item>& items, bool iconButton = false,
                    bool lootButton = false) {
        Dispatch(OpenMessage(index, "Backpack", capacity, items, iconButton, lootButton));
        return game().containers[index];
    }
    // The requests queued since the last call, each without its length.
    // The queued requests but the hotkey bar's action-list request (0x22),
    // which its first frames send.
    std::vector<Bytes> Requests() {
        std::vector<Bytes> requests;
        for (const auto& frame : connection().QueuedFrames())
            if (frame.size() > 2 && frame[2] != 0x22)
                requests.emplace_back(frame.begin() + 2, frame.end());
        connection().ClearQueues();
        return requests;
    }
    // Windows open far below the screen until the panels collect them; this
    // one goes where the mouse can reach it.
    void Show(Container* window) {
        window->dialog->MoveBy(300 - window->dialog->x, 100 - window->dialog->y);
        window->PlaceControls();
    }
    void Click(const GUIControl* control) {
        GuiInput input(*client->app, fixture.platform.keys);
        input.Click(control->x + control->width / 2, control->y + control->height / 2);
        client->app->gui->Update();
    }
    bool Listed(const SideWindow* window) {
        for (const SideWindow* listed : game().sideWindows)
            if (listed == window)
                return true;
        return false;
    }
};

TEST_F(ContainerTest, ColumnsMarginsAndRowsFollowTheFrameWidth) {
    Enter();
    Container* window = Open(0, 10, Items(10));
    ASSERT_NE(window, nullptr);
    const struct {
        int width;
        int columns;
        int margin;
        float maxHeight;
    } cases[] = {{165, 3, 16, 210}, {205, 4, 16, 170}, {241, 5, 14, 130}};
    for (const auto& c : cases) {
        window->dialog->width = c.width;
        window->Update();
        EXPECT_EQ(window->columns, c.columns) << c.width;
        EXPECT_EQ(window->gridMargin, c.margin) << c.width;
        // Rows of 40 px and 50 px of frame: the window grows no further.
        EXPECT_EQ(window->dialog->maxHeight, c.maxHeight) << c.width;
        EXPECT_EQ(window->dialog->minHeight, 88.0f) << c.width;
    }
    window->dialog->width = 165;
    window->Update();
    const int fx = window->dialog->x;
    const int fy = window->dialog->y;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(window->HitSlot(fx + 16 + 40 * i + 20, fy + 50), window->GetSlot(i)) << i;
}

TEST_F(ContainerTest, SetItemGetSlotAndTheUsedCount) {
    Enter();
    Container* window = Open(1, 5, {});
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->usedCount, 5);
    window->SetItem(12, 7001, 3);
    EXPECT_EQ(window->usedCount, 13);
    EXPECT_EQ(window->GetSlot(12)->itemId, 7001);
    EXPECT_EQ(window->GetSlot(12)->count, 3);
    window->SetItem(100, 7001, 1);
    window->SetItem(-1, 7001, 1);
    EXPECT_EQ(window->usedCount, 13);
    EXPECT_EQ(window->GetSlot(100), nullptr);
    EXPECT_EQ(window->GetSlot(-1), nullptr);
    EXPECT_EQ(window->GetSlot(99)->index, 99);
    // A refresh empties the cells it does not send.
    Dispatch(OpenMessage(1, "Backpack", 2, {{7002, 9}}));
    EXPECT_EQ(game().containers[1], window);
    EXPECT_EQ(window->usedCount, 2);
    EXPECT_EQ(window->GetSlot(0)->itemId, 7002);
    EXPECT_EQ(window->GetSlot(12)->itemId, 0);
}

TEST_F(ContainerTest, HitBoundaries) {
    Enter();
    Container* window = Open(0, 6, Items(6));
    ASSERT_NE(window, nullptr);
    window->dialog->height = 200;
    const int cx = window->dialog->x + 16;  // cell 0
    const int cy = window->dialog->y + 30;
    ContainerSlot* first = window->GetSlot(0);
    ContainerSlot* second = window->GetSlot(1);
    ContainerSlot* below = window->GetSlot(3);
    const struct {
        const char* name;
        int x;
        int y;
        ContainerSlot* hit;
    } cases[] = {
        {"6 px left of the cell still hits", cx - 6, cy + 10, first},
        {"7 px left misses", cx - 7, cy + 10, nullptr},
        {"6 px above, the grid's top edge", cx + 10, cy - 6, first},
        {"the overlap with the right neighbour goes to the lower index", cx + 40, cy + 10, first},
        {"one past it is the neighbour's", cx + 41, cy + 10, second},
        {"the overlap with the row below goes to the upper row", cx + 10, cy + 40, first},
        {"one past it is the row below", cx + 10, cy + 41, below},
        {"right of the frame", window->dialog->x + window->dialog->width + 1, cy + 10, nullptr},
    };
    for (const auto& c : cases) {
        const ContainerSlot* hit = window->HitSlot(c.x, c.y);
        EXPECT_EQ(hit, c.hit) << c.name << ": " << (hit ? hit->index : -1);
    }
    window->ToggleMinimize(true);
    EXPECT_EQ(window->HitSlot(cx + 10, cy + 10), nullptr) << "minimised";
}

TEST_F(ContainerTest, EmptyHugeAndSqueezedWindows) {
    Enter();
    // Capacity 0: no cells, nothing to hit, nothing to scroll.
    Container* empty = Open(0, 0, {});
    ASSERT_NE(empty, nullptr);
    empty->Relayout();
    EXPECT_EQ(empty->scrollbar->GetMaximum(), 0);
    EXPECT_EQ(empty->HitSlot(empty->dialog->x + 30, empty->dialog->y + 40), nullptr);

    // Capacity 255 for 100 records: the cells past the hundredth are drawn
    // as empty boxes and never hit.
    Container* huge = Open(1, 255, Items(100));
    ASSERT_NE(huge, nullptr);
    EXPECT_EQ(huge->usedCount, 255);
    huge->dialog->height = 4000;
    huge->Update();
    huge->Relayout();
    engine().Clear();
    DrawFrame();
    const int fx = huge->dialog->x;
    const int fy = huge->dialog->y;
    EXPECT_EQ(huge->HitSlot(fx + 16 + 10, fy + 30 + 33 * 40 + 10), huge->GetSlot(99));
    EXPECT_EQ(huge->HitSlot(fx + 16 + 10 + 40, fy + 30 + 33 * 40 + 10), nullptr) << "cell 100";
    EXPECT_EQ(huge->HitSlot(fx + 16 + 10, fy + 30 + 84 * 40 + 10), nullptr) << "cell 252";

    // A panel squeezed below one cell's width leaves one column, and a frame
    // of no width shows nothing.
    for (int width : {60, 0, -5}) {
        huge->dialog->width = width;
        huge->Update();
        huge->Relayout();
        EXPECT_EQ(huge->columns, 1) << width;
        EXPECT_GE(huge->scrollbar->GetMaximum(), 0) << width;
        DrawFrame();
    }
    EXPECT_EQ(huge->HitSlot(huge->dialog->x, huge->dialog->y + 40), nullptr);
}

// White edges, counted as the rectangles the cells' boxes draw in white.
// White rectangles inside the container's frame (the minimap's cross is white too).
size_t WhiteEdges(const RecordingEngine& engine, const Container& window) {
    size_t n = 0;
    const GUIControl& frame = *window.dialog;
    for (const RecordedCall* call : engine.Calls("RenderRectangle")) {
        const double x = call->args[1], y = call->args[2];
        if (uint32_t(call->args[0]) == 0xFFFFFFFF && x >= frame.x && x < frame.x + frame.width && y >= frame.y &&
            y < frame.y + frame.height)
            ++n;
    }
    return n;
}

TEST_F(ContainerTest, CountsAboveOneAndTheDropTargetFrame) {
    Enter();
    Container* window = Open(0, 4, {{7001, 1}, {7001, 0}, {7002, 37}, {0, 5}});
    ASSERT_NE(window, nullptr);
    Show(window);
    const int cx = window->dialog->x + 16 + 80;  // cell 2
    const int cy = window->dialog->y + 30;
    const struct {
        const char* name;
        bool dragging;
        size_t whiteEdges;
    } cases[] = {{"hovering without a drag", false, 0}, {"dragging over a cell", true, 4}};
    for (const auto& c : cases) {
        window->SetMouse(cx + 34, cy + 34, c.dragging);
        engine().Clear();
        DrawFrame();
        EXPECT_EQ(WhiteEdges(engine(), *window), c.whiteEdges) << c.name;
        std::vector<std::string> counts;
        for (const DrawnText& text : VisibleTexts(engine(), client->app->font->sheet))
            if (text.color == 0xFFC8C8C8 && text.y > cy && text.y < cy + 40 && text.x >= window->dialog->x &&
                text.x < window->dialog->x + window->dialog->width)
                counts.push_back(text.text);
        EXPECT_EQ(counts, std::vector<std::string>{"37"}) << "no number for 0 or 1, none for an empty cell";
    }
}

TEST_F(ContainerTest, TitleIconsAndItemsOutsideTheSpriteRangeDrawNothing) {
    Enter();
    Dispatch(OpenMessage(2, "Strange", 3, {{0xFFFF, 2}, {20000, 5}, {7001, 1}}, false, false, 0xFFFFFFFF));
    Dispatch(OpenMessage(3, "Stranger", 1, {{0xFFFF, 255}}, false, false, 25000));
    ASSERT_NE(game().containers[2], nullptr);
    ASSERT_NE(game().containers[3], nullptr);
    EXPECT_EQ(game().containers[2]->titleIcon, 0) << "a u32 past the int range";
    EXPECT_EQ(game().containers[3]->titleIcon, 25000);
    DrawFrame();
    DrawFrame();
}

TEST_F(ContainerTest, CloseRemovesAtOnceAndSendsTheCloseRequest) {
    Enter();
    Container* window = Open(4, 3, Items(3));
    ASSERT_NE(window, nullptr);
    Show(window);
    DrawFrame();
    ASSERT_NE(window->closeButton, nullptr);
    // The click runs inside the window's own button; the window is gone when
    // the action returns (AddressSanitizer watches every read after that).
    Click(window->closeButton);
    EXPECT_EQ(game().containers[4], nullptr);
    EXPECT_FALSE(Listed(window));
    EXPECT_EQ(client->app->gui->FindControl(20008), nullptr);
    EXPECT_EQ(Requests(), std::vector<Bytes>({{0x10, 4}}));
    DrawFrame();
}

// The close button and a resize in the same pass: the columns have let the
// window go before the relayout walks them.
TEST_F(ContainerTest, AClosedWindowLeavesItsColumnAtOnce) {
    Enter();
    Container* window = Open(2, 3, Items(3));
    ASSERT_NE(window, nullptr);
    game().Update();
    const auto listed = [&](const SidePanel* panel) {
        return std::find(panel->windows.begin(), panel->windows.end(), window) != panel->windows.end();
    };
    ASSERT_TRUE(listed(game().leftPanel) || listed(game().rightPanel));
    Click(window->closeButton);
    EXPECT_FALSE(listed(game().leftPanel));
    EXPECT_FALSE(listed(game().rightPanel));
    game().LayoutChatArea();
    DrawFrame();
}

TEST_F(ContainerTest, LootAndIconButtonsSendTheirRequestsAndKeepTheWindow) {
    Enter();
    Container* window = Open(5, 3, Items(3), true, true);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(window->lootButton, nullptr);
    ASSERT_NE(window->iconButton, nullptr);
    EXPECT_EQ(window->lootButton->caption, "Loot");
    EXPECT_EQ(window->iconButton->icon, 1734);
    Show(window);
    DrawFrame();
    // The "Loot" button's right part lies under the icon button: click its left part.
    GuiInput input(*client->app, fixture.platform.keys);
    input.Click(window->lootButton->x + 5, window->lootButton->y + 5);
    client->app->gui->Update();
    EXPECT_EQ(Requests(), std::vector<Bytes>({{0x4A, 5}, {0x10, 5}}));
    EXPECT_EQ(game().containers[5], window);
    Dispatch(OpenMessage(5, "Backpack", 3, Items(3), true, false));
    client->app->gui->Update();
    Click(window->iconButton);
    EXPECT_EQ(Requests(), std::vector<Bytes>({{0x27, 5}}));
    EXPECT_EQ(game().containers[5], window);

    // A refresh without the flags takes both buttons away; one that adds the
    // loot button again after the first draw gives it its action at once.
    Dispatch(OpenMessage(5, "Backpack", 3, Items(3)));
    EXPECT_EQ(window->lootButton, nullptr);
    EXPECT_EQ(window->iconButton, nullptr);
    client->app->gui->Update();
    Dispatch(OpenMessage(5, "Backpack", 3, Items(3), false, true));
    ASSERT_NE(window->lootButton, nullptr);
    window->PlaceControls();
    Click(window->lootButton);
    EXPECT_EQ(Requests(), std::vector<Bytes>({{0x4A, 5}, {0x10, 5}}));
}

TEST_F(ContainerTest, TheServerClosesAndIndexesPastTheSlotsAreIgnored) {
    Enter();
    ASSERT_NE(Open(19, 1, Items(1)), nullptr);
    const size_t windows = game().sideWindows.size();
    for (int index : {20, 255}) {
        Dispatch(Join({OpenMessage(index, "Far", 4, Items(4)), Ping()}));
        Dispatch(Join({Wire().U8(0x0e).U8(uint32_t(index)).bytes, Ping()}));
    }
    EXPECT_EQ(game().sideWindows.size(), windows);
    EXPECT_EQ(Requests().size(), 4u) << "every ping behind them answered";
    // Direct calls check the index too.
    game().SetContainerWindow(nullptr, 20);
    game().RemoveSideWindow(20);
    game().RemoveSideWindow(-1);
    Dispatch(Wire().U8(0x0e).U8(19).bytes);
    EXPECT_EQ(game().containers[19], nullptr);
    EXPECT_EQ(game().sideWindows.size(), windows - 1);
    Dispatch(Wire().U8(0x0e).U8(19).bytes);  // an empty slot only stays empty
}

TEST_F(ContainerTest, LootAllPressesEveryLootButtonInSlotOrder) {
    Enter();
    Open(7, 1, Items(1), false, true);
    Open(2, 1, Items(1), false, true);
    Open(4, 1, Items(1), true, false);
    game().LootAllContainers();
    EXPECT_EQ(Requests(), std::vector<Bytes>({{0x4A, 2}, {0x10, 2}, {0x4A, 7}, {0x10, 7}}));
    EXPECT_NE(game().containers[2], nullptr);
}

// --- The saved geometry ---

struct Saved {
    int x, y, width, height, scroll;
};

void WriteSaved(ConfigFile& file, const std::string& section, int index, const Saved& saved) {
    const std::string key = "container" + std::to_string(index);
    file.SetInt(section, key + "x", saved.x);
    file.SetInt(section, key + "y", saved.y);
    file.SetInt(section, key + "width", saved.width);
    file.SetInt(section, key + "height", saved.height);
    file.SetInt(section, key + "scroll", saved.scroll);
}

TEST_F(ContainerTest, TheLoginBurstReopensContainersWithTheirSavedGeometry) {
    const int index = 3;
    const int windowId = 20000 + 2 * index;
    const struct {
        const char* name;
        bool afterActionGroups;
        Saved saved;
        int x, y, width, height;
        bool minimized;
    } cases[] = {
        {"saved geometry", false, {300, 200, 200, 150, 0}, 300, 200, 200, 150, false},
        {"after the action groups: defaults", true, {300, 200, 200, 150, 0}, 1000 - 165, 1000 + 100 * windowId, 165,
         88, false},
        {"a width of 500 reads as 241", false, {300, 200, 500, 150, 0}, 300, 200, 241, 150, false},
        {"a width of 100 reads as 165", false, {300, 200, 100, 150, 0}, 300, 200, 165, 150, false},
        {"saved minimised", false, {300, 200, 200, 19, 0}, 300, 200, 200, 19, true},
        {"(0, 0) keeps the placement", false, {0, 0, 200, 150, 0}, 1000 - 165, 1000 + 100 * windowId, 200, 150,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Enter();
        SetPlayer("Aldric");
        WriteSaved(*client->settings->containers, "containers Aldric", index, c.saved);
        client->protocol->layoutLoaded = c.afterActionGroups ? 1 : 0;
        Container* window = Open(index, 40, Items(40));
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->dialog->x, c.x);
        EXPECT_EQ(window->dialog->y, c.y);
        EXPECT_EQ(window->dialog->width, c.width);
        EXPECT_EQ(window->dialog->height, c.height);
        EXPECT_EQ(window->minimized != 0, c.minimized);
        if (c.minimized) {
            window->ToggleMinimize(true);
            EXPECT_EQ(window->dialog->height, 88) << "restores to the default height";
        }
        fixture.client.reset();
    }
}

TEST_F(ContainerTest, TheSavedScrollPositionIsClampedToTheContent) {
    Enter();
    SetPlayer("Aldric");
    WriteSaved(*client->settings->containers, "containers Aldric", 0, {300, 200, 165, 130, 9});
    WriteSaved(*client->settings->containers, "containers Aldric", 1, {300, 400, 165, 130, 999});
    EXPECT_EQ(Open(0, 40, Items(40))->scrollbar->GetPosition(), 9);
    Container* clamped = Open(1, 40, Items(40));
    EXPECT_EQ(clamped->scrollbar->GetPosition(), clamped->scrollbar->GetMaximum());
}

TEST_F(ContainerTest, LeavingTheGameSavesTheOpenContainers) {
    Enter();
    SetPlayer("Aldric");
    ConfigFile& file = *client->settings->containers;
    WriteSaved(file, "containers Aldric", 9, {1, 2, 170, 90, 0});  // not open: stays as it was
    Container* window = Open(6, 20, Items(20));
    window->dialog->MoveBy(250 - window->dialog->x, 120 - window->dialog->y);
    window->dialog->width = 200;
    window->dialog->height = 150;
    window->Update();
    window->Relayout();
    window->scrollbar->SetPosition(2);
    Open(8, 1, Items(1))->ToggleMinimize(true);
    game().SaveContainerSettings();
    const std::string section = "containers Aldric";
    EXPECT_EQ(file.GetInt(section, "container6x"), 250);
    EXPECT_EQ(file.GetInt(section, "container6y"), 120);
    EXPECT_EQ(file.GetInt(section, "container6width"), 200);
    EXPECT_EQ(file.GetInt(section, "container6height"), 150);
    EXPECT_EQ(file.GetInt(section, "container6scroll"), 2);
    EXPECT_EQ(file.GetInt(section, "container8height"), 19);
    EXPECT_EQ(file.GetInt(section, "container9width"), 170);

    // Saved again when the game screen goes; the next login burst reopens it there.
    fixture.client.reset();
    Enter();
    SetPlayer("Aldric");
    client->settings->containers->Clear();
    client->settings->containers->Load(fixture.OptionsFolder() + "/containers.ini");
    Container* reopened = Open(6, 20, Items(20));
    EXPECT_EQ(reopened->dialog->x, 250);
    EXPECT_EQ(reopened->dialog->y, 120);
    EXPECT_EQ(reopened->dialog->width, 200);
    EXPECT_EQ(reopened->dialog->height, 150);
    EXPECT_EQ(reopened->scrollbar->GetPosition(), 2);
}

TEST_F(ContainerTest, NamesThatWouldNotReadBackAreNotWritten) {
    for (const char* name : {"Al]dric", "Al\ndric", "Al\rdric", ""}) {
        SCOPED_TRACE(name);
        Enter();
        SetPlayer(name);
        Open(0, 1, Items(1));
        game().SaveContainerSettings();
        EXPECT_TRUE(client->settings->containers->Sections().empty());
        int x = 0, y = 0, width = 0, height = 0, scroll = 0;
        EXPECT_FALSE(game().LoadContainerSettings(0, x, y, width, height, scroll));
        fixture.client.reset();
    }
    // Without a player character nothing is read or written either.
    Enter();
    Open(0, 1, Items(1));
    game().SaveContainerSettings();
    EXPECT_TRUE(client->settings->containers->Sections().empty());
}

}  // namespace
