#pragma once

#include <cstdint>
#include <string>

#include "world/Position.h"

class OutMessage;

// What the world model asks of the layers above it: the game screen installs
// one into its Map, so that the map never reaches up into the protocol, the
// game screen's windows or the settings. Every operation has a harmless
// default, which is also what a map without installed hooks gets.
class WorldHooks {
public:
    virtual ~WorldHooks() = default;

    // Hands a request to the server (Protocol::Send).
    virtual void Send(const OutMessage&) {}
    // The status line's text (StatusLine::SetText).
    virtual void SetStatusText(const std::string&) {}
    // Hides the paged text window (PagedTextWindow::Hide).
    virtual void HidePagedText() {}
    // Shows a tip at a map position (TipMessages::Add).
    virtual void AddTip(int /*kind*/, const std::string& /*title*/, const std::string& /*text*/,
                        const Position& /*at*/) {}
    // The explored-area minimap (Minimap::SetTile, GetColor, GetSpeed).
    virtual void SetMinimapTile(uint16_t /*x*/, uint16_t /*y*/, uint8_t /*z*/, uint8_t /*color*/, uint8_t /*speed*/) {}
    virtual uint8_t GetMinimapColor(uint16_t /*x*/, uint16_t /*y*/, uint8_t /*z*/) { return 0; }
    virtual uint8_t GetMinimapSpeed(uint16_t /*x*/, uint16_t /*y*/, uint8_t /*z*/) { return 100; }
    // A keyboard step cancels a walk or drag of the mouse actions
    // (ThingActions::StopWalk(false)) when one is going on.
    virtual void StopMouseWalk() {}

    // Options.
    virtual bool TimerMovement() { return true; }
    virtual bool SmoothSidestep() { return true; }
    virtual bool FloorFading() { return true; }
    virtual bool SeenEnraged() { return false; }
    virtual void SetSeenEnraged() {}
};
