#include "world/Thing.h"

Thing::~Thing() = default;

bool Thing::IsCreature() { return false; }

Creature* Thing::AsCreature() { return nullptr; }

Position Thing::GetPosition() { return position; }

void Thing::SetPosition(int32_t x, int32_t y, int32_t z) {
    position.x = x;
    position.y = y;
    position.z = z;
}
