// The messages that fill and change the world around the player: map areas,
// creatures, steps, tiles, and the item records of the items cache.
//
// Every handler reads all of its fields whether there is a game screen or
// not: before the enter-game message there is no map, and the frame must go
// on behind the message all the same.
#include <string>
#include <vector>

#include "client/Client.h"
#include "game/GameInterface.h"
#include "game/StatusLine.h"
#include "game/ThingActions.h"
#include "net/InMessage.h"
#include "protocol/Protocol.h"
#include "world/Creature.h"
#include "world/ItemsCache.h"
#include "world/Map.h"
#include "world/Thing.h"
#include "world/Tile.h"

namespace {

constexpr uint16_t kCreatureMarker = 10;  // in a tile list: a creature record follows
constexpr uint16_t kSkipBase = 0xFF00;    // 0xFF00 + n: the tile ends and n more are skipped
constexpr uint16_t kListEnd = 0xFFFF;
constexpr int kHighestFloor = 15;

Map* WorldMap() {
    GameInterface* game = Client::Instance()->game;
    return game ? game->map : nullptr;
}

bool IsDirection(int direction) { return direction >= 1 && direction <= 8; }

// A creature as the server describes it (without its position).
struct CreatureRecord {
    uint8_t flags = 0;
    uint32_t id = 0;
    std::string name;
    uint8_t health = 0;
    uint8_t direction = 0;
    uint16_t speed = 0;
    uint8_t lightByte = 0;
    int outfit[Creature::kOutfitValues] = {};
    uint8_t privilege = 0;
};

CreatureRecord ReadCreatureRecord(InMessage& message) {
    CreatureRecord record;
    record.flags = message.ReadU8();
    record.id = message.ReadU32();
    record.name = message.ReadString();
    record.health = message.ReadU8();
    record.direction = message.ReadU8();
    record.speed = message.ReadU16();
    record.lightByte = message.ReadU8();
    for (int i = 0; i < 3; ++i)
        record.outfit[i] = message.ReadU16();
    for (int i = 3; i < Creature::kOutfitValues; ++i)
        record.outfit[i] = message.ReadU8();
    if (record.flags & Creature::kHasPrivilege)
        record.privilege = message.ReadU8();
    return record;
}

// An item entry: the count byte follows only for stackable items.
int ReadItemCount(InMessage& message, uint16_t id) {
    const ItemRecord* record = ItemsCache::Instance()->Get(id);
    return record && record->Has(kItemStackable) ? message.ReadU8() : 1;
}

// Whether any tile of column x on a floor lies in the map's window.
bool ColumnInWindow(Map* map, int x, int z) {
    int localX, localY;
    return map && map->ToLocal(x, map->camera->GetY(), z, &localX, &localY);
}

Tile* TileFor(Map* map, const Position& at) {
    if (!map)
        return nullptr;
    Tile* tile = map->GetTile(at.x, at.y, at.z);
    return tile ? tile : map->GetOrCreateTile(at);
}

}  // namespace

void Protocol::OnMapArea(InMessage& message) { ParseMapArea(message, 0); }

void Protocol::OnMapAreaStrip(InMessage& message) { ParseMapArea(message, 1); }

void Protocol::ParseMapArea(InMessage& message, int second) {
    const int width = message.ReadU8();
    const int height = message.ReadU8();
    const int x0 = message.ReadU16();
    const int y0 = message.ReadU16();
    const int z = message.ReadU8();
    const uint8_t cameraFlag = message.ReadU8();

    // Above ground the area holds floors 7 to 0; below, two floors either
    // side of z, as deep as floor 15.
    int floors[8];
    int floorCount = 0;
    if (z <= 7) {
        for (int f = 7; f >= 0; --f)
            floors[floorCount++] = f;
    } else {
        for (int f = z - 2; f <= z + 2 && f <= kHighestFloor; ++f)
            floors[floorCount++] = f;
    }

    // An area on a floor that does not exist is read and dropped: it would
    // become the camera's floor.
    Map* map = z <= kHighestFloor ? WorldMap() : nullptr;
    int redoDirection = 0;
    if (map) {
        Camera* camera = map->camera;
        camera->protectionArea = cameraFlag != 0;
        Creature* player = camera->creature;
        if (second && player)
            player->StopWalk();
        if (width == 20 && height == 16) {
            // A whole view: everything is sent again around the player's
            // place, and a step the player started is taken back and made
            // again from there once the tiles are in.
            map->FreeTiles();
            camera->x = x0 + 1;
            camera->y = y0 + 1;
            camera->z = z;
            if (player) {
                if (!player->stopped) {
                    redoDirection = player->direction;
                    player->UndoStep();
                } else if (player->walkProgress < 1.0f || player->cloneOf) {
                    player->FinishWalk();
                }
                player->SetPosition(x0 + 9, y0 + 7, z);
                map->RemoveStaleCreatures();
            }
        }
    }

    // The skip count runs on across tiles, columns and floors.
    int skip = 0;
    std::vector<Thing*> added;
    for (int f = 0; f < floorCount; ++f) {
        for (int x = x0; x < x0 + width; ++x) {
            // Past the end of the frame every tile not skipped reads 0 and
            // is left empty; only those inside the window can be, so an area
            // of thousands of tiles does not cost thousands of steps more.
            if (skip == 0 && message.Remaining() <= 1 && !ColumnInWindow(map, x, floors[f]))
                continue;
            for (int y = y0; y < y0 + height; ++y) {
                if (skip > 0) {
                    --skip;
                    continue;
                }
                uint16_t value = message.ReadU16();
                if (value >= kSkipBase) {
                    skip = value & 0xFF;
                    continue;
                }
                const Position at{x, y, floors[f]};
                Tile* tile = TileFor(map, at);
                if (tile)
                    tile->Clear();
                added.clear();
                for (;;) {
                    // At the end of the frame (a truncated area) the tile
                    // ends here; the tiles after it read 0 and end empty.
                    if (message.Remaining() <= 1) {
                        skip = value & 0xFF;
                        break;
                    }
                    if (value == kCreatureMarker) {
                        ParseAddThing(message, tile, at);
                    } else {
                        const int count = ReadItemCount(message, value);
                        if (tile)
                            added.push_back(new Thing(value, count));
                    }
                    value = message.ReadU16();
                    if (value >= kSkipBase) {
                        skip = value & 0xFF;
                        break;
                    }
                }
                if (tile)
                    tile->AddThings(added);
            }
        }
    }

    if (!map)
        return;
    map->CollectLightSources();
    map->UpdateMinimap();
    if (redoDirection > 0 && map->camera->creature) {
        map->camera->creature->direction = redoDirection;
        map->camera->creature->Step();
    }
}

void Protocol::ParseAddThing(InMessage& message) {
    Position at;
    at.x = message.ReadU16();
    at.y = message.ReadU16();
    at.z = message.ReadU8();
    ParseAddThing(message, TileFor(WorldMap(), at), at);
}

void Protocol::ParseAddThing(InMessage& message, Tile* tile, const Position& at) {
    const CreatureRecord record = ReadCreatureRecord(message);
    Map* map = WorldMap();
    if (!map)
        return;

    Creature* creature = map->FindCreature(record.id);
    if (creature) {
        const Position current = creature->position;
        // Listed once on the tile where it stands now, when that lies in the
        // window; then moved, unless the camera follows it.
        if (Tile* here = TileFor(map, current))
            here->AddThing(creature);
        if (current != at && creature != map->camera->creature)
            creature->MoveTo(current, at);
    } else {
        creature = new Creature(map);
        creature->SetPosition(at.x, at.y, at.z);
        if (tile)
            tile->AddThing(creature);
    }

    if (record.flags & Creature::kHasPrivilege)
        creature->privilegeLevel = record.privilege;
    creature->SetId(int32_t(record.id));
    creature->name = record.name;
    creature->health = record.health;
    // A creature in a step keeps facing where it goes; a direction that is
    // none of the eight is not taken at all.
    if (creature->IsAtRest() && IsDirection(record.direction))
        creature->direction = record.direction;
    creature->speed = float(record.speed);
    creature->lightByte = record.lightByte;
    creature->SetOutfit(record.outfit);
    creature->flags = record.flags;
    map->AddCreature(creature);
}

void Protocol::OnRemoveCreature(InMessage& message) {
    const uint32_t id = message.ReadU32();
    if (Map* map = WorldMap())
        map->RemoveCreature(id);
}

void Protocol::ParseCreatureStep(InMessage& message) {
    const uint32_t id = message.ReadU32();
    const int direction = message.ReadU8();
    Map* map = WorldMap();
    Creature* creature = map ? map->FindCreature(id) : nullptr;
    if (!creature || !IsDirection(direction))
        return;

    const bool followed = creature == map->camera->creature;
    const auto step = [creature, direction] {
        creature->direction = direction;
        creature->Step();
        creature->StopWalk();
    };
    if (creature->IsAtRest()) {
        step();
    } else if (!followed) {
        creature->StopWalk();
        creature->FinishWalk();
        step();
    } else if (creature->stopped) {
        creature->FinishWalk();
        step();
    } else {
        // The player is in a step of its own, started ahead of the server:
        // the server's step goes first, then the player's is made again.
        const int own = creature->direction;
        creature->UndoStep();
        creature->direction = direction;
        creature->Step();
        creature->StopWalk();
        creature->FinishWalk();
        creature->direction = own;
        creature->Step();
    }
}

void Protocol::ParseWalkRefused(InMessage& message) {
    const std::string text = message.ReadString();
    message.ReadU8();
    // The status line outlives the game screen, as for the status text (0x0f).
    StatusLine::Instance()->SetText(text);
    Map* map = WorldMap();
    if (!map)
        return;
    if (Creature* player = map->camera->creature)
        player->UndoStep();
}

void Protocol::ParseTileUpdate(InMessage& message) {
    Position at;
    at.x = message.ReadU16();
    at.y = message.ReadU16();
    at.z = message.ReadU8();
    Map* map = WorldMap();
    Tile* tile = TileFor(map, at);
    if (tile)
        tile->Clear();
    std::vector<Thing*> added;
    // A single byte left is no id: reading it would give 0 for ever.
    while (message.Remaining() >= 2) {
        const uint16_t id = message.ReadU16();
        if (id == kListEnd)
            break;
        const int count = ReadItemCount(message, id);
        if (tile)
            added.push_back(new Thing(id, count));
    }
    if (tile)
        tile->AddThings(added);
    if (map)
        map->CollectLightSources();
}

void Protocol::OnResumeWalk(InMessage&) {
    GameInterface* game = Client::Instance()->game;
    if (game && game->thingActions)
        game->thingActions->ResumeWalk();
}

void Protocol::ParseItemRecords(InMessage& message) {
    ItemsCache* cache = ItemsCache::Instance();
    // A single byte left is no id: reading it would give 0 for ever.
    while (message.Remaining() >= 2) {
        const uint16_t id = message.ReadU16();
        if (id == kListEnd)
            break;
        ItemRecord* record = new ItemRecord();
        record->groundFlag = message.ReadU8();
        record->flags = message.ReadU32();
        record->patternSize = message.ReadU16();
        record->animationFrames = uint8_t(message.ReadU16());
        record->name = message.ReadString();
        record->minimapColor = message.ReadU8();
        record->groundSpeed = record->groundFlag == 1 ? message.ReadU8() : 100;
        cache->Set(record, id);
        itemRecordsReceived = true;
    }
}
