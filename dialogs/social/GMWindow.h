#pragma once

#include <cstdint>

class GUIManager;
class KEngine2;

// The game master's tools (Ctrl+Y, staff only). The game screen makes the module when the game
// starts and frees it when the game ends; the dialog is built each time it opens.
class GMWindow {
public:
    GMWindow();
    ~GMWindow();
    GMWindow(const GMWindow&) = delete;
    GMWindow& operator=(const GMWindow&) = delete;

    // Removes the dialog when it is open and gives the focus back to the chat input.
    void Close();
    void Open();

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
