#pragma once

#include "game/GameControlIds.h"
#include "sidewindows/SideWindow.h"

// The actions window: the buttons for the game's general actions.
class Actions : public SideWindow {
public:
    static constexpr int kWindowId = GameIds::kActionsWindow;

    Actions();
    ~Actions() override;
};
