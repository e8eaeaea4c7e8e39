#pragma once

#include "world/WorldHooks.h"

// What the map asks of the game screen, answered by the screen's own parts
// (the protocol, the status line, the paged text, the tips, the mouse
// actions) and by the options. The game screen installs the one instance
// into its map; a part that does not exist at the moment is left out.
class GameWorldHooks : public WorldHooks {
public:
    static GameWorldHooks* Instance();

    void Send(const OutMessage& message) override;
    void SetStatusText(const std::string& text) override;
    void HidePagedText() override;
    void AddTip(int kind, const std::string& title, const std::string& text, const Position& at) override;
    void SetMinimapTile(uint16_t x, uint16_t y, uint8_t z, uint8_t color, uint8_t speed) override;
    uint8_t GetMinimapColor(uint16_t x, uint16_t y, uint8_t z) override;
    uint8_t GetMinimapSpeed(uint16_t x, uint16_t y, uint8_t z) override;
    void StopMouseWalk() override;
    bool IsPartyMember(const std::string& name) override;
    bool TimerMovement() override;
    bool SmoothSidestep() override;
    bool FloorFading() override;
    bool SeenEnraged() override;
    void SetSeenEnraged() override;
};
