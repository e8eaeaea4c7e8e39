#pragma once

#include <cstdint>

#include "game/GameControlIds.h"

class GUIManager;
class KEngine2;

// The "Quit Client" question, shown instead of quitting while the character
// cannot leave the world safely: log out properly, quit anyway, or go back to
// the game. One instance for the run, made on first use.
class QuitDialog {
public:
    static constexpr int32_t kDialogId = GameIds::kQuitDialog;
    static constexpr int32_t kQuitButtonId = GameIds::kQuitButton;
    static constexpr int32_t kCancelButtonId = GameIds::kQuitCancel;
    static constexpr int32_t kLogoutButtonId = GameIds::kQuitLogout;

    static QuitDialog* Instance();

    // Builds the dialog unless it is open already; Enter then cancels.
    void Show();
    // Closes it when open. The game screen's teardown calls it: the box
    // outlives the game, and its "Logout" would go to the login connection.
    void Close();
    // The dialog's draw callback: the frame around the warning.
    static void Draw(void* quitDialog);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;

private:
    QuitDialog();
};
