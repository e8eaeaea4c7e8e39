#pragma once

#include <cstdint>

class GUIManager;
class KEngine2;

// House management: the owner's house, its guests and its rent. The game screen makes the module
// when the game starts and frees it when the game ends; the dialog is built each time it opens.
class HouseDialog {
public:
    HouseDialog();
    ~HouseDialog();
    HouseDialog(const HouseDialog&) = delete;
    HouseDialog& operator=(const HouseDialog&) = delete;

    // Removes the dialog when it is open and gives the focus back to the chat input.
    void Close();

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
