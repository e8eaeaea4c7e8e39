// Click-to-walk's route search on the map: inside the tile window the tiles
// decide, outside it (or where the window has no tile) the explored-area
// minimap does, so a route may lead far beyond the view.
#include "world/Map.h"

#include "world/ItemRecord.h"
#include "world/PathSearch.h"
#include "world/Tile.h"

bool Map::FindPath(Position start, Position goal, uint8_t mode, int limit, std::list<int>* out) {
    if (start.z != goal.z)
        return false;
    const int z = start.z;
    WorldHooks& hooks = Hooks();
    auto query = [&](int x, int y, bool isGoal, int* speed) {
        if (const Tile* tile = GetTile(x, y, z)) {
            if (tile->QueryForPath(true))
                return false;
            // Items that only keep the search away do not keep it off the
            // square the player clicked.
            if (!isGoal && (tile->QueryForPathDraw(kItemBlocksPath) || tile->QueryForPathDraw(kItemBlocksPathSoft)))
                return false;
            *speed = tile->GetSpeed();
            return true;
        }
        // In view, a square without a tile is one the server has not sent.
        const int column = start.x - x + 8;
        const int row = start.y - y + 6;
        if (column >= 0 && column <= 16 && row >= 0 && row <= 12)
            return false;
        const uint8_t colour = hooks.GetMinimapColor(uint16_t(x), uint16_t(y), uint8_t(z));
        if (colour == 2 || colour == 3 || colour == 100)
            return false;
        if (colour == 4 && !isGoal)
            return false;
        if (colour == 0 && mode == 0)
            return false;  // unexplored
        *speed = hooks.GetMinimapSpeed(uint16_t(x), uint16_t(y), uint8_t(z));
        return true;
    };
    return pathsearch::FindPath(start.x, start.y, goal.x, goal.y, limit, query, out);
}
