#pragma once

#include <map>

#include "sidewindows/SideWindow.h"

// The player's equipment and the strip of active conditions (in combat,
// protection area, ...). Some conditions forbid leaving the game at once.
class Inventory : public SideWindow {
public:
    Inventory() = default;

    // True when the condition is in the set, whatever its active flag.
    bool HasCondition(int id) const;

    std::map<int, bool> conditions;  // condition id (also its icon's sprite) -> active
};
