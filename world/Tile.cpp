#include "world/Tile.h"

#include "world/Thing.h"

Tile::~Tile() { Clear(); }
void Tile::AddThing(Thing*) {}
void Tile::RemoveThing(Thing*) {}
bool Tile::RemoveItemById(int32_t) { return false; }
void Tile::Clear() {}
std::vector<Thing*> Tile::GetAllThings() const { return {}; }
bool Tile::HasCreature(const Thing*) const { return false; }
bool Tile::QueryForPath(bool) const { return true; }
bool Tile::QueryForPathDraw(unsigned) const { return false; }
Thing* Tile::QueryForAction() const { return nullptr; }
bool Tile::QueryForDraw(uint8_t[4], int*) const { return false; }
bool Tile::QueryForTopFloor() const { return false; }
int Tile::GetMinimapColor() const { return 100; }
int Tile::GetSpeed() const { return 100; }
