#include "sidewindows/Inventory.h"

#include "engine/gui/GUIDialog.h"
#include "game/Lifecycle.h"

Inventory::Inventory() {
    windowId = kWindowId;
    lifecycle::Note("Inventory");
}

Inventory::~Inventory() { lifecycle::Note("~Inventory"); }

bool Inventory::HasCondition(int id) const { return conditions.count(id) != 0; }

void Inventory::SetExpanded(bool full) {
    expanded = full;
    if (!dialog)
        return;
    const int height = full ? kFullHeight : kCompactHeight;
    if (minimized)
        restoreHeight = height;
    else
        dialog->height = height;
}

void Inventory::SetMouse(int, int, bool) {}

InventorySlot* Inventory::FindSlot(int, bool) { return nullptr; }

InventorySlot* Inventory::HitSlot(int, int) { return nullptr; }
