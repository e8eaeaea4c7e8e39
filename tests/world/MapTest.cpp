// The map's tile window and creature table, and the camera that follows the
// player and walks it by keyboard.
#include "tests/world/WorldFixture.h"

namespace {

class MapTest : public WorldTest {};

TEST_F(MapTest, TheCameraFollowsThePlayer) {
    EXPECT_EQ(map->camera->GetZ(), 7);
    map->camera->z = 3;
    EXPECT_EQ(map->camera->GetZ(), 7) << "the stored floor is not used";
    map->camera->x = 55;
    EXPECT_EQ(map->camera->GetX(), 55);

    // The player is found by its id once it is in the table.
    map->playerId = 9;
    Creature* player = new Creature(map.get());
    player->id = 9;
    player->name = "Ana";
    player->SetPosition(100, 200, 7);
    map->AddCreature(player);
    EXPECT_EQ(map->camera->creature, nullptr);
    EXPECT_EQ(map->camera->GetX(), 92);
    EXPECT_EQ(map->camera->creature, player);
    EXPECT_EQ(map->camera->GetY(), 194);
    EXPECT_EQ(map->camera->GetZ(), 7);
    EXPECT_EQ(test.app->title, "Velmora Online (Ana)");

    // The player's own tile is at local (17, 15).
    Tile* own = map->GetOrCreateTile(Position{100, 200, 7});
    EXPECT_EQ(map->tiles[17][15][7], own);
    EXPECT_EQ(map->GetTile(100, 200, 7), own);
    EXPECT_EQ(map->GetTile(92 - 10, 200, 7), nullptr);
    EXPECT_EQ(map->GetOrCreateTile(Position{92 - 10, 200, 7}), nullptr);
    EXPECT_EQ(map->GetOrCreateTile(Position{100, 200, 16}), nullptr) << "floors end at 15";
    EXPECT_EQ(map->GetOrCreateTile(Position{100, 200, -1}), nullptr);
    EXPECT_NE(map->GetOrCreateTile(Position{92 - 9, 194 - 9, 15}), nullptr);
    EXPECT_NE(map->GetOrCreateTile(Position{92 + 20, 194 + 20, 0}), nullptr);
    EXPECT_EQ(map->GetOrCreateTile(Position{92 + 21, 194 + 20, 0}), nullptr);
}

TEST_F(MapTest, AStepEastShiftsTheWindowByOneColumn) {
    Creature* player = AddPlayer(100, 100);
    for (int z = 0; z < Map::kFloors; ++z)
        for (int x = 0; x < Map::kSize; ++x)
            for (int y = 0; y < Map::kSize; ++y)
                if (!map->tiles[x][y][z])
                    map->tiles[x][y][z] = new Tile();
    Tile* before[Map::kSize][Map::kSize][Map::kFloors];
    std::copy(&map->tiles[0][0][0], &map->tiles[0][0][0] + Map::kSize * Map::kSize * Map::kFloors,
              &before[0][0][0]);
    player->direction = 4;
    player->Step();
    int empty = 0;
    for (int z = 0; z < Map::kFloors; ++z)
        for (int y = 0; y < Map::kSize; ++y) {
            for (int x = 0; x < Map::kSize - 1; ++x)
                EXPECT_EQ(map->tiles[x][y][z], before[x + 1][y][z]);
            empty += map->tiles[Map::kSize - 1][y][z] == nullptr;
        }
    EXPECT_EQ(empty, 480);
    EXPECT_TRUE(map->GetTile(101, 100, 7)->HasCreature(player));
}

TEST_F(MapTest, ShiftsBothWaysAndFarAway) {
    AddPlayer(100, 100);
    Thing* marker = Put(100, 100, 3, kCoins);
    Tile* tile = map->GetTile(100, 100, 3);
    const int northWest[2] = {1, 1};
    map->ShiftGrid(northWest);
    EXPECT_EQ(map->tiles[18][16][3], tile);
    EXPECT_EQ(tile->items.front(), marker);
    const int back[2] = {-1, -1};
    map->ShiftGrid(back);
    EXPECT_EQ(map->tiles[17][15][3], tile);
    const int none[2] = {0, 0};
    map->ShiftGrid(none);
    EXPECT_EQ(map->tiles[17][15][3], tile);
    const int far[2] = {40, -40};
    map->ShiftGrid(far);
    for (auto& column : map->tiles)
        for (auto& row : column)
            for (Tile* t : row)
                ASSERT_EQ(t, nullptr);
}

TEST_F(MapTest, CreaturesInTheTable) {
    Creature* player = AddPlayer(100, 100);
    Creature* rat = AddCreature(30, 101, 101, 7, "Rat");
    AddCreature(20, 102, 101, 7, "Rat");
    EXPECT_EQ(map->FindCreatureByName("Rat")->id, 20) << "the first in id order";
    EXPECT_EQ(map->FindCreatureByName("rat"), nullptr);
    EXPECT_EQ(map->FindCreatureByName("Ra"), nullptr);
    EXPECT_EQ(map->FindCreature(30), rat);
    EXPECT_EQ(map->FindCreature(31), nullptr);

    map->RemoveCreature(1);
    EXPECT_EQ(map->FindCreature(1), player) << "the player is never removed";
    EXPECT_TRUE(map->GetTile(100, 100, 7)->HasCreature(player));
    map->RemoveCreature(30);
    EXPECT_EQ(map->FindCreature(30), nullptr);
    EXPECT_TRUE(map->GetTile(101, 101, 7)->creatures.empty());
    map->RemoveCreature(12345);

    // The same id twice keeps the second pointer and deletes nothing.
    Creature* first = new Creature(map.get());
    first->id = 40;
    Creature* second = new Creature(map.get());
    second->id = 40;
    map->AddCreature(first);
    map->AddCreature(second);
    EXPECT_EQ(map->FindCreature(40), second);
    delete first;
}

TEST_F(MapTest, AFloodOfCreaturesKeepsTheNewestAndNeverThePlayerOrTheFollowed) {
    // The camera follows the player, or a creature of its own choosing.
    for (const bool followsPlayer : {true, false}) {
        SCOPED_TRACE(followsPlayer ? "following the player" : "following another creature");
        map = std::make_unique<Map>(&hooks);
        Creature* player = AddPlayer(100, 100);
        Creature* followed = player;
        if (!followsPlayer) {
            followed = AddCreature(7, 100, 100, 7, "Guide");  // the same view
            map->camera->SetCreature(followed);
        }
        const int flood = 1000;
        for (int i = 0; i < flood; ++i)
            AddCreature(uint32_t(1000 + i), 92 + i % 17, 94 + (i / 17) % 13);  // all in range
        EXPECT_EQ(map->creatures.size(), Map::kMaxCreatures);
        EXPECT_EQ(map->FindCreature(1), player);
        EXPECT_EQ(map->FindCreature(uint32_t(followed->id)), followed);
        EXPECT_EQ(map->camera->creature, followed);
        EXPECT_TRUE(map->GetTile(100, 100, 7)->HasCreature(player));
        // The newest stay, the oldest went, each from its tile too.
        const size_t spared = followsPlayer ? 1 : 2;
        const int firstKept = flood - int(Map::kMaxCreatures - spared);
        EXPECT_NE(map->FindCreature(uint32_t(1000 + flood - 1)), nullptr);
        EXPECT_NE(map->FindCreature(uint32_t(1000 + firstKept)), nullptr);
        EXPECT_EQ(map->FindCreature(uint32_t(1000 + firstKept - 1)), nullptr);
        EXPECT_EQ(map->FindCreature(1000), nullptr);
        size_t onTiles = 0;
        for (int x = 92; x < 109; ++x)
            for (int y = 94; y < 107; ++y)
                onTiles += map->GetTile(x, y, 7)->creatures.size();
        EXPECT_EQ(onTiles, Map::kMaxCreatures);
    }
}

TEST_F(MapTest, CreaturesOutOfRangeGoBeforeAnyInRange) {
    AddPlayer(100, 100);
    // 200 in range and 199 far away fill the table.
    for (int i = 0; i < 200; ++i)
        AddCreature(uint32_t(2000 + i), 92 + i % 17, 94 + i / 17);
    for (int i = 0; i < 199; ++i)
        AddCreature(uint32_t(3000 + i), 300 + i, 300, 7);
    ASSERT_EQ(map->creatures.size(), Map::kMaxCreatures);
    // One more: the far ones go, old as they are not, the near ones stay.
    AddCreature(4000, 101, 101);
    EXPECT_EQ(map->creatures.size(), 202u);
    for (int i = 0; i < 200; ++i)
        EXPECT_NE(map->FindCreature(uint32_t(2000 + i)), nullptr) << i;
    EXPECT_EQ(map->FindCreature(3000), nullptr);
    EXPECT_EQ(map->FindCreature(3198), nullptr);
    EXPECT_NE(map->FindCreature(4000), nullptr);
    // A creature announced again counts as new.
    for (int i = 0; i < 198; ++i)
        AddCreature(uint32_t(5000 + i), 96, 96);
    ASSERT_EQ(map->creatures.size(), Map::kMaxCreatures);
    map->AddCreature(map->FindCreature(2000));
    AddCreature(6000, 97, 97);
    EXPECT_NE(map->FindCreature(2000), nullptr);
    EXPECT_EQ(map->FindCreature(2001), nullptr);
    EXPECT_EQ(map->creatures.size(), Map::kMaxCreatures);
}

TEST_F(MapTest, TheEnragedTipShowsOncePerInstallation) {
    AddPlayer(100, 100);
    Creature* enraged = new Creature(map.get());
    enraged->id = 50;
    enraged->flags = Creature::kEnraged;
    enraged->SetPosition(103, 104, 7);
    map->AddCreature(enraged);
    map->AddCreature(enraged);
    ASSERT_EQ(hooks.tips.size(), 1u);
    EXPECT_EQ(hooks.tips[0].kind, 0);
    EXPECT_EQ(hooks.tips[0].title, "Glowing enraged monsters are harder");
    EXPECT_EQ(hooks.tips[0].text, "but yield more experience and loot.");
    EXPECT_EQ(hooks.tips[0].at, (Position{103, 104, 7}));
    EXPECT_TRUE(hooks.seenEnraged);

    // A later game with the option set.
    Map later(&hooks);
    Creature* again = new Creature(&later);
    again->id = 51;
    again->flags = Creature::kEnraged;
    later.AddCreature(again);
    EXPECT_EQ(hooks.tips.size(), 1u);
}

TEST_F(MapTest, StaleCreaturesAboveAndBelowGround) {
    const struct {
        Position player;
        Position creature;
        bool kept;
    } cases[] = {
        {{100, 100, 7}, {91, 93, 7}, true},    {{100, 100, 7}, {90, 100, 7}, false},
        {{100, 100, 7}, {110, 108, 7}, true},  {{100, 100, 7}, {111, 100, 7}, false},
        {{100, 100, 7}, {100, 92, 7}, false},  {{100, 100, 7}, {100, 109, 7}, false},
        {{100, 100, 7}, {100, 100, 0}, true},  {{100, 100, 7}, {100, 100, 8}, false},
        {{100, 100, 9}, {100, 100, 7}, true},  {{100, 100, 9}, {100, 100, 6}, false},
        {{100, 100, 9}, {100, 100, 11}, true}, {{100, 100, 9}, {100, 100, 12}, false},
    };
    for (const auto& c : cases) {
        map = std::make_unique<Map>(&hooks);
        AddPlayer(c.player.x, c.player.y, c.player.z);
        AddCreature(2, c.creature.x, c.creature.y, c.creature.z);
        map->RemoveStaleCreatures();
        EXPECT_EQ(map->FindCreature(2) != nullptr, c.kept)
            << c.player.z << " -> " << c.creature.x << "," << c.creature.y << "," << c.creature.z;
        EXPECT_NE(map->FindCreature(1), nullptr);
    }
    Map nobody(&hooks);
    Creature* far = new Creature(&nobody);
    far->id = 3;
    far->SetPosition(9000, 9000, 14);
    nobody.AddCreature(far);
    nobody.RemoveStaleCreatures();
    EXPECT_EQ(nobody.FindCreature(3), far) << "nothing is stale while nothing is followed";
}

TEST_F(MapTest, TopFloor) {
    AddPlayer(100, 100);
    EXPECT_EQ(map->ComputeTopFloor(), 1);
    Put(100, 100, 6, kGrass);
    EXPECT_EQ(map->ComputeTopFloor(), 7);
    map->GetTile(100, 100, 6)->Clear();
    EXPECT_EQ(map->ComputeTopFloor(), 1) << "an empty tile above hides nothing";
    Put(99, 100, 7, kRoof);
    EXPECT_EQ(map->ComputeTopFloor(), 7);
    EXPECT_EQ(map->TopFloorAt(99, 100), 7);
    Put(99, 100, 5, kGrass);
    EXPECT_EQ(map->TopFloorAt(99, 100), 7) << "floors above the top floor are not drawn";
    EXPECT_EQ(map->TopFloorAt(98, 98), 7);
    EXPECT_EQ(map->TopFloorAt(60, 60), 0);

    map = std::make_unique<Map>(&hooks);
    AddPlayer(100, 100, 1);
    EXPECT_EQ(map->ComputeTopFloor(), 1);
    map = std::make_unique<Map>(&hooks);
    AddPlayer(100, 100, 0);
    EXPECT_EQ(map->ComputeTopFloor(), 0);
}

TEST_F(MapTest, TheMinimapGetsTheViewsGround) {
    AddPlayer(100, 100);
    Put(101, 100, 7, kWall);
    Tile* empty = map->GetOrCreateTile(Position{102, 100, 7});
    empty->Clear();
    hooks.minimap.clear();
    map->UpdateMinimap();
    ASSERT_EQ(hooks.minimap.size(), 20u * 16u);
    EXPECT_EQ(hooks.minimap.front().x, 91);
    EXPECT_EQ(hooks.minimap.front().y, 93);
    EXPECT_EQ(hooks.minimap.back().x, 110);
    EXPECT_EQ(hooks.minimap.back().y, 108);
    for (const auto& t : hooks.minimap) {
        const int color = t.x == 101 && t.y == 100 ? 3 : t.x == 102 && t.y == 100 ? 100 : 6;
        EXPECT_EQ(t.color, color) << t.x << "," << t.y;
        EXPECT_EQ(t.speed, 100);
        EXPECT_EQ(t.z, 7);
    }
    // Where the map knows nothing the minimap gets colour and speed 100.
    delete map->tiles[95 - 92 + 9][95 - 94 + 9][7];
    map->tiles[95 - 92 + 9][95 - 94 + 9][7] = nullptr;
    map->GetTile(96, 96, 7)->Clear();
    Put(96, 96, 7, kMud);
    Put(96, 96, 7, kWall);
    hooks.minimap.clear();
    map->UpdateMinimap();
    for (const auto& t : hooks.minimap) {
        if (t.x == 95 && t.y == 95) {
            EXPECT_EQ(std::make_pair(t.color, t.speed), std::make_pair(100, 100));
        }
        if (t.x == 96 && t.y == 96) {
            EXPECT_EQ(std::make_pair(t.color, t.speed), std::make_pair(3, 50));
        }
    }
}

TEST_F(MapTest, TargetsAndTheirStamp) {
    Clock().Advance(10);
    GetTicks();
    Clock().Advance(500);
    map->SetTargetPair(5, 0);
    EXPECT_EQ(map->targetStamp, 500u);
    Clock().Advance(100);
    map->SetTargetPair(5, 0);
    EXPECT_EQ(map->targetStamp, 500u);
    map->SetTargetPair(0, 0);
    EXPECT_EQ(map->attackTargetId, 0u);
    EXPECT_EQ(map->targetStamp, 500u) << "clearing does not restart the markers";
    map->SetTarget(9);
    EXPECT_EQ(map->targetStamp, 600u);
    EXPECT_EQ(map->hoverTargetId, 9u);
    map->SetTargetPair(0, 4);
    Clock().Advance(100);
    map->SetTarget(8);
    EXPECT_EQ(map->targetStamp, 600u) << "a hover does not restart the markers of a target";
    EXPECT_EQ(map->hoverTargetId, 8u);
}

TEST_F(MapTest, CreaturesUnderAPoint) {
    Creature* player = AddPlayer(100, 100);
    Creature* rat = AddCreature(5, 101, 100);
    AddCreature(6, 101, 100, 6);  // another floor
    AddCreature(7, 120, 100);     // outside the view
    // The player's tile starts at 8 x 32 from the view's corner (4, 4).
    const int px = 4 + 8 * 32 + 5, py = 4 + 6 * 32 + 5;
    EXPECT_TRUE(map->GetCreaturesAt(px, py, false).empty());
    EXPECT_EQ(map->GetCreaturesAt(px, py, true), (std::vector<Creature*>{player}));
    EXPECT_EQ(map->GetCreaturesAt(px + 32, py, false), (std::vector<Creature*>{rat}));
    // A step of the rat is found where its clone is drawn.
    rat->direction = 4;
    rat->Step();
    EXPECT_EQ(map->GetCreaturesAt(px + 32, py, false), (std::vector<Creature*>{rat}));
    EXPECT_TRUE(map->GetCreaturesAt(px + 64 + 5, py, false).empty()) << "progress 0: still drawn on its old tile";
    EXPECT_EQ(map->GetCreaturesAt(px + 64, py, false, 32, 0), (std::vector<Creature*>{}))
        << "the scroll offset moves the point";
}

class WalkTest : public WorldTest {
protected:
    Creature* player = nullptr;
    void SetUp() override {
        // The clock has run a while, as it has in a game.
        GetMilliseconds();
        Clock().Advance(60000);
        player = AddPlayer(100, 100);
        Put(101, 100, 7, kWall);
    }
};

TEST_F(WalkTest, AStepIsStartedAndSent) {
    map->camera->Walk(2, false);
    EXPECT_EQ(player->position, (Position{99, 100, 7}));
    EXPECT_EQ(player->direction, 2);
    ASSERT_EQ(hooks.sent.size(), 1u);
    EXPECT_EQ(hooks.sent[0], (std::vector<uint8_t>{0x05}));
    EXPECT_EQ(hooks.pagedTextHidden, 1);
    EXPECT_EQ(hooks.mouseWalkStops, 1);

    // Mid-step: nothing.
    map->camera->Walk(2, false);
    EXPECT_EQ(hooks.sent.size(), 1u);
    EXPECT_EQ(player->position, (Position{99, 100, 7}));
    // Done but not confirmed (not stopped): nothing either.
    player->walkProgress = 1.0f;
    map->camera->Walk(2, false);
    EXPECT_EQ(hooks.sent.size(), 1u);
}

TEST_F(WalkTest, IntoAWallOnlyTellsThePlayer) {
    map->camera->Walk(4, false);
    EXPECT_EQ(player->position, (Position{100, 100, 7}));
    EXPECT_EQ(player->direction, 1) << "not even turned";
    EXPECT_TRUE(hooks.sent.empty());
    EXPECT_EQ(hooks.statusTexts, (std::vector<std::string>{"You can not move there."}));
}

TEST_F(WalkTest, TurnsAndDirectionsThatAreNone) {
    map->camera->Walk(1, true);
    EXPECT_EQ(player->position, (Position{100, 100, 7}));
    EXPECT_EQ(player->direction, 1);
    map->camera->Walk(4, true);
    EXPECT_EQ(player->direction, 4);
    EXPECT_EQ(hooks.sent, (std::vector<std::vector<uint8_t>>{{0x0D, 0x01}, {0x0D, 0x04}}));
    hooks.sent.clear();
    for (int none : {0, 9, 10, 12, -1, 255}) {
        map->camera->Walk(none, false);
        map->camera->Walk(none, true);
    }
    EXPECT_TRUE(hooks.sent.empty());
    EXPECT_EQ(player->position, (Position{100, 100, 7}));
    EXPECT_EQ(player->direction, 4);
}

TEST_F(WalkTest, AfterADiagonalStepTheNextWaits) {
    const struct {
        float speed;
        uint64_t wait;
    } cases[] = {{500, 750}, {150, 2500}};
    for (const auto& c : cases) {
        player->speed = c.speed;
        player->lastDiagonalStep = 0;
        map->camera->Walk(6, false);  // up-left
        ASSERT_EQ(hooks.sent.back(), (std::vector<uint8_t>{0x09}));
        player->StopWalk();
        player->FinishWalk();
        const size_t sent = hooks.sent.size();
        Clock().Advance(uint32_t(c.wait - 1));
        map->camera->Walk(3, false);
        EXPECT_EQ(hooks.sent.size(), sent) << c.speed;
        Clock().Advance(1);
        map->camera->Walk(3, false);
        EXPECT_EQ(hooks.sent.size(), sent + 1) << c.speed;
        player->StopWalk();
        player->FinishWalk();
        // A straight step leaves no wait behind.
        map->camera->Walk(1, false);
        EXPECT_EQ(hooks.sent.size(), sent + 2) << c.speed;
        player->StopWalk();
        player->FinishWalk();
    }
    // Speed 0 from the server: no wait, no division by zero.
    player->speed = 0;
    map->camera->Walk(5, false);
    player->StopWalk();
    player->FinishWalk();
    const size_t sent = hooks.sent.size();
    map->camera->Walk(3, false);
    EXPECT_EQ(hooks.sent.size(), sent + 1);
}

TEST_F(WalkTest, NothingWithoutAFollowedCreatureOrFromAClone) {
    map->camera->SetCreature(nullptr);
    map->playerId = 0;
    map->camera->Walk(2, false);
    EXPECT_TRUE(hooks.sent.empty());
    Creature clone(map.get());
    clone.cloneOf = player;
    map->camera->SetCreature(&clone);
    map->camera->Walk(2, false);
    EXPECT_TRUE(hooks.sent.empty());
    map->camera->SetCreature(player);
}

}  // namespace
