#include "sidewindows/Minimap.h"

#include "engine/Folders.h"
#include "game/Lifecycle.h"
#include "sidewindows/MinimapFiles.h"

Minimap::Minimap() {
    windowId = kWindowId;
    lifecycle::Note("Minimap");
}

Minimap::~Minimap() { lifecycle::Note("~Minimap"); }

Position Minimap::PositionAt(int, int) {
    Position none;
    none.x = 0;
    return none;
}

void Minimap::OnMouseDown(int, int) {}

void Minimap::OnDrag(int, int) {}

void Minimap::OnMouseUp(int, int) { dragging = false; }

MinimapChunk* Minimap::GetChunk(int x, int y, int z) {
    if (x < 0 || x > 0xFFFF || y < 0 || y > 0xFFFF || z < 0 || z > 0xFF)
        return nullptr;
    auto found = chunks.find(MinimapChunkKey(uint16_t(x), uint16_t(y), uint8_t(z)));
    return found == chunks.end() ? nullptr : found->second.get();
}

void Minimap::SetTile(uint16_t x, uint16_t y, uint8_t z, uint8_t colour, uint8_t speed) {
    std::unique_ptr<MinimapChunk>& chunk = chunks[MinimapChunkKey(x, y, z)];
    if (!chunk)
        chunk = std::make_unique<MinimapChunk>(x & 0xFF00, y & 0xFF00, z);
    chunk->SetTile(x & 255, y & 255, colour, speed);
}

bool Minimap::SaveMarkers() { return SaveMinimapMarkers(markers, {"minimap", GetAppDataFolder() + "/minimap"}); }
