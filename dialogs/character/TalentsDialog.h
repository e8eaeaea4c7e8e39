#pragma once

#include <cstdint>

class GUIManager;
class KEngine2;

// Spending talent points (Ctrl+T). The game screen makes the module when the game starts and frees
// it when the game ends; the dialog is built each time it opens.
class TalentsDialog {
public:
    TalentsDialog();
    ~TalentsDialog();
    TalentsDialog(const TalentsDialog&) = delete;
    TalentsDialog& operator=(const TalentsDialog&) = delete;

    // Removes the dialog when it is open and gives the focus back to the chat input.
    void Close();
    void Show();
    // Reloads the talent values and the free points into the open dialog.
    void Refresh();

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
