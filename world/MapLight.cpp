// What the light map takes from the map: the light sources of the view's
// tiles (when the view changes) and the lights of creatures and effects (each
// frame).
#include "world/Map.h"

#include "engine/Clock.h"
#include "engine/KEngine2.h"
#include "world/Creature.h"
#include "world/EffectList.h"
#include "world/ItemsCache.h"
#include "world/LightMap.h"
#include "world/Tile.h"

void Map::CollectLightSources() {
    const int cx = camera->GetX();
    const int cy = camera->GetY();
    const int cz = camera->GetZ();
    std::vector<LightSource> list;
    for (int dx = -3; dx <= 20; ++dx) {
        for (int dy = -3; dy <= 16; ++dy) {
            const Tile* tile = GetTile(cx + dx, cy + dy, cz);
            if (!tile)
                continue;
            uint8_t colour[4] = {0, 0, 0, 255};
            int radius = 0;
            if (tile->QueryForDraw(colour, &radius)) {
                list.push_back(LightSource{dx, dy, radius, colour[0], colour[1], colour[2], colour[3]});
            } else if (cz == 8 && tile->QueryForPathDraw(kItemBlocksPath)) {
                // Just below ground, these squares are black, unlit pools.
                list.push_back(LightSource{dx, dy, 2, 0, 0, 0, 255});
            }
        }
    }
    LightMap::Instance()->SetLightSources(list);
}

std::vector<DynamicLight> Map::CollectDynamicLights() {
    std::vector<DynamicLight> lights;
    const int cx = camera->GetX();
    const int cy = camera->GetY();
    const int cz = camera->GetZ();
    for (const auto& entry : creatures) {
        Creature* creature = entry.second;
        // The light byte is the radius in tiles; 14 and more, and 0, give none.
        if (!creature || creature->position.z != cz || creature->lightByte <= 0 || creature->lightByte > 13)
            continue;
        int ox = 0, oy = 0;
        creature->WalkOffset(&ox, &oy, 16);
        lights.push_back(DynamicLight{float((creature->position.x - cx) * 16 + 8 + ox),
                                      float((creature->position.y - cy) * 16 + 8 + oy),
                                      float(creature->lightByte * 16)});
    }
    if (effects) {
        const uint32_t now = GetTicks();
        for (const EffectList::Record& record : effects->records) {
            const ItemRecord* item = ItemsCache::Instance()->Get(unsigned(record.id));
            if (!item || !item->Has(kItemLightSource))
                continue;
            const float t = EffectList::Progress(record, now);
            const float radius = (1.0f - t) * 48.0f;  // three tiles shrinking to nothing
            if (!(radius > 0.0f))
                continue;
            // A projectile's light moves with it from source to target.
            float x = float(record.x), y = float(record.y);
            if (record.kind == EffectList::kProjectile) {
                x += float(record.targetX - record.x) * t;
                y += float(record.targetY - record.y) * t;
            }
            lights.push_back(DynamicLight{(x - float(cx)) * 16.0f + 8.0f, (y - float(cy)) * 16.0f + 8.0f, radius});
        }
    }
    return lights;
}

void LightMap::Update() {
    KEngine2* application = g_app;
    if (!map || !application || !application->graphics)
        return;
    LightFrame frame;
    frame.cameraZ = map->camera->GetZ();
    frame.stretched = map->tileWidth != 32 || map->tileHeight != 32;
    frame.backEnd = application->engineType;
    frame.originX = (frame.stretched ? 0 : map->viewX) - map->viewOffsetX;
    frame.originY = (frame.stretched ? 0 : map->viewY) - map->viewOffsetY;
    frame.lights = map->CollectDynamicLights();
    Update(frame, application->graphics, application->engine);
}
