#include "world/Camera.h"

#include "world/Creature.h"
#include "world/Map.h"

void Camera::SetCreature(Creature* followed) { creature = followed; }
int Camera::GetX() { return creature ? creature->position.x - 8 : x; }
int Camera::GetY() { return creature ? creature->position.y - 6 : y; }
int Camera::GetZ() { return creature ? creature->position.z : 7; }
void Camera::GetFollowedOffset(int*, int*, int) {}
void Camera::Walk(int, bool) {}
