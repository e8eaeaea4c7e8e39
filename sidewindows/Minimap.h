#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "game/GameControlIds.h"
#include "sidewindows/MinimapChunk.h"
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

    // The chunk of a tile; null for an area neither recorded nor stored.
    MinimapChunk* GetChunk(int x, int y, int z);
    // Records one tile, making its chunk when needed.
    void SetTile(uint16_t x, uint16_t y, uint8_t z, uint8_t colour, uint8_t speed);
    // Writes the marker list to the user's markers file.
    bool SaveMarkers();

    std::map<uint32_t, std::unique_ptr<MinimapChunk>> chunks;
    std::vector<MinimapMarker> markers;
    float zoom = 2.0f;  // 0.25 .. 4.0
    bool dragging = false;
};
