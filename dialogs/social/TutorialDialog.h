#pragma once

#include <cstdint>

class GUIManager;
class KEngine2;

// The dialog shown when the tutorial is completed. The game screen makes the module when the game
// starts and frees it when the game ends; the dialog is built each time it opens.
class TutorialDialog {
public:
    TutorialDialog();
    ~TutorialDialog();
    TutorialDialog(const TutorialDialog&) = delete;
    TutorialDialog& operator=(const TutorialDialog&) = delete;

    // Removes the dialog when it is open and gives the focus back to the chat input.
    void Close();
    // Shows the dialog of the completed tutorial.
    void Open();

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
