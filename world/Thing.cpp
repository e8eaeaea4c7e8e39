#include "world/Thing.h"

#include "engine/Clock.h"
#include "world/ItemsCache.h"

Thing::~Thing() = default;

void Thing::SetId(int32_t newId) { id = newId; }

int32_t Thing::SetCount(int32_t newCount) {
    count = newCount > 99 ? 100 : newCount < 2 ? 1 : newCount;
    return count;
}

int32_t Thing::GetId() { return id; }

int32_t Thing::GetCount() { return count; }

bool Thing::IsCreature() { return false; }

Creature* Thing::AsCreature() { return nullptr; }

Position Thing::GetPosition() { return position; }

void Thing::SetPosition(int32_t x, int32_t y, int32_t z) {
    position.x = x;
    position.y = y;
    position.z = z;
}

int GetItemDisplayId(int itemId, int count) {
    const ItemRecord* record = ItemsCache::Instance()->Get(unsigned(itemId));
    if (!record)
        return itemId;
    if (count >= 2 && record->Has(kItemStackable) && !record->Has(kItemSingleSpriteStack)) {
        if (count <= 4)
            return itemId + count - 1;
        return itemId + (count < 20 ? 4 : 5);
    }
    const uint32_t frames = record->animationFrames;
    if (frames == 0)
        return itemId;
    // Every item of a type shows the same frame: they share the clock.
    const uint32_t period = 1000 / (frames + 1);
    return itemId + int((GetTicks() / period) % (frames + 1));
}
