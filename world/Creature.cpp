#include "world/Creature.h"

#include "world/Map.h"

Creature::Creature(Map* owner) : map(owner) {}
Creature::~Creature() = default;
bool Creature::IsCreature() { return true; }
Creature* Creature::AsCreature() { return this; }
void Creature::SetOutfit(const int values[kOutfitValues]) {
    for (int i = 0; i < kOutfitValues; ++i)
        outfit[i] = values[i];
}
bool Creature::ReleaseTextures() { return true; }
Sprite* Creature::GetOutfitSprite() { return nullptr; }
void Creature::WalkOffset(int*, int*, int) {}
void Creature::DrawOutfit(int, int, int) {}
void Creature::Step() {}
bool Creature::CanMove(int) { return false; }
void Creature::MoveTo(Position, Position to) { position = to; }
void Creature::Animate(float) {}
void Creature::UndoStep() {}
void Creature::FinishWalk() {}
void Creature::StopWalk() {}
void Creature::Clone() {}
void Creature::SyncTileThing() {}
void Creature::ReleaseAttached() {}
void Creature::BuildSprites() {}
void Creature::DropClone() {}
bool Creature::IsFollowed() const { return false; }
