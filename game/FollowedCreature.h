#pragma once

#include "world/Camera.h"
#include "world/Map.h"

// The creature the map view follows: the player's own, once it has arrived;
// null before that or without a map. Shared by the game screen's files.
inline Creature* FollowedCreature(const Map* map) { return map && map->camera ? map->camera->creature : nullptr; }
