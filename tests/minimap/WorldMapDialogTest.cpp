// The world map dialog in a client that has entered the game: its view
// (opening, zoom, floors, dragging), what it draws of the minimap's chunks and
// markers, and the markers it adds and removes through its menu.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "client/Client.h"
#include "engine/InputEvent.h"
#include "engine/Font.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIMenu.h"
#include "engine/gui/GUITextbox.h"
#include "engine/Graphics.h"
#include "game/GameInterface.h"
#include "net/Connection.h"
#include "platform/Platform.h"
#include "protocol/Protocol.h"
#include "sidewindows/Minimap.h"
#include "sidewindows/MinimapFiles.h"
#include "sidewindows/WorldMapDialog.h"
#include "tests/support/ClientFixture.h"
#include "tests/support/DrawnText.h"
#include "tests/support/GuiInput.h"
#include "tests/support/RecordingEngine.h"
#include "tests/support/TestApp.h"
#include "game/ThingActions.h"
#include "world/Camera.h"
#include "world/Creature.h"
#include "world/ItemRecord.h"
#include "world/ItemsCache.h"
#include "world/Map.h"
#include "world/Thing.h"
#include "world/Tile.h"

namespace {

// The client is 1000 x 700: the dialog stands at (125, 125), 750 x 450, and
// its map area from (136, 156), 730 x 335.
constexpr int kMapLeft = 136;
constexpr int kMapTop = 156;
constexpr int kMapW = 730;
constexpr int kMapH = 335;
constexpr int kMarkerIcon = 5768;

class WorldMapTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixture.WriteGraphicsFile(1500000000, {{kMarkerIcon, 18, 18}});
        fixture.WriteOptions("[options]\nfpslimit=0\n");
        client = &fixture.MakeClient();
        ASSERT_TRUE(client->Init());
        client->loginHosts = {"127.0.0.1"};
        client->loginPort = 1;
        client->StartGame(false);
        ASSERT_NE(client->game, nullptr);
        // The player stands on (1000, 1000) of floor 7; the markers are the
        // test's own.
        PlaceCamera(992, 994, 7);
        minimap().markers.clear();
    }

    GameInterface& game() { return *client->game; }
    WorldMapDialog& worldMap() { return *client->game->worldMap; }
    Minimap& minimap() { return *client->game->minimap; }
    GUIManager& gui() { return *client->app->gui; }
    RecordingEngine& engine() { return *static_cast<RecordingEngine*>(client->app->engine); }

    void PlaceCamera(int x, int y, int z) {
        Camera* camera = game().map->camera;
        camera->x = x;
        camera->y = y;
        camera->z = z;
    }

    void Event(int type, int a = 0, int b = 0, int c = 0) {
        InputEvent event;
        event.type = type;
        event.a = a;
        event.b = b;
        event.c = c;
        game().HandleEvent(event);
    }

    // One frame of the game screen and the GUI over it, recorded afresh.
    void DrawFrame() {
        engine().Clear();
        Graphics* graphics = client->app->graphics;
        ASSERT_TRUE(graphics->BeginScene());
        game().Draw();
        gui().Update();
        graphics->EndScene();
    }

    // Where the world map draws a tile on screen, as it computes it.
    int ScreenX(int tileX) const {
        const WorldMapDialog& map = *client->game->worldMap;
        const int leftPx = int((map.centerX - kMapW / (2.0 * map.zoom)) * map.zoom);
        return int(map.zoom * tileX + kMapLeft - leftPx);
    }
    int ScreenY(int tileY) const {
        const WorldMapDialog& map = *client->game->worldMap;
        const int topPx = int((map.centerY - kMapH / (2.0 * map.zoom)) * map.zoom);
        return int(map.zoom * tileY + kMapTop - topPx);
    }

    void AddMarkerAt(int x, int y, int z, uint32_t icon = kMarkerIcon, const std::string& text = "m") {
        MinimapMarker marker;
        marker.x = x;
        marker.y = y;
        marker.z = z;
        marker.icon = icon;
        marker.text = text;
        minimap().markers.push_back(marker);
    }

    // The world map's tooltips (the minimap window has keys of its own).
    std::vector<int> TooltipKeys() {
        std::vector<int> keys;
        for (const auto& entry : gui().tooltips)
            if (entry.first >= WorldMapDialog::kFirstTooltip && entry.first <= WorldMapDialog::kTooltipEnd)
                keys.push_back(entry.first);
        return keys;
    }

    // The sprites drawn inside the world map's clip, where the minimap
    // window's own drawing does not come.
    std::vector<const RecordedCall*> WorldMapSprites() {
        std::vector<const RecordedCall*> sprites;
        bool inside = false;
        for (const RecordedCall& call : engine().calls) {
            if (call.op == "EnableClipper")
                inside = call.args == std::vector<double>{136, 156, 864, 489};
            else if (call.op == "DisableClipper")
                inside = false;
            else if (inside && call.op == "RenderSprite")
                sprites.push_back(&call);
        }
        return sprites;
    }

    std::vector<std::string> MenuEntries() {
        std::vector<std::string> texts;
        if (GUIMenu* menu = gui().openMenu)
            for (const GUIMenu::Entry& entry : menu->entries)
                texts.push_back(entry.text);
        return texts;
    }

    // Picks entry `row` of the open menu with a click, as the player does.
    void ChooseMenuRow(int row) {
        GUIMenu* menu = gui().openMenu;
        ASSERT_NE(menu, nullptr);
        GuiInput(*client->app, fixture.platform.keys).Click(menu->x + 20, menu->y + 13 + 20 * row);
    }

    std::vector<MinimapMarker> SavedMarkers() {
        const std::string bytes = ReadFileBytes(fixture.OptionsFolder() + "/minimap/markers.map");
        return DecodeMinimapMarkers(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }

    size_t SpritesDrawn(const Sprite* sprite) {
        size_t count = 0;
        for (const RecordedCall* call : WorldMapSprites())
            count += call->sprite == sprite ? 1 : 0;
        return count;
    }

    ClientFixture fixture;
    Client* client = nullptr;
};

TEST_F(WorldMapTest, OpeningRecentresOnThePlayerAndKeepsTheZoom) {
    // Ctrl+M opens it.
    fixture.platform.keys.down.insert(platform::kVkControl);
    Event(InputEvent::KeyDown, 'M');
    fixture.platform.keys.down.clear();
    ASSERT_TRUE(worldMap().IsOpen());
    EXPECT_EQ(worldMap().centerX, 1000);
    EXPECT_EQ(worldMap().centerY, 1000);
    EXPECT_EQ(worldMap().floor, 7);

    // Opened again while open: nothing changes, not even a dragged centre.
    worldMap().centerX = 1234;
    worldMap().FloorDown();
    worldMap().Open();
    EXPECT_EQ(worldMap().centerX, 1234);
    EXPECT_EQ(worldMap().floor, 8);

    // Closed and opened: back on the player and the player's floor, the zoom
    // as it was left.
    worldMap().ZoomIn();
    worldMap().Close();
    gui().Update();
    EXPECT_FALSE(worldMap().IsOpen());
    EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput));
    PlaceCamera(492, 494, 7);
    worldMap().Open();
    EXPECT_EQ(worldMap().centerX, 500);
    EXPECT_EQ(worldMap().centerY, 500);
    EXPECT_EQ(worldMap().floor, 7);
    EXPECT_EQ(worldMap().zoom, 2.0f);
}

// The frame around the map and the "Add Marker" dialog's panel, at their
// places in a 1000 x 700 client: the dialog at (125, 125), 750 x 450.
TEST_F(WorldMapTest, TheDialogsDrawTheirPanelsTheHintAndTheMapBox) {
    worldMap().Open();
    ASSERT_NE(gui().FindControl(WorldMapDialog::kCloseButtonId), nullptr);
    const GUIControl* close = gui().FindControl(WorldMapDialog::kCloseButtonId);
    EXPECT_EQ(close->x, 440);
    EXPECT_EQ(close->y, 540);
    EXPECT_EQ(close->width, 120);
    EXPECT_EQ(close->height, 25);
    Event(InputEvent::RightDown, ScreenX(1020), ScreenY(980));
    ChooseMenuRow(0);
    ASSERT_NE(gui().FindControl(GameIds::kAddMarkerDialog), nullptr);
    DrawFrame();

    const uint32_t light = gui().root->lightColor;
    const uint32_t dark = gui().root->darkColor;
    auto has = [&](std::vector<double> args) {
        for (const RecordedCall* call : engine().Calls("RenderRectangle"))
            if (call->args == args)
                return true;
        return false;
    };
    struct Expected {
        const char* what;
        std::vector<double> args;
    };
    const Expected expected[] = {
        {"floor buttons' box, sunken", {double(dark), 135, 500, 38, 1}},
        {"floor buttons' box, its lit edge", {double(light), 135, 519, 38, 1}},
        {"zoom buttons' box", {double(dark), 180, 500, 38, 1}},
        {"the Center button's box", {double(dark), 225, 500, 65, 1}},
        {"the map box's edge", {double(dark), 135, 155, 730, 1}},
        {"the map box's opaque black", {double(0xFF000000u), 136, 156, 728, 333}},
        // The "Add Marker" dialog at (365, 220), 280 x 120.
        {"the marker panel's edge", {double(dark), 375, 248, 260, 1}},
        {"the marker panel's fill", {double(0x1E000000u), 376, 249, 258, 37}},
    };
    for (const Expected& e : expected)
        EXPECT_TRUE(has(e.args)) << e.what;

    // The hint ends 15 pixels inside the dialog's right edge.
    const std::string hint = "Click and drag to move around the map. Right click to place markers.";
    std::string glyphs;
    for (char c : hint)
        if (c != ' ')
            glyphs += c;
    bool found = false;
    for (const DrawnText& text : VisibleTexts(engine(), client->app->font->sheet)) {
        if (text.text != glyphs)
            continue;
        found = true;
        EXPECT_EQ(int(text.x), 125 + 750 - 15 - client->app->font->GetTextWidth(hint));
        EXPECT_EQ(int(text.y), 125 + 450 - 73);
        EXPECT_EQ(text.color, 0xFFA0A0A0u);
    }
    EXPECT_TRUE(found);
}

TEST_F(WorldMapTest, ZoomAndFloorStayWithinTheirRange) {
    struct Case {
        float zoom;
        void (WorldMapDialog::*step)();
        float expected;
    };
    const Case zooms[] = {
        {1.0f, &WorldMapDialog::ZoomIn, 2.0f},   {1.0f, &WorldMapDialog::ZoomOut, 0.5f},
        {4.0f, &WorldMapDialog::ZoomIn, 4.0f},   {0.25f, &WorldMapDialog::ZoomOut, 0.25f},
        {0.5f, &WorldMapDialog::ZoomOut, 0.25f}, {2.0f, &WorldMapDialog::ZoomIn, 4.0f},
    };
    for (const Case& c : zooms) {
        worldMap().zoom = c.zoom;
        (worldMap().*c.step)();
        EXPECT_EQ(worldMap().zoom, c.expected) << "from " << c.zoom;
    }
    const struct {
        int floor;
        void (WorldMapDialog::*step)();
        int expected;
    } floors[] = {
        {15, &WorldMapDialog::FloorDown, 15}, {14, &WorldMapDialog::FloorDown, 15},
        {0, &WorldMapDialog::FloorUp, 0},     {1, &WorldMapDialog::FloorUp, 0},
    };
    for (const auto& c : floors) {
        worldMap().floor = c.floor;
        (worldMap().*c.step)();
        EXPECT_EQ(worldMap().floor, c.expected) << "from " << c.floor;
    }

    // The wheel zooms only over the open map: out with a positive value.
    worldMap().zoom = 1.0f;
    Event(InputEvent::Wheel, 500, 300, 1);
    EXPECT_EQ(worldMap().zoom, 1.0f) << "closed";
    worldMap().Open();
    Event(InputEvent::Wheel, 500, 300, 1);
    EXPECT_EQ(worldMap().zoom, 0.5f);
    Event(InputEvent::Wheel, 500, 300, -1);
    Event(InputEvent::Wheel, 500, 300, -1);
    EXPECT_EQ(worldMap().zoom, 2.0f);
    Event(InputEvent::Wheel, 500, 600, -1);  // below the map, on the buttons
    EXPECT_EQ(worldMap().zoom, 2.0f);
}

TEST_F(WorldMapTest, TheButtonsChangeTheView) {
    worldMap().Open();
    GuiInput input(*client->app, fixture.platform.keys);
    // Floor down, floor up, zoom out, zoom in, "Center": 18 px buttons at y 501.
    input.Click(125 + 11 + 9, 510);
    EXPECT_EQ(worldMap().floor, 8);
    input.Click(125 + 29 + 9, 510);
    EXPECT_EQ(worldMap().floor, 7);
    input.Click(125 + 56 + 9, 510);
    EXPECT_EQ(worldMap().zoom, 0.5f);
    input.Click(125 + 74 + 9, 510);
    EXPECT_EQ(worldMap().zoom, 1.0f);
    worldMap().centerX = 5;
    worldMap().floor = 3;
    input.Click(125 + 101 + 30, 510);
    EXPECT_EQ(worldMap().centerX, 1000);
    EXPECT_EQ(worldMap().floor, 7);
    input.Click(500, 552);  // "Close"
    gui().Update();
    EXPECT_FALSE(worldMap().IsOpen());
}

TEST_F(WorldMapTest, DraggingMovesTheMapWithThePointer) {
    worldMap().Open();
    worldMap().zoom = 2.0f;
    // A press outside the map starts nothing.
    Event(InputEvent::LeftDown, 500, 600);
    EXPECT_FALSE(worldMap().dragging);
    Event(InputEvent::LeftUp, 500, 600);

    Event(InputEvent::LeftDown, 500, 300);
    EXPECT_TRUE(worldMap().dragging);
    Event(InputEvent::MouseMove, 540, 300);
    EXPECT_EQ(worldMap().centerX, 980);
    EXPECT_EQ(worldMap().centerY, 1000);
    // Beyond the map, too: the drag lasts until the button is released.
    Event(InputEvent::MouseMove, 20, 690);
    EXPECT_EQ(worldMap().centerX, 1240);
    EXPECT_EQ(worldMap().centerY, 805);
    Event(InputEvent::LeftUp, 20, 690);
    EXPECT_FALSE(worldMap().dragging);
    Event(InputEvent::MouseMove, 500, 300);
    EXPECT_EQ(worldMap().centerX, 1240);
}

TEST_F(WorldMapTest, ARightClickNamesTheTileUnderThePointer) {
    worldMap().Open();
    // Tiles on a pixel boundary at every zoom.
    for (float zoom : {0.25f, 1.0f, 4.0f}) {
        worldMap().zoom = zoom;
        Event(InputEvent::RightDown, ScreenX(1008), ScreenY(988));
        EXPECT_EQ(worldMap().clickX, 1008) << zoom;
        EXPECT_EQ(worldMap().clickY, 988) << zoom;
        EXPECT_EQ(worldMap().clickZ, 7);
    }
    // Outside the map, or with the dialog closed, no menu opens.
    gui().openMenu = nullptr;
    Event(InputEvent::RightDown, 500, 600);
    EXPECT_EQ(gui().openMenu, nullptr);
    worldMap().Close();
    gui().Update();
    Event(InputEvent::RightDown, 500, 300);
    EXPECT_EQ(gui().openMenu, nullptr);
}

TEST_F(WorldMapTest, OnlyMarkersOfTheShownFloorAreHit) {
    AddMarkerAt(1005, 1003, 6);  // same spot, another floor
    worldMap().Open();
    worldMap().zoom = 2.0f;
    Event(InputEvent::RightDown, ScreenX(1005), ScreenY(1003));
    EXPECT_EQ(MenuEntries(), (std::vector<std::string>{"Add marker...", "Walk here"}));

    AddMarkerAt(1005, 1003, 7);
    Event(InputEvent::RightDown, ScreenX(1005) + 8, ScreenY(1003) - 9);
    EXPECT_EQ(MenuEntries(), (std::vector<std::string>{"Remove marker", "Walk here"}));
    EXPECT_EQ(worldMap().markerIndex, 1);
    // Just outside the 18 x 18 box.
    Event(InputEvent::RightDown, ScreenX(1005) + 9, ScreenY(1003));
    EXPECT_EQ(MenuEntries(), (std::vector<std::string>{"Add marker...", "Walk here"}));
}

TEST_F(WorldMapTest, OfTwoOverlappingMarkersTheEarlierIsRemovedAndTheListSaved) {
    AddMarkerAt(1005, 1003, 7, kMarkerIcon, "first");
    AddMarkerAt(1006, 1003, 7, kMarkerIcon, "second");
    AddMarkerAt(1005, 1003, 7, kMarkerIcon, "third");
    worldMap().Open();
    Event(InputEvent::RightDown, ScreenX(1006), ScreenY(1003));
    ChooseMenuRow(0);
    ASSERT_EQ(minimap().markers.size(), 2u);
    EXPECT_EQ(minimap().markers[0].text, "second");
    EXPECT_EQ(minimap().markers[1].text, "third");
    const std::vector<MinimapMarker> saved = SavedMarkers();
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[0].text, "second");

    // A stale index removes nothing.
    worldMap().markerIndex = 5;
    worldMap().RemoveMarker();
    EXPECT_EQ(minimap().markers.size(), 2u);
}

TEST_F(WorldMapTest, AMarkerIsAddedThroughTheMenuAndSaved) {
    worldMap().Open();
    Event(InputEvent::RightDown, ScreenX(1020), ScreenY(980));
    ChooseMenuRow(0);
    ASSERT_NE(gui().FindControl(GameIds::kAddMarkerDialog), nullptr);
    GuiInput input(*client->app, fixture.platform.keys);
    // A click into the box keeps the keys there.
    input.Click(500 - 20 + 10, 350 - 95 + 10);
    input.Type("camp");
    input.Click(500 - 98 + 40, 350 - 43 + 10);  // "Add"
    gui().Update();
    EXPECT_EQ(gui().FindControl(GameIds::kAddMarkerDialog), nullptr);
    EXPECT_TRUE(worldMap().IsOpen());
    const std::vector<MinimapMarker> saved = SavedMarkers();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].x, 1020);
    EXPECT_EQ(saved[0].y, 980);
    EXPECT_EQ(saved[0].z, 7);
    EXPECT_EQ(saved[0].icon, uint32_t(kMarkerIcon));
    EXPECT_EQ(saved[0].text, "camp");

    // An empty text is a marker too; "Cancel" adds nothing.
    Event(InputEvent::RightDown, ScreenX(1030), ScreenY(980));
    ChooseMenuRow(0);
    input.Click(500 - 98 + 40, 350 - 43 + 10);
    gui().Update();
    Event(InputEvent::RightDown, ScreenX(1040), ScreenY(980));
    ChooseMenuRow(0);
    input.Click(500 + 12 + 40, 350 - 43 + 10);  // "Cancel"
    gui().Update();
    EXPECT_EQ(gui().FindControl(GameIds::kAddMarkerDialog), nullptr);
    const std::vector<MinimapMarker> after = SavedMarkers();
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[1].x, 1030);
    EXPECT_EQ(after[1].text, "");
}

// The player types the marker's text at once and ends it with Enter: it
// becomes the marker, never a chat line.
TEST_F(WorldMapTest, TheMarkerDialogTakesTheKeysAndEnterAdds) {
    worldMap().Open();
    Event(InputEvent::RightDown, ScreenX(1020), ScreenY(980));
    ChooseMenuRow(0);
    ASSERT_NE(gui().FindControl(GameIds::kAddMarkerDialog), nullptr);
    EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kAddMarkerText));
    EXPECT_EQ(gui().enterButtonId, GameIds::kAddMarkerButton);
    client->protocol->connection->ClearQueues();
    GuiInput input(*client->app, fixture.platform.keys);
    input.Type("Camp");
    input.Char('\r');
    // The game screen reads the same keys from the queue, as the main loop hands them on.
    while (client->app->HasEvents())
        game().HandleEvent(client->app->PopEvent());
    for (const std::vector<uint8_t>& frame : client->protocol->connection->QueuedFrames())
        EXPECT_NE(frame.size() > 2 ? frame[2] : 0, 0x03) << "a chat line was sent";
    EXPECT_EQ(gui().FindControl(GameIds::kAddMarkerDialog), nullptr);
    const std::vector<MinimapMarker> saved = SavedMarkers();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].text, "Camp");
    EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput)) << "the keys go back to the chat";
}

TEST_F(WorldMapTest, AMarkerTextIsCutToWhatTheFileReadsBack) {
    worldMap().Open();
    Event(InputEvent::RightDown, ScreenX(1020), ScreenY(980));
    worldMap().AddMarker(kMarkerIcon, std::string(300, 'x'));
    Event(InputEvent::RightDown, ScreenX(1030), ScreenY(980));
    worldMap().AddMarker(kMarkerIcon, "after");
    // Read back as the next game reads it: both markers, the first cut.
    const std::vector<MinimapMarker> saved = SavedMarkers();
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[0].text, std::string(255, 'x'));
    EXPECT_EQ(saved[1].text, "after");
}

TEST_F(WorldMapTest, WalkHereWalksFarToTheClickedTile) {
    // The player on explored grass at (1000, 1000); the goal lies beyond the
    // tiles in view, on land the minimap knows.
    Map& map = *game().map;
    Creature* player = new Creature(&map);
    player->id = 0x10000001;
    player->SetPosition(1000, 1000, 7);
    map.AddCreature(player);
    map.playerId = 0x10000001;
    map.camera->SetCreature(player);
    // Ground under the view: squares in view without a tile block a path.
    const uint16_t kGround = 4000;
    auto* ground = new ItemRecord();
    ground->name = "grass";
    ground->groundFlag = 1;
    ItemsCache::Instance()->Set(ground, kGround);
    for (int x = 992; x <= 1008; ++x)
        for (int y = 994; y <= 1006; ++y)
            map.GetOrCreateTile(Position{x, y, 7})->AddThing(new Thing(kGround, 1));
    map.GetOrCreateTile(Position{1000, 1000, 7})->AddThing(player);
    for (int x = 980; x <= 1060; ++x)
        for (int y = 990; y <= 1010; ++y)
            minimap().SetTile(uint16_t(x), uint16_t(y), 7, 1, 100);
    worldMap().Open();
    Event(InputEvent::RightDown, ScreenX(1040), ScreenY(1004));
    EXPECT_EQ(MenuEntries(), (std::vector<std::string>{"Add marker...", "Walk here"}));
    ChooseMenuRow(1);
    EXPECT_EQ(game().thingActions->GetWalkGoal(), (Position{1040, 1004, 7}));
    ItemsCache::Instance()->Set(nullptr, kGround);
}

TEST_F(WorldMapTest, AtMostAHundredMarkersCarryTooltips) {
    // 120 markers in view on the shown floor, 5 on another.
    for (int i = 0; i < 120; ++i)
        AddMarkerAt(950 + (i % 20) * 5, 980 + (i / 20) * 5, 7, kMarkerIcon, "m" + std::to_string(i));
    for (int i = 0; i < 5; ++i)
        AddMarkerAt(1000 + i, 1000, 8);
    worldMap().Open();
    DrawFrame();
    const Sprite* icon = client->app->sprites->GetSprite(kMarkerIcon);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(SpritesDrawn(icon), 120u);
    std::vector<int> keys = TooltipKeys();
    ASSERT_EQ(keys.size(), 100u);
    EXPECT_EQ(keys.front(), 100);
    EXPECT_EQ(keys.back(), 199);
    EXPECT_EQ(gui().tooltips[100]->lines, (std::vector<std::string>{"m0"}));
    EXPECT_EQ(gui().tooltips[100]->x, ScreenX(950) - 9);

    // Markers that leave the view lose their tooltips.
    minimap().markers.resize(3);
    DrawFrame();
    EXPECT_EQ(TooltipKeys(), (std::vector<int>{100, 101, 102}));
    worldMap().Close();
    EXPECT_TRUE(TooltipKeys().empty());
}

TEST_F(WorldMapTest, AMarkerIconOutsideTheSpriteStoreDrawsNothing) {
    AddMarkerAt(1000, 1000, 7, 20000, "beyond");
    AddMarkerAt(1002, 1000, 7, 0xFFFFFFFFu, "wrapped");
    AddMarkerAt(1004, 1000, 7, kMarkerIcon, "shown");
    worldMap().Open();
    DrawFrame();
    const Sprite* icon = client->app->sprites->GetSprite(kMarkerIcon);
    size_t markerSprites = 0;
    for (const RecordedCall* call : WorldMapSprites())
        markerSprites += call->args.size() >= 2 && call->args[1] == ScreenY(1000) - 9 ? 1 : 0;
    EXPECT_EQ(markerSprites, 1u);
    EXPECT_EQ(SpritesDrawn(icon), 1u);
    // Still tooltips: the markers are there, only their pictures are missing.
    EXPECT_EQ(TooltipKeys().size(), 3u);
}

TEST_F(WorldMapTest, ChunksAreDrawnWhereTheirTilesLie) {
    minimap().SetTile(1000, 1000, 7, 1, 100);  // chunk (768, 768)
    minimap().SetTile(1100, 1000, 7, 2, 100);  // chunk (1024, 768)
    minimap().SetTile(1000, 1000, 6, 3, 100);  // another floor
    worldMap().Open();
    worldMap().zoom = 0.5f;
    DrawFrame();
    // Each chunk is one square of 256 tiles, drawn with nearest filtering
    // inside the map's clip.
    std::vector<std::string> drawn;
    bool nearest = false;
    bool clipped = false;
    for (const RecordedCall& call : engine().calls) {
        if (call.op == "SetNearestFiltering")
            nearest = call.args[0] != 0;
        else if (call.op == "EnableClipper")
            clipped = call.args == std::vector<double>{136, 156, 864, 489};
        else if (call.op == "DisableClipper")
            clipped = false;
        else if (call.op == "RenderSprite" && call.args[2] == 128 && call.args[3] == 128)
            drawn.push_back(std::to_string(int(call.args[0])) + "," + std::to_string(int(call.args[1])) +
                            (nearest && clipped ? "" : " unclipped or filtered"));
    }
    const std::vector<std::string> expected = {
        std::to_string(ScreenX(768)) + "," + std::to_string(ScreenY(768)),
        std::to_string(ScreenX(1024)) + "," + std::to_string(ScreenY(768)),
    };
    EXPECT_EQ(drawn, expected);

    // The cross sits on the player's tile.
    bool cross = false;
    for (const RecordedCall* call : engine().Calls("RenderRectangle"))
        cross |= call->args.size() >= 5 && call->args[1] == ScreenX(1000) - 2 && call->args[2] == ScreenY(1000) &&
                 call->args[3] == 6 && call->args[4] == 2;
    EXPECT_TRUE(cross);
}

TEST_F(WorldMapTest, AViewBeyondTheWorldsEdgeShowsNoWrappedAreas) {
    // The far corner of the world: a view left of and above tile 0 must not
    // show it on the other side.
    minimap().SetTile(65535, 65535, 7, 1, 100);
    minimap().SetTile(0, 0, 7, 1, 100);
    PlaceCamera(-8, -6, 7);
    worldMap().Open();
    worldMap().zoom = 0.25f;
    DrawFrame();
    size_t chunks = 0;
    for (const RecordedCall* call : WorldMapSprites())
        chunks += call->args[2] == 64 ? 1 : 0;
    EXPECT_EQ(chunks, 1u);
}

TEST_F(WorldMapTest, PanningOverUnexploredLandMakesNoChunks) {
    minimap().SetTile(1000, 1000, 7, 1, 100);
    worldMap().Open();
    worldMap().zoom = 0.25f;
    const size_t before = minimap().chunks.size();
    for (int step = 0; step < 40; ++step) {
        worldMap().centerX = 1000 + step * 250;
        worldMap().centerY = 1000 + step * 100;
        DrawFrame();
    }
    EXPECT_EQ(minimap().chunks.size(), before);
}

}  // namespace
