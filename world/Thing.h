#pragma once

#include <cstdint>

#include "world/Position.h"

class Creature;

// Every object that lies on the map: an item on a tile, or a creature.
class Thing {
public:
    Thing() = default;
    virtual ~Thing();

    virtual bool IsCreature();
    // Code that needs creature fields asks for them here instead of casting.
    virtual Creature* AsCreature();
    virtual Position GetPosition();
    virtual void SetPosition(int32_t x, int32_t y, int32_t z);

    Position position;
    int32_t id = 0;
    int32_t count = 1;  // stack size, 1 to 100
};
