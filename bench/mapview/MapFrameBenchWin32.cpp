// Draws the game view with one back end in a real window, 100 times after a
// warm-up, and prints the median time of the map view's share of a frame:
// Map::Draw + LightMap::Update + Map::DrawCreatures. The view is full: 17 x 13
// tiles on floor 7 with two floors above drawn, about 600 items, 20 creatures
// with names and health bars, 10 effects, darkness 60 with 8 light sources.
// Usage: bench_mapview <engine type>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/Sprite.h"
#include "engine/SpriteStore.h"
#include "tools/gfxgen/GfxWriter.h"
#include "world/Camera.h"
#include "world/Creature.h"
#include "world/EffectList.h"
#include "world/ItemsCache.h"
#include "world/LightMap.h"
#include "world/Map.h"
#include "world/Thing.h"
#include "world/Tile.h"

namespace {

const int kWarmUp = 10;
const int kFrames = 100;
const int kGround = 100, kItem = 200, kTorch = 210, kEffect = 220, kMonster = 600;

GfxImage Solid(int w, int h, uint32_t rgba, bool disc) {
    GfxImage image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int dx = x - w / 2, dy = y - h / 2;
            if (!disc || dx * dx + dy * dy < (w / 2 - 1) * (w / 2 - 1))
                image.Set(x, y, rgba);
        }
    return image;
}

GfxImage GlyphSheet() {
    GfxImage image(512, 128);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 512; ++x)
            if (x % 16 >= 1 && x % 16 <= 6 && y % 16 >= 3 && y % 16 <= 12)
                image.Set(x, y, 0xFFFFFFFF);
    return image;
}

void Record(int id, uint8_t ground, uint32_t flags, uint8_t frames) {
    auto* record = new ItemRecord();
    record->groundFlag = ground;
    record->flags = flags;
    record->animationFrames = frames;
    ItemsCache::Instance()->Set(record, uint16_t(id));
}

}  // namespace

int main(int argc, char** argv) {
    const int type = argc > 1 ? std::atoi(argv[1]) : 2;
    KEngine2 app;
    app.SetSize(800, 600);
    app.SetTitle("Velmora map view benchmark", true);
    if (!app.CreateMainWindow(false) || !app.CreateGraphicsEngine(type)) {
        std::fprintf(stderr, "engine %d does not start\n", type);
        return 1;
    }
    app.PumpMessages();

    GfxWriter writer;
    writer.Put(2, GlyphSheet());
    writer.Put(kGround, Solid(32, 32, 0xFF306030, false));
    for (int i = 0; i < 5; ++i)
        writer.Put(kItem + i, Solid(32, 32, 0xFF2080C0 + uint32_t(i) * 0x101010, true));
    writer.Put(kTorch, Solid(32, 32, 0xFF20A0F0, true));
    for (int i = 0; i < 5; ++i)
        writer.Put(kEffect + i, Solid(32, 32, 0xC0F0F0F0, true));
    for (int i = 0; i < 16; ++i)
        writer.Put(kMonster + i, Solid(32, 32, 0xFF4040C0, true));
    const std::string path = "bench_mapview.gfx";
    writer.Write(path, 1500000000);
    app.sprites->Load(path);
    std::remove(path.c_str());
    app.SetFont(app.sprites->DecodeSprite(2), true);

    Record(kGround, 1, 0, 0);
    for (int i = 0; i < 5; ++i)
        Record(kItem + i, 0, 0, 0);
    Record(kTorch, 0, 0x01, 0);
    Record(kEffect, 0, 0, 4);

    Map map;
    map.viewX = 128;
    map.viewY = 40;
    EffectList effects;
    map.effects = &effects;
    effects.map = &map;
    map.random = [] { return 0; };

    auto* player = new Creature(&map);
    player->id = 1;
    player->name = "Player";
    player->SetPosition(100, 100, 7);
    player->outfit[0] = kMonster;
    map.playerId = 1;
    map.AddCreature(player);
    map.camera->SetCreature(player);
    const int cx = map.camera->GetX(), cy = map.camera->GetY();

    int items = 0;
    for (int dx = -1; dx <= 20; ++dx)
        for (int dy = -1; dy <= 16; ++dy) {
            Tile* tile = map.GetOrCreateTile(Position{cx + dx, cy + dy, 7});
            if (!tile)
                continue;
            tile->AddThing(new Thing(kGround, 1));
            ++items;
            if ((dx * 7 + dy * 3) % 4 == 0) {
                tile->AddThing(new Thing(kItem + (dx + dy + 20) % 5, 1));
                ++items;
            }
        }
    // Two floors above, never right over the player (that would hide them).
    for (int z = 6; z >= 5; --z)
        for (int dx = 0; dx < 17; ++dx)
            for (int dy = 0; dy < 13; ++dy)
                if ((dx + dy * 2 + z) % 5 == 0 && !(dx == 8 && dy == 6)) {
                    map.GetOrCreateTile(Position{cx + dx, cy + dy, z})->AddThing(new Thing(kItem + dx % 5, 1));
                    ++items;
                }
    for (int i = 0; i < 8; ++i)
        map.GetTile(cx + 1 + i * 2, cy + 1 + (i % 4) * 3, 7)->AddThing(new Thing(kTorch, 1));
    for (int i = 0; i < 20; ++i) {
        auto* creature = new Creature(&map);
        creature->id = 100 + i;
        creature->name = "Creature " + std::to_string(i);
        creature->health = 5 * i;
        creature->outfit[0] = kMonster;
        creature->lightByte = i % 3 == 0 ? 3 : 0;
        creature->SetPosition(cx + (i * 7) % 17, cy + (i * 5) % 13, 7);
        map.AddCreature(creature);
        if (Tile* tile = map.GetTile(creature->position.x, creature->position.y, 7))
            tile->AddThing(creature);
    }
    for (int i = 0; i < 10; ++i)
        effects.AddEffect(cx + i, cy + i, 7, kEffect, 100000000);

    LightMap* light = LightMap::Instance();
    light->map = &map;
    light->SetDarkness(60);
    map.CollectLightSources();

    Graphics& g = *app.graphics;
    std::vector<double> times, frames;
    for (int frame = 0; frame < kWarmUp + kFrames; ++frame) {
        const auto start = std::chrono::steady_clock::now();
        double view = 0;
        if (g.BeginScene()) {
            g.ClearScene(0xFF000000u);
            const auto t0 = std::chrono::steady_clock::now();
            map.Draw();
            light->Update();
            map.DrawCreatures();
            view = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            g.EndScene();
        }
        app.PumpMessages();
        const auto end = std::chrono::steady_clock::now();
        if (frame >= kWarmUp) {
            times.push_back(view);
            frames.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        }
    }
    std::sort(times.begin(), times.end());
    std::sort(frames.begin(), frames.end());
    std::printf("engine %d median %.2f ms (map view; whole frame %.2f ms) items %d light sources %zu\n", type,
                times[times.size() / 2], frames[frames.size() / 2], items, light->sources.size());
    light->map = nullptr;
    map.camera->SetCreature(nullptr);
    return 0;
}
