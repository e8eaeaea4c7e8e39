#pragma once

#include <string>

#include "engine/gui/GUIControl.h"

// A check box with a label. A plain one flips only for presses on its 15-pixel
// box; a framed one sits in a sunken frame and flips for presses anywhere on
// the control. Dialogs set the fields directly and read checked when they
// collect their values; the base click callback fires on every press.
class GUICheckbox : public GUIControl {
public:
    GUICheckbox() = default;

    void Draw() override;
    void OnMouseDown(int x, int y) override;

    std::string label;
    bool framed = false;
    bool checked = false;
};
