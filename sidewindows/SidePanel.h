#pragma once

#include <cstdint>
#include <vector>

class SideWindow;

// A column of side windows at the left or right screen edge. It owns none of
// them: every frame it collects, from the game screen's side-window list, the
// windows whose frames lie in it, so the player moves a window to the other
// column by dragging its frame there. Below the windows it paints the rest of
// the column.
class SidePanel {
public:
    static constexpr int kMinWidth = 165;
    static constexpr int kMaxWidth = 241;

    explicit SidePanel(bool left);
    SidePanel(const SidePanel&) = delete;
    SidePanel& operator=(const SidePanel&) = delete;

    // Forgets this frame's windows; the windows stay.
    void Clear();
    // Forgets one window of this frame's list, which is about to be deleted.
    void RemoveWindow(const SideWindow* window);
    // 165 .. 241, capped at (screen width - 200) / 2 (never below 0); 0 or
    // less hides the left panel.
    void SetWidth(int pixels);
    int GetWidth() const { return width; }
    void CollectWindows(bool takeUnplaced);
    // Stacks the windows from the top; returns the height of the visible ones.
    int Layout();
    // Moves every window of the column to the column's left edge.
    void AlignToScreen(int screenWidth, int screenHeight);
    void Draw();

    std::vector<SideWindow*> windows;  // this frame's, top to bottom; not owned
    uint8_t isLeft = 0;
    uint8_t resizing = 0;  // the player drags the inner edge
    int width = kMinWidth;

private:
    int Left() const;
};
