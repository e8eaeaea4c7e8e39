#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/GameControlIds.h"

class GUIManager;
class KEngine2;

// One row of a merchant's lists.
struct NpcShopOffer {
    std::string name;
    uint32_t itemId = 0;  // sent back in the requests; compared with a dropped thing's id
    uint32_t price = 0;   // gold, shown as a signed number
};

// The NPC shop ("Shop List", dialog 125): what a merchant sells ("Buy from
// NPC") and what it buys ("Sell to NPC"), one list shown at a time. The
// server's 0x24 replaces both lists and opens or refreshes the window, 0x25
// closes it; the player buys or sells the chosen row ("Choose", 0x21), sells a
// thing dropped on the window (0x21 with 1), and a Ctrl-click on a row asks
// about its item (0x35).
//
// The game screen makes the module when the game starts and frees it when the
// game ends (Close first); the window is built each time it opens, always on
// "Buy from NPC", and closing it keeps the lists.
class NpcShopDialog {
public:
    static constexpr int32_t kDialogId = GameIds::kNpcShopDialog;
    static constexpr int32_t kChooseButtonId = GameIds::kNpcShopChoose;
    static constexpr int32_t kCloseButtonId = GameIds::kNpcShopClose;
    static constexpr int32_t kListId = GameIds::kNpcShopList;
    static constexpr int32_t kTabsId = GameIds::kNpcShopTabs;
    static constexpr int32_t kBuyTabId = GameIds::kNpcShopBuyTab;
    static constexpr int32_t kSellTabId = GameIds::kNpcShopSellTab;
    // offers[] indexes: what the merchant buys from the player, and sells.
    static constexpr int kBuys = 0;
    static constexpr int kSells = 1;

    NpcShopDialog();
    ~NpcShopDialog();
    NpcShopDialog(const NpcShopDialog&) = delete;
    NpcShopDialog& operator=(const NpcShopDialog&) = delete;

    // The game's end: closes the window and frees both lists.
    void Close();
    void ClearOffers();
    // buy: the merchant sells it (listed under "Buy from NPC"). The window
    // shows it from the next RefreshList.
    void AddOffer(const std::string& name, uint32_t itemId, uint32_t price, bool buy);
    // Refreshes an open window, keeping its tab and row; otherwise builds it
    // on "Buy from NPC".
    void Show();
    // Refills the list from the shown tab's offers; the chosen row number stays.
    void RefreshList();
    // Closes the window and gives the keys to the chat input; the lists stay.
    void CloseWindow();
    // The window is open and the point lies strictly inside it (its edges are
    // outside).
    bool ContainsPoint(int x, int y);
    // A thing dropped on the window: sold when "Sell to NPC" is shown and the
    // merchant buys it; otherwise a chat line says why not.
    void OnItemDropped(uint32_t itemId);

    // The draw callback: the panel, the hint and the Ctrl-clicked row's request.
    static void Draw(void* module);
    static void OnChoose(void* module);
    static void OnClose(void* module);
    static void OnBuyTab(void* module, int x, int y);
    static void OnSellTab(void* module, int x, int y);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    uint8_t buyTab = 1;  // 1: "Buy from NPC" is shown, 0: "Sell to NPC"
    std::vector<std::unique_ptr<NpcShopOffer>> offers[2];

private:
    // The k-th offer of the shown list, or null.
    const NpcShopOffer* ShownOffer(int k) const;
};
