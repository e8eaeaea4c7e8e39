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
    // The shop is open and the point lies on it.
    bool ContainsPoint(int x, int y);
    // A thing dropped on the shop: sells it or says why not (still to come: only noted).
    void OnItemDropped(int itemId);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
