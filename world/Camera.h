#pragma once

#include <cstdint>

class Creature;
class Map;

// Which part of the world the map view shows: it follows one creature,
// normally the player's own, which stands in column 8 and row 6 of the 17 x
// 13 tile view. Walk is the player's keyboard step: started at once, ahead
// of the server, which confirms it or takes it back later.
class Camera {
public:
    explicit Camera(Map* owner = nullptr) : map(owner) {}
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;

    // Follows a creature (null: nothing); the window title then names it.
    void SetCreature(Creature* followed);
    // The view's top-left tile. Without a followed creature GetX first looks
    // the player up by the map's player id.
    int GetX();
    int GetY();
    int GetZ();
    // The followed creature's walk offset, so that the view scrolls with it;
    // the outputs stay as they were without one (callers start them at 0).
    void GetFollowedOffset(int* dx, int* dy, int tile);
    // A keyboard step (or with turnOnly a turn) in a direction 1..8; any other
    // direction does nothing.
    void Walk(int direction, bool turnOnly);

    int32_t x = 0;  // the stored origin, used while nothing is followed
    int32_t y = 0;
    int32_t z = 7;
    Creature* creature = nullptr;  // followed; not owned
    int32_t unused = 0;
    int32_t followedId = 0;        // set by the enter-game message
    // The player stands in a protection area: set by every map area message,
    // shown by the inventory window.
    uint8_t protectionArea = 0;
    Map* map = nullptr;            // the owner
};
