#pragma once

#include <cstdint>

#include "world/Position.h"

class Creature;

// Every object that lies on the map: an item on a tile (a plain Thing), or a
// creature. Made with new; owned by the tile that lists it (items) or by the
// map's creature table (creatures).
class Thing {
public:
    Thing() = default;
    Thing(int32_t itemId, int32_t itemCount) : id(itemId) { SetCount(itemCount); }
    virtual ~Thing();
    Thing(const Thing&) = delete;
    Thing& operator=(const Thing&) = delete;

    virtual void SetId(int32_t newId);
    // Stores the count clamped to 1..100 and returns it.
    virtual int32_t SetCount(int32_t newCount);
    virtual int32_t GetId();
    virtual int32_t GetCount();
    virtual bool IsCreature();
    // Code that needs creature fields asks for them here instead of casting.
    virtual Creature* AsCreature();
    virtual Position GetPosition();
    virtual void SetPosition(int32_t x, int32_t y, int32_t z);

    Position position;
    int32_t id = 0;     // item id, or creature id
    int32_t count = 1;  // stack size, 1 to 100
};

// The sprite an item is drawn with: a stack of a stackable item shows one of
// five stack pictures (id + 1 .. id + 5); otherwise an animated item shows its
// frames in turn on the shared clock, about one cycle a second. Items the
// cache does not know show their own id.
int GetItemDisplayId(int itemId, int count);
