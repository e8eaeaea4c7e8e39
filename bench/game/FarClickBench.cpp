// The cost of one far click (a click on the minimap or a walk order of the
// world map): ThingActions::WalkTo in far mode, in a client that has entered
// the game. The tile window around the player is a maze of walls; beyond it
// the minimap has explored nothing, so the first search (explored squares
// only, 3000 nodes) fails and the second (5000 nodes, unexplored squares
// allowed) finds the way out of the maze and across the 400 x 400 search area.
#include <benchmark/benchmark.h>

#include <chrono>
#include <list>

#include "bench/game/BenchGame.h"
#include "client/Client.h"
#include "engine/KEngine2.h"
#include "game/GameInterface.h"
#include "game/ThingActions.h"
#include "net/Connection.h"
#include "protocol/Protocol.h"
#include "tests/support/ClientFixture.h"
#include "tests/support/TestApp.h"
#include "tools/gfxgen/GfxWriter.h"
#include "world/Creature.h"
#include "world/EffectList.h"
#include "world/ItemsCache.h"
#include "world/Map.h"
#include "world/Thing.h"
#include "world/Tile.h"

namespace {

const int kGround = 4000;
const int kWall = 4001;
const Position kStart{1000, 1000, 7};
// 150 squares east and 60 south: inside the 400 x 400 search area, far
// outside the explored window.
const Position kTarget{1150, 1060, 7};
const double kFrameMs = 1000.0 / 60.0;

// The window's 30 x 30 squares: ground everywhere, and walls east of the
// player in columns 3 apart, each open only at one end, alternately north
// and south, so that the way out winds through the corridors (or round the
// window's edge through unexplored land).
void BuildMaze(Map& map) {
    const int left = kStart.x - 17;
    const int top = kStart.y - 15;
    for (int x = left; x < left + Map::kSize; ++x)
        for (int y = top; y < top + Map::kSize; ++y) {
            Tile* tile = map.GetOrCreateTile(Position{x, y, kStart.z});
            if (!tile)
                continue;
            tile->AddThing(new Thing(kGround, 1));
            const int column = x - kStart.x;
            const bool wallColumn = column >= 2 && (column - 2) % 3 == 0;
            const bool gapNorth = ((column - 2) / 3) % 2 == 1;
            const bool gap = gapNorth ? y == top + 1 : y == top + Map::kSize - 2;
            // A wall across the west as well, so the maze is not simply left behind.
            const bool westWall = x == kStart.x - 3 && y != top + 1;
            if ((wallColumn && !gap) || westWall)
                tile->AddThing(new Thing(kWall, 1));
        }
}

void BM_FarClick(benchmark::State& state) {
    ClientFixture fixture;
    GfxWriter writer;
    writer.Put(2, MakeTestGlyphSheet());
    writer.Put(403, GfxImage(32, 32));
    Client* started = StartBenchGame(fixture, writer, state);
    if (!started)
        return;
    Client& client = *started;
    GameInterface& game = *client.game;
    Map& map = *game.map;

    auto* ground = new ItemRecord();
    ground->groundFlag = 1;
    ItemsCache::Instance()->Set(ground, kGround);
    auto* wall = new ItemRecord();
    wall->flags = kItemBlocksWalking;
    ItemsCache::Instance()->Set(wall, kWall);

    auto* player = new Creature(&map);
    player->id = 0x10000001;
    player->name = "Aldric";
    player->SetPosition(kStart.x, kStart.y, kStart.z);
    map.AddCreature(player);
    map.playerId = uint32_t(player->id);
    map.camera->SetCreature(player);
    BuildMaze(map);
    map.GetTile(kStart.x, kStart.y, kStart.z)->AddThing(player);

    // The two searches as the click makes them: the first must fail, the second succeed.
    std::list<int> path;
    if (map.FindPath(kStart, kTarget, 0, 3000, &path)) {
        state.SkipWithError("the explored-only search found a way");
        return;
    }
    if (!map.FindPath(kStart, kTarget, 1, 5000, &path)) {
        state.SkipWithError("the far search found no way");
        return;
    }
    const size_t steps = path.size();

    ThingActions& actions = *game.thingActions;
    Connection& connection = *client.protocol->connection;
    double seconds = 0;
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        actions.WalkTo(kTarget, true);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        // What the click left behind: its three requests and the goal mark.
        connection.ClearQueues();
        game.effects->Clear();
    }
    if (ThingActions::IsZero(actions.GetWalkGoal()))
        state.SkipWithError("the click did not walk");
    const double ms = seconds * 1000.0 / double(state.iterations());
    state.counters["ms_per_click"] = ms;
    state.counters["frame_share"] = ms / kFrameMs;
    state.counters["path_steps"] = double(steps);
    ItemsCache::Instance()->Set(nullptr, kGround);
    ItemsCache::Instance()->Set(nullptr, kWall);
}
BENCHMARK(BM_FarClick)->Unit(benchmark::kMillisecond);

}  // namespace
