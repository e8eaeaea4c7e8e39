#pragma once

#include <string>

#include "engine/gui/GUIControl.h"

// One tab of a GUITabgroup. A press reaches the owner through the tab's base
// click callback, after the group's own mouse-down has made it active. The
// active tab is drawn sunken, the others raised.
class GUITab : public GUIControl {
public:
    GUITab() = default;

    void Draw() override;

    std::string caption;
    bool active = false;
};
