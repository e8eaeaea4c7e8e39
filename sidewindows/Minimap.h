#pragma once

#include "game/GameControlIds.h"
#include "world/Position.h"
#include "sidewindows/SideWindow.h"

// The minimap window: the explored map around the player, with its zoom.
class Minimap : public SideWindow {
public:
    static constexpr int kWindowId = GameIds::kMinimapWindow;

    Minimap();
    ~Minimap() override;

    // The map position under a screen point; x is 0 when the point is not on the map.
    Position PositionAt(int x, int y);
    // Right button: starts, follows and ends dragging the map.
    void OnMouseDown(int x, int y);
    void OnDrag(int x, int y);
    void OnMouseUp(int x, int y);

    float zoom = 2.0f;  // 0.25 .. 4.0
    bool dragging = false;
};
