#pragma once

#include <cstdint>
#include <string>

#include "game/GameControlIds.h"

class GUIManager;
class KEngine2;

// The greeting of a new player (dialog 212): the tutorial comes first, help
// is in the support channels, in English, Portuguese or Polish by its tabs.
// The game screen opens it at the start when the server asks for it and the
// player has not dismissed it before, and holds the keyboard's walking while
// it is open; "Close & Start Playing" is the only way out in the game, and
// records in the options that it was seen. The game screen makes the module
// and closes it at its end.
class WelcomeDialog {
public:
    static constexpr int32_t kDialogId = GameIds::kWelcomeDialog;
    static constexpr int32_t kStartButtonId = GameIds::kWelcomeStart;
    static constexpr int32_t kTabsId = GameIds::kWelcomeTabs;
    static constexpr int32_t kTextId = GameIds::kWelcomeText;

    // The three texts, Windows-1252 bytes.
    static const std::string kEnglishText;
    static const std::string kPortugueseText;
    static const std::string kPolishText;

    WelcomeDialog();
    ~WelcomeDialog();
    WelcomeDialog(const WelcomeDialog&) = delete;
    WelcomeDialog& operator=(const WelcomeDialog&) = delete;

    // Builds the dialog, in English; false, changing nothing, when it is open.
    bool Show();
    // Removes the dialog when it is open and gives the focus back to the chat input.
    void Close();
    // Closes; with markViewed also lets the player walk again and records
    // that the dialog was seen ("options", "viewedtutorialinfo").
    void Dismiss(bool markViewed);
    // Puts one language's text into the box.
    void ShowText(const std::string& text);
    // The dialog's draw callback: its inner panel.
    static void Draw(void* module);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
