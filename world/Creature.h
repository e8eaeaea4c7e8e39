#pragma once

#include <cstdint>
#include <string>

#include "world/Thing.h"

class Map;
struct Sprite;

// A player, monster or NPC on the map. The map's creature table owns it; the
// tile where it stands lists it.
//
// A step moves the creature to the next tile at once and then animates it
// between the two tiles (walkProgress 0 to 1). While it does, a nameless
// second Creature, the step's clone, stands on whichever of the two tiles is
// drawn later, so that the moving figure is drawn above both. The creature
// owns its clone; the clone's tile only lists it.
//
// Walking states: at rest (stopped, progress 1, no clone); stepping (progress
// below 1, clone on a tile); step done but still walking (progress 1, not
// stopped, clone kept until the next step replaces it or a stop drops it).
//
// The creature reaches its map (tiles, camera, hooks) through `map`, which
// may be null: it then has no tiles to stand on and makes no clone.
class Creature : public Thing {
public:
    static constexpr int kOutfitValues = 9;
    static constexpr int kSpriteSlots = 16;

    explicit Creature(Map* map = nullptr);
    // Releases the sprites it made and removes and deletes its clone.
    ~Creature() override;

    bool IsCreature() override;
    Creature* AsCreature() override;

    // Releases the cached sprites when any of the nine values differs.
    void SetOutfit(const int values[kOutfitValues]);
    // Frees the sprites this creature made (coloured frames, glow silhouettes)
    // through their engine, forgets those of the sprite store; always true.
    bool ReleaseTextures();
    // A new coloured standing frame facing down, owned by the caller, or null.
    Sprite* GetOutfitSprite();
    // The figure's pixel offset from its tile during the current step, for a
    // tile size. Directions outside 1..8 leave the outputs as they were:
    // callers start them at 0.
    void WalkOffset(int* dx, int* dy, int tile);
    // Draws the figure with its top-left at (x, y); pose above 0 picks a pose
    // frame at rest.
    void DrawOutfit(int x, int y, int pose);

    // Starts one step in `direction` (set it first); a step in progress is
    // never cut short.
    void Step();
    // Whether the tile one step away exists and lets this creature in.
    bool CanMove(int dir);
    // Off the tile at from, onto the tile at to; the followed creature also
    // moves the map's tile window.
    void MoveTo(Position from, Position to);
    // Advances the step; rate is the frames per second (frame-based progress).
    void Animate(float rate);
    // Takes the current step back to the tile it came from.
    void UndoStep();
    // Ends a drawn step at once (only while there is a clone).
    void FinishWalk();
    // The creature stops after its current step.
    void StopWalk();
    // Makes the clone for the step about to start.
    void Clone();
    // Puts the clone back on its tile after a map shift dropped it.
    void SyncTileThing();
    // Deletes the clone without touching any tile (the tiles are going anyway).
    void ReleaseAttached();

    // At rest: stopped, the step done, and a real creature (not a clone).
    bool IsAtRest() const { return stopped && walkProgress >= 1.0f && !cloneOf; }
    bool IsClone() const { return cloneOf != nullptr; }

    int32_t outfit[kOutfitValues] = {10, 0, 0, 0, 0, 7, 7, 12, 127};
    uint8_t spritesBuilt = 0;
    Sprite* sprites[kSpriteSlots] = {};      // 3 per facing (stand, walk, walk), then 4 pose frames
    Sprite* glowSprites[kSpriteSlots] = {};  // white silhouettes of an enraged creature's frames
    std::string name;                        // empty in a clone
    int32_t health = 100;                    // percent
    int32_t direction = 1;                   // facing and last step, 1..8
    int32_t drawOrder = 0;                   // written by the map view
    int32_t privilegeLevel = 0;              // above 2 may step anywhere
    int32_t lightByte = 6;                   // as sent; the light map's radius
    int32_t flags = 0;  // 0x01 privilege byte sent, 0x02 marker, 0x08 does not block, 0x40 enraged
    Creature* cloneOf = nullptr;             // in a clone: the creature it stands for
    float walkProgress = 1.0f;
    float speed = 500.0f;                    // 150 is one tile a second on ground of speed 100
    uint64_t lastDiagonalStep = 0;           // GetMilliseconds at the last diagonal step
    uint64_t stepStart = 0;                  // GetMilliseconds at the start of the step
    uint8_t stopped = 1;
    Thing* clone = nullptr;                  // owned; a Creature
    Map* map = nullptr;                      // not owned
    uint64_t announced = 0;                  // the map's count at its latest announcement

    // Creature flags byte.
    enum : int32_t {
        kHasPrivilege = 0x01,
        kMarked = 0x02,
        kPassable = 0x08,
        kEnraged = 0x40,
    };

private:
    void BuildSprites();
    void DropClone();
    bool IsFollowed() const;
};
