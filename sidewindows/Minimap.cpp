#include "sidewindows/Minimap.h"

#include "game/Lifecycle.h"

Minimap::Minimap() {
    windowId = kWindowId;
    lifecycle::Note("Minimap");
}

Minimap::~Minimap() { lifecycle::Note("~Minimap"); }

Position Minimap::PositionAt(int, int) {
    Position none;
    none.x = 0;
    return none;
}

void Minimap::OnMouseDown(int, int) {}

void Minimap::OnDrag(int, int) {}

void Minimap::OnMouseUp(int, int) { dragging = false; }
