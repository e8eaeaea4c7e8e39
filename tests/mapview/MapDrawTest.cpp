// The map view's layout and its drawing through the recording engine.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/Font.h"
#include "tests/mapview/MapViewFixture.h"
#include "tests/support/DrawnText.h"
#include "world/WorldHooks.h"

namespace {

TEST(MapLayout, TheViewIsCentredInWhatThePanelsBarsAndChatLeave) {
    const struct {
        const char* name;
        int width, height, reserved;
        ViewSurround surround;
        int tile, x, y;
    } cases[] = {
        {"panels of 165, stretched", 1000, 700, 150, {165, 165, -1, 0, 0, true}, 38, 177, 28},
        {"panels of 165, not stretched", 1000, 700, 150, {165, 165, -1, 0, 0, false}, 32, 228, 67},
        {"too small for a tile", 300, 20, 0, {0, 0, -1, 0, 0, true}, 1, 141, 4},
        {"hotkey bar left", 1000, 700, 150, {165, 165, 0, 52, 0, true}, 35, 228, 47},
        {"hotkey bar right", 1000, 700, 150, {165, 165, 1, 52, 0, true}, 35, 176, 47},
        {"hotkey bar top", 1000, 700, 150, {165, 165, 2, 52, 0, true}, 37, 185, 60},
        {"hotkey bar bottom", 1000, 700, 150, {165, 165, 3, 52, 0, true}, 37, 185, 8},
        {"stat bars at the sides", 1000, 700, 150, {165, 165, -1, 0, 1, true}, 36, 194, 41},
        {"stat bars on top", 1000, 700, 150, {165, 165, -1, 0, 2, true}, 38, 177, 38},
        {"stat bars below", 1000, 700, 150, {165, 165, -1, 0, 3, true}, 38, 177, 18},
        {"unknown stat bar place", 1000, 700, 150, {165, 165, -1, 0, 7, true}, 38, 177, 28},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Map map;
        map.LayoutView(c.width, c.height, c.reserved, c.surround);
        EXPECT_EQ(map.tileWidth, c.tile);
        EXPECT_EQ(map.tileHeight, c.tile);
        EXPECT_EQ(map.viewX, c.x);
        EXPECT_EQ(map.viewY, c.y);
    }
}

class MapDrawTest : public ::testing::Test, public MapViewFixture {
protected:
    MapDrawTest() {
        map.viewX = 100;
        map.viewY = 50;
    }
    // Pixel corner of view column and row vx, vy with the view origin.
    int X(int vx) const { return vx * 32 + 100; }
    int Y(int vy) const { return vy * 32 + 50; }
};

TEST_F(MapDrawTest, HiddenItemsAreNeverDrawnNotAsThingsMarksOrMarker) {
    Sprites({100, 1117, 1118, 1804, 1805});
    Record(100)->groundFlag = 1;
    Player(50, 50);  // camera corner (42, 44)
    Tile* tile = Put(45, 46, 7, {100, 1117, 1804});
    tile->markItemId = 1805;
    tile->markTick = int32_t(GetTicks());
    map.markerPos = Position{45, 46, 7};
    map.markerItemId = 1118;
    map.Draw();
    for (const auto& drawn : DrawnSprites())
        EXPECT_EQ(drawn.id, 100);
    EXPECT_EQ(DrawnSprites().size(), 1u);
    // A marker that may be drawn is drawn over the tile.
    map.markerItemId = 100;
    test.engine()->Clear();
    map.Draw();
    EXPECT_EQ(DrawnSprites().size(), 2u);
}

TEST_F(MapDrawTest, APatternGroundRepeatsEveryThirdTileByAbsolutePosition) {
    std::vector<int> ids;
    for (int i = 0; i < 9; ++i)
        ids.push_back(4300 + i);
    Sprites(ids);
    ItemRecord* ground = Record(4300);
    ground->groundFlag = 1;
    ground->patternSize = 96;
    Player(50, 50);
    for (int x = 42; x < 48; ++x)
        Put(x, 44, 7, {4300});
    Put(42, 45, 7, {4300});
    Put(43, 46, 7, {4300});
    map.Draw();
    std::map<std::pair<int, int>, int> at;
    for (const auto& drawn : DrawnSprites())
        at[{drawn.x, drawn.y}] = drawn.id;
    // x 42 mod 3 = 0, 43 -> 1, 44 -> 2; y 44 mod 3 = 2, 45 -> 0, 46 -> 1.
    EXPECT_EQ(at[std::make_pair(X(0), Y(0))], 4300 + 0 + 6);
    EXPECT_EQ(at[std::make_pair(X(1), Y(0))], 4300 + 1 + 6);
    EXPECT_EQ(at[std::make_pair(X(2), Y(0))], 4300 + 2 + 6);
    EXPECT_EQ(at[std::make_pair(X(3), Y(0))], 4300 + 0 + 6);
    EXPECT_EQ(at[std::make_pair(X(0), Y(1))], 4300);
    EXPECT_EQ(at[std::make_pair(X(1), Y(2))], 4300 + 1 + 3);
}

TEST_F(MapDrawTest, ElevatingItemsLiftWhatLiesAboveByAtMostFourSteps) {
    Sprites({100, 200, 300});
    Record(100)->groundFlag = 1;
    Record(200)->flags = kItemElevates;
    Player(50, 50);
    Put(45, 46, 7, {100, 200, 200, 200, 200, 200, 300});
    map.Draw();
    const auto drawn = DrawnSprites();
    ASSERT_EQ(drawn.size(), 7u);
    const int lifts[] = {0, 0, 1, 2, 3, 4, 4};
    for (size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_EQ(drawn[i].x, X(3) - 8 * lifts[i]) << i;
        EXPECT_EQ(drawn[i].y, Y(2) - 8 * lifts[i]) << i;
    }
}

TEST_F(MapDrawTest, LargeSpritesHangFromTheTilesBottomRightCorner) {
    Sprites({100});
    Sprites({500}, 64, 96);
    Player(50, 50);
    Put(45, 46, 7, {500});
    map.Draw();
    const auto drawn = DrawnSprites();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].x, X(3 - 1));
    EXPECT_EQ(drawn[0].y, Y(2 - 2));
}

TEST_F(MapDrawTest, ARemovedItemFadesOutOverHalfASecond) {
    Sprites({100, 700});
    Record(100)->groundFlag = 1;
    Player(50, 50);
    Tile* tile = Put(45, 46, 7, {100});
    tile->markItemId = 700;
    tile->markTick = int32_t(GetTicks());
    Advance(250);
    map.Draw();
    std::vector<std::string> log = test.engine()->Log();
    const auto mark = std::find_if(log.begin(), log.end(), [](const std::string& line) {
        return line.rfind("SetColor(0x80ffffff", 0) == 0;
    });
    ASSERT_NE(mark, log.end()) << "the mark is drawn at alpha 128 after 250 ms";
    EXPECT_EQ(DrawnSprites().size(), 2u);
    EXPECT_EQ(DrawnSprites()[1].id, 700);
    Advance(250);
    test.engine()->Clear();
    map.Draw();
    EXPECT_EQ(DrawnSprites().size(), 1u);
}

TEST_F(MapDrawTest, TheFloorAStepUncoversFadesInWhileTheStepLasts) {
    Sprites({100, 600});
    Record(100)->groundFlag = 1;
    Creature* player = Player(50, 50);
    Put(50, 50, 7, {100});
    Put(50, 50, 6, {600});  // a roof right over the player
    // At rest under the roof only floor 7 is drawn.
    map.Draw();
    for (const auto& drawn : DrawnSprites())
        EXPECT_EQ(drawn.id, 100);
    // The last step took the roof away from over the player: the top floor
    // went from 7 to 1, and while the step runs floor 6 fades in.
    map.tiles[17][15][6]->Clear();
    map.tiles[17][15][6]->AddThing(new Thing(100, 1));  // something on floor 6, no longer over the player
    Put(51, 49, 6, {600});
    delete map.tiles[17][15][6];
    map.tiles[17][15][6] = nullptr;
    player->walkProgress = 0.5f;
    player->stopped = 0;
    map.floorFade = 1 - 7;
    test.engine()->Clear();
    map.Draw();
    const std::vector<std::string> log = test.engine()->Log();
    bool faded = false;
    for (size_t i = 0; i < log.size(); ++i)
        if (log[i].rfind("SetColor(0x7fffffff", 0) == 0)
            faded = true;
    EXPECT_TRUE(faded);
    bool roofDrawn = false;
    for (const auto& drawn : DrawnSprites())
        roofDrawn |= drawn.id == 600;
    EXPECT_TRUE(roofDrawn);
    EXPECT_EQ(log.back(), "SetColor(0xffffffff)");
}

TEST_F(MapDrawTest, TargetMarksAnimateFromTheirStamp) {
    Sprites({100, 3201, 3202, 3203, 3204, 3210, 3211, 3212, 3213, 3214, 3218, 3219, 3220, 3221, 3222});
    Player(50, 50);
    AddCreature(7, 45, 46);
    map.SetTargetPair(7, 7);
    Advance(170);
    map.Draw();
    std::vector<int> ids;
    for (const auto& drawn : DrawnSprites())
        ids.push_back(drawn.id);
    EXPECT_EQ(ids, (std::vector<int>{3213, 3221}));  // frame 170 / 50 = 3
    map.SetTargetPair(0, 0);
    map.SetTarget(7);
    test.engine()->Clear();
    map.Draw();
    ids.clear();
    for (const auto& drawn : DrawnSprites())
        ids.push_back(drawn.id);
    EXPECT_EQ(ids, (std::vector<int>{3201}));
}

class PartyHooks : public WorldHooks {
public:
    bool IsPartyMember(const std::string& name) override { return name == "Brenna"; }
};

class CreatureLabelTest : public MapDrawTest {
protected:
    // The health bar's fill: the second rectangle of a label.
    const RecordedCall* Fill(size_t label = 0) {
        const auto rectangles = test.engine()->Calls("RenderRectangle");
        return rectangles.at(label * 2 + 1);
    }
};

TEST_F(CreatureLabelTest, NameAndBarColourFollowHealthAndPrivilege) {
    test.LoadFont();
    const struct {
        int health, privilege, engine;
        uint32_t colour;
        int width;
    } cases[] = {
        {100, 0, kEngineDirect3D, 0xFF46C8DC, 28},  // (220, 200, 70)
        {50, 0, kEngineDirect3D, 0xFF2364DC, 14},   // (220, 100, 35)
        {29, 0, kEngineOpenGL, 0xFF143ADC, 8},      // (220, 58, 20): 200 x 0.29f in float
        {0, 0, kEngineDirect3D, 0xFF0000DC, 0},
        {255, 0, kEngineDirect3D, 0xFF46C8DC, 28},  // a server byte above 100 draws as 100
        {50, 0, kEngineDirectDraw, 0xFF46C8DC, 14}, // one colour under DirectDraw
        {50, 3, kEngineDirect3D, 0xFFFFBE00, 14},   // (0, 190, 255) for staff
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.health);
        test.app->engineType = c.engine;
        Creature* npc = AddCreature(7, 45, 46);
        npc->name = "Guard";
        npc->health = c.health;
        npc->privilegeLevel = c.privilege;
        test.engine()->Clear();
        map.DrawCreatures();
        EXPECT_EQ(uint32_t(Fill()->args[0]), c.colour);
        EXPECT_EQ(Fill()->args[3], c.width);
        const auto texts = DrawnTexts(*test.engine(), test.app->font->sheet);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].text, "Guard");
        if (c.engine != kEngineDirectDraw) {  // DirectDraw draws from a pre-tinted sheet
            EXPECT_EQ(texts[0].color, c.colour);
        }
        map.creatures.erase(7);
        delete npc;
    }
}

TEST_F(CreatureLabelTest, LabelsSitOverTheFigureAndIconsRunRightToLeft) {
    test.LoadFont();
    Sprites({1104, 6608, 6609, 6610, 6611});
    PartyHooks hooks;
    map.hooks = &hooks;
    Creature* npc = AddCreature(7, 45, 46);  // view column 3, row 2 with the camera at (42, 44)
    map.camera->x = 42;
    map.camera->y = 44;
    npc->name = "Brenna";
    npc->flags = 0x10 | 0x04 | 0x20;
    map.DrawCreatures();
    const int width = test.app->font->GetTextWidth("Brenna");
    const int centre = 3 * 32 + 16 - 8 + 100;
    const int top = 2 * 32 - 8 + 50 - 20;
    const int barLeft = centre - width / 2 + width / 2 - 15;
    const auto bar = test.engine()->Calls("RenderRectangle").at(0);
    EXPECT_EQ(bar->args[1], barLeft);
    EXPECT_EQ(bar->args[2], top + 15);
    std::vector<int> ids, xs;
    for (const auto& drawn : DrawnSprites()) {
        ids.push_back(drawn.id);
        xs.push_back(drawn.x);
    }
    EXPECT_EQ(ids, (std::vector<int>{6610, 6608, 1104, 6609, 6611}));
    const int first = barLeft + 7 * 4 + 22;
    EXPECT_EQ(xs, (std::vector<int>{first, first - 14, first - 28 - 4, first - 28, first - 42}));
    map.hooks = nullptr;
}

TEST_F(CreatureLabelTest, TheProgressBarFillsAtMostItsFrame) {
    map.camera->x = 42;
    map.camera->y = 44;
    map.barPos = Position{45, 46, 7};
    for (int value : {0, 50, 100, 255}) {
        map.barVisible = 1;
        map.barPercent = value;
        test.engine()->Clear();
        map.DrawCreatures();
        const auto rectangles = test.engine()->Calls("RenderRectangle");
        ASSERT_EQ(rectangles.size(), 2u);
        const int cx = 16 + 3 * 32 + 100, cy = 16 + 2 * 32 + 50;
        EXPECT_EQ(test.engine()->Log()[0], "RenderRectangle(0xff000000, " + std::to_string(cx - 16) + ", " +
                                               std::to_string(cy - 4) + ", 32, 6)");
        EXPECT_EQ(rectangles[1]->args[3], std::min(value, 100) * 3 / 10) << value;
    }
    map.barVisible = 0;
    test.engine()->Clear();
    map.DrawCreatures();
    EXPECT_EQ(test.engine()->Count("RenderRectangle"), 0u);
}

TEST_F(MapDrawTest, TheLightCoverIsNotDrawnUnderDirectDraw) {
    test.engine()->Clear();
    map.DrawLight(0xFF000000, 0.5f);
    EXPECT_EQ(test.engine()->Log(), (std::vector<std::string>{"RenderRectangle(0x7f000000, 100, 50, 544, 416)"}));
    test.engine()->Clear();
    test.app->engineType = kEngineDirectDraw;
    map.DrawLight(0xFF000000, 1.0f);
    EXPECT_TRUE(test.engine()->Log().empty());
}

}  // namespace
