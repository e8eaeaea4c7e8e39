#include "world/Map.h"

#include "world/Creature.h"
#include "world/Tile.h"

Map::Map(WorldHooks* installed) : camera(new Camera(this)), hooks(installed) {}
Map::~Map() { delete camera; }
Tile* Map::GetTile(int, int, int) const { return nullptr; }
Tile* Map::GetOrCreateTile(const Position&) { return nullptr; }
void Map::ShiftGrid(const int[2]) {}
void Map::FreeTiles() {}
int Map::ComputeTopFloor() { return 1; }
int Map::TopFloorAt(uint16_t, uint16_t) { return 0; }
void Map::UpdateMinimap() {}
void Map::AddCreature(Creature*) {}
Creature* Map::FindCreature(uint32_t) const { return nullptr; }
Creature* Map::FindCreatureByName(const std::string&) const { return nullptr; }
void Map::RemoveCreature(uint32_t) {}
void Map::RemoveStaleCreatures() {}
void Map::UpdateCreatures(float) {}
void Map::ReleaseCreatureTextures() {}
std::vector<Creature*> Map::GetCreaturesAt(int, int, bool, int, int) { return {}; }
void Map::SetTargetPair(uint32_t, uint32_t) {}
void Map::SetTarget(uint32_t) {}
bool Map::ToLocal(int, int, int, int*, int*) const { return false; }
