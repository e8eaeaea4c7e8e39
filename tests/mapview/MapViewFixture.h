#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "engine/Clock.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "tests/support/TestApp.h"
#include "world/Creature.h"
#include "world/EffectList.h"
#include "world/ItemsCache.h"
#include "world/Map.h"
#include "world/Thing.h"
#include "world/Tile.h"

// A map with its effect list over a recording engine, a fake clock starting
// at tick 0, a scripted dice and plain 32 x 32 sprites for every id a test
// names; item records put into the items cache are taken out again.
class MapViewFixture {
public:
    explicit MapViewFixture(int engineType = kEngineDirect3D) : test(engineType) {
        ResetClocks();
        GetTicks();
        map.effects = &effects;
        map.random = [this] { return dice; };
        effects.map = &map;
    }
    ~MapViewFixture() {
        map.camera->SetCreature(nullptr);
        for (int id : records_)
            ItemsCache::Instance()->Set(nullptr, uint16_t(id));
    }

    // Sprites of these ids (32 x 32 unless a size is given), loaded at once.
    void Sprites(std::vector<int> ids, int width = 32, int height = 32) {
        for (int id : ids)
            writer_.Put(id, GfxImage(width, height));
        test.LoadSprites(writer_);
        ids_.clear();
    }
    ItemRecord* Record(int id) {
        auto* record = new ItemRecord();
        ItemsCache::Instance()->Set(record, uint16_t(id));
        records_.push_back(id);
        return record;
    }
    // The player at a position, on its tile, followed by the camera.
    Creature* Player(int x, int y, int z = 7) {
        Creature* player = AddCreature(1, x, y, z);
        player->name = "Player";
        map.playerId = 1;
        map.camera->SetCreature(player);
        return player;
    }
    Creature* AddCreature(uint32_t id, int x, int y, int z = 7) {
        auto* creature = new Creature(&map);
        creature->id = int32_t(id);
        creature->SetPosition(x, y, z);
        map.AddCreature(creature);
        if (Tile* tile = map.GetOrCreateTile(Position{x, y, z}))
            tile->AddThing(creature);
        return creature;
    }
    // Items put on a tile bottom first.
    Tile* Put(int x, int y, int z, std::vector<int> ids) {
        Tile* tile = map.GetOrCreateTile(Position{x, y, z});
        for (auto it = ids.rbegin(); it != ids.rend(); ++it)
            tile->AddThing(new Thing(*it, 1));
        return tile;
    }
    // The id of a drawn sprite.
    int SpriteId(const Sprite* sprite) {
        if (ids_.empty())
            for (int id = 1; id < SpriteStore::kMaxSprites; ++id)
                if (test.app->sprites->GetRecord(id))
                    ids_[test.app->sprites->GetSprite(id)] = id;
        auto found = ids_.find(sprite);
        return found == ids_.end() ? 0 : found->second;
    }
    // The sprites drawn, in order, as (id, x, y).
    struct Drawn {
        int id;
        int x, y, w, h;
    };
    std::vector<Drawn> DrawnSprites() {
        std::vector<Drawn> out;
        SpriteId(nullptr);  // makes every sprite first: that adds calls to the log
        for (const RecordedCall* call : test.engine()->Calls("RenderSprite"))
            if (int id = SpriteId(call->sprite))
                out.push_back({id, int(call->args[0]), int(call->args[1]), int(call->args[2]), int(call->args[3])});
        return out;
    }
    void Advance(uint32_t ms) { test.platform.clock.Advance(ms); }

    TestApp test;
    Map map;
    EffectList effects;
    int dice = 0;

private:
    GfxWriter writer_;
    std::vector<int> records_;
    std::map<const Sprite*, int> ids_;
};
