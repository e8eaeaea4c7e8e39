#pragma once

#include <cstdint>

class GUIManager;
class KEngine2;

// The NPC shop: buying from and selling to a merchant. The game screen makes the module when the
// game starts and frees it when the game ends; the dialog is built each time it opens.
class NpcShopDialog {
public:
    NpcShopDialog();
    ~NpcShopDialog();
    NpcShopDialog(const NpcShopDialog&) = delete;
    NpcShopDialog& operator=(const NpcShopDialog&) = delete;

    // Removes the dialog when it is open and gives the focus back to the chat input.
    void Close();

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
