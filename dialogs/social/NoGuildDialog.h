#pragma once

#include <cstdint>

class GUIManager;
class KEngine2;

// Founding a guild and the invitations of a player without one. The game screen makes the module
// when the game starts and frees it when the game ends; the dialog is built each time it opens.
class NoGuildDialog {
public:
    NoGuildDialog();
    ~NoGuildDialog();
    NoGuildDialog(const NoGuildDialog&) = delete;
    NoGuildDialog& operator=(const NoGuildDialog&) = delete;

    // Removes the dialog when it is open and gives the focus back to the chat input.
    void Close();

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
