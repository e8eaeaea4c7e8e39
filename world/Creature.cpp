#include "world/Creature.h"

Creature::~Creature() = default;

bool Creature::IsCreature() { return true; }

Creature* Creature::AsCreature() { return this; }
