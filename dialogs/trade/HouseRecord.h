#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "world/Position.h"

// A name on the house's invite list.
struct HouseInvite {
    std::string name;
    bool subOwner = false;
};

// A player's rights on the house's tiles: 1 can't enter, 2 can open and close
// doors, 4 can edit the tiles' permissions. Only the low 8 bits go back to the
// server.
struct TilePermission {
    std::string name;
    uint32_t rights = 0;
};

// What the house management keeps of a house and sends back on "Save &
// Close": its position and the two person lists, each in its stored order
// (the server's entries first, then the player's additions).
struct HouseRecord {
    Position position;  // (0, 0, 7) until the server names the house
    std::vector<HouseInvite> invites;
    std::vector<TilePermission> tilePermissions;
};
