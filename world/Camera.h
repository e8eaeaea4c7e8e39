#pragma once

#include <cstdint>

// Which part of the world the map view shows: it follows one creature, the
// player's own. Until the creatures arrive the camera only knows the id the
// enter-game message names; the map finds the creature by it later.
class Camera {
public:
    Camera() = default;
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;

    int32_t followedId = 0;  // set by the enter-game message
};
