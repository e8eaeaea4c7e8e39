#pragma once

#include <cstdint>

class GUIManager;
class KEngine2;

// Brewing potions. The game screen makes the module when the game starts and frees it when the game
// ends; the dialog is built each time it opens.
class BrewingDialog {
public:
    BrewingDialog();
    ~BrewingDialog();
    BrewingDialog(const BrewingDialog&) = delete;
    BrewingDialog& operator=(const BrewingDialog&) = delete;

    // Removes the dialog when it is open and gives the focus back to the chat input.
    void Close();
    // A left press: true when it fell on the dialog's drop area.
    bool HitTest(int x, int y);
    // The dialog is open and the point lies on it: a thing dropped there goes into the brew.
    bool DropTarget(int x, int y);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
