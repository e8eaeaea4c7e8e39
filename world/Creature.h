#pragma once

#include "world/Thing.h"

// A player, monster or NPC on the map.
class Creature : public Thing {
public:
    Creature() = default;
    ~Creature() override;

    bool IsCreature() override;
    Creature* AsCreature() override;
};
