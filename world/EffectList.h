#pragma once

#include <cstddef>
#include <cstdint>
#include <list>

class Map;

// The short animations on map squares (item effects from the server, the goal
// mark of click-to-walk, ambient effects of some items) and the projectiles
// that fly from one square to another. Each record lives a fixed time from
// when it was added; expired ones are deleted when the list is drawn. The game
// screen owns the list; the map draws it after each floor.
class EffectList {
public:
    enum Kind { kEffect = 1, kProjectile = 2 };

    struct Record {
        int id = 0;  // base sprite id, an item id
        int x = 0, y = 0, z = 0;  // the square it starts on
        int kind = kEffect;
        int targetX = 0, targetY = 0;  // a projectile's destination
        uint32_t start = 0;     // GetTicks when added
        uint32_t duration = 0;  // ms
        float angle = -1.0f;    // rotation of a projectile, degrees; -1 for none
    };

    // Item flags read here.
    static constexpr uint32_t kLightFlag = 0x01;
    static constexpr uint32_t kRotatesFlag = 0x40000;   // a projectile turned toward its target (OpenGL)
    static constexpr uint32_t kUndirectedFlag = 0x80000;  // a projectile with one picture for every direction

    EffectList() = default;
    ~EffectList() { Clear(); }
    EffectList(const EffectList&) = delete;
    EffectList& operator=(const EffectList&) = delete;

    // What a server can make the list hold. A projectile flies 70 ms a square
    // for at most the view's diagonal (17 x 13 squares, 21.4) and half again:
    // one sent farther flies faster, rather than living for an hour. Past a
    // cap the oldest record of the same kind goes.
    static constexpr uint32_t kMsPerSquare = 70;
    static constexpr float kMaxFlightSquares = 32.0f;
    static constexpr size_t kMaxEffects = 512;
    static constexpr size_t kMaxProjectiles = 512;

    // Duration 400 asks for an item's whole animation: with more than three
    // frames it becomes 50 ms a frame plus 250, at most 800.
    void AddEffect(int x, int y, int z, int id, uint32_t duration);
    // 70 ms a square (kMaxFlightSquares at most); turned toward the target
    // only under OpenGL and for items that ask for it.
    void AddProjectile(int x, int y, int z, int targetX, int targetY, int id);
    size_t Count(int kind) const;
    // Draws the live records of floor z and deletes every expired one,
    // whatever its floor.
    void Draw(int z);
    void Clear();

    // Where a record is at `now`, in pixels of the 32-pixel picture from the
    // view's top-left tile (a projectile moves along its line), without the
    // anchoring of large sprites.
    static void Place(const Record& record, uint32_t now, int* px, int* py);
    // The fraction of its life a record has lived, 0 to 1.
    static float Progress(const Record& record, uint32_t now);

    Map* map = nullptr;  // borrowed: the view it is drawn into
    std::list<Record> records;  // oldest first

private:
    // Appends a record, first dropping the oldest of its kind at the cap.
    void Push(const Record& record);
};
