#include "sidewindows/WorldMapDialog.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include "client/Client.h"
#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIMenu.h"
#include "engine/gui/GUIText.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameInterface.h"
#include "game/Lifecycle.h"
#include "game/ThingActions.h"
#include "sidewindows/Minimap.h"
#include "sidewindows/MinimapChunk.h"
#include "sidewindows/MinimapFiles.h"
#include "world/Camera.h"
#include "world/Map.h"

namespace {

const char kHint[] = "Click and drag to move around the map. Right click to place markers.";
const uint32_t kHintColor = 0xFFA0A0A0;
const uint32_t kWhite = 0xFFFFFFFF;
const uint32_t kOpaqueBlack = 0xFF000000;
const uint32_t kPanelFill = 0x1E000000;
const int kMarkerHalf = 9;   // a marker's icon box is 18 x 18 around its tile
const int kMarkerBox = 18;
const int kChunkSide = 256;  // tiles per chunk side
const int kLastChunk = 255;  // chunks 0..255 cover map coordinates 0..65535

// Button icons of the floor and zoom buttons.
const int kFloorDownIcon = 6;
const int kFloorUpIcon = 5;
const int kZoomOutIcon = 891;
const int kZoomInIcon = 892;

WorldMapDialog* Module(void* context) { return static_cast<WorldMapDialog*>(context); }

void OnCloseButton(void* module) { Module(module)->CloseButton(); }
void OnFloorDown(void* module) { Module(module)->FloorDown(); }
void OnFloorUp(void* module) { Module(module)->FloorUp(); }
void OnZoomOut(void* module) { Module(module)->ZoomOut(); }
void OnZoomIn(void* module) { Module(module)->ZoomIn(); }
void OnCenter(void* module) { Module(module)->Center(); }

GameInterface* Game() { return Client::Instance()->game; }

// The tile the player stands on: the camera's top-left tile + (8, 6).
bool PlayerTile(Position& tile) {
    GameInterface* game = Game();
    Camera* camera = game && game->map ? game->map->camera : nullptr;
    if (!camera)
        return false;
    tile.x = camera->GetX() + 8;
    tile.y = camera->GetY() + 6;
    tile.z = camera->GetZ();
    return true;
}

// Marker icons are sprite ids read from a file: anything the store cannot
// hold is no sprite (GetSprite takes an int).
Sprite* MarkerIcon(KEngine2* app, uint32_t icon) {
    if (!app || !app->sprites || icon > uint32_t(INT_MAX))
        return nullptr;
    return app->sprites->GetSprite(int(icon));
}

}  // namespace

WorldMapDialog::WorldMapDialog() {
    app = Client::Instance()->app;
    gui = app ? app->gui : nullptr;
    lifecycle::Note("WorldMapDialog");
}

WorldMapDialog::~WorldMapDialog() { lifecycle::Note("~WorldMapDialog"); }

Minimap* WorldMapDialog::TheMinimap() {
    GameInterface* game = Game();
    return game ? game->minimap : nullptr;
}

GUIControl* WorldMapDialog::FindDialog() const { return DialogHelper(gui, kDialogId).Dialog(); }

bool WorldMapDialog::IsOpen() const { return FindDialog() != nullptr; }

void WorldMapDialog::Open() {
    DialogHelper dialog(gui, kDialogId);
    if (dialog.IsOpen())
        return;
    // The zoom stays as the player left it; the place is always the player's.
    Center();
    GUIDialog* window = dialog.OpenFromCentre("World Map", -375, -225, 750, 450);
    if (!window)
        return;
    window->drawCallback = &WorldMapDialog::Draw;
    window->drawContext = this;

    auto iconButton = [&](int icon, GUIButton::Action action, int dx) {
        dialog.AddButton(0, "", action, this, dx, 376, 18, 18)->SetIcon(icon);
    };
    iconButton(kFloorDownIcon, &OnFloorDown, 11);
    iconButton(kFloorUpIcon, &OnFloorUp, 29);
    iconButton(kZoomOutIcon, &OnZoomOut, 56);
    iconButton(kZoomInIcon, &OnZoomIn, 74);
    dialog.AddButton(0, "Center", &OnCenter, this, 101, 376, 63, 18);
    dialog.Add(new GUILine(), 7, 405, 736, 1);
    dialog.AddButton(kCloseButtonId, "Close", &OnCloseButton, this, 315, 415, 120, 25);
}

void WorldMapDialog::Close() {
    lifecycle::Note("WorldMapDialog::Close");
    if (!gui)
        return;
    DialogHelper(gui, kMenuId).Close();
    DialogHelper(gui, kAddMarkerDialogId).Close();
    DialogHelper(gui, kDialogId).CloseAndFocus(GameIds::kChatInput);
    for (int key = kFirstTooltip; key <= kTooltipEnd; ++key)
        gui->RemoveTooltip(key);
    // Nothing is left to drag; the next left release restores the cursor.
    dragging = false;
}

void WorldMapDialog::FloorDown() {
    if (floor <= 14)
        ++floor;
}

void WorldMapDialog::FloorUp() {
    if (floor >= 1)
        --floor;
}

void WorldMapDialog::ZoomOut() {
    if (zoom > 0.25f)
        zoom *= 0.5f;
}

void WorldMapDialog::ZoomIn() {
    if (zoom < 4.0f)
        zoom *= 2.0f;
}

void WorldMapDialog::Center() {
    Position player;
    if (!PlayerTile(player))
        return;
    centerX = player.x;
    centerY = player.y;
    floor = player.z;
}

WorldMapDialog::View WorldMapDialog::ViewOf(const GUIControl& dialog) const {
    View view;
    view.mapW = dialog.width - 20;
    view.mapH = dialog.height - 115;
    view.left = dialog.x + 11;
    view.top = dialog.y + 31;
    view.leftPx = int((centerX - view.mapW / (2.0 * zoom)) * zoom);
    view.topPx = int((centerY - view.mapH / (2.0 * zoom)) * zoom);
    return view;
}

GUIControl* WorldMapDialog::MapUnder(int x, int y) const {
    GUIControl* dialog = FindDialog();
    if (!dialog)
        return nullptr;
    const bool inside = dialog->x + 11 <= x && x <= dialog->x + dialog->width - 12 && dialog->y + 31 <= y &&
                        y <= dialog->y + dialog->height - 83;
    return inside ? dialog : nullptr;
}

void WorldMapDialog::Draw(void* module) {
    WorldMapDialog* self = Module(module);
    GUIControl* dialog = self->FindDialog();
    if (dialog && self->app && self->app->graphics)
        self->DrawMap(*dialog);
}

void WorldMapDialog::DrawMap(const GUIControl& dialog) {
    Graphics* graphics = app->graphics;
    const GUIControl* root = gui->root;
    const uint32_t light = root ? root->lightColor : kWhite;
    const uint32_t dark = root ? root->darkColor : kOpaqueBlack;
    const int dx = dialog.x;
    const int dy = dialog.y;
    const int dw = dialog.width;
    const int dh = dialog.height;

    graphics->RenderBox(dx + 10, dy + dh - 75, 38, 20, dark, light, 0);
    graphics->RenderBox(dx + 55, dy + dh - 75, 38, 20, dark, light, 0);
    graphics->RenderBox(dx + 100, dy + dh - 75, 65, 20, dark, light, 0);
    const int hintWidth = app->TextWidth(kHint);
    graphics->RenderText(kHint, dx + dw - 15 - hintWidth, dy + dh - 73, kHintColor, true);

    const View view = ViewOf(dialog);
    graphics->RenderBox(dx + 10, dy + 30, view.mapW, view.mapH, dark, light, kOpaqueBlack);
    ClipRect clip;
    clip.left = float(dx + 11);
    clip.top = float(dy + 31);
    clip.right = float(dx + dw - 11);
    clip.bottom = float(dy + dh - 86);
    graphics->EnableClipper(clip);
    graphics->SetNearestFiltering(true);

    // The chunks under the view. Columns and rows outside the world are
    // skipped rather than wrapped onto its far edge, and a look-up makes no
    // chunk for land never explored.
    const int chunkPx = int(kChunkSide * zoom);
    const int firstCX = int(std::floor(double(view.leftPx) / chunkPx));
    const int firstCY = int(std::floor(double(view.topPx) / chunkPx));
    const int lastCX = firstCX + int(std::ceil(double(view.mapW) / chunkPx)) + 1;
    const int lastCY = firstCY + int(std::ceil(double(view.mapH) / chunkPx)) + 1;
    Minimap* minimap = TheMinimap();
    if (minimap) {
        for (int cx = std::max(firstCX, 0); cx <= std::min(lastCX, kLastChunk); ++cx) {
            for (int cy = std::max(firstCY, 0); cy <= std::min(lastCY, kLastChunk); ++cy) {
                MinimapChunk* chunk = minimap->GetChunk(cx * kChunkSide, cy * kChunkSide, floor);
                if (!chunk)
                    continue;
                graphics->RenderSprite(chunk->Upload(), cx * chunkPx + view.left - view.leftPx,
                                       cy * chunkPx + view.top - view.topPx, chunkPx, chunkPx);
            }
        }
    }

    // The player's cross, on every floor.
    Position player;
    if (PlayerTile(player)) {
        const int px = int(player.x - view.leftPx / zoom);
        const int py = int(player.y - view.topPx / zoom);
        graphics->RenderRectangle(kWhite, int(px * zoom + view.left - 2), int(py * zoom + view.top), 6, 2);
        graphics->RenderRectangle(kWhite, int(px * zoom + view.left), int(py * zoom + view.top - 2), 2, 6);
    }

    int key = kFirstTooltip;
    if (minimap) {
        for (const MinimapMarker& marker : minimap->markers) {
            if (marker.z != floor || marker.x < firstCX * kChunkSide || marker.x > (lastCX + 1) * kChunkSide ||
                marker.y < firstCY * kChunkSide || marker.y > (lastCY + 1) * kChunkSide)
                continue;
            const int sx = int(zoom * marker.x + view.left - view.leftPx);
            const int sy = int(zoom * marker.y + view.top - view.topPx);
            if (sx < dx + 11 || sx > dx + dw - 9 || sy < dy + 31 || sy > dy + dh - 84)
                continue;
            graphics->RenderSprite(MarkerIcon(app, marker.icon), sx - kMarkerHalf, sy - kMarkerHalf);
            if (key <= kLastTooltip) {
                gui->AddTooltip(key, float(sx - kMarkerHalf), float(sy - kMarkerHalf), kMarkerBox, kMarkerBox,
                                {marker.text});
                ++key;
            }
        }
    }
    for (; key <= kTooltipEnd; ++key)
        gui->RemoveTooltip(key);

    graphics->SetNearestFiltering(false);
    graphics->DisableClipper();
}

void WorldMapDialog::OnMouseDown(int x, int y) {
    if (!MapUnder(x, y))
        return;
    dragStartX = x;
    dragStartY = y;
    dragOriginX = centerX;
    dragOriginY = centerY;
    dragging = true;
    Client::Instance()->SetCursor(2);
}

void WorldMapDialog::OnMouseMove(int x, int y) {
    if (!dragging)
        return;
    centerX = dragOriginX - int((x - dragStartX) / zoom);
    centerY = dragOriginY - int((y - dragStartY) / zoom);
}

void WorldMapDialog::OnMouseUp() {
    dragging = false;
    Client::Instance()->SetCursor(1);
}

void WorldMapDialog::OnMouseWheel(int x, int y, int delta) {
    if (!MapUnder(x, y))
        return;
    if (delta > 0)
        ZoomOut();
    else if (delta < 0)
        ZoomIn();
}

Position WorldMapDialog::TileAt(int x, int y) const {
    Position tile;
    tile.z = floor;
    if (const GUIControl* dialog = FindDialog()) {
        const View view = ViewOf(*dialog);
        tile.x = int((view.leftPx + x - view.left) / zoom);
        tile.y = int((view.topPx + y - view.top) / zoom);
    }
    return tile;
}

void WorldMapDialog::OpenMenu(int x, int y) {
    GUIControl* dialog = MapUnder(x, y);
    if (!dialog)
        return;
    const Position tile = TileAt(x, y);
    clickX = tile.x;
    clickY = tile.y;
    clickZ = floor;

    GUIMenu* menu = new GUIMenu();
    menu->id = kMenuId;
    menu->SetRect(x, y, 150, 47);
    menu->selectCallback = &WorldMapDialog::OnMenuItem;
    menu->callbackContext = this;
    gui->AddControl(menu);

    // The first marker of the shown floor whose icon box holds the pointer.
    const View view = ViewOf(*dialog);
    int under = -1;
    if (Minimap* minimap = TheMinimap()) {
        int index = 0;
        for (const MinimapMarker& marker : minimap->markers) {
            if (marker.z == floor) {
                const int bx = int(zoom * marker.x + view.left - view.leftPx - kMarkerHalf);
                const int by = int(zoom * marker.y + view.top - view.topPx - kMarkerHalf);
                if (bx <= x && x <= bx + kMarkerBox - 1 && by <= y && y <= by + kMarkerBox - 1) {
                    under = index;
                    break;
                }
            }
            ++index;
        }
    }
    if (under >= 0) {
        markerIndex = under;
        menu->AddItem(kRemoveMarkerItem, "Remove marker");
    } else {
        menu->AddItem(kAddMarkerItem, "Add marker...");
    }
    menu->AddItem(kWalkHereItem, "Walk here");
}

void WorldMapDialog::OnMenuItem(int item, void* module) {
    WorldMapDialog* self = Module(module);
    switch (item) {
    case kAddMarkerItem:
        self->OpenAddMarker();
        break;
    case kRemoveMarkerItem:
        self->RemoveMarker();
        break;
    case kWalkHereItem:
        if (GameInterface* game = Game(); game && game->thingActions) {
            Position target;
            target.x = self->clickX;
            target.y = self->clickY;
            target.z = self->clickZ;
            game->thingActions->WalkTo(target, true);
        }
        break;
    default:
        break;
    }
}

void WorldMapDialog::OpenAddMarker() {
    DialogHelper dialog(gui, kAddMarkerDialogId);
    GUIDialog* window = dialog.OpenFromCentre("Add Marker", -135, -130, 280, 120);
    if (!window)
        return;
    window->drawCallback = &WorldMapDialog::DrawAddMarker;
    window->drawContext = this;
    dialog.AddText("Marker text:", 20, 38);
    GUITextbox* text = dialog.Add(new GUITextbox(), 115, 35, 145, 25);
    text->id = kMarkerTextId;
    dialog.Add(new GUILine(), 7, 75, 266, 1);
    dialog.AddButton(kAddButtonId, "Add", &WorldMapDialog::ConfirmAddMarker, this, 37, 87, 95, 25);
    dialog.AddButton(0, "Cancel", &WorldMapDialog::CancelAddMarker, this, 147, 87, 95, 25);
    // What the player types is the marker's text, and Enter adds it; without
    // this both would go to the chat line.
    gui->focus = text;
    gui->enterButtonId = kAddButtonId;
}

void WorldMapDialog::ConfirmAddMarker(void* module) {
    WorldMapDialog* self = Module(module);
    DialogHelper dialog(self->gui, kAddMarkerDialogId);
    GUITextbox* box = dialog.Find<GUITextbox>(kMarkerTextId);
    self->AddMarker(kMarkerIcon, box ? box->GetText() : std::string());
    dialog.CloseAndFocus(GameIds::kChatInput);
}

void WorldMapDialog::CancelAddMarker(void* module) {
    DialogHelper(Module(module)->gui, kAddMarkerDialogId).CloseAndFocus(GameIds::kChatInput);
}

void WorldMapDialog::DrawAddMarker(void* module) {
    WorldMapDialog* self = Module(module);
    const GUIControl* dialog = DialogHelper(self->gui, kAddMarkerDialogId).Dialog();
    const GUIControl* root = self->gui->root;
    if (!dialog || !root || !self->app || !self->app->graphics)
        return;
    self->app->graphics->RenderBox(dialog->x + 10, dialog->y + 28, dialog->width - 20, 39, root->darkColor,
                                   root->lightColor, kPanelFill);
}

void WorldMapDialog::AddMarker(uint32_t icon, const std::string& text) {
    Minimap* minimap = TheMinimap();
    if (!minimap)
        return;
    MinimapMarker marker;
    marker.x = clickX;
    marker.y = clickY;
    marker.z = clickZ;
    marker.icon = icon;
    marker.text = text.substr(0, kMaxMinimapMarkerText);
    minimap->markers.push_back(marker);
    minimap->SaveMarkers();
}

void WorldMapDialog::RemoveMarker() {
    Minimap* minimap = TheMinimap();
    if (!minimap || markerIndex < 0 || size_t(markerIndex) >= minimap->markers.size())
        return;
    minimap->markers.erase(minimap->markers.begin() + markerIndex);
    minimap->SaveMarkers();
}
