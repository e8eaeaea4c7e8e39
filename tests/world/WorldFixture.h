#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/Clock.h"
#include "net/OutMessage.h"
#include "tests/support/TestApp.h"
#include "world/Creature.h"
#include "world/ItemsCache.h"
#include "world/Map.h"
#include "world/Thing.h"
#include "world/Tile.h"
#include "world/WorldHooks.h"

// Hooks that record what the world asked of the game screen.
class RecordingHooks : public WorldHooks {
public:
    struct Tip {
        int kind;
        std::string title, text;
        Position at;
    };
    struct MinimapTile {
        int x, y, z, color, speed;
    };
    void Send(const OutMessage& message) override {
        sent.emplace_back(message.Payload(), message.Payload() + message.len);
    }
    void SetStatusText(const std::string& text) override { statusTexts.push_back(text); }
    void HidePagedText() override { ++pagedTextHidden; }
    void AddTip(int kind, const std::string& title, const std::string& text, const Position& at) override {
        tips.push_back({kind, title, text, at});
    }
    void SetMinimapTile(uint16_t x, uint16_t y, uint8_t z, uint8_t color, uint8_t speed) override {
        minimap.push_back({x, y, z, color, speed});
    }
    void StopMouseWalk() override { ++mouseWalkStops; }
    bool TimerMovement() override { return timerMovement; }
    bool SmoothSidestep() override { return smoothSidestep; }
    bool FloorFading() override { return floorFading; }
    bool SeenEnraged() override { return seenEnraged; }
    void SetSeenEnraged() override { seenEnraged = true; }

    std::vector<std::vector<uint8_t>> sent;
    std::vector<std::string> statusTexts;
    int pagedTextHidden = 0;
    std::vector<Tip> tips;
    std::vector<MinimapTile> minimap;
    int mouseWalkStops = 0;
    bool timerMovement = true;
    bool smoothSidestep = true;
    bool floorFading = true;
    bool seenEnraged = false;
};

// Item ids of the fixtures' records.
enum : int {
    kGrass = 100,   // ground, speed 100
    kMud = 101,     // ground, speed 50
    kIce = 102,     // ground, speed 0
    kWall = 103,    // blocks walking
    kCoins = 110,   // stackable
    kRoof = 125,    // top item that hides the floors above
    kTorch = 130,   // light source
};

// A map with hooks, a fake clock, a recording engine and item records; the
// records are taken out of the items cache again at the end.
class WorldTest : public ::testing::Test {
protected:
    WorldTest() {
        ResetClocks();
        Define(kGrass, 1, 0, 100);
        Define(kMud, 1, 0, 50);
        Define(kIce, 1, 0, 0);
        Define(kWall, 0, kItemBlocksWalking);
        Define(kCoins, 0, kItemStackable);
        Define(kRoof, 0, kItemTop | kItemHidesFloorsAbove);
        Define(kTorch, 0, kItemLightSource);
        map = std::make_unique<Map>(&hooks);
    }
    ~WorldTest() override {
        map.reset();
        for (int id : defined)
            ItemsCache::Instance()->Set(nullptr, uint16_t(id));
    }

    ItemRecord* Define(int id, int ground, uint32_t flags, int speed = 100) {
        ItemRecord* record = new ItemRecord();
        record->groundFlag = uint8_t(ground);
        record->flags = flags;
        record->groundSpeed = uint8_t(speed);
        ItemsCache::Instance()->Set(record, uint16_t(id));
        defined.push_back(id);
        return record;
    }

    // A creature in the map's table, on the tile at its position.
    Creature* AddCreature(uint32_t id, int x, int y, int z = 7, const std::string& name = "Monster") {
        Creature* creature = new Creature(map.get());
        creature->id = int32_t(id);
        creature->name = name;
        creature->SetPosition(x, y, z);
        map->AddCreature(creature);
        if (Tile* tile = map->GetOrCreateTile(creature->position))
            tile->AddThing(creature);
        return creature;
    }
    // The player at (x, y, z), followed by the camera, on a ground of grass
    // over the whole window of its floor.
    Creature* AddPlayer(int x = 100, int y = 100, int z = 7, int ground = kGrass) {
        map->playerId = 1;
        Creature* player = AddCreature(1, x, y, z, "Ana");
        map->camera->SetCreature(player);
        for (int gx = x - 17; gx <= x + 12; ++gx)
            for (int gy = y - 15; gy <= y + 14; ++gy)
                Put(gx, gy, z, ground);
        return player;
    }
    // Puts an item on top of what the tile holds: the end of its list, since
    // the lists run bottom to top (a server lists items top first and each
    // goes to the front).
    Thing* Put(int x, int y, int z, int itemId, int count = 1) {
        Tile* tile = map->GetOrCreateTile(Position{x, y, z});
        if (!tile)
            return nullptr;
        Thing* thing = new Thing(itemId, count);
        thing->SetPosition(x, y, z);
        tile->AddThing(thing);
        for (std::vector<Thing*>* list : {&tile->items, &tile->topItems}) {
            if (!list->empty() && list->front() == thing) {
                list->erase(list->begin());
                list->push_back(thing);
            }
        }
        return thing;
    }

    FakeClock& Clock() { return test.platform.clock; }

    TestApp test;
    RecordingHooks hooks;
    std::unique_ptr<Map> map;
    std::vector<int> defined;
};
