#pragma once

#include "engine/gui/GUIControl.h"

// An etched horizontal separator: a dark and a light line of the control's
// width, two pixels high whatever its height.
class GUILine : public GUIControl {
public:
    GUILine() = default;

    void Draw() override;
};
