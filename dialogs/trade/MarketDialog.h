#pragma once

#include <cstdint>

class GUIManager;
class KEngine2;

// The item market: offers, history and one's own offers. The game screen makes the module when the
// game starts and frees it when the game ends; the dialog is built each time it opens.
class MarketDialog {
public:
    MarketDialog();
    ~MarketDialog();
    MarketDialog(const MarketDialog&) = delete;
    MarketDialog& operator=(const MarketDialog&) = delete;

    // Removes the dialog when it is open and gives the focus back to the chat input.
    void Close();
    // Reloads the chosen category when the market is open on a selling or buying tab.
    void RefreshCategory(int x, int y);
    // On one of the player's own offers: asks the server to cancel it.
    void OnRightClick(int x, int y);
    // The market is open and the point lies on it: a thing dropped there is offered for sale.
    bool HitTest(int x, int y);
    // The "Create Sell Offer" dialog for an item (still to come: only noted).
    void OpenSellOffer(int itemId);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
