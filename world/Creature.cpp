#include "world/Creature.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

#include "engine/Clock.h"
#include "engine/Graphics.h"
#include "engine/GraphicsEngine.h"
#include "engine/KEngine2.h"
#include "engine/Sprite.h"
#include "engine/SpriteStore.h"
#include "world/ItemsCache.h"
#include "world/Map.h"
#include "world/OutfitPalette.h"
#include "world/Tile.h"

namespace {

constexpr float kStepUnits = 150.0f;  // speed units for one tile a second

bool IsDirection(int direction) { return direction >= 1 && direction <= 8; }

// An opaque white copy of an image's shape, made through the active engine.
Sprite* MakeSilhouette(int spriteId) {
    if (!g_app || !g_app->sprites || spriteId <= 0)
        return nullptr;
    const SpriteRecord* source = g_app->sprites->DecodeSprite(uint32_t(spriteId));
    if (!source || !source->pixels || source->width == 0 || source->height == 0)
        return nullptr;
    SpriteRecord white;
    white.width = source->width;
    white.height = source->height;
    const size_t pixels = size_t(source->width) * source->height;
    white.pixels.reset(new (std::nothrow) uint8_t[pixels * 4]);
    if (!white.pixels)
        return nullptr;
    for (size_t i = 0; i < pixels; ++i) {
        const uint8_t value = source->pixels[i * 4 + 3] != 0 ? 255 : 0;
        std::fill_n(white.pixels.get() + i * 4, 4, value);
    }
    Sprite* sprite = new Sprite(white.width, white.height);
    if (g_app->engine)
        g_app->engine->GenerateSprite(sprite, &white, false);
    return sprite;
}

}  // namespace

Creature::Creature(Map* owner) : map(owner) {}

Creature::~Creature() {
    if (spritesBuilt)
        ReleaseTextures();
    DropClone();
}

bool Creature::IsCreature() { return true; }

Creature* Creature::AsCreature() { return this; }

bool Creature::IsFollowed() const { return map && map->camera->creature == this; }

void Creature::SetOutfit(const int values[kOutfitValues]) {
    if (std::equal(values, values + kOutfitValues, outfit))
        return;
    ReleaseTextures();
    std::copy(values, values + kOutfitValues, outfit);
}

bool Creature::ReleaseTextures() {
    // Coloured frames were made for this creature; the others belong to the
    // sprite store. Deleting a sprite hands its image back to its engine.
    const bool made = IsColorableOutfit(outfit[0]);
    for (int i = 0; i < kSpriteSlots; ++i) {
        if (made)
            delete sprites[i];
        sprites[i] = nullptr;
        delete glowSprites[i];
        glowSprites[i] = nullptr;
    }
    spritesBuilt = 0;
    return true;
}

Sprite* Creature::GetOutfitSprite() { return OutfitPalette::Instance()->MakeColoredSprite(outfit[0], 12, 0, outfit); }

void Creature::WalkOffset(int* dx, int* dy, int tile) {
    const float progress = walkProgress;
    const int a = int(progress * float(tile) - float(tile));
    int b = int(float(tile) - progress * float(tile));
    // The clone stands one tile further along. (A name may be empty on any
    // creature the server sends: only the flag tells a clone.)
    if (IsClone())
        b -= tile;
    switch (direction) {
    case 1: *dx = 0; *dy = a; break;
    case 2: *dx = b; *dy = 0; break;
    case 3: *dx = 0; *dy = b; break;
    case 4: *dx = a; *dy = 0; break;
    case 5: *dx = b; *dy = a; break;
    case 6: *dx = b; *dy = b; break;
    case 7: *dx = a; *dy = b; break;
    case 8: *dx = a; *dy = a; break;
    default: break;
    }
}

void Creature::BuildSprites() {
    const bool colored = IsColorableOutfit(outfit[0]);
    const int pose = GetOutfitPoseSprite(outfit[0]);
    SpriteStore* store = g_app ? g_app->sprites : nullptr;
    for (int group = 0; group < 4; ++group) {
        const struct {
            int slot, id, layerOffset;
        } frames[4] = {
            {3 * group, outfit[0] + 3 * group, 12},
            {3 * group + 1, outfit[0] + 3 * group + 1, 12},
            {3 * group + 2, outfit[0] + 3 * group + 2, 12},
            {12 + group, pose + group, 4},
        };
        for (const auto& frame : frames) {
            if (colored)
                sprites[frame.slot] = OutfitPalette::Instance()->MakeColoredSprite(frame.id, frame.layerOffset, group,
                                                                                   outfit);
            else
                sprites[frame.slot] = store ? store->GetSprite(frame.id) : nullptr;
            if (flags & kEnraged)
                glowSprites[frame.slot] = MakeSilhouette(frame.id);
        }
    }
    spritesBuilt = 1;
}

void Creature::DrawOutfit(int x, int y, int pose) {
    if (IsClone()) {
        cloneOf->DrawOutfit(x, y, pose);
        return;
    }
    if (!spritesBuilt)
        BuildSprites();

    // A facing the server should never send is drawn facing down.
    const int facing = IsDirection(direction) ? direction : 1;
    int group;
    if (facing == 5 || facing == 6)
        group = 1;
    else if (facing == 7 || facing == 8)
        group = 3;
    else
        group = facing - 1;
    int slot = 3 * group;
    if (walkProgress < 0.25f)
        slot += 1;
    else if (walkProgress < 0.5f)
        slot += 2;
    else if (walkProgress < 0.75f)
        slot += 1;
    else if (walkProgress < 1.0f)
        slot += 2;
    if (walkProgress >= 1.0f && pose > 0) {
        slot = std::min(pose + 11, kSpriteSlots - 1);
        x += 12;
        y += 12;
        drawOrder -= 2;
    }
    const ItemRecord* record = ItemsCache::Instance()->Get(unsigned(outfit[0]));
    if (record && record->Has(kItemAnimatedOutfit))
        slot = 2 * group + int((GetTicks() / 300) % 2);

    Sprite* sprite = sprites[slot];
    Graphics* graphics = g_app ? g_app->graphics : nullptr;
    if (!sprite || !graphics)
        return;
    // Large figures grow up and to the left from the tile's bottom-right corner.
    if (sprite->width > 32)
        x += 32 - 32 * (sprite->width / 32);
    if (sprite->height > 32)
        y += 32 - 32 * (sprite->height / 32);

    if ((flags & kEnraged) && glowSprites[slot]) {
        const double swing = (std::sin(double(GetTicks()) / 200.0) + 1.0) * 0.5 * 255.0;
        const uint32_t alpha = uint32_t(std::clamp(int(swing), 0, 255));
        graphics->SetColor(alpha << 24 | 0x1E1EFFu);  // red 255, green 30, blue 30
        Sprite* glow = glowSprites[slot];
        graphics->RenderSprite(glow, x - 3, y);
        graphics->RenderSprite(glow, x + 3, y);
        graphics->RenderSprite(glow, x, y - 3);
        graphics->RenderSprite(glow, x, y + 3);
        graphics->SetColor(0xFFFFFFFFu);
    }
    graphics->RenderSprite(sprite, x, y);
}

void Creature::Step() {
    if (walkProgress < 1.0f || !IsDirection(direction))
        return;
    walkProgress = 0.0f;
    stopped = 0;
    Clone();
    const Position target = Position::Step(position, direction, false);
    const int topBefore = map ? map->ComputeTopFloor() : 0;
    MoveTo(position, target);
    stepStart = GetMilliseconds();
    if (direction > 4)
        lastDiagonalStep = GetMilliseconds();
    if (IsFollowed())
        map->floorFade = map->Hooks().FloorFading() ? map->ComputeTopFloor() - topBefore : 0;
}

bool Creature::CanMove(int dir) {
    const Position target = Position::Step(position, dir, false);
    Tile* tile = map ? map->GetTile(target.x, target.y, target.z) : nullptr;
    if (!tile)
        return false;
    if (privilegeLevel > 2)
        return true;
    return !tile->QueryForPath(true);
}

void Creature::MoveTo(Position from, Position to) {
    if (map) {
        if (Tile* tile = map->GetTile(from.x, from.y, from.z))
            tile->RemoveThing(this);
        if (Tile* tile = map->GetTile(to.x, to.y, to.z))
            tile->AddThing(this);
    }
    SetPosition(to.x, to.y, to.z);
    if (IsFollowed()) {
        const int delta[2] = {from.x - to.x, from.y - to.y};
        map->ShiftGrid(delta);
        map->CollectLightSources();
    }
}

void Creature::Animate(float rate) {
    Creature* stepClone = clone ? clone->AsCreature() : nullptr;
    if (walkProgress >= 1.0f) {
        walkProgress = 1.0f;
        if (stepClone)
            stepClone->walkProgress = 1.0f;
        if (stopped && clone)
            DropClone();
        return;
    }

    float v = speed;
    if (direction > 4 && map && map->Hooks().SmoothSidestep())
        v /= 2.5f;
    if (map)
        if (Tile* tile = map->GetTile(position.x, position.y, position.z))
            v = v * float(tile->GetSpeed()) / 100.0f;

    if (v <= 0.0f) {
        // A creature (or ground) of speed 0 would never arrive: the step ends now.
        walkProgress = 1.0f;
    } else if (!map || map->Hooks().TimerMovement()) {
        const uint64_t elapsed = GetMilliseconds() - stepStart;
        walkProgress = (float(elapsed) / 1000.0f) * (v / kStepUnits);
    } else {
        // No frame rate measured yet: nothing to advance by.
        if (!(rate > 0.0f))
            return;
        walkProgress += (v / kStepUnits) / rate;
    }
    if (stepClone)
        stepClone->walkProgress = walkProgress;

    if (walkProgress >= 1.0f) {
        if (!stopped) {
            walkProgress = 1.0f;
            if (stepClone)
                stepClone->walkProgress = 1.0f;
        } else if (clone) {
            walkProgress = 1.0f;
            DropClone();
        }
    }
}

void Creature::UndoStep() {
    MoveTo(position, Position::Step(position, direction, true));
    stopped = 1;
    walkProgress = 1.0f;
    DropClone();
}

void Creature::FinishWalk() {
    if (!clone)
        return;
    stopped = 1;
    walkProgress = 1.0f;
    DropClone();
}

void Creature::StopWalk() {
    if (stopped)
        return;
    if (IsFollowed())
        map->RemoveStaleCreatures();
    stopped = 1;
}

void Creature::Clone() {
    DropClone();
    const Position p = position;
    const Position t = Position::Step(p, direction, false);
    const int s = (p.x - t.x) + (p.y - t.y);
    Position spot;
    if (s < 0)
        spot = t;
    else if (s > 0)
        spot = p;
    else
        spot = Position{t.x + std::max(t.y - p.y, 0), t.y + std::max(t.x - p.x, 0), t.z};
    Tile* tile = map ? map->GetOrCreateTile(spot) : nullptr;
    if (!tile)
        return;
    Creature* made = new Creature(map);
    made->cloneOf = this;
    made->id = id;
    made->direction = direction;
    made->position = spot;
    made->stopped = 0;
    made->walkProgress = 0.0f;
    clone = made;
    tile->AddThing(made);
}

void Creature::SyncTileThing() {
    if (!clone || !map)
        return;
    const Position at = clone->GetPosition();
    Tile* tile = map->GetTile(at.x, at.y, at.z);
    if (tile && !tile->HasCreature(clone))
        tile->AddThing(clone);
}

void Creature::ReleaseAttached() {
    delete clone;
    clone = nullptr;
}

void Creature::DropClone() {
    if (!clone)
        return;
    if (map) {
        const Position at = clone->GetPosition();
        if (Tile* tile = map->GetTile(at.x, at.y, at.z))
            tile->RemoveThing(clone);
    }
    delete clone;
    clone = nullptr;
}
