#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <string>
#include <vector>

#include "world/Camera.h"
#include "world/Position.h"
#include "world/WorldHooks.h"

class Creature;
class EffectList;
class KEngine2;
class Thing;
class Tile;
struct DynamicLight;

// What lies around the game view when it is laid out: the side panels' widths,
// the hotkey bar's side (0 left, 1 right, 2 top, 3 bottom; -1 for none) and
// thickness, the option "statbarposition" and whether the view is stretched
// to the window. The game screen reads them from its windows and options.
struct ViewSurround {
    int leftPanelWidth = 0;
    int rightPanelWidth = 0;
    int hotkeySide = -1;
    int hotkeyThickness = 0;
    int statBarPosition = 0;
    bool stretching = true;
};

// The client's mirror of the world around the player: a window of 30 x 30
// tiles on each of the 16 floors, moved along with the player, and the table
// of every creature the server has announced (owned, in ascending id order).
//
// Local coordinates: local x = x - camera x + 9, local y = y - camera y + 9
// (the camera's x, y being the view's top-left tile); the floor is not
// translated. The window reaches 9 tiles left of and above the 17 x 13 view
// and 4 right of and 8 below it; the player stands at local (17, 15).
class Map {
public:
    static constexpr int kViewColumns = 17;
    static constexpr int kViewRows = 13;
    static constexpr int kSize = 30;     // tiles across the window, both ways
    static constexpr int kFloors = 16;
    static constexpr int kBorder = 9;    // window columns left of (rows above) the view

    // hooks: what the map tells the game screen; null gives the defaults.
    explicit Map(WorldHooks* hooks = nullptr);
    // Deletes every tile, every creature (with its clone) and the camera.
    ~Map();
    Map(const Map&) = delete;
    Map& operator=(const Map&) = delete;

    // The tile at an absolute position, or null outside the window or where
    // nothing is known.
    Tile* GetTile(int x, int y, int z) const;
    // The same, making an empty tile where nothing is known; null outside.
    Tile* GetOrCreateTile(const Position& at);
    // The view origin moved by (old - new); tiles that leave the window are
    // deleted, slots that come into it are empty.
    void ShiftGrid(const int delta[2]);
    // Deletes every tile; the creatures stay in the table.
    void FreeTiles();
    // The highest floor drawn (smallest number).
    int ComputeTopFloor();
    // The highest floor at a view position with something on it; 0 for none.
    int TopFloorAt(uint16_t x, uint16_t y);
    // Copies the view's ground colours and speeds into the minimap.
    void UpdateMinimap();
    // Gathers the light sources of the view for the light map.
    void CollectLightSources();

    // The most creatures the table keeps: a server that announces creatures
    // without end would grow it without end.
    static constexpr size_t kMaxCreatures = 400;

    // Enters a creature under its id (an overwritten pointer is not deleted).
    // The first enraged creature ever seen shows a tip. Past kMaxCreatures the
    // creatures out of the player's range go, then those announced longest
    // ago; never this one, the player or the followed creature.
    void AddCreature(Creature* creature);
    Creature* FindCreature(uint32_t id) const;
    Creature* FindCreatureByName(const std::string& name) const;
    // Takes a creature off its tile and deletes it; never the followed one.
    void RemoveCreature(uint32_t id);
    // Removes the creatures out of the player's range.
    void RemoveStaleCreatures();
    // Whether a creature at c is out of range of the player at p.
    static bool OutOfRange(const Position& c, const Position& p);
    // Animates every creature; rate is the frames per second.
    void UpdateCreatures(float rate);
    // The graphics engine is being replaced: every creature frees its sprites.
    void ReleaseCreatureTextures();
    // The creatures drawn under a screen point, in id order. scrollX and
    // scrollY are the view's walk scroll offset.
    std::vector<Creature*> GetCreaturesAt(int screenX, int screenY, bool includePlayer, int scrollX = 0,
                                          int scrollY = 0);

    void SetTargetPair(uint32_t attack, uint32_t follow);
    void SetTarget(uint32_t hover);

    // Whether an absolute position lies in the window, and its slot.
    bool ToLocal(int x, int y, int z, int* localX, int* localY) const;
    // The installed hooks, or the defaults.
    WorldHooks& Hooks() { return hooks ? *hooks : defaultHooks; }

    int viewX = 4;  // left edge of the view in window pixels
    int viewY = 4;  // top edge
    int tileWidth = 32;   // drawn size of one tile; larger when the view is stretched
    int tileHeight = 32;
    int floorFade = 0;    // change of the top floor by the player's last step
    uint8_t seenEnraged = 0;
    KEngine2* app = nullptr;  // not owned
    Tile* tiles[kSize][kSize][kFloors] = {};  // [local x][local y][floor]; owned
    std::map<uint32_t, Creature*> creatures;  // owned
    Camera* camera;                           // owned
    uint32_t playerId = 0;  // the player's own creature, named by the enter-game message
    uint32_t attackTargetId = 0;
    uint32_t followTargetId = 0;
    uint32_t hoverTargetId = 0;
    uint32_t targetStamp = 0;  // GetTicks when the target markers' animation started
    Position markerPos{0, 0, 0};
    int32_t markerItemId = 0;
    int32_t barVisible = 0;
    int32_t barPercent = 0;
    Position barPos{0, 0, 7};
    WorldHooks* hooks = nullptr;  // not owned
    uint64_t announcements = 0;   // creatures entered so far; each keeps its number

    // --- The map view: layout and drawing (MapDraw.cpp), path search
    // (MapPath.cpp), light sources (MapLight.cpp) ---

    // Places the 17 x 13 view in the window and sizes its tiles.
    void LayoutView(int width, int height, int bottomReserved, const ViewSurround& surround);
    // The floors from the bottom up, each followed by its effects. When the
    // tiles are not 32 pixels, draws the 32-pixel picture at (0, 0) for the
    // game screen to scale.
    void Draw();
    void DrawTile(Tile* tile, int vx, int vy, int z);
    void DrawThing(Thing* thing, int vx, int vy, int z, int elevation, int* kind, int* kindId);
    void DrawItem(int id, int count, int vx, int vy, int z, int elevation);
    void DrawCreature(Creature* creature, int vx, int vy, int z, int elevation, int kind);
    // Names, health bars and icons over the creatures, and the progress bar;
    // drawn over the light at the window's scale.
    void DrawCreatures();
    // Covers the view with a colour at an opacity of 0 to 1 (not under DirectDraw).
    void DrawLight(uint32_t colour, float amount);
    // A walking route from start to goal on one floor: direction codes added at
    // the front of `out`. mode 0 keeps to explored minimap squares, 1 does not;
    // limit bounds the nodes expanded.
    bool FindPath(Position start, Position goal, uint8_t mode, int limit, std::list<int>* out);
    // The lights of the creatures on the camera floor and of the light-giving
    // effects, for this frame of the light map.
    std::vector<DynamicLight> CollectDynamicLights();

    EffectList* effects = nullptr;  // the game screen's; drawn after each floor
    // The game screen's walk scroll offset (its viewOffsetX, viewOffsetY),
    // handed over at the start of every draw.
    int viewOffsetX = 0;
    int viewOffsetY = 0;
    // The dice of the ambient effects; std::rand unless a test installs one.
    std::function<int()> random;

private:
    KEngine2* App() const;
    // Brings the table back to kMaxCreatures (see AddCreature).
    void TrimCreatures(const Creature* added);

    WorldHooks defaultHooks;
};
