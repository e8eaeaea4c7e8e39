#pragma once

#include <cstdint>

// A map coordinate. Floor 7 is the ground floor, 0 the highest, 15 the deepest.
//
// Direction codes, shared by walking, facing and paths: 1 down (y + 1), 2 left
// (x - 1), 3 up (y - 1), 4 right (x + 1), 5 down-left, 6 up-left, 7 up-right,
// 8 down-right.
struct Position {
    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 7;

    // The neighbour in a direction, or with reverse the one the direction
    // comes from. Any code outside 1..8 returns p unchanged; z never changes.
    static Position Step(Position p, int direction, bool reverse);

    bool operator==(const Position& other) const { return x == other.x && y == other.y && z == other.z; }
    bool operator!=(const Position& other) const { return !(*this == other); }
};
