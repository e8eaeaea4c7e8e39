#include "sidewindows/Minimap.h"

#include <algorithm>
#include <cmath>

#include "client/Client.h"
#include "engine/Folders.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "game/GameInterface.h"
#include "game/Lifecycle.h"
#include "platform/Platform.h"
#include "sidewindows/WorldMapDialog.h"
#include "world/Camera.h"
#include "world/Map.h"

namespace {

const int kFloorUpIcon = 5;
const int kFloorDownIcon = 6;
const int kZoomOutIcon = 891;
const int kZoomInIcon = 892;
const int kHighestFloor = 0;
const int kDeepestFloor = 15;
const float kMinZoom = 0.25f;
const float kMaxZoom = 4.0f;
const uint32_t kWhite = 0xFFFFFFFF;
const uint32_t kBlack = 0xFF000000;
// Sprite ids beyond the graphics file's table: a markers file may hold any u32.
const uint32_t kMaxSpriteId = 19999;

const char kConvertCaption[] = "Convert Minimap";
const char kConvertText[] =
    "Do you want to convert the old minimap to the new format? This requires about 100 - 200MB of free RAM. "
    "You should restart the client after the login is finished.";

bool InWorld(int x, int y, int z) { return x >= 0 && x <= 0xFFFF && y >= 0 && y <= 0xFFFF && z >= 0 && z <= 0xFF; }

}  // namespace

Minimap::Minimap() {
    windowId = kWindowId;
    folders.shipped = "minimap";
    folders.user = GetAppDataFolder() + "/minimap";
    LoadMarkers();
    lifecycle::Note("Minimap");
}

Minimap::~Minimap() {
    for (const auto& entry : chunks)
        SaveChunk(*entry.second);
    // Each texture goes back to the back end that made it (the sprite knows it).
    chunks.clear();
    markers.clear();
    lifecycle::Note("~Minimap");
}

// --- Chunks ---

MinimapChunk* Minimap::GetChunk(int x, int y, int z) {
    if (!InWorld(x, y, z))
        return nullptr;
    const uint32_t key = MinimapChunkKey(uint16_t(x), uint16_t(y), uint8_t(z));
    if (auto found = chunks.find(key); found != chunks.end()) {
        found->second->lastUse = ++lookups;
        return found->second.get();
    }
    if (noFile.count(key))
        return nullptr;
    auto chunk = std::make_unique<MinimapChunk>(x & 0xFF00, y & 0xFF00, z);
    if (!LoadMinimapChunk(*chunk, folders)) {
        if (noFile.size() >= kMaxNoFile)
            noFile.clear();
        noFile.insert(key);
        return nullptr;
    }
    return Hold(key, std::move(chunk));
}

MinimapChunk* Minimap::Hold(uint32_t key, std::unique_ptr<MinimapChunk> chunk) {
    while (chunks.size() >= kMaxChunks) {
        const auto oldest = std::min_element(chunks.begin(), chunks.end(), [](const auto& a, const auto& b) {
            return a.second->lastUse < b.second->lastUse;
        });
        SaveChunk(*oldest->second);
        chunks.erase(oldest);
    }
    chunk->lastUse = ++lookups;
    MinimapChunk* made = chunk.get();
    chunks.emplace(key, std::move(chunk));
    return made;
}

MinimapChunk* Minimap::MakeChunk(int x, int y, int z) {
    if (MinimapChunk* chunk = GetChunk(x, y, z))
        return chunk;
    if (!InWorld(x, y, z))
        return nullptr;
    const uint32_t key = MinimapChunkKey(uint16_t(x), uint16_t(y), uint8_t(z));
    noFile.erase(key);
    return Hold(key, std::make_unique<MinimapChunk>(x & 0xFF00, y & 0xFF00, z));
}

void Minimap::SetTile(uint16_t x, uint16_t y, uint8_t z, uint8_t colour, uint8_t speed) {
    if (MinimapChunk* chunk = MakeChunk(x, y, z))
        chunk->SetTile(x & 255, y & 255, colour, speed);
}

uint8_t Minimap::GetColor(uint16_t x, uint16_t y, uint8_t z) {
    const MinimapChunk* chunk = GetChunk(x, y, z);
    return chunk ? chunk->GetColor(x & 255, y & 255) : 0;
}

uint8_t Minimap::GetSpeed(uint16_t x, uint16_t y, uint8_t z) {
    const MinimapChunk* chunk = GetChunk(x, y, z);
    return chunk ? chunk->GetSpeed(x & 255, y & 255) : MinimapChunk::kDefaultSpeed;
}

void Minimap::InvalidateTextures() {
    for (const auto& entry : chunks)
        entry.second->Invalidate();
}

// --- Files ---

void Minimap::LoadChunk(MinimapChunk& chunk) { LoadMinimapChunk(chunk, folders); }

void Minimap::SaveChunk(const MinimapChunk& chunk) { SaveMinimapChunk(chunk, folders); }

void Minimap::LoadMarkers() { markers = LoadMinimapMarkers(folders); }

bool Minimap::SaveMarkers() { return SaveMinimapMarkers(markers, folders); }

void Minimap::ConvertOldFormat() {
    auto ask = [] {
        return platform::ShowMessageBox(kConvertText, kConvertCaption, platform::kMbYesNo) == platform::kIdYes;
    };
    auto tile = [this](const OldMinimapTile& record) {
        // The old file knew no speeds: every converted tile walks at 100.
        if (MinimapChunk* chunk = MakeChunk(record.x, record.y, record.z))
            chunk->SetTile(record.x & 255, record.y & 255, record.colour, MinimapChunk::kDefaultSpeed);
    };
    ConvertOldMinimapFile(oldFilePath, ask, tile);
}

void Minimap::ConvertOldFormatOnce() {
    if (conversionAsked)
        return;
    conversionAsked = true;
    ConvertOldFormat();
}

// --- Input ---

Minimap::Area Minimap::MapArea() const {
    return {dialog->x + 8, dialog->y + 26, dialog->width - 16, dialog->height - 69};
}

Position Minimap::PositionAt(int px, int py) {
    Position none;
    none.x = none.y = none.z = 0;
    if (minimized || !dialog)
        return none;
    const int x = dialog->x, y = dialog->y, w = dialog->width, h = dialog->height;
    if (px < x + 9 || px > x + w - 9 || py < y + 27 || py > y + h - 44)
        return none;
    Position at;
    at.x = int32_t(std::trunc((px - (x + 9)) / zoom)) + int32_t(std::trunc(centreX - (w - 16) / zoom * 0.5)) + 1;
    at.y = int32_t(std::trunc((py - (y + 27)) / zoom)) + int32_t(std::trunc(centreY - (h - 69) / zoom * 0.5)) + 1;
    at.z = floor;
    return at;
}

void Minimap::OnMouseDown(int px, int py) {
    if (minimized || !dialog)
        return;
    const int x = dialog->x, y = dialog->y, w = dialog->width, h = dialog->height;
    if (px < x + 9 || px > x + w - 9 || py < y + 27 || py > y + h - 44)
        return;
    dragStartX = px;
    dragStartY = py;
    dragStartCentreX = centreX;
    dragStartCentreY = centreY;
    dragging = true;
    Client::Instance()->SetCursor(2);
}

void Minimap::OnDrag(int px, int py) {
    if (!dragging)
        return;
    centreX = dragStartCentreX - int32_t(std::trunc((px - dragStartX) / zoom));
    centreY = dragStartCentreY - int32_t(std::trunc((py - dragStartY) / zoom));
}

void Minimap::OnMouseUp() {
    dragging = false;
    Client::Instance()->SetCursor(1);
}

// --- Buttons ---

void Minimap::Update() {
    if (!dialog)
        return;
    if (!initialized) {
        initialized = 1;
        auto make = [this](int icon, const char* caption, GUIButton::Action action) {
            GUIButton* button = new GUIButton(0, caption, action, this);
            if (icon)
                button->SetIcon(icon);
            dialog->AddChild(button);
            return button;
        };
        floorDownButton = make(kFloorDownIcon, "", &Minimap::OnFloorDown);
        floorUpButton = make(kFloorUpIcon, "", &Minimap::OnFloorUp);
        zoomOutButton = make(kZoomOutIcon, "", &Minimap::OnZoomOut);
        zoomInButton = make(kZoomInIcon, "", &Minimap::OnZoomIn);
        worldMapButton = make(0, "Large", &Minimap::OnLarge);
        SetMinimized(minimized != 0);
    }
    const int x = dialog->x, y = dialog->y, w = dialog->width, h = dialog->height;
    floorDownButton->SetRect(x + 8, y + h - 36, 18, 18);
    floorUpButton->SetRect(x + 26, y + h - 36, 18, 18);
    zoomOutButton->SetRect(x + 51, y + h - 36, 18, 18);
    zoomInButton->SetRect(x + 69, y + h - 36, 18, 18);
    worldMapButton->SetRect(x + 94, y + h - 36, w - 102, 18);
}

void Minimap::SetMinimized(bool value) {
    SideWindow::SetMinimized(value);
    SetHidden({floorUpButton, floorDownButton, zoomOutButton, zoomInButton, worldMapButton}, value);
}

void Minimap::OnFloorUp(void* context) {
    Minimap* minimap = static_cast<Minimap*>(context);
    minimap->floor = std::max(kHighestFloor, minimap->floor - 1);
}

void Minimap::OnFloorDown(void* context) {
    Minimap* minimap = static_cast<Minimap*>(context);
    minimap->floor = std::min(kDeepestFloor, minimap->floor + 1);
}

void Minimap::OnZoomOut(void* context) {
    Minimap* minimap = static_cast<Minimap*>(context);
    if (minimap->zoom > kMinZoom)
        minimap->zoom *= 0.5f;
}

void Minimap::OnZoomIn(void* context) {
    Minimap* minimap = static_cast<Minimap*>(context);
    if (minimap->zoom < kMaxZoom)
        minimap->zoom *= 2.0f;
}

void Minimap::OnLarge(void*) {
    if (GameInterface* game = Client::Instance()->game; game && game->worldMap)
        game->worldMap->Open();
}

// --- Drawing ---

void Minimap::Draw() {
    if (!dialog || !app || !app->graphics)
        return;
    // The view follows the player after every step, and stays where a drag or
    // a floor button put it while the player stands still.
    if (GameInterface* game = Client::Instance()->game; game && game->map && game->map->camera) {
        Camera* camera = game->map->camera;
        const int px = camera->GetX() + 8, py = camera->GetY() + 6, pz = camera->GetZ();
        if (px != playerX || py != playerY || pz != playerZ) {
            playerX = centreX = px;
            playerY = centreY = py;
            playerZ = floor = pz;
        }
    }

    Graphics* graphics = app->graphics;
    const uint32_t highlight = gui->root->lightColor;
    const uint32_t shadow = gui->root->darkColor;
    const int x = dialog->x, y = dialog->y, w = dialog->width, h = dialog->height;

    graphics->RenderBox(x + 7, y + h - 37, 38, 20, shadow, highlight, 0);
    graphics->RenderBox(x + 50, y + h - 37, 38, 20, shadow, highlight, 0);
    graphics->RenderBox(x + 93, y + h - 37, w - 100, 20, shadow, highlight, 0);

    graphics->RenderRectangle(kBlack, x + 8, y + 26, w - 16, h - 69);
    graphics->RenderRectangle(shadow, x + 7, y + 25, w - 14, 1);
    graphics->RenderRectangle(shadow, x + 7, y + 26, 1, h - 68);
    graphics->RenderRectangle(highlight, x + 8, y + h - 43, w - 15, 1);
    graphics->RenderRectangle(highlight, x + w - 8, y + 26, 1, h - 69);

    ClipRect clip;
    clip.left = float(x + 8);
    clip.top = float(y + 26);
    clip.right = float(x + w - 8);
    clip.bottom = float(y + h - 43);
    graphics->EnableClipper(clip);
    graphics->SetNearestFiltering(true);

    const int width = w - 16, height = h - 69;
    const int halfW = width / 2, halfH = height / 2;
    const int left = centreX - int(std::trunc(halfW / zoom));
    const int top = centreY - int(std::trunc(halfH / zoom));
    const int size = int(std::trunc(256 * zoom));
    if (size > 0) {
        for (int sx = int(std::trunc(-(left & 255) * zoom)); sx < width; sx += size) {
            for (int sy = int(std::trunc(-(top & 255) * zoom)); sy < height; sy += size) {
                // Areas left of or above 0 are not wrapped to the far edge of the world.
                MinimapChunk* chunk =
                    GetChunk(int(std::trunc(sx / zoom)) + left, int(std::trunc(sy / zoom)) + top, floor);
                if (!chunk)
                    continue;
                if (Sprite* texture = chunk->Upload())
                    graphics->RenderSprite(texture, x + 8 + sx, y + 26 + sy, size, size);
            }
        }
    }

    const float crossX = (playerX - centreX) * zoom + float(x + 8 + halfW);
    const float crossY = (playerY - centreY) * zoom + float(y + 26 + halfH);
    graphics->RenderRectangle(kWhite, int(std::trunc(crossX - 3)), int(std::trunc(crossY - 1)), 6, 2);
    graphics->RenderRectangle(kWhite, int(std::trunc(crossX - 1)), int(std::trunc(crossY - 3)), 2, 6);

    int key = kFirstTooltipKey;
    for (const MinimapMarker& marker : markers) {
        if (marker.z != floor)
            continue;
        const int mx = int(std::trunc(zoom * marker.x + float(x + 8) - zoom * left));
        const int my = int(std::trunc(zoom * marker.y + float(y + 26) - zoom * top));
        if (mx < x + 8 || mx > x + 8 + width || my < y + 26 || my > y + 26 + height)
            continue;
        // An icon id from the file that names no sprite draws nothing; the text still shows.
        if (Sprite* icon = marker.icon <= kMaxSpriteId ? app->sprites->GetSprite(int(marker.icon)) : nullptr)
            graphics->RenderSprite(icon, mx - 9, my - 9);
        if (key <= kLastTooltipKey)
            gui->AddTooltip(key++, float(mx - 9), float(my - 9), 18, 18, {marker.text});
    }
    for (; key <= kLastTooltipKey + 1; ++key)
        gui->RemoveTooltip(key);

    graphics->SetNearestFiltering(false);
    graphics->DisableClipper();
}
