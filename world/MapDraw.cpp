// The map view's layout and drawing: the floors bottom first, each tile's
// things in their stacking order, the creatures with their target marks, and
// over the light the names, health bars, icons and the progress bar.
//
// Every position is drawn in 32-pixel units; the view origin is added only
// when the tiles are 32 pixels, otherwise the picture goes into the game
// screen's buffer at (0, 0) and is scaled from there.
#include "world/Map.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/Clock.h"
#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "world/Creature.h"
#include "world/EffectList.h"
#include "world/ItemsCache.h"
#include "world/Thing.h"
#include "world/Tile.h"

namespace {

// Items that are never drawn, on a tile, as the fading mark or as the marker.
bool IsHidden(int id) { return id == 1117 || id == 1118 || id == 1804 || id == 1805; }

int ClampByte(int value) { return std::min(255, std::max(0, value)); }

uint32_t WhiteWithAlpha(int alpha) { return uint32_t(ClampByte(alpha)) << 24 | 0xFFFFFF; }

uint32_t Rgb(int red, int green, int blue) {
    return 0xFF000000u | uint32_t(ClampByte(red)) | uint32_t(ClampByte(green)) << 8 |
           uint32_t(ClampByte(blue)) << 16;
}

// Floor-division remainder: the pattern of a large ground repeats the same
// way on both sides of 0.
int Mod(int value, int n) { return ((value % n) + n) % n; }

constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kProgressGrey = 0xFFC8C8C8;

}  // namespace

KEngine2* Map::App() const { return app ? app : g_app; }

void Map::LayoutView(int width, int height, int bottomReserved, const ViewSurround& surround) {
    int left = surround.leftPanelWidth + 4;
    int right = width - surround.rightPanelWidth - 4;
    int top = 4;
    int bottom = height - bottomReserved - 4;
    switch (surround.hotkeySide) {
    case 0: left += surround.hotkeyThickness; break;
    case 1: right -= surround.hotkeyThickness; break;
    case 2: top = surround.hotkeyThickness + 4; break;
    case 3: bottom -= surround.hotkeyThickness; break;
    default: break;
    }
    switch (surround.statBarPosition) {
    case 1: left += 20; right -= 20; break;
    case 2: top += 20; break;
    case 3: bottom -= 20; break;
    default: break;
    }
    const int w = right - left;
    const int h = bottom - top;
    int tile = 32;
    if (surround.stretching)
        tile = std::max(1, std::min(h / kViewRows, w / kViewColumns));
    viewX = (w - kViewColumns * tile) / 2 + left;
    viewY = (h - kViewRows * tile) / 2 + top;
    tileWidth = tileHeight = tile;
}

void Map::Draw() {
    KEngine2* application = App();
    if (!application || !application->graphics)
        return;
    Graphics* graphics = application->graphics;
    const int cz = camera->GetZ();
    const int cx = camera->GetX();
    const int cy = camera->GetY();
    // Floors to visit, bottom first.
    int first = 7, last = 0;
    if (cz >= 8) {
        first = std::min(cz + 2, kFloors - 1);
        last = cz - 2;
    }
    if (cz < 0 || cz >= kFloors)
        return;  // no floor to draw from

    const int top = ComputeTopFloor();
    const Creature* player = camera->creature;
    const bool walking = player && (player->walkProgress < 1.0f || !player->stopped);
    int lowest = top;
    int fading = -1000;
    if (walking)
        fading = floorFade > 0 ? top - 1 : top - floorFade - 1;
    if (walking && floorFade > 0)
        lowest = top - floorFade;

    bool tinted = false;
    for (int z = first; z >= last; --z) {
        if (z < lowest)
            continue;
        if (z == fading && floorFade != 0 && walking) {
            const float p = player->walkProgress;
            const int alpha = floorFade > 0 ? int(255.0f - p * 255.0f) : int(p * 255.0f);
            graphics->SetColor(WhiteWithAlpha(alpha));
            tinted = true;
        }
        for (int vx = -1; vx <= 20; ++vx) {
            for (int vy = -1; vy <= 16; ++vy) {
                const int x = cx + vx;
                const int y = cy + vy;
                if (Tile* tile = GetTile(x, y, z))
                    DrawTile(tile, vx, vy, z);
                if (markerPos.x == x && markerPos.y == y && markerPos.z == z && !IsHidden(markerItemId))
                    DrawItem(markerItemId, 1, vx, vy, z, 0);
            }
        }
        if (effects)
            effects->Draw(z);
    }
    if (tinted)
        graphics->SetColor(0xFFFFFFFF);
}

void Map::DrawTile(Tile* tile, int vx, int vy, int z) {
    const std::vector<Thing*> things = tile->GetAllThings();
    int elevation = 0;
    int kind = 0;
    int kindId = 0;
    bool toggle = false;
    int index = 0;
    for (Thing* thing : things) {
        if (Creature* creature = thing->AsCreature()) {
            DrawCreature(creature, vx, vy, z, elevation, kind);
            if ((kind == 2 || kind == 3) && kindId > 0) {
                Thing overlay(kind == 2 ? 387 : 386, 1);
                int overlayKind = kind;
                int overlayKindId = kindId;
                DrawThing(&overlay, vx, vy, z, elevation - 1, &overlayKind, &overlayKindId);
            }
        } else {
            DrawThing(thing, vx, vy, z, elevation, &kind, &kindId);
            const ItemRecord* record = ItemsCache::Instance()->Get(unsigned(thing->GetId()));
            if (record && record->Has(kItemElevates))
                elevation = std::min(elevation + 1, 4);
        }
        // A kind set by an item applies to the next thing only.
        if (kind > 0) {
            if (toggle) {
                kind = 0;
                toggle = false;
            } else {
                toggle = true;
            }
        }
        if (++index == 1 && z == camera->GetZ() && tile->markItemId > 0) {
            const uint32_t elapsed = GetTicks() - uint32_t(tile->markTick);
            if (elapsed < 500) {
                KEngine2* application = App();
                application->graphics->SetColor(WhiteWithAlpha(255 - int(float(elapsed) / 500.0f * 255.0f)));
                if (!IsHidden(tile->markItemId))
                    DrawItem(tile->markItemId, 1, vx, vy, z, 0);
                application->graphics->SetColor(0xFFFFFFFF);
            }
        }
    }
    if (things.size() == 1 && things[0]->GetId() == 6239 && effects && random && random() % 15000 == 10)
        effects->AddEffect(camera->GetX() + vx, camera->GetY() + vy, z, 6231, 800);
}

void Map::DrawThing(Thing* thing, int vx, int vy, int z, int elevation, int* kind, int* kindId) {
    const int id = thing->GetId();
    if (!IsHidden(id))
        DrawItem(id, thing->GetCount(), vx, vy, z, elevation);
    if (id >= 269 && id <= 272) {
        *kind = id - 268;
        *kindId = id;
    } else if (id == 2964 || id == 2965 || id == 6806) {
        *kind = 1;
    } else if (id == 2966 || id == 2967) {
        *kind = 4;
    } else if (id == 3006 || id == 3007) {
        *kind = 3;
    } else if (id == 3008 || id == 3009) {
        *kind = 2;
    }
}

void Map::DrawItem(int id, int count, int vx, int vy, int z, int elevation) {
    KEngine2* application = App();
    if (!application || !application->graphics || !application->sprites)
        return;
    int spriteId = id;
    if (const ItemRecord* record = ItemsCache::Instance()->Get(unsigned(id))) {
        const int x = camera->GetX() + vx;
        const int y = camera->GetY() + vy;
        if (record->groundFlag == 1 && record->patternSize > 32) {
            const int n = record->patternSize / 32;
            id += Mod(x, n) + n * Mod(y, n);
        }
        if (record->animationFrames != 0 && id == 5617) {
            // An emitter: nothing of its own to draw, now and then a sparkle.
            if (effects && random && random() % 1000 == 10)
                effects->AddEffect(x, y, z, 5617, 1000);
            return;
        }
        spriteId = GetItemDisplayId(id, count);
        if (record->Has(kItemTop) || (spriteId >= 6846 && spriteId <= 6855))
            elevation = 0;
    } else {
        spriteId = GetItemDisplayId(id, count);
    }
    Sprite* sprite = application->sprites->GetSprite(spriteId);
    if (!sprite)
        return;
    // Large sprites hang up and left from the tile's bottom-right corner.
    if (sprite->width > 32)
        vx = vx - sprite->width / 32 + 1;
    if (sprite->height > 32)
        vy = vy - sprite->height / 32 + 1;
    const bool native = tileWidth == 32 && tileHeight == 32;
    const int originX = native ? viewX : 0;
    const int originY = native ? viewY : 0;
    application->graphics->RenderSprite(sprite, vx * 32 + originX - viewOffsetX - 8 * elevation,
                                        vy * 32 + originY - viewOffsetY - 8 * elevation);
}

void Map::DrawCreature(Creature* creature, int vx, int vy, int, int elevation, int kind) {
    if (!creature)
        return;
    if (creature->clone) {
        // The clone stands on the tile drawn later and draws the figure.
        creature->SyncTileThing();
        return;
    }
    KEngine2* application = App();
    if (!application || !application->graphics || !application->sprites)
        return;
    Graphics* graphics = application->graphics;
    int ox = 0, oy = 0;
    creature->WalkOffset(&ox, &oy, 32);
    const bool native = tileWidth == 32 && tileHeight == 32;
    const int px = vx * 32 - viewOffsetX + ox - 8 * elevation + (native ? viewX : 0);
    const int py = vy * 32 - viewOffsetY + oy - 8 * elevation + (native ? viewY : 0);
    creature->drawOrder = elevation;

    const uint32_t id = uint32_t(creature->id);
    const int frame = int(((GetTicks() - targetStamp) % 400) / 50);
    int mark = 0;
    if (attackTargetId != 0 && id == attackTargetId)
        mark = 3210 + frame;
    else if (hoverTargetId != 0 && id == hoverTargetId)
        mark = 3201 + frame;
    if (mark)
        graphics->RenderSprite(application->sprites->GetSprite(mark), px, py, 32, 32);
    if (followTargetId != 0 && id == followTargetId)
        graphics->RenderSprite(application->sprites->GetSprite(3218 + frame), px, py, 32, 32);

    creature->DrawOutfit(px - 8, py - 8, kind);

    if ((creature->flags & Creature::kMarked) || (creature->cloneOf && (creature->cloneOf->flags & Creature::kMarked)))
        graphics->RenderSprite(application->sprites->GetSprite(2032), px + 10, py - 13, 18, 18);
}

void Map::DrawCreatures() {
    KEngine2* application = App();
    if (!application || !application->graphics)
        return;
    Graphics* graphics = application->graphics;
    SpriteStore* sprites = application->sprites;
    const Font* font = application->font;
    const int cx = camera->GetX();
    const int cy = camera->GetY();
    const int cz = camera->GetZ();
    const int sx = viewOffsetX * tileWidth / 32;
    const int sy = viewOffsetY * tileWidth / 32;
    const float scale = float(tileWidth) / 32.0f;
    const uint32_t now = GetTicks();

    for (const auto& entry : creatures) {
        Creature* creature = entry.second;
        if (!creature || creature->position.z != cz)
            continue;
        int ox = 0, oy = 0;
        creature->WalkOffset(&ox, &oy, 32);
        // The figure is drawn as high as the things under its clone lift it.
        const Creature* last = creature;
        for (int guard = 0; last->clone && last->clone->AsCreature() && guard < 8; ++guard)
            last = last->clone->AsCreature();
        const int d = last->drawOrder;
        const int centreX = (creature->position.x - cx) * tileWidth + tileWidth / 2 - tileWidth / 4 + viewX +
                            int(float(ox) * scale) - sx - d * tileWidth / 4;
        const int topY = (creature->position.y - cy) * tileHeight - tileHeight / 4 + viewY - 20 +
                         int(float(oy) * scale) - sy - d * tileHeight / 4;

        // Health is a server byte up to 255: drawn as 0 to 100 so that the
        // colour stays within its channels and the bar within its frame.
        const int health = std::min(100, std::max(0, int(creature->health)));
        uint32_t colour;
        if (creature->privilegeLevel > 2)
            colour = Rgb(0, 190, 255);
        else if (application->engineType == kEngineDirectDraw)
            colour = Rgb(220, 200, 70);
        else
        {
            const float h = float(health) / 100.0f;
            colour = Rgb(220, int(200.0f * h), int(70.0f * h));
        }

        const int textWidth = font ? font->GetTextWidth(creature->name) : 0;
        const int nameLeft = centreX - textWidth / 2;
        graphics->RenderText(creature->name, nameLeft, topY, colour);

        const int barLeft = nameLeft + textWidth / 2 - 15;
        graphics->RenderRectangle(kBlack, barLeft, topY + 15, 30, 4);
        graphics->RenderRectangle(colour, barLeft + 1, topY + 16, int(0.28f * float(health)), 2);

        int icons[4];
        int n = 0;
        if ((creature->flags & 0x10) && creature->name != "Outlaw")
            icons[n++] = 6610;
        if (Hooks().IsPartyMember(creature->name))
            icons[n++] = 6608;
        if (creature->flags & 0x04)
            icons[n++] = 6609;
        if (creature->flags & 0x20)
            icons[n++] = 6611;
        int iconX = barLeft + 7 * n + 22;
        for (int i = 0; i < n; ++i, iconX -= 14) {
            if (!sprites)
                break;
            if (icons[i] == 6609) {
                const double pulse = (std::sin(double(now) / 200.0) + 1.0) * 0.5 * 128.0;
                graphics->SetColor(uint32_t(ClampByte(int(pulse))) << 24 | 0x00FFFF);
                graphics->RenderSprite(sprites->GetSprite(1104), iconX - 4, topY + 16, 20, 20);
                graphics->SetColor(0xFFFFFFFF);
            }
            graphics->RenderSprite(sprites->GetSprite(icons[i]), iconX, topY + 20, 12, 12);
        }
    }

    if (barVisible > 0) {
        const int x = tileWidth / 2 + (barPos.x - cx) * tileWidth + viewX - sx;
        const int y = tileHeight / 2 + (barPos.y - cy) * tileHeight + viewY - sy;
        // The value is a server byte: drawn as 0 to 100, within the frame.
        const int percent = std::min(100, std::max(0, int(barPercent)));
        graphics->RenderRectangle(kBlack, x - 16, y - 4, 32, 6);
        graphics->RenderRectangle(kProgressGrey, x - 15, y - 3, int(0.3f * float(percent)), 4);
    }
}

void Map::DrawLight(uint32_t colour, float amount) {
    KEngine2* application = App();
    if (!application || !application->graphics || application->engineType == kEngineDirectDraw)
        return;
    const int alpha = ClampByte(int(amount * 255.0f));
    const bool native = tileWidth == 32 && tileHeight == 32;
    application->graphics->RenderRectangle((colour & 0x00FFFFFF) | uint32_t(alpha) << 24, native ? viewX : 0,
                                           native ? viewY : 0, 544, 416);
}
