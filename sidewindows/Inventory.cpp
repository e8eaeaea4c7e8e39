#include "sidewindows/Inventory.h"

bool Inventory::HasCondition(int id) const { return conditions.count(id) != 0; }
