#pragma once

#include <cstdint>
#include <vector>

class Thing;

// One map square of the map's tile window, with its things in three lists:
// ordinary items (ground, walls, objects), top items (record flag 0x20, drawn
// above the creatures) and creatures. The tile owns and deletes its items and
// top items; creatures belong to the map's creature table and are only listed
// here. Each list keeps the most recently added thing first, so a server that
// lists a tile's items top first ends with the ground at the end of `items`.
//
// Bottom to top, a tile is: items, then creatures, then top items
// (GetAllThings). The queries walk that order in place.
class Tile {
public:
    Tile() = default;
    ~Tile();
    Tile(const Tile&) = delete;
    Tile& operator=(const Tile&) = delete;

    // A creature goes to the front of `creatures` unless it is listed already;
    // an item with flag 0x20 to the front of `topItems`; anything else to the
    // front of `items`. The tile takes ownership of items.
    void AddThing(Thing* thing);
    // The same for a list of things in the order they would be added one by
    // one, in a single pass: a server may send thousands of items for a tile.
    void AddThings(const std::vector<Thing*>& things);
    // Unlinks the pointer from the first list that holds it (items, creatures,
    // top items); the thing itself is not deleted.
    void RemoveThing(Thing* thing);
    // Unlinks the first item (items, then top items) with that id, without
    // deleting it. False when there is none.
    bool RemoveItemById(int32_t id);
    // Deletes every item and top item; creatures stay listed.
    void Clear();
    // items, creatures, top items: the tile from bottom to top.
    std::vector<Thing*> GetAllThings() const;
    bool HasCreature(const Thing* creature) const;

    // True when a creature cannot step here: no ground first in `items`, an
    // item that blocks walking (0x02), or a stopped creature that blocks.
    bool QueryForPath(bool walking) const;
    // True when an item has a flag of mask (with mask 8, item 203 always does).
    bool QueryForPathDraw(unsigned mask) const;
    // What a click on the tile acts on: the topmost item with flag 0x80, else
    // the creature nearest the bottom, else null.
    Thing* QueryForAction() const;
    // A light source on the tile: its colour (red, green, blue, alpha) and
    // radius. False, with both untouched, when there is none.
    bool QueryForDraw(uint8_t color[4], int* radius) const;
    // True when an item hides the floors above (0x10000).
    bool QueryForTopFloor() const;
    // The explored-area colour code; 100 when nothing decides.
    int GetMinimapColor() const;
    // The ground speed in percent; 100 without a ground item.
    int GetSpeed() const;

    int32_t markItemId = 0;  // the item the timed tile mark last took away
    int32_t markTick = 0;    // GetTicks when it did
    std::vector<Thing*> items;     // owned
    std::vector<Thing*> topItems;  // owned
    std::vector<Thing*> creatures; // listed only
};
