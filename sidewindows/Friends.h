#pragma once

#include "game/GameControlIds.h"
#include "sidewindows/SideWindow.h"

// The friends window ("People").
class Friends : public SideWindow {
public:
    static constexpr int kWindowId = GameIds::kFriendsWindow;

    Friends();
    ~Friends() override;

    // Right button: the menu of the name under the point.
    void ContextMenu(int x, int y);
};
