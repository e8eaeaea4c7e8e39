#pragma once

#include <cstdint>

// A map coordinate. Floor 7 is the ground floor.
struct Position {
    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 7;
};
