#pragma once

#include <map>

#include "game/GameControlIds.h"
#include "sidewindows/SideWindow.h"

// One equipment cell.
struct InventorySlot {
    int slotId = 0;  // the server's equipment slot number
    int x = 0;       // relative to the frame, as shown now
    int y = 0;
    int layoutX = 0;  // in the full window's grid
    int layoutY = 0;
    int placeholder = 0;  // sprite while empty
    int itemId = 0;       // 0 = empty
    int count = 0;
};

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
    // The cell with that slot id: among all twelve, or only the shown ones.
    InventorySlot* FindSlot(int slotId, bool all);
    // The shown cell under a screen point, or null (also while minimised).
    InventorySlot* HitSlot(int x, int y);

    std::map<int, bool> conditions;  // condition id (also its icon's sprite) -> active
    bool expanded = true;
};
