// A whole view from the server through the dispatcher into a real map, and
// the map's shift for one step of the player.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "client/Client.h"
#include "game/GameInterface.h"
#include "net/Connection.h"
#include "net/InMessage.h"
#include "protocol/Protocol.h"
#include "world/Creature.h"
#include "world/ItemsCache.h"
#include "world/Map.h"
#include "world/Thing.h"
#include "world/Tile.h"

namespace {

constexpr int kGround = 9001, kWall = 9002, kCoins = 9003, kFlower = 9004;
constexpr uint32_t kPlayer = 0x10000001;

void U8(std::vector<uint8_t>& out, uint32_t v) { out.push_back(uint8_t(v)); }
void U16(std::vector<uint8_t>& out, uint32_t v) {
    U8(out, v);
    U8(out, v >> 8);
}
void U32(std::vector<uint8_t>& out, uint32_t v) {
    U16(out, v & 0xFFFF);
    U16(out, v >> 16);
}

void DefineItems() {
    ItemsCache* cache = ItemsCache::Instance();
    const struct {
        int id, ground;
        uint32_t flags;
    } items[] = {{kGround, 1, 0}, {kWall, 0, 0x02}, {kCoins, 0, 0x100}, {kFlower, 0, 0}};
    for (const auto& item : items) {
        ItemRecord* record = new ItemRecord();
        record->groundFlag = uint8_t(item.ground);
        record->flags = item.flags;
        cache->Set(record, uint16_t(item.id));
    }
}

// One 0x05 of 20 x 16 tiles over floors 7 to 0: every tile a ground with one
// or two things on it (two or three items a tile), twenty creatures on floor 7 (the player among them),
// framed as it arrives.
std::vector<uint8_t> WholeView(int px, int py) {
    std::vector<uint8_t> p;
    U8(p, 0x05);
    U8(p, 20);
    U8(p, 16);
    U16(p, uint32_t(px - 9));
    U16(p, uint32_t(py - 7));
    U8(p, 7);
    U8(p, 0);
    int creatures = 0;
    for (int z = 7; z >= 0; --z)
        for (int x = px - 9; x <= px + 10; ++x)
            for (int y = py - 7; y <= py + 8; ++y) {
                // Two or three things: the ground, a flower or a wall, and
                // on every other tile a pile of coins (top first on the wire).
                if ((x * 7 + y * 3 + z) % 2) {
                    U16(p, kCoins);
                    U8(p, 12);
                }
                U16(p, (x + y) % 2 ? kFlower : kWall);
                if (z == 7 && ((x == px && y == py) || (creatures < 20 && (x * 5 + y) % 16 == 0))) {
                    const bool player = x == px && y == py;
                    ++creatures;
                    U16(p, 10);
                    U8(p, 0);
                    U32(p, player ? kPlayer : 0x40000000u + uint32_t(x * 100 + y));
                    const char* name = player ? "Aldric" : "Rat";
                    U16(p, uint32_t(std::strlen(name)));
                    p.insert(p.end(), name, name + std::strlen(name));
                    U8(p, 100);
                    U8(p, 2);
                    U16(p, 220);
                    U8(p, 6);
                    U16(p, player ? 10 : 600);
                    U16(p, 0);
                    U16(p, 0);
                    for (int k = 0; k < 6; ++k)
                        U8(p, 10u * uint32_t(k));
                }
                U16(p, kGround);
                U16(p, 0xFF00);
            }
    std::vector<uint8_t> frame;
    U16(frame, uint32_t(p.size()));
    frame.insert(frame.end(), p.begin(), p.end());
    return frame;
}

struct Game {
    Game() {
        DefineItems();
        client = Client::Instance();
        client->protocol = new Protocol();
        client->game = new GameInterface(false);
        client->game->map->playerId = kPlayer;
    }
    Client* client;
};

Game& TheGame() {
    static Game game;
    return game;
}

// The aim: well under a millisecond, a small share of a 16.7-ms frame.
// vs_memcpy is the dispatch time over the time of a memcpy of the same frame.
void BM_DispatchWholeView(benchmark::State& state) {
    Game& game = TheGame();
    const std::vector<uint8_t> frame = WholeView(100, 100);
    std::vector<uint8_t> copy(frame.size());
    double dispatchSeconds = 0, copySeconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        InMessage message(frame.data(), int(frame.size()));
        game.client->protocol->Dispatch(message);
        const auto middle = std::chrono::steady_clock::now();
        for (int i = 0; i < 16; ++i) {
            std::memcpy(copy.data(), frame.data(), frame.size());
            benchmark::ClobberMemory();
        }
        const auto end = std::chrono::steady_clock::now();
        const double dispatch = std::chrono::duration<double>(middle - start).count();
        dispatchSeconds += dispatch;
        copySeconds += std::chrono::duration<double>(end - middle).count() / 16;
        state.SetIterationTime(dispatch);
    }
    const Map& map = *game.client->game->map;
    if (!map.camera->creature || map.creatures.size() < 20)
        state.SkipWithError("the view did not arrive whole");
    state.counters["bytes"] = double(frame.size());
    state.counters["vs_memcpy"] = copySeconds > 0 ? dispatchSeconds / copySeconds : 0;
}
BENCHMARK(BM_DispatchWholeView)->UseManualTime()->Unit(benchmark::kMicrosecond);

// One step of the player moves the whole window by a column; the steps go
// east and west in turn over a window full of tiles.
void BM_ShiftGridStep(benchmark::State& state) {
    Map map;
    Creature* player = new Creature(&map);
    player->id = 1;
    player->SetPosition(100, 100, 7);
    map.AddCreature(player);
    map.camera->SetCreature(player);
    for (auto& column : map.tiles)
        for (auto& row : column)
            for (Tile*& tile : row) {
                tile = new Tile();
                tile->AddThing(new Thing(kGround, 1));
            }
    int direction = -1;
    for (auto _ : state) {
        const int delta[2] = {direction, 0};
        map.ShiftGrid(delta);
        direction = -direction;
    }
}
BENCHMARK(BM_ShiftGridStep)->Unit(benchmark::kMicrosecond);

}  // namespace
