#pragma once

#include <cstdint>

#include "world/Camera.h"

// The world around the player and the view that shows it. The view shows 17 by
// 13 tiles; its place and tile size are what a screenshot of the map view
// (Ctrl+Shift+S) cuts out of the window.
class Map {
public:
    static constexpr int kViewColumns = 17;
    static constexpr int kViewRows = 13;

    Map() : camera(new Camera()) {}
    ~Map() { delete camera; }
    Map(const Map&) = delete;
    Map& operator=(const Map&) = delete;

    int viewX = 4;  // left edge of the view in window pixels
    int viewY = 4;  // top edge
    int tileWidth = 32;   // drawn size of one tile; larger when the view is stretched
    int tileHeight = 32;
    Camera* camera;         // owned
    uint32_t playerId = 0;  // the player's own creature, named by the enter-game message
};
