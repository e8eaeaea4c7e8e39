#pragma once

#include <map>

#include "game/GameControlIds.h"
#include "sidewindows/SideWindow.h"

// The player's equipment and the strip of active conditions (in combat,
// protection area, ...). Some conditions forbid leaving the game at once.
class Inventory : public SideWindow {
public:
    static constexpr int kWindowId = GameIds::kInventoryWindow;
    static constexpr int kFullHeight = 238;
    static constexpr int kCompactHeight = 103;

    Inventory();
    ~Inventory() override;

    // True when the condition is in the set, whatever its active flag.
    bool HasCondition(int id) const;
    // The full layout (238 px high) or the compact one (103 px).
    void SetExpanded(bool full);
    // The mouse position, and whether an item is being dragged over the slots.
    void SetMouse(int x, int y, bool dragging);

    std::map<int, bool> conditions;  // condition id (also its icon's sprite) -> active
    bool expanded = true;
};
