#include "world/Map.h"

#include <algorithm>

#include "engine/Clock.h"
#include "engine/KEngine2.h"
#include "world/Creature.h"
#include "world/Tile.h"

Map::Map(WorldHooks* installed) : app(g_app), camera(new Camera(this)), hooks(installed) {
    seenEnraged = Hooks().SeenEnraged() ? 1 : 0;
}

Map::~Map() {
    FreeTiles();
    for (auto& entry : creatures) {
        entry.second->ReleaseAttached();
        delete entry.second;
    }
    creatures.clear();
    delete camera;
}

bool Map::ToLocal(int x, int y, int z, int* localX, int* localY) const {
    if (z < 0 || z >= kFloors)
        return false;
    const int lx = x - camera->GetX() + kBorder;
    const int ly = y - camera->GetY() + kBorder;
    if (lx < 0 || lx >= kSize || ly < 0 || ly >= kSize)
        return false;
    *localX = lx;
    *localY = ly;
    return true;
}

Tile* Map::GetTile(int x, int y, int z) const {
    int lx, ly;
    return ToLocal(x, y, z, &lx, &ly) ? tiles[lx][ly][z] : nullptr;
}

Tile* Map::GetOrCreateTile(const Position& at) {
    int lx, ly;
    if (!ToLocal(at.x, at.y, at.z, &lx, &ly))
        return nullptr;
    Tile*& slot = tiles[lx][ly][at.z];
    if (!slot)
        slot = new Tile();
    return slot;
}

void Map::ShiftGrid(const int delta[2]) {
    const int dx = delta[0];
    const int dy = delta[1];
    if (dx == 0 && dy == 0)
        return;
    // A step moves everything by one column or row: the tiles that stay are
    // moved in place, walking against the direction of the move so that no
    // tile is overwritten before it has moved.
    const int xFirst = dx > 0 ? kSize - 1 : 0, xStep = dx > 0 ? -1 : 1;
    const int yFirst = dy > 0 ? kSize - 1 : 0, yStep = dy > 0 ? -1 : 1;
    for (int x = xFirst; x >= 0 && x < kSize; x += xStep) {
        for (int y = yFirst; y >= 0 && y < kSize; y += yStep) {
            const int nx = x + dx, ny = y + dy;
            const bool stays = nx >= 0 && nx < kSize && ny >= 0 && ny < kSize;
            for (int z = 0; z < kFloors; ++z) {
                Tile* tile = tiles[x][y][z];
                tiles[x][y][z] = nullptr;
                if (stays)
                    tiles[nx][ny][z] = tile;
                else
                    delete tile;  // creatures on it stay in the table
            }
        }
    }
}

void Map::FreeTiles() {
    for (auto& column : tiles)
        for (auto& row : column)
            for (Tile*& tile : row) {
                delete tile;
                tile = nullptr;
            }
}

int Map::ComputeTopFloor() {
    const int cz = camera->GetZ();
    const int cx = camera->GetX();
    const int cy = camera->GetY();
    for (int z = cz - 1; z >= 1; --z) {
        const Tile* tile = GetTile(cx + 8, cy + 6, z);
        if (tile && !(tile->items.empty() && tile->creatures.empty() && tile->topItems.empty()))
            return z + 1;
    }
    static const int kAround[5][2] = {{7, 6}, {8, 5}, {8, 6}, {8, 7}, {9, 6}};
    for (const auto& offset : kAround) {
        const Tile* tile = GetTile(cx + offset[0], cy + offset[1], cz);
        if (tile && tile->QueryForTopFloor())
            return cz;
    }
    return cz >= 2 ? 1 : cz;
}

int Map::TopFloorAt(uint16_t x, uint16_t y) {
    const int top = ComputeTopFloor();
    if (top > 15)
        return 0;
    int found = 0;
    for (int z = 15; z >= top; --z) {
        const Tile* tile = GetTile(x, y, z);
        if (tile && !(tile->items.empty() && tile->creatures.empty() && tile->topItems.empty()))
            found = z;
    }
    return found;
}

void Map::UpdateMinimap() {
    WorldHooks& out = Hooks();
    const int cx = camera->GetX();
    const int cy = camera->GetY();
    const int cz = camera->GetZ();
    for (int dx = -1; dx <= 18; ++dx) {
        for (int dy = -1; dy <= 14; ++dy) {
            const uint16_t x = uint16_t(cx + dx);
            const uint16_t y = uint16_t(cy + dy);
            if (const Tile* tile = GetTile(x, y, cz)) {
                const int color = tile->GetMinimapColor();
                if (color > 0)
                    out.SetMinimapTile(x, y, uint8_t(cz), uint8_t(color), uint8_t(tile->GetSpeed()));
            } else {
                out.SetMinimapTile(x, y, uint8_t(cz), 100, 100);
            }
        }
    }
}

// The light map gathers its sources here; the map view fills it in.
void Map::AddCreature(Creature* creature) {
    if (!creature)
        return;
    creatures[uint32_t(creature->id)] = creature;
    creature->announced = ++announcements;
    if ((creature->flags & Creature::kEnraged) && !seenEnraged) {
        Hooks().AddTip(0, "Glowing enraged monsters are harder", "but yield more experience and loot.",
                       creature->position);
        Hooks().SetSeenEnraged();
        seenEnraged = 1;
    }
    if (creatures.size() > kMaxCreatures)
        TrimCreatures(creature);
}

void Map::TrimCreatures(const Creature* added) {
    // Settled first, as in RemoveCreature: the camera may take up the player now.
    camera->GetX();
    const Creature* followed = camera->creature;
    const auto spared = [&](const Creature* c) {
        return c == added || c == followed || uint32_t(c->id) == playerId;
    };
    std::vector<uint32_t> gone;
    if (followed) {
        for (const auto& entry : creatures)
            if (!spared(entry.second) && OutOfRange(entry.second->position, followed->position))
                gone.push_back(entry.first);
        for (uint32_t id : gone)
            RemoveCreature(id);
    }
    while (creatures.size() > kMaxCreatures) {
        const Creature* oldest = nullptr;
        for (const auto& entry : creatures)
            if (!spared(entry.second) && (!oldest || entry.second->announced < oldest->announced))
                oldest = entry.second;
        if (!oldest)
            break;
        RemoveCreature(uint32_t(oldest->id));
    }
}

Creature* Map::FindCreature(uint32_t id) const {
    const auto found = creatures.find(id);
    return found == creatures.end() ? nullptr : found->second;
}

Creature* Map::FindCreatureByName(const std::string& name) const {
    for (const auto& entry : creatures)
        if (entry.second->name == name)
            return entry.second;
    return nullptr;
}

void Map::RemoveCreature(uint32_t id) {
    // The camera takes up the player as soon as anything asks for the view
    // (GetTile below does), so it is settled first: the creature it follows,
    // or would follow, is never deleted under it.
    camera->GetX();
    const auto found = creatures.find(id);
    if (found == creatures.end() || found->second == camera->creature)
        return;
    Creature* creature = found->second;
    const Position at = creature->position;
    if (Tile* tile = GetTile(at.x, at.y, at.z))
        tile->RemoveThing(creature);
    creatures.erase(found);
    delete creature;
}

void Map::RemoveStaleCreatures() {
    const Creature* player = camera->creature;
    if (!player)
        return;
    const Position p = player->position;
    std::vector<uint32_t> stale;
    for (const auto& entry : creatures)
        if (OutOfRange(entry.second->position, p))
            stale.push_back(entry.first);
    for (uint32_t id : stale)
        RemoveCreature(id);
}

bool Map::OutOfRange(const Position& c, const Position& p) {
    const bool out = c.x < p.x - 9 || c.x > p.x + 10 || c.y < p.y - 7 || c.y > p.y + 8;
    if (p.z < 8)
        return out || c.z >= 8;
    return out || std::abs(c.z - p.z) >= 3;
}

void Map::UpdateCreatures(float rate) {
    for (auto& entry : creatures)
        entry.second->Animate(rate);
}

void Map::ReleaseCreatureTextures() {
    for (auto& entry : creatures)
        entry.second->ReleaseTextures();
}

std::vector<Creature*> Map::GetCreaturesAt(int screenX, int screenY, bool includePlayer, int scrollX, int scrollY) {
    std::vector<Creature*> found;
    const Creature* player = camera->creature;
    if (!player)
        return found;
    const int cx = camera->GetX();
    const int cy = camera->GetY();
    const int cz = camera->GetZ();
    const int px = screenX - viewX + scrollX;
    const int py = screenY - viewY + scrollY;
    for (const auto& entry : creatures) {
        Creature* creature = entry.second;
        if (creature->position.z != cz || (!includePlayer && creature == player))
            continue;
        const int column = player->position.x - creature->position.x + 8;
        const int row = player->position.y - creature->position.y + 6;
        if (column < 0 || column > 16 || row < 0 || row > 12)
            continue;
        // A creature in a step is drawn where its clone stands.
        Creature* drawn = creature->clone ? creature->clone->AsCreature() : creature;
        int dx = 0, dy = 0;
        drawn->WalkOffset(&dx, &dy, tileWidth);
        const int left = (drawn->position.x - cx) * tileWidth + dx;
        const int top = (drawn->position.y - cy) * tileHeight + dy;
        if (px >= left && px <= left + tileWidth && py >= top && py <= top + tileHeight)
            found.push_back(creature);
    }
    return found;
}

void Map::SetTargetPair(uint32_t attack, uint32_t follow) {
    if ((attack != 0 && attack != attackTargetId) || (follow != 0 && follow != followTargetId))
        targetStamp = GetTicks();
    attackTargetId = attack;
    followTargetId = follow;
}

void Map::SetTarget(uint32_t hover) {
    if (hover != 0 && hover != hoverTargetId && attackTargetId == 0 && followTargetId == 0)
        targetStamp = GetTicks();
    hoverTargetId = hover;
}
