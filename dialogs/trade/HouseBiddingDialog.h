#pragma once

#include <cstdint>

class GUIManager;
class KEngine2;

// Bidding for a house that is for sale. The game screen makes the module when the game starts and
// frees it when the game ends; the dialog is built each time it opens.
class HouseBiddingDialog {
public:
    HouseBiddingDialog();
    ~HouseBiddingDialog();
    HouseBiddingDialog(const HouseBiddingDialog&) = delete;
    HouseBiddingDialog& operator=(const HouseBiddingDialog&) = delete;

    // Removes the dialog when it is open and gives the focus back to the chat input.
    void Close();

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
