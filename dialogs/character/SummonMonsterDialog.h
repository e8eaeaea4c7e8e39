#pragma once

#include <cstdint>

class GUIManager;
class KEngine2;

// Summoning a monster from the list the server sends. The game screen makes the module when the
// game starts and frees it when the game ends; the dialog is built each time it opens.
class SummonMonsterDialog {
public:
    SummonMonsterDialog();
    ~SummonMonsterDialog();
    SummonMonsterDialog(const SummonMonsterDialog&) = delete;
    SummonMonsterDialog& operator=(const SummonMonsterDialog&) = delete;

    // Removes the dialog when it is open and gives the focus back to the chat input.
    void Close();

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
