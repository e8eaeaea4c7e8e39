#pragma once

class GUIManager;
class KEngine2;

// The world map: the explored areas of the minimap in a large dialog
// (Ctrl+M), dragged, zoomed and marked with the mouse.
class WorldMapDialog {
public:
    WorldMapDialog();
    ~WorldMapDialog();
    WorldMapDialog(const WorldMapDialog&) = delete;
    WorldMapDialog& operator=(const WorldMapDialog&) = delete;

    void Open();
    void Close();
    void OnMouseMove(int x, int y);
    void OnMouseDown(int x, int y);
    void OnMouseUp(int x, int y);
    void OpenMenu(int x, int y);
    void OnMouseWheel(int x, int y, int delta);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    bool dragging = false;  // the map is being dragged
};
