#pragma once

#include <string>
#include <vector>

#include "engine/gui/GUIControl.h"

// A one-line value chooser: a sunken bar showing "label: item", centred, with
// an arrow button at each end that steps backwards or forwards through the
// items, wrapping round at both ends, and reports every step through the
// change callback. The buttons are made by the first draw, so the rectangle
// must be set before.
class GUISelector : public GUIControl {
public:
    using ChangeCallback = void (*)(int index, void* context);

    GUISelector() = default;

    void SetLabel(const std::string& text) { label = text; }
    // Selects the first item; the callback is not called.
    void SetItems(const std::vector<std::string>& list);
    // An index out of range leaves index 0 with an empty text; no callback.
    void SetSelected(int index);

    // The arrow buttons' actions (context: the selector).
    static void SelectPrevious(void* context);
    static void SelectNext(void* context);

    void Draw() override;

    ChangeCallback changeCallback = nullptr;
    void* callbackContext = nullptr;
    std::string label;
    std::string currentText;
    int selectedIndex = 0;
    std::vector<std::string> items;

private:
    void Step(int delta);
};
