#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "game/GameControlIds.h"

class GUIManager;
class KEngine2;

// A house on auction, as the server last sent it.
struct HouseBidEntry {
    uint32_t houseId = 0;     // sent back with a bid
    uint32_t highestBid = 0;  // in premium cards
    uint32_t secondsLeft = 0;  // when the server sent it; taken as a signed 32-bit number
    uint32_t rent = 0;         // gold
    int64_t receivedAt = 0;    // seconds of the C runtime clock when it arrived
    std::string name;
    std::string bidder;  // empty while nobody has bid
};

// Bidding for a house with premium cards ("House Bidding", dialog 162). The
// server's list of houses on auction (0x29) replaces the module's list, kept
// sorted by the seconds left, and opens the window; the player picks a house,
// types an amount and "Bid Premium Cards" sends one bid and closes it.
//
// The game screen makes the module when the game starts and frees it when
// the game ends; the dialog is built each time it opens.
class HouseBiddingDialog {
public:
    static constexpr int32_t kDialogId = GameIds::kHouseBiddingDialog;

    HouseBiddingDialog();
    ~HouseBiddingDialog();
    HouseBiddingDialog(const HouseBiddingDialog&) = delete;
    HouseBiddingDialog& operator=(const HouseBiddingDialog&) = delete;

    // Empties the list; the window is not touched.
    void ClearHouses();
    // Appends a house stamped with the time now, sorts the list and refills
    // the window's list.
    void AddHouse(uint32_t houseId, const std::string& houseName, const std::string& bidder, uint32_t highestBid,
                  uint32_t secondsLeft, uint32_t rent);
    // Builds dialog 162; nothing while it is open, so canBid counts only
    // when it is built.
    void Open(bool canBid);
    // List 165: "-- Select House --", then one row per house.
    void RefreshList();
    // Sends the bid for the house of list 165's current row (row 0 is none).
    void Bid();
    // The window's inset panel.
    void Draw();
    // Closes the window (game end) and deletes the houses.
    void Close();

    // The order of the list: a house goes before another when its seconds
    // left, with every value of 0 or less counting as 0, are more.
    static bool ComesBefore(const HouseBidEntry& a, const HouseBidEntry& b);
    // The time left as the row shows it: "-" without a bidder, else the
    // seconds left since the record arrived counted down to `now`, in whole
    // hours, minutes or seconds, or "Over".
    static std::string TimeLeftText(const std::string& bidder, uint32_t secondsLeft, int64_t receivedAt,
                                    int64_t now);

    // Callbacks (context: the module).
    static void DrawCallback(void* self);
    static void OnBidClick(void* self);  // Bid, then close, whatever was sent
    static void OnClose(void* self);     // close; the houses stay

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    std::vector<HouseBidEntry> houses;
    // Seconds of the C runtime clock; tests install their own.
    std::function<int64_t()> clock;

private:
    int64_t Now() const;
    void CloseWindow();
};
