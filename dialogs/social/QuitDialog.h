#pragma once

#include <cstdint>

class GUIManager;
class KEngine2;

// The "Quit Client" question, shown instead of quitting while the character
// cannot leave the world safely: log out properly, quit anyway, or go back to
// the game. One instance, made on first use and never freed.
class QuitDialog {
public:
    static constexpr int32_t kDialogId = 89;
    static constexpr int32_t kQuitButtonId = 90;
    static constexpr int32_t kCancelButtonId = 91;
    static constexpr int32_t kLogoutButtonId = 92;

    static QuitDialog* Instance();

    // Builds the dialog unless it is open already; Enter then cancels.
    void Show();
    // The dialog's draw callback: the frame around the warning.
    static void Draw(void* quitDialog);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;

private:
    QuitDialog();
};
