#pragma once

#include <string>

#include "game/GameControlIds.h"
#include "sidewindows/SideWindow.h"

// The party window.
class Party : public SideWindow {
public:
    static constexpr int kWindowId = GameIds::kPartyWindow;

    Party();
    ~Party() override;

    // Right button: the menu of the member under the point.
    void ContextMenu(int x, int y);
    // A member has exactly that name (the map view's party icon).
    bool IsMember(const std::string& name) const;
};
