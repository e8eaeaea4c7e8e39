#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/GameControlIds.h"

class GUIManager;
class KEngine2;

// One item of a trade offer.
struct TradeItem {
    uint32_t itemId = 0;
    uint32_t count = 0;
    uint32_t group = 0;  // consecutive items with the same non-zero group are one offer slot
};

// A trade with another player, as the server runs it: both offers and the
// lock and acceptance state, shown in dialog 108 ("Trade") and redrawn from
// these fields every frame. The client never changes the trade on its own:
// every lock, acceptance and item list comes from the server (0x21), and the
// player's clicks only send trade commands (0x1F).
//
// The protocol object owns the one running trade: the trade-start message
// makes it, the trade end, the return to the login screen and the shutdown
// end it (Protocol::EndTrade). Items come in by drag and drop onto the own
// box, which the game screen's mouse actions carry out: they ask
// IsOverDropArea and HitTestSlot, and pass every pointer move
// (SetDragState) and right click (OnSlotClick).
class TradeWindow {
public:
    static constexpr int32_t kDialogId = GameIds::kTradeWindow;
    static constexpr int32_t kLockButtonId = GameIds::kTradeLockButton;
    static constexpr int32_t kCancelButtonId = GameIds::kTradeCancelButton;
    static constexpr int32_t kOwnScrollbarId = GameIds::kTradeOwnScrollbar;
    static constexpr int32_t kPartnerScrollbarId = GameIds::kTradePartnerScrollbar;
    static constexpr int kColumns = 8;
    // HitTestSlot's result for a point on the own box but on no item.
    static constexpr int kNoItem = 255;

    explicit TradeWindow(const std::string& partnerName);
    // Frees both offers and closes the dialog, the keys going back to the
    // chat input.
    ~TradeWindow();
    TradeWindow(const TradeWindow&) = delete;
    TradeWindow& operator=(const TradeWindow&) = delete;

    // Empties both offers and clears the trade state; the owner deletes the
    // object right after.
    void Reset();
    // Builds dialog 108; nothing while it is open.
    void Show();
    // The state of the server's 0x21. Button 109 follows only a locked own
    // offer: "Accept", enabled while the partner has locked and the player
    // has not accepted yet.
    void SetAccepted(bool ownLocked, bool partnerLocked, bool ownAccepted);
    // Empties both offers; the scroll bars stay as they are.
    void ClearItems();
    void AddItem(uint32_t itemId, uint32_t count, uint32_t group, bool own);
    // One scroll-bar row per started group of eight items, two rows visible.
    void UpdateScrollbars();
    // The dialog's draw callback: the panel, both boxes and their items.
    void Draw();
    // One box's items, clipped to the box whose top-left corner is (gx, gy).
    void DrawItemGrid(int32_t scrollbarId, int gx, int gy, const std::vector<std::unique_ptr<TradeItem>>& items);
    // The dialog is open and the point lies on the own offer's box.
    bool IsOverDropArea(int x, int y);
    // The pointer position, and whether a thing is being dragged there.
    void SetDragState(int x, int y, bool dragging);
    // The own item under a point: -1 off the own box, kNoItem on no item;
    // otherwise, in index mode 1, its place in the list, and in index mode 0
    // its slot of the server's offer (a run of one non-zero group is one slot).
    int HitTestSlot(int x, int y, uint8_t indexMode);
    // A right click on the own box takes that slot back (command 4); on an
    // empty part of the box the slot is kNoItem.
    void OnSlotClick(int x, int y);
    // Button 109: locks the own offer (command 2), once locked accepts (3).
    static void OnLockOrAccept(void* window);
    // Button 110: asks the server to cancel (command 1); the server ends the
    // trade, the window stays until then.
    static void OnCancel(void* window);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    std::vector<std::unique_ptr<TradeItem>> ownItems;
    std::vector<std::unique_ptr<TradeItem>> partnerItems;
    std::string partnerName;
    uint8_t ownLocked = 0;
    uint8_t partnerLocked = 0;
    uint8_t ownAccepted = 0;
    int32_t dragX = 0;
    int32_t dragY = 0;
    uint8_t dragging = 0;

private:
    static void DrawCallback(void* window);
    // The point lies on the own box of the dialog at (dialogX, dialogY).
    static bool InOwnArea(int dialogX, int dialogY, int x, int y);
};
