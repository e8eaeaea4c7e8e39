#pragma once

#include <cstdint>

class GUIManager;
class KEngine2;

// The welcome dialog of a new player (dialog 212). The game screen makes the module when the game
// starts and frees it when the game ends; the dialog is built each time it opens.
class WelcomeDialog {
public:
    static constexpr int32_t kDialogId = 212;

    WelcomeDialog();
    ~WelcomeDialog();
    WelcomeDialog(const WelcomeDialog&) = delete;
    WelcomeDialog& operator=(const WelcomeDialog&) = delete;

    // Removes the dialog when it is open and gives the focus back to the chat input.
    void Close();
    void Show();

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
