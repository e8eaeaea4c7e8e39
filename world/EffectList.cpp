#include "world/EffectList.h"

#include <algorithm>
#include <cmath>

#include "engine/Clock.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "world/ItemsCache.h"
#include "world/Map.h"

namespace {

constexpr float kPi = 3.14159265358979f;

int AnimationFrames(int id) {
    const ItemRecord* record = ItemsCache::Instance()->Get(unsigned(id));
    return record ? record->animationFrames : 0;
}

}  // namespace

void EffectList::AddEffect(int x, int y, int z, int id, uint32_t duration) {
    if (duration == 400) {
        const int frames = AnimationFrames(id);
        if (frames > 3)
            duration = uint32_t(std::min(50 * frames + 250, 800));
    }
    Record record;
    record.id = id;
    record.x = x;
    record.y = y;
    record.z = z;
    record.kind = kEffect;
    record.start = GetTicks();
    record.duration = duration;
    Push(record);
}

void EffectList::AddProjectile(int x, int y, int z, int targetX, int targetY, int id) {
    Record record;
    record.id = id;
    record.x = x;
    record.y = y;
    record.z = z;
    record.kind = kProjectile;
    record.targetX = targetX;
    record.targetY = targetY;
    record.start = GetTicks();
    const float dx = float(x - targetX);
    const float dy = float(y - targetY);
    const float squares = std::min(std::sqrt(dx * dx + dy * dy), kMaxFlightSquares);
    record.duration = uint32_t(squares * float(kMsPerSquare));
    const ItemRecord* item = ItemsCache::Instance()->Get(unsigned(id));
    // Only OpenGL draws rotated sprites.
    if (g_app && g_app->engineType == kEngineOpenGL && item && (item->flags & kRotatesFlag))
        record.angle = std::atan2(float(targetY - y), float(targetX - x)) * 180.0f / kPi;
    Push(record);
}

void EffectList::Push(const Record& record) {
    const size_t cap = record.kind == kProjectile ? kMaxProjectiles : kMaxEffects;
    if (Count(record.kind) >= cap) {
        const auto oldest =
            std::find_if(records.begin(), records.end(), [&](const Record& r) { return r.kind == record.kind; });
        records.erase(oldest);
    }
    records.push_back(record);
}

size_t EffectList::Count(int kind) const {
    return size_t(std::count_if(records.begin(), records.end(), [&](const Record& r) { return r.kind == kind; }));
}

void EffectList::Clear() { records.clear(); }

float EffectList::Progress(const Record& record, uint32_t now) {
    // As a fraction in floating point: a whole-number step length would divide
    // by zero in a record's first millisecond (and for a duration shorter than
    // its frame count) and make a projectile jump instead of glide.
    if (record.duration == 0)
        return 1.0f;
    const uint32_t elapsed = std::min(now - record.start, record.duration);
    return float(elapsed) / float(record.duration);
}

void EffectList::Place(const Record& record, uint32_t now, int* px, int* py) {
    *px = record.x * 32;
    *py = record.y * 32;
    if (record.kind == kProjectile) {
        const float t = Progress(record, now);
        *px += int(32.0f * float(record.targetX - record.x) * t);
        *py += int(32.0f * float(record.targetY - record.y) * t);
    }
}

void EffectList::Draw(int z) {
    if (!map || !g_app || !g_app->graphics || !g_app->sprites)
        return;
    const uint32_t now = GetTicks();
    const bool native = map->tileWidth == 32 && map->tileHeight == 32;
    const int originX = (native ? map->viewX : 0) - map->viewOffsetX - map->camera->GetX() * 32;
    const int originY = (native ? map->viewY : 0) - map->viewOffsetY - map->camera->GetY() * 32;
    for (auto it = records.begin(); it != records.end();) {
        Record& record = *it;
        if (now - record.start >= record.duration) {
            it = records.erase(it);
            continue;
        }
        ++it;
        if (record.z != z)
            continue;
        const ItemRecord* item = ItemsCache::Instance()->Get(unsigned(record.id));
        const int frames = item ? item->animationFrames : 0;
        int x = 0, y = 0;
        Place(record, now, &x, &y);
        x += originX;
        y += originY;
        int spriteId = record.id;
        if (record.kind == kEffect) {
            const int frame = int(Progress(record, now) * float(frames + 1));
            spriteId += std::min(std::max(frame, 0), frames);
        } else {
            int direction = record.targetX > record.x ? 3
                            : record.targetX < record.x ? 1
                            : record.targetY < record.y ? 2
                                                        : 0;
            if (record.angle != -1.0f)
                direction = 3;
            int frame = 0;
            if (item) {
                if (item->flags & kUndirectedFlag) {
                    record.angle = -1.0f;
                    direction = 0;
                } else {
                    direction *= frames + 1;
                }
                if (frames > 0)
                    frame = std::min(int((now - record.start) / 250), frames);
            }
            spriteId += direction + frame;
        }
        Sprite* sprite = g_app->sprites->GetSprite(spriteId);
        if (!sprite)
            continue;
        // Larger sprites grow up and left from the square; a sprite narrower
        // than a tile is still drawn a tile wide.
        const int tiles = std::max(1, sprite->width / 32);
        x += (1 - tiles) * 32;
        y += (1 - tiles) * 32;
        if (record.angle != -1.0f)
            g_app->graphics->RenderSprite(sprite, x + 16, y + 16, tiles * 32, tiles * 32, 0, 0, 0, 0, 0, 0,
                                          record.angle, true);
        else
            g_app->graphics->RenderSprite(sprite, x, y, tiles * 32, tiles * 32);
    }
}
