#pragma once

#include <cstdint>

class GUIManager;
class KEngine2;

// The guild window. The game screen makes the module when the game starts and frees it when the
// game ends; the dialog is built each time it opens.
class GuildDialog {
public:
    GuildDialog();
    ~GuildDialog();
    GuildDialog(const GuildDialog&) = delete;
    GuildDialog& operator=(const GuildDialog&) = delete;

    // Removes the dialog when it is open and gives the focus back to the chat input.
    void Close();

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
