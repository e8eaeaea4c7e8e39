#pragma once

#include <map>
#include <string>
#include <vector>

#include "game/GameControlIds.h"
#include "sidewindows/SideWindow.h"

class GUIButton;

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
    static constexpr int kExpandButtonId = 147;
    static constexpr int kCells = 12;
    static constexpr int kProtectionArea = 6448;
    // Tooltip keys 300 .. 319: conditions past the twentieth get no tooltip.
    static constexpr int kFirstTooltipKey = 300;
    static constexpr int kTooltips = 20;

    Inventory();
    ~Inventory() override;

    // True when the condition is in the set, whatever its active flag.
    bool HasCondition(int id) const;
    void ClearConditions();
    // Inserts the condition if absent and marks it active.
    void SetCondition(int id);
    // The full layout (238 px high) or the compact one (103 px).
    void SetExpanded(bool full);
    static void ToggleExpanded(void* inventory);
    // The mouse position, and whether an item is being dragged over the slots.
    void SetMouse(int x, int y, bool dragging);
    // The cell with that slot id: among all twelve, or only the shown ones.
    InventorySlot* FindSlot(int slotId, bool all);
    // The shown cell under a screen point, or null (also while minimised).
    InventorySlot* HitSlot(int x, int y);
    // The cells of the current mode, placed for the frame's width.
    std::vector<InventorySlot*> VisibleSlots();

    void Update() override;
    void SetMinimized(bool minimized) override;
    void Draw() override;
    void DrawSlot(int x, int y, int id, int count);

    std::vector<InventorySlot*> slots;  // owned, the twelve cells in layout order
    std::map<int, bool> conditions;     // condition id (also its icon's sprite) -> active
    std::map<int, std::string> conditionTexts;
    int pointerX = 0;
    int pointerY = 0;
    bool dragging = false;
    bool expanded = true;
    GUIButton* expandButton = nullptr;  // a child of the frame once made
};
