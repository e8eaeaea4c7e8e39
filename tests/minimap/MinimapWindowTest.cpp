// The minimap window inside a running game screen: which look-ups make
// chunks, the screen-to-tile rule, the buttons' bounds, the markers' draw and
// tooltips, textures across a back-end switch, the path search over the
// recorded land, the old file's question, and the teardown's writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "client/Client.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "game/GameInterface.h"
#include "platform/Platform.h"
#include "sidewindows/Minimap.h"
#include "sidewindows/MinimapFiles.h"
#include "tests/support/ClientFixture.h"
#include "tests/support/RecordingEngine.h"
#include "world/Camera.h"
#include "world/ItemRecord.h"
#include "world/ItemsCache.h"
#include "world/Map.h"
#include "world/Thing.h"
#include "world/Tile.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A sprite of the fixture's graphics file, standing in for the marker icon.
const uint32_t kIcon = 5764;

class MinimapWindowTest : public ::testing::Test {
protected:
    void Start() {
        client = &fixture.StartClient("[options]\nfpslimit=0\n");
        client->StartGame(false);
        ASSERT_NE(client->game, nullptr);
        minimap = client->game->minimap;
        ASSERT_NE(minimap, nullptr);
    }
    RecordingEngine& engine() { return *static_cast<RecordingEngine*>(client->app->engine); }
    std::string UserFolder() const { return fixture.OptionsFolder() + "/minimap"; }
    // The window at a known place and size, the view on (1000, 1000, 7).
    void Place(int x = 800, int y = 100, int w = 165, int h = 200) {
        GUIDialog* dialog = minimap->dialog;
        dialog->MoveBy(x - dialog->x, y - dialog->y);
        dialog->width = w;
        dialog->height = h;
        minimap->Update();
        // The view stays where the test puts it: the player does not move.
        Camera* camera = client->game->map->camera;
        minimap->playerX = camera->GetX() + 8;
        minimap->playerY = camera->GetY() + 6;
        minimap->playerZ = camera->GetZ();
        minimap->centreX = 1000;
        minimap->centreY = 1000;
        minimap->floor = 7;
    }
    size_t MarkerDraws() {
        const Sprite* icon = client->app->sprites->GetSprite(int(kIcon));
        size_t count = 0;
        for (const RecordedCall* call : engine().Calls("RenderSprite"))
            if (call->sprite == icon)
                ++count;
        return count;
    }

    ClientFixture fixture;
    Client* client = nullptr;
    Minimap* minimap = nullptr;
};

TEST_F(MinimapWindowTest, OnlyRecordingMakesChunksAndLookUpsOfUnexploredLandAnswerTheDefaults) {
    Start();
    minimap->chunks.clear();
    // Unexplored land: colour 0, speed 100, and nothing kept for it.
    EXPECT_EQ(minimap->GetColor(5000, 5000, 7), 0);
    EXPECT_EQ(minimap->GetSpeed(5000, 5000, 7), 100);
    EXPECT_EQ(minimap->GetChunk(-1, 10, 7), nullptr);  // left of the world, not its far edge
    EXPECT_EQ(minimap->GetChunk(10, 65536, 7), nullptr);
    EXPECT_TRUE(minimap->chunks.empty());

    // Tiles (255, 255) and (256, 256), floors 7 and 8: four areas.
    minimap->SetTile(255, 255, 7, 1, 100);
    minimap->SetTile(256, 256, 7, 2, 100);
    minimap->SetTile(255, 255, 8, 3, 100);
    minimap->SetTile(256, 256, 8, 5, 120);
    EXPECT_EQ(minimap->chunks.size(), 4u);
    EXPECT_EQ(minimap->GetColor(255, 255, 7), 1);
    EXPECT_EQ(minimap->GetColor(256, 256, 7), 2);
    EXPECT_EQ(minimap->GetColor(255, 255, 8), 3);
    EXPECT_EQ(minimap->GetSpeed(256, 256, 8), 120);
    EXPECT_EQ(minimap->GetSpeed(257, 256, 8), 100);

    // A stored area is loaded at its first look-up and kept.
    MinimapChunk stored(512, 0, 7);
    stored.SetTile(3, 4, 6, 100);
    SaveMinimapChunk(stored, minimap->folders);
    EXPECT_EQ(minimap->GetColor(515, 4, 7), 6);
    EXPECT_EQ(minimap->chunks.size(), 5u);

    // Drawing a view over unexplored land, at the smallest zoom, keeps nothing.
    Place();
    minimap->centreX = 30000;
    minimap->zoom = 0.25f;
    minimap->Draw();
    EXPECT_EQ(minimap->chunks.size(), 5u);
}

TEST_F(MinimapWindowTest, AreasAllOverTheWorldKeepTheRecentChunksAndSaveTheOnesLetGo) {
    Start();
    minimap->chunks.clear();
    // Areas one after the other along a row of chunks, twice the cap; the
    // first is looked up again half-way and so stays.
    const int areas = int(2 * Minimap::kMaxChunks);
    for (int i = 0; i < areas; ++i) {
        minimap->SetTile(uint16_t(i * 256 + 5), 700, 7, uint8_t(1 + i % 200), 100);
        if (i == areas / 2) {
            EXPECT_EQ(minimap->GetColor(5, 700, 7), 1);
        }
        EXPECT_LE(minimap->chunks.size(), Minimap::kMaxChunks);
    }
    EXPECT_EQ(minimap->chunks.size(), Minimap::kMaxChunks);
    const uint32_t first = MinimapChunkKey(5, 700, 7);
    const uint32_t second = MinimapChunkKey(256 + 5, 700, 7);
    const uint32_t last = MinimapChunkKey(uint16_t((areas - 1) * 256 + 5), 700, 7);
    EXPECT_EQ(minimap->chunks.count(first), 1u);
    EXPECT_EQ(minimap->chunks.count(second), 0u);
    EXPECT_EQ(minimap->chunks.count(last), 1u);
    // What was let go was written first and comes back at its next look-up.
    EXPECT_TRUE(platform::FileExists(UserFolder() + "/" + MinimapAreaFileName(256, 512, 7)));
    EXPECT_EQ(minimap->GetColor(256 + 5, 700, 7), 2);
    EXPECT_EQ(minimap->chunks.size(), Minimap::kMaxChunks);
    EXPECT_EQ(minimap->chunks.count(second), 1u);
}

// One frame of the window at (800, 100), 165 x 200, zoom 2, centred on the
// player at (1003, 998): the map area is (808, 126), 149 x 131, its left
// column 1003 - 37 = 966 and its top row 998 - 32 = 966.
TEST_F(MinimapWindowTest, AFrameDrawsTheAreaTheChunksTheCrossAndTheMarkersWhereTheyBelong) {
    Start();
    Camera* camera = client->game->map->camera;
    camera->x = 995;
    camera->y = 992;
    camera->z = 7;
    Place();
    minimap->centreX = 1003;
    minimap->centreY = 998;
    minimap->SetTile(1000, 1000, 7, 1, 100);  // chunk (768, 768)
    minimap->markers.push_back({1010, 1005, 7, kIcon, "camp"});
    const uint32_t light = client->app->gui->root->lightColor;
    const uint32_t dark = client->app->gui->root->darkColor;
    engine().Clear();
    minimap->Draw();

    auto has = [&](const char* op, std::vector<double> args) {
        for (const RecordedCall* call : engine().Calls(op)) {
            std::vector<double> head(call->args.begin(), call->args.begin() + std::min(call->args.size(), args.size()));
            if (head == args)
                return true;
        }
        return false;
    };
    struct Expected {
        const char* what;
        const char* op;
        std::vector<double> args;
    };
    const Expected expected[] = {
        {"floor buttons' box, sunken", "RenderRectangle", {double(dark), 807, 263, 38, 1}},
        {"floor buttons' box, its lit edge", "RenderRectangle", {double(light), 807, 282, 38, 1}},
        {"zoom buttons' box", "RenderRectangle", {double(dark), 850, 263, 38, 1}},
        {"the Large button's box", "RenderRectangle", {double(dark), 893, 263, 65, 1}},
        {"the map in opaque black", "RenderRectangle", {double(0xFF000000u), 808, 126, 149, 131}},
        {"frame top", "RenderRectangle", {double(dark), 807, 125, 151, 1}},
        {"frame left", "RenderRectangle", {double(dark), 807, 126, 1, 132}},
        {"frame bottom", "RenderRectangle", {double(light), 808, 257, 150, 1}},
        {"frame right", "RenderRectangle", {double(light), 957, 126, 1, 131}},
        {"the clip", "EnableClipper", {808, 126, 957, 257}},
        // (768 - 966) * 2 = -396 from the map's corner, 512 pixels a side.
        {"chunk (768, 768)", "RenderSprite", {808 - 396, 126 - 396, 512, 512}},
        {"cross, across", "RenderRectangle", {double(0xFFFFFFFFu), 879, 190, 6, 2}},
        {"cross, down", "RenderRectangle", {double(0xFFFFFFFFu), 881, 188, 2, 6}},
        // (1010 - 966) * 2 + 808 - 9, (1005 - 966) * 2 + 126 - 9.
        {"marker icon", "RenderSprite", {887, 195}},
    };
    for (const Expected& e : expected)
        EXPECT_TRUE(has(e.op, e.args)) << e.what;
    ASSERT_TRUE(client->app->gui->tooltips.count(201));
    EXPECT_EQ(client->app->gui->tooltips[201]->x, 887);
    EXPECT_EQ(client->app->gui->tooltips[201]->y, 195);

    // The buttons along the bottom: 18 px squares, then "Large" to the edge.
    struct Placed {
        GUIButton* button;
        int x, w;
    };
    for (const Placed& p : {Placed{minimap->floorDownButton, 808, 18}, Placed{minimap->floorUpButton, 826, 18},
                            Placed{minimap->zoomOutButton, 851, 18}, Placed{minimap->zoomInButton, 869, 18},
                            Placed{minimap->worldMapButton, 894, 63}}) {
        EXPECT_EQ(p.button->x, p.x);
        EXPECT_EQ(p.button->y, 264);
        EXPECT_EQ(p.button->width, p.w);
        EXPECT_EQ(p.button->height, 18);
    }
    EXPECT_EQ(minimap->worldMapButton->caption, "Large");

    // A drag or another floor holds while the player stands still; the next
    // step brings the view back to the player and the player's floor.
    Minimap::OnFloorDown(minimap);
    minimap->centreX = 500;
    minimap->Draw();
    EXPECT_EQ(minimap->centreX, 500);
    EXPECT_EQ(minimap->floor, 8);
    camera->x += 1;
    minimap->Draw();
    EXPECT_EQ(minimap->centreX, 1004);
    EXPECT_EQ(minimap->centreY, 998);
    EXPECT_EQ(minimap->floor, 7);
}

TEST_F(MinimapWindowTest, ScreenPointsTiles) {
    Start();
    Place(800, 100, 165, 200);
    const int x = 800, y = 100, w = 165, h = 200;
    struct Case {
        int px, py;
        bool onMap;
    };
    const Case cases[] = {
        {x + 9, y + 27, true},     {x + w - 9, y + h - 44, true}, {x + 8, y + 50, false},
        {x + w - 8, y + 50, false}, {x + 50, y + 26, false},      {x + 50, y + h - 43, false},
    };
    for (const Case& c : cases) {
        const Position at = minimap->PositionAt(c.px, c.py);
        EXPECT_EQ(at.x != 0, c.onMap) << c.px - x << ", " << c.py - y;
        if (!c.onMap) {
            EXPECT_EQ(at, (Position{0, 0, 0}));
        }
    }
    // At zoom 2 the left edge is the centre less half the map's width in tiles.
    // trunc(1000 - 149 / 2 / 2) + 1 and trunc(1000 - 131 / 2 / 2) + 1.
    const Position corner = minimap->PositionAt(x + 9, y + 27);
    EXPECT_EQ(corner, (Position{963, 968, 7}));
    EXPECT_EQ(minimap->PositionAt(x + 9 + 2 * 10, y + 27).x, corner.x + 10);

    minimap->ToggleMinimize(true);
    EXPECT_EQ(minimap->PositionAt(x + 50, y + 50), (Position{0, 0, 0}));
}

TEST_F(MinimapWindowTest, ButtonsStopAtTheirEndsAndTheRightButtonDrags) {
    Start();
    Place();
    for (int i = 0; i < 6; ++i)
        Minimap::OnZoomIn(minimap);
    EXPECT_EQ(minimap->zoom, 4.0f);
    for (int i = 0; i < 6; ++i)
        Minimap::OnZoomOut(minimap);
    EXPECT_EQ(minimap->zoom, 0.25f);
    for (int i = 0; i < 20; ++i)
        Minimap::OnFloorUp(minimap);
    EXPECT_EQ(minimap->floor, 0);
    for (int i = 0; i < 20; ++i)
        Minimap::OnFloorDown(minimap);
    EXPECT_EQ(minimap->floor, 15);

    // A 40-pixel drag at zoom 2 moves the view by 20 tiles the other way.
    minimap->zoom = 2.0f;
    minimap->OnMouseDown(850, 150);
    minimap->OnDrag(890, 130);
    EXPECT_EQ(minimap->centreX, 980);
    EXPECT_EQ(minimap->centreY, 1010);
    minimap->OnMouseUp();
    minimap->OnDrag(990, 130);
    EXPECT_EQ(minimap->centreX, 980);
    // A press outside the map does not start a drag.
    minimap->OnMouseDown(801, 150);
    EXPECT_FALSE(minimap->dragging);

    minimap->ToggleMinimize(true);
    for (GUIButton* button : {minimap->floorUpButton, minimap->floorDownButton, minimap->zoomOutButton,
                              minimap->zoomInButton, minimap->worldMapButton})
        EXPECT_TRUE(button->HasFlag(GUIControl::kHidden));
}

TEST_F(MinimapWindowTest, MarkersInViewAreDrawnAndTheFirstNineteenGetTooltips) {
    Start();
    Place();
    GUIManager* gui = client->app->gui;
    auto tooltipKeys = [&] {
        std::vector<int> keys;
        for (const auto& entry : gui->tooltips)
            if (entry.first >= 200 && entry.first <= 220)
                keys.push_back(entry.first);
        return keys;
    };
    struct Case {
        const char* what;
        int inView, otherFloor, badIcon;
        size_t drawn, tooltips;
    };
    const Case cases[] = {
        {"25 in view", 25, 0, 0, 25, 19},
        {"other floors are neither drawn nor tooltipped", 3, 5, 0, 3, 3},
        {"an icon id beyond the sprites draws nothing but keeps its text", 2, 0, 2, 2, 4},
        {"none: the earlier tooltips go", 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        minimap->markers.clear();
        for (int i = 0; i < c.inView; ++i)
            minimap->markers.push_back({990 + i % 10, 995 + i / 10, 7, kIcon, "m" + std::to_string(i)});
        for (int i = 0; i < c.otherFloor; ++i)
            minimap->markers.push_back({1000, 1000, 8, kIcon, "deep"});
        for (int i = 0; i < c.badIcon; ++i)
            minimap->markers.push_back({1001, 1001, 7, i ? 20000u : 0xFFFFFFFFu, "odd"});
        minimap->markers.push_back({3000, 1000, 7, kIcon, "far away"});
        engine().Clear();
        minimap->Draw();
        EXPECT_EQ(MarkerDraws(), c.drawn) << c.what;
        const std::vector<int> keys = tooltipKeys();
        EXPECT_EQ(keys.size(), c.tooltips) << c.what;
        if (!keys.empty()) {
            EXPECT_EQ(keys.front(), 201) << c.what;
            EXPECT_EQ(gui->tooltips[201]->lines, std::vector<std::string>{c.inView ? "m0" : "odd"}) << c.what;
        }
    }
}

TEST_F(MinimapWindowTest, ABackEndSwitchRemakesEveryTextureThroughItsOwnEngine) {
    Start();
    Place();
    minimap->SetTile(1000, 1000, 7, 1, 100);
    minimap->SetTile(1100, 1000, 7, 2, 100);  // the next area east, also in view at zoom 0.5
    minimap->zoom = 0.5f;
    minimap->Draw();
    std::vector<const Sprite*> first;
    for (const auto& entry : minimap->chunks) {
        ASSERT_NE(entry.second->texture, nullptr);
        first.push_back(entry.second->texture.get());
        EXPECT_FALSE(entry.second->dirty);
    }
    ASSERT_EQ(first.size(), 2u);
    const int oldSerial = engine().serial;

    RecordingEngine::history.clear();
    ASSERT_TRUE(client->CreateEngine(kEngineOpenGL));
    ASSERT_NE(engine().serial, oldSerial);
    for (const auto& entry : minimap->chunks)
        EXPECT_TRUE(entry.second->dirty);
    minimap->Draw();
    int madeByNew = 0;
    for (const EngineEvent& event : RecordingEngine::history)
        if (event.kind == EngineEvent::Generated && event.engine == engine().serial)
            ++madeByNew;
    EXPECT_GE(madeByNew, 2);
    for (const auto& entry : minimap->chunks) {
        ASSERT_NE(entry.second->texture, nullptr);
        EXPECT_EQ(entry.second->texture->engine, client->app->engine);
    }
    // The old engine released its images when it went; nothing is released twice.
    std::map<std::pair<int, uint32_t>, int> releases;
    for (const EngineEvent& event : RecordingEngine::history) {
        if (event.kind == EngineEvent::Released) {
            EXPECT_EQ(++releases[std::make_pair(event.engine, event.handle)], 1);
        }
    }
}

TEST_F(MinimapWindowTest, PathSearchOverTheRecordedLand) {
    Start();
    Map* map = client->game->map;
    Camera* camera = map->camera;
    const Position start{camera->GetX() + 8, camera->GetY() + 6, camera->GetZ()};
    // The view around the player has ground; beyond it only the minimap knows.
    const uint16_t ground = 7001;
    auto* record = new ItemRecord();
    record->groundFlag = 1;
    ItemsCache::Instance()->Set(record, ground);
    for (int x = start.x - 8; x <= start.x + 8; ++x) {
        for (int y = start.y - 6; y <= start.y + 6; ++y) {
            Tile* tile = map->GetOrCreateTile(Position{x, y, start.z});
            ASSERT_NE(tile, nullptr);
            tile->AddThing(new Thing(ground, 1));
        }
    }
    const Position goal{start.x + 14, start.y, start.z};
    auto row = [&](int gapColour) {
        for (int x = start.x + 9; x <= goal.x; ++x)
            minimap->SetTile(uint16_t(x), uint16_t(start.y), uint8_t(start.z), x == start.x + 11 ? gapColour : 1, 100);
    };
    auto find = [&](Position to, int mode) {
        std::list<int> out;
        return map->FindPath(start, to, uint8_t(mode), 5000, &out);
    };

    EXPECT_FALSE(find(goal, 0)) << "nothing recorded beyond the view";
    row(1);
    EXPECT_TRUE(find(goal, 0)) << "an explored road";
    row(0);
    EXPECT_FALSE(find(goal, 0)) << "an unexplored square blocks in mode 0";
    EXPECT_TRUE(find(goal, 1)) << "and not in mode 1";
    row(4);
    EXPECT_FALSE(find(goal, 0)) << "colour 4 on the way";
    EXPECT_TRUE(find(Position{start.x + 11, start.y, start.z}, 0)) << "colour 4 as the goal";
    // The mode-1 searches over unexplored land made no chunk.
    EXPECT_EQ(minimap->chunks.size(), 1u);
    ItemsCache::Instance()->Set(nullptr, ground);
}

TEST_F(MinimapWindowTest, TheOldFileIsAskedAboutAtTheFirstUpdateNotWhileTheScreenIsBuilt) {
    const Bytes old = {0xAD, 0xDE, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0x10, 0, 0x20, 0, 7, 5};
    struct Case {
        int answer;
        bool fileStays;
        uint8_t colour;
    };
    for (const Case& c : {Case{platform::kIdNo, true, 0}, Case{platform::kIdYes, false, 5}}) {
        WriteFileBytes(fixture.dir.Path("minimap.map"), std::string(old.begin(), old.end()));
        fixture.platform.boxes.shown.clear();
        fixture.platform.boxes.answers = {c.answer};
        Start();
        EXPECT_TRUE(fixture.platform.boxes.shown.empty());
        client->game->Update();
        client->game->Update();
        ASSERT_EQ(fixture.platform.boxes.shown.size(), 1u);
        EXPECT_EQ(fixture.platform.boxes.shown[0].caption, "Convert Minimap");
        EXPECT_EQ(fixture.platform.boxes.shown[0].owner, nullptr);
        EXPECT_EQ(platform::FileExists("minimap.map"), c.fileStays);
        EXPECT_EQ(minimap->GetColor(16, 32, 7), c.colour);
        client->ReturnToMenu();
    }
}

TEST_F(MinimapWindowTest, LogoutWritesTheChangedAreasOnceAndReleasesEachTextureOnce) {
    Start();
    // A stored area, loaded and left alone.
    MinimapChunk stored(0, 0, 7);
    stored.SetTile(1, 1, 6, 100);
    SaveMinimapChunk(stored, minimap->folders);
    platform::MakeDirectory("minimap");
    WriteFileBytes("minimap/0000000007.map", ReadFileBytes(UserFolder() + "/0000000007.map"));
    platform::RemoveFile(UserFolder() + "/0000000007.map");
    EXPECT_EQ(minimap->GetColor(1, 1, 7), 6);

    minimap->SetTile(300, 600, 7, 1, 100);
    minimap->SetTile(5000, 600, 7, 2, 100);
    minimap->SetTile(9000, 600, 7, 0, 130);  // a speed only: never written
    Place();
    minimap->zoom = 0.25f;
    minimap->centreX = 300;
    minimap->centreY = 600;
    minimap->Draw();
    const int drawnBy = engine().serial;
    RecordingEngine::history.clear();

    client->ReturnToMenu();
    EXPECT_EQ(client->game, nullptr);
    std::vector<std::string> written;
    for (const char* name : {"0001000207.map", "0019000207.map", "0035000207.map", "0000000007.map"})
        if (platform::FileExists(UserFolder() + "/" + name))
            written.push_back(name);
    EXPECT_EQ(written, (std::vector<std::string>{"0001000207.map", "0019000207.map"}));

    std::map<uint32_t, int> releases;
    for (const EngineEvent& event : RecordingEngine::history)
        if (event.kind == EngineEvent::Released && event.engine == drawnBy)
            ++releases[event.handle];
    EXPECT_FALSE(releases.empty());
    for (const auto& entry : releases)
        EXPECT_EQ(entry.second, 1) << "texture " << entry.first;

    // The written area reads back as recorded.
    MinimapChunk back(256, 512, 7);
    ASSERT_TRUE(LoadMinimapChunk(back, MinimapFolders{"minimap", UserFolder()}));
    EXPECT_EQ(back.GetColor(300 & 255, 600 & 255), 1);
}

}  // namespace
