#pragma once

#include "world/WorldHooks.h"

class ThingActions;

// What the world model asks of the game screen, the protocol and the
// settings, handed to the game screen's Map: requests go to the protocol,
// status texts to the status line, keyboard steps cancel the mouse walk,
// options come from the settings. The minimap, the tip messages and the paged
// text window are not part of the game screen yet: those calls keep the
// defaults until they are.
class WorldLink : public WorldHooks {
public:
    explicit WorldLink(ThingActions* actions) : actions(actions) {}

    void Send(const OutMessage& message) override;
    void SetStatusText(const std::string& text) override;
    void StopMouseWalk() override;
    bool TimerMovement() override;
    bool SmoothSidestep() override;
    bool FloorFading() override;
    bool SeenEnraged() override;
    void SetSeenEnraged() override;

private:
    ThingActions* actions;  // not owned
};
