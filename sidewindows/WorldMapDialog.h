#pragma once

#include <cstdint>
#include <string>

#include "game/GameControlIds.h"
#include "world/Position.h"

class GUIControl;
class GUIManager;
class KEngine2;
class Minimap;

// The world map: the explored areas of the minimap on one floor in a large
// dialog (Ctrl+M or the minimap's "Large"), dragged with the left button,
// zoomed in steps of two and marked through a right-click menu. It draws the
// minimap's chunks and edits the minimap's marker list, saving the list after
// every change; it owns neither. The game screen keeps one module for the
// whole game and routes the mouse to it; the dialog is built on demand.
class WorldMapDialog {
public:
    static constexpr int32_t kDialogId = GameIds::kWorldMapDialog;
    static constexpr int32_t kCloseButtonId = GameIds::kWorldMapClose;
    static constexpr int32_t kMenuId = GameIds::kWorldMapMenu;
    static constexpr int32_t kAddMarkerDialogId = GameIds::kAddMarkerDialog;
    static constexpr int32_t kMarkerTextId = GameIds::kAddMarkerText;
    static constexpr int32_t kAddButtonId = GameIds::kAddMarkerButton;
    // The menu's entries.
    static constexpr int kAddMarkerItem = 1;
    static constexpr int kRemoveMarkerItem = 2;
    static constexpr int kWalkHereItem = 3;
    // Tooltip keys of the markers shown: at most kLastTooltip - kFirstTooltip + 1.
    static constexpr int kFirstTooltip = 100;
    static constexpr int kLastTooltip = 199;
    static constexpr int kTooltipEnd = 200;
    static constexpr uint32_t kMarkerIcon = 5768;

    WorldMapDialog();
    ~WorldMapDialog();
    WorldMapDialog(const WorldMapDialog&) = delete;
    WorldMapDialog& operator=(const WorldMapDialog&) = delete;

    // Builds the dialog, recentred on the player; nothing while it is open.
    void Open();
    // Closes both dialogs and the menu, and forgets the markers' tooltips; the view stays.
    void Close();
    bool IsOpen() const;

    // The buttons.
    void CloseButton() { Close(); }
    void FloorDown();  // deeper, at most 15
    void FloorUp();    // higher, at least 0
    void ZoomOut();    // down to 0.25 pixels per tile
    void ZoomIn();     // up to 4
    void Center();     // the player's tile and floor in the middle

    // The dialog's draw callback (context: the module).
    static void Draw(void* module);

    // The mouse, in window pixels, as the game screen routes it. A left press
    // in the map starts a drag that only the next left release ends.
    void OnMouseDown(int x, int y);
    void OnMouseMove(int x, int y);
    void OnMouseUp();
    void OnMouseWheel(int x, int y, int delta);
    // Right press: the menu of the spot (add or remove a marker, walk there).
    void OpenMenu(int x, int y);
    static void OnMenuItem(int item, void* module);

    // The "Add Marker" dialog.
    void OpenAddMarker();
    static void ConfirmAddMarker(void* module);
    static void CancelAddMarker(void* module);
    static void DrawAddMarker(void* module);

    // Appends a marker at the last right click and saves the list. The text is
    // cut to what the markers file reads back (255 bytes): a longer one would
    // end the list there at the next game, losing it and every later marker.
    void AddMarker(uint32_t icon, const std::string& text);
    // Removes the marker under the last right click and saves the list.
    void RemoveMarker();

    // The tile under a window point on the shown floor, as a right click sees
    // it (whether or not the point lies in the map).
    Position TileAt(int x, int y) const;

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    int centerX = 300;  // the tile shown in the middle of the map
    int centerY = 300;
    int floor = 7;      // 0..15
    int dragStartX = 0;
    int dragStartY = 0;
    int dragOriginX = 0;
    int dragOriginY = 0;
    int clickX = 0;  // the tile of the last right click and the floor shown then
    int clickY = 0;
    int clickZ = 0;
    int markerIndex = -1;  // the marker under the last right click, in list order
    bool dragging = false;
    float zoom = 1.0f;  // pixels per tile: 0.25, 0.5, 1, 2 or 4

private:
    // The view of the map inside the dialog's rectangle.
    struct View {
        int left = 0;  // the drawn interior's top-left corner
        int top = 0;
        int mapW = 0;
        int mapH = 0;
        int leftPx = 0;  // the view's origin in zoomed map pixels
        int topPx = 0;
    };
    View ViewOf(const GUIControl& dialog) const;
    GUIControl* FindDialog() const;
    // The dialog, when open and the point lies in its map.
    GUIControl* MapUnder(int x, int y) const;
    void DrawMap(const GUIControl& dialog);
    static Minimap* TheMinimap();
};
