// The map-effect family: short-lived things over the map that change no tile
// and no creature (rising texts, item effects, projectiles, the target pair,
// the darkness level, the marker item, the fading removed item and the
// progress bar).
//
// Every field is read whether or not the game screen exists, so that the
// frame goes on behind the message; before the game screen exists the values
// are dropped, except the darkness level, which the light map keeps for the
// whole run.
#include "protocol/Protocol.h"

#include <cstdint>
#include <string>
#include <vector>

#include "client/Client.h"
#include "engine/Clock.h"
#include "game/GameInterface.h"
#include "net/InMessage.h"
#include "world/EffectList.h"
#include "world/FloatingTexts.h"
#include "world/LightMap.h"
#include "world/Map.h"
#include "world/Thing.h"
#include "world/Tile.h"

namespace {

GameInterface* Game() { return Client::Instance()->game; }

}  // namespace

void Protocol::ParseFloatingText(InMessage& message) {
    const uint16_t x = message.ReadU16();
    const uint16_t y = message.ReadU16();
    const std::string text = message.ReadString();
    const uint8_t type = message.ReadU8();
    if (GameInterface* game = Game())
        game->floatingTexts->Add(x, y, type, text);
}

void Protocol::ParseEffects(InMessage& message) {
    const int count = message.ReadU8();
    GameInterface* game = Game();
    for (int i = 0; i < count; ++i) {
        if (message.Remaining() < 6) {
            // A list cut short: the frame ends here, and no effect is made
            // of the zeros a short read gives.
            message.pos = message.len;
            break;
        }
        const uint16_t x = message.ReadU16();
        const uint16_t y = message.ReadU16();
        const uint16_t itemId = message.ReadU16();
        if (game)
            game->effects->AddEffect(x, y, game->map->camera->GetZ(), itemId, 400);
    }
}

void Protocol::ParseTargetPair(InMessage& message) {
    const uint32_t attackTarget = message.ReadU32();
    const uint32_t followTarget = message.ReadU32();
    if (GameInterface* game = Game())
        game->map->SetTargetPair(attackTarget, followTarget);
}

void Protocol::ParseDarkness(InMessage& message) { LightMap::Instance()->SetDarkness(message.ReadU8()); }

void Protocol::ParseProjectile(InMessage& message) {
    const uint16_t fromX = message.ReadU16();
    const uint16_t fromY = message.ReadU16();
    const uint16_t toX = message.ReadU16();
    const uint16_t toY = message.ReadU16();
    const uint16_t effectId = message.ReadU16();
    // The server names no floor: the projectile flies on the camera's.
    if (GameInterface* game = Game())
        game->effects->AddProjectile(fromX, fromY, game->map->camera->GetZ(), toX, toY, effectId);
}

void Protocol::ParseMarkerItem(InMessage& message) {
    const uint16_t x = message.ReadU16();
    const uint16_t y = message.ReadU16();
    const uint8_t z = message.ReadU8();
    const uint32_t itemId = message.ReadU32();
    if (GameInterface* game = Game()) {
        game->map->markerPos = Position{x, y, z};
        game->map->markerItemId = int32_t(itemId);
    }
}

void Protocol::ParseRemoveTileItem(InMessage& message) {
    const uint16_t x = message.ReadU16();
    const uint16_t y = message.ReadU16();
    const uint8_t z = message.ReadU8();
    const uint16_t itemId = message.ReadU16();
    GameInterface* game = Game();
    if (!game)
        return;
    Tile* tile = game->map->GetTile(x, y, z);
    if (!tile)
        return;
    // The item is only shown fading out, from its id: nothing keeps the
    // unlinked thing, so it is freed here. The same item RemoveItemById
    // would unlink: the first with that id among the items, then the top items.
    Thing* removed = nullptr;
    for (const std::vector<Thing*>* list : {&tile->items, &tile->topItems}) {
        for (Thing* thing : *list)
            if (!removed && !thing->IsCreature() && thing->GetId() == itemId)
                removed = thing;
    }
    if (!removed)
        return;
    tile->RemoveThing(removed);
    delete removed;
    tile->markItemId = itemId;
    tile->markTick = int32_t(GetTicks());
}

void Protocol::ParseProgressBar(InMessage& message) {
    const uint8_t shown = message.ReadU8();
    GameInterface* game = Game();
    if (shown == 0) {
        if (game) {
            game->map->barVisible = 0;
            game->map->barPercent = 0;
            game->map->barPos = Position{0, 0, 0};
        }
        return;
    }
    const uint16_t state = message.ReadU16();
    const uint8_t value = message.ReadU8();
    const uint16_t x = message.ReadU16();
    const uint16_t y = message.ReadU16();
    const uint8_t z = message.ReadU8();
    if (game) {
        game->map->barVisible = state;
        game->map->barPercent = value;
        game->map->barPos = Position{x, y, z};
    }
}
