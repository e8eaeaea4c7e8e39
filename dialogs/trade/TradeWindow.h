#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One item of a trade offer.
struct TradeItem {
    uint32_t itemId = 0;
    uint32_t count = 0;
    uint32_t group = 0;  // consecutive items with the same non-zero group are one offer slot
};

// A trade with another player, as the server runs it: both offers and the
// lock and acceptance state. The protocol object owns the one running trade.
class TradeWindow {
public:
    explicit TradeWindow(const std::string& partnerName);
    ~TradeWindow();
    TradeWindow(const TradeWindow&) = delete;
    TradeWindow& operator=(const TradeWindow&) = delete;

    // Empties both offers and clears the trade state; the owner deletes the
    // object right after.
    void Reset();
    // The mouse position, and whether an item is being dragged over the slots.
    void SetDragState(int x, int y, bool dragging);
    // A right click on one of the player's own slots takes that item back.
    void OnSlotClick(int x, int y);
    // The own (own = true) or the partner's slot under a point, or -1; the
    // window's slots are still to come, so none is found yet.
    int HitTestSlot(int x, int y, bool own);
    // The window is open and the point lies on its own-items drop area (the
    // whole window until its layout comes).
    bool IsOverDropArea(int x, int y);

    std::vector<std::unique_ptr<TradeItem>> ownItems;
    std::vector<std::unique_ptr<TradeItem>> partnerItems;
    std::string partnerName;
    uint8_t ownLocked = 0;
    uint8_t partnerLocked = 0;
    uint8_t ownAccepted = 0;
};
