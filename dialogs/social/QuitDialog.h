#pragma once

class GUIManager;
class KEngine2;

// The "Quit Client" question, shown instead of quitting while the character
// cannot leave the world safely. One instance, made on first use.
class QuitDialog {
public:
    static QuitDialog* Instance();

    // Builds the dialog unless it is open already.
    void Show();

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;

private:
    QuitDialog();
};
