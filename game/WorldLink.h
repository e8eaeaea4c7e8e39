#pragma once

#include "world/WorldHooks.h"

class GameInterface;

// What the world model asks of the game screen, the protocol and the
// settings, handed to the game screen's Map: requests go to the protocol,
// status texts to the status line, keyboard steps cancel the mouse walk,
// tips to the tip messages, the paged text window hides, options come from
// the settings. The minimap is not part of the game screen yet: its calls
// keep the defaults until it is.
class WorldLink : public WorldHooks {
public:
    // The game screen's parts are looked up at each call: the map is made
    // before some of them.
    explicit WorldLink(GameInterface* game) : game(game) {}

    void Send(const OutMessage& message) override;
    void SetStatusText(const std::string& text) override;
    void HidePagedText() override;
    void AddTip(int kind, const std::string& title, const std::string& text, const Position& at) override;
    void StopMouseWalk() override;
    bool TimerMovement() override;
    bool SmoothSidestep() override;
    bool FloorFading() override;
    bool SeenEnraged() override;
    void SetSeenEnraged() override;

private:
    GameInterface* game;  // the owner
};
