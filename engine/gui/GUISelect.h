#pragma once

#include <string>
#include <vector>

#include "engine/gui/GUIControl.h"

class GUIScrollbar;
struct Sprite;

// One row of a select list: a text, a right-aligned text, a second line of two
// grey texts and an icon (a sprite of its own, not owned, or a sprite id).
struct GUISelectItem {
    std::string text;
    std::string rightText;
    std::string subText;
    std::string subRightText;
    int iconId = 0;
    Sprite* icon = nullptr;
};

// The list box: a framed, clipped column of rows of which one is selected.
// Dialogs fill it with AddItem, read selectedIndex or GetSelectedText and learn
// of clicks through the base click callback, which fires after the list's own
// mouse-down. It makes its scroll bar (its first child, scrolled in pixels)
// once the rows no longer fit; the bar stays until Clear. A click does not give
// the list the focus: the dialogs set it, and then Up and Down move the
// selection.
class GUISelect : public GUIControl {
public:
    GUISelect() = default;

    void AddItem(const std::string& text, const std::string& rightText = std::string(), int iconId = 0,
                 const std::string& subText = std::string(), const std::string& subRightText = std::string(),
                 Sprite* icon = nullptr);
    // Removes the rows and the scroll bar; the indices stay as they are.
    void Clear();
    std::string GetSelectedText() const;
    void SelectNext();
    void SelectPrevious();
    void UpdateScrollbar();
    // Scrolls the selected row into view.
    void SyncScroll();
    GUIScrollbar* Scrollbar() const;

    void Draw() override;
    void OnMouseDown(int x, int y) override;
    void OnMouseWheel(int steps) override;

    std::vector<GUISelectItem> items;
    int selectedIndex = 0;
    int markedIndex = -1;  // the row last clicked with Ctrl held
    int rowHeight = 20;
};
