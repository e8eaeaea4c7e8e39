#pragma once

#include <vector>

#include "engine/gui/GUIControl.h"

class GUIButton;
class GUITab;

// A horizontal strip of equal-width tabs. The owner makes the tabs, sets their
// ids, captions and click callbacks and hands them over with AddTab; the group
// lays them out left to right, keeps one active, lets the player drag a tab
// sideways to reorder the strip, and shows two scroll buttons that shift the
// first shown tab when the tabs do not fit. It never shows or hides the pages:
// the owner does that in the tabs' click callbacks.
//
// The tabs and the scroll buttons are ordinary children; the children list is
// the strip order, re-sorted by position at every draw.
class GUITabgroup : public GUIControl {
public:
    GUITabgroup() = default;

    void SetTabWidth(int pixels) { tabWidth = pixels; }
    void SetRightMargin(int pixels) { rightMargin = pixels; }
    void SetAlwaysScroll(bool value) { alwaysScroll = value; }
    // Takes ownership; the group's rectangle must be set before.
    void AddTab(GUITab* tab);
    // Removes and deletes the tab; picks no other active tab.
    void RemoveTab(GUITab* tab);
    void SetActiveTab(GUITab* tab);
    std::vector<GUITab*> GetTabs() const;

    // The scroll buttons' actions (context: the group).
    static void ScrollLeft(void* context);
    static void ScrollRight(void* context);

    void Draw() override;
    void OnMouseDown(int x, int y) override;
    void OnMouseUp(int x, int y) override;
    void OnMouseMove(int x, int y) override;

    int rightMargin = 0;
    bool alwaysScroll = false;
    bool scrollButtons = false;
    GUIButton* leftButton = nullptr;
    GUIButton* rightButton = nullptr;
    int firstVisibleTab = 0;
    int tabWidth = 100;
    GUITab* activeTab = nullptr;
    bool dragging = false;
    int grabOffset = 0;

private:
    void CreateScrollButtons();
    int TabCount() const;
    void Scroll(int delta);
};
