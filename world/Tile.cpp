#include "world/Tile.h"

#include <algorithm>

#include "world/Creature.h"
#include "world/ItemsCache.h"
#include "world/Thing.h"

namespace {

const ItemRecord* RecordOf(Thing* thing) { return ItemsCache::Instance()->Get(unsigned(thing->GetId())); }

bool Unlink(std::vector<Thing*>& list, Thing* thing) {
    auto found = std::find(list.begin(), list.end(), thing);
    if (found == list.end())
        return false;
    list.erase(found);
    return true;
}

// The first item (creatures skipped) for which test is true, walking items
// then top items: the tile's bottom-to-top order without its creatures.
template <class Test>
Thing* FirstItem(const Tile& tile, Test test) {
    for (Thing* thing : tile.items)
        if (test(thing))
            return thing;
    for (Thing* thing : tile.topItems)
        if (test(thing))
            return thing;
    return nullptr;
}

}  // namespace

Tile::~Tile() { Clear(); }

void Tile::AddThing(Thing* thing) {
    if (!thing)
        return;
    if (thing->IsCreature()) {
        if (!HasCreature(thing))
            creatures.insert(creatures.begin(), thing);
        return;
    }
    const ItemRecord* record = RecordOf(thing);
    std::vector<Thing*>& list = record && record->Has(kItemTop) ? topItems : items;
    list.insert(list.begin(), thing);
}

void Tile::AddThings(const std::vector<Thing*>& things) {
    // One by one, each would go to the front: the last of the list ends first.
    // The usual tile holds plain items only.
    bool plain = true;
    for (Thing* thing : things) {
        const ItemRecord* record = thing && !thing->IsCreature() ? RecordOf(thing) : nullptr;
        if (!thing || thing->IsCreature() || (record && record->Has(kItemTop))) {
            plain = false;
            break;
        }
    }
    if (plain) {
        items.insert(items.begin(), things.rbegin(), things.rend());
        return;
    }
    std::vector<Thing*> newItems, newTop;
    for (auto it = things.rbegin(); it != things.rend(); ++it) {
        Thing* thing = *it;
        if (!thing || thing->IsCreature())
            continue;
        const ItemRecord* record = RecordOf(thing);
        (record && record->Has(kItemTop) ? newTop : newItems).push_back(thing);
    }
    items.insert(items.begin(), newItems.begin(), newItems.end());
    topItems.insert(topItems.begin(), newTop.begin(), newTop.end());
    for (Thing* thing : things)
        if (thing && thing->IsCreature())
            AddThing(thing);
}

void Tile::RemoveThing(Thing* thing) {
    if (!Unlink(items, thing) && !Unlink(creatures, thing))
        Unlink(topItems, thing);
}

bool Tile::RemoveItemById(int32_t id) {
    for (std::vector<Thing*>* list : {&items, &topItems}) {
        for (auto it = list->begin(); it != list->end(); ++it) {
            if ((*it)->GetId() == id) {
                list->erase(it);
                return true;
            }
        }
    }
    return false;
}

void Tile::Clear() {
    for (Thing* thing : items)
        delete thing;
    for (Thing* thing : topItems)
        delete thing;
    items.clear();
    topItems.clear();
}

std::vector<Thing*> Tile::GetAllThings() const {
    std::vector<Thing*> all;
    all.reserve(items.size() + creatures.size() + topItems.size());
    all.insert(all.end(), items.begin(), items.end());
    all.insert(all.end(), creatures.begin(), creatures.end());
    all.insert(all.end(), topItems.begin(), topItems.end());
    return all;
}

bool Tile::HasCreature(const Thing* creature) const {
    return std::find(creatures.begin(), creatures.end(), creature) != creatures.end();
}

bool Tile::QueryForPath(bool) const {
    if (items.empty())
        return true;
    const ItemRecord* ground = RecordOf(items.front());
    if (!ground || ground->groundFlag != 1)
        return true;
    const auto blocksWalking = [](Thing* thing) {
        const ItemRecord* record = RecordOf(thing);
        return record && record->Has(kItemBlocksWalking);
    };
    for (Thing* thing : items)
        if (blocksWalking(thing))
            return true;
    for (Thing* thing : creatures) {
        const Creature* creature = thing->AsCreature();
        if (creature && creature->stopped && !(creature->flags & Creature::kPassable))
            return true;
    }
    for (Thing* thing : topItems)
        if (blocksWalking(thing))
            return true;
    return false;
}

bool Tile::QueryForPathDraw(unsigned mask) const {
    return FirstItem(*this, [mask](Thing* thing) {
               if (mask == kItemBlocksPath && thing->GetId() == kItemAlwaysBlocksPath)
                   return true;
               const ItemRecord* record = RecordOf(thing);
               return record && (record->flags & mask) != 0;
           }) != nullptr;
}

Thing* Tile::QueryForAction() const {
    // From the top down: a click target anywhere wins; otherwise the creature
    // met last on the way down, the first of the list.
    for (auto it = topItems.rbegin(); it != topItems.rend(); ++it) {
        const ItemRecord* record = RecordOf(*it);
        if (record && record->Has(kItemClickTarget))
            return *it;
    }
    Thing* found = creatures.empty() ? nullptr : creatures.front();
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        const ItemRecord* record = RecordOf(*it);
        if (record && record->Has(kItemClickTarget))
            return *it;
    }
    return found;
}

bool Tile::QueryForDraw(uint8_t color[4], int* radius) const {
    const Thing* light = FirstItem(*this, [](Thing* thing) {
        const ItemRecord* record = RecordOf(thing);
        return record && record->Has(kItemLightSource);
    });
    if (!light)
        return false;
    struct Light {
        int id;
        uint8_t red, green, blue;
        int radius;
    };
    static const Light kLights[] = {
        {6239, 80, 10, 10, 1}, {1235, 0, 0, 90, 6}, {4449, 0, 0, 90, 6}, {5895, 0, 0, 90, 6},
        {5891, 0, 90, 0, 6},   {6193, 120, 0, 0, 6}, {5901, 90, 20, 20, 6}, {596, 160, 65, 50, 6},
    };
    Light chosen = {0, 80, 30, 0, 6};
    for (const Light& entry : kLights)
        if (entry.id == light->id)
            chosen = entry;
    color[0] = chosen.red;
    color[1] = chosen.green;
    color[2] = chosen.blue;
    color[3] = 255;
    *radius = chosen.radius;
    return true;
}

bool Tile::QueryForTopFloor() const {
    return FirstItem(*this, [](Thing* thing) {
               const ItemRecord* record = RecordOf(thing);
               return record && record->Has(kItemHidesFloorsAbove);
           }) != nullptr;
}

int Tile::GetMinimapColor() const {
    // From the top down; the first item that says something decides.
    const auto decide = [](Thing* thing) {
        const ItemRecord* record = RecordOf(thing);
        if (!record)
            return 0;
        if (record->minimapColor != 0)
            return int(record->minimapColor);
        if (record->Has(kItemBlocksWalking))
            return 3;
        if (record->Has(kItemBlocksPath) || record->Has(kItemBlocksPathSoft))
            return 4;
        return record->groundFlag == 1 ? 6 : 0;
    };
    for (auto it = topItems.rbegin(); it != topItems.rend(); ++it)
        if (const int color = decide(*it))
            return color;
    for (auto it = items.rbegin(); it != items.rend(); ++it)
        if (const int color = decide(*it))
            return color;
    return 100;
}

int Tile::GetSpeed() const {
    for (Thing* thing : items) {
        const ItemRecord* record = RecordOf(thing);
        if (record && record->groundFlag == 1)
            return record->groundSpeed;
    }
    return 100;
}
