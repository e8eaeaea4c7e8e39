#pragma once

#include <string>
#include <vector>

#include "engine/gui/GUIControl.h"

struct Sprite;

// The pop-up list of choices of a right click: rows of 20 px with an optional
// 16 px icon, separator rows (value 0 or less), a highlight under the pointer
// and one select callback that receives the chosen row's value. The creator
// gives it its rectangle (150 px wide, 6 + 20 px per row) and hands it to
// GUIManager::AddControl, which keeps one menu open and closes it on the next
// left-button release, chosen or not. Presses over the menu go on to what lies
// beneath it; only the release matters.
class GUIMenu : public GUIControl {
public:
    using SelectCallback = void (*)(int value, void* context);

    struct Entry {
        int value = 0;
        bool disabled = false;
        std::string text;
        Sprite* icon = nullptr;  // not owned
    };

    GUIMenu() = default;

    void AddItem(int value, const std::string& text, bool enabled = true, Sprite* icon = nullptr);

    void Draw() override;
    void OnMouseUp(int x, int y) override;
    void OnMouseMove(int x, int y) override;

    // Writes "Chose: <value>" to standard output; every creator replaces it.
    static void DefaultCallback(int value, void* context);

    SelectCallback selectCallback = &DefaultCallback;
    void* callbackContext = nullptr;
    std::vector<Entry> entries;
    int hoverX = 0;  // relative to the menu's left edge
    int hoverY = 0;  // window coordinates
};
