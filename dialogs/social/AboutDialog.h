#pragma once

#include <cstdint>
#include <string>

#include "client/LoginControlIds.h"

class GUIManager;
class KEngine2;

// The about box of the login screen: the version, the build's date and time,
// the notice lines and a credits line that scrolls through a frame. The
// client keeps one module for the run (Client::aboutDialog): "Close" (or
// Enter) only closes the dialog, so no click can reach a module that is gone,
// and the start of the game closes it with the login screen.
class AboutDialog {
public:
    static constexpr int32_t kDialogId = LoginIds::kAboutDialog;
    static constexpr int32_t kCloseButtonId = LoginIds::kAboutClose;
    // The credits move one pixel every this many milliseconds.
    static constexpr uint64_t kScrollPeriod = 15;

    AboutDialog();
    AboutDialog(const AboutDialog&) = delete;
    AboutDialog& operator=(const AboutDialog&) = delete;

    // Builds the dialog, 342 x 230 in the middle of the window, with "Close"
    // as the Enter button and the credits starting again from the right;
    // nothing while it is open.
    void Open();
    void Close();
    // The dialog's draw callback.
    static void Draw(void* module);
    // How far the credits line has moved left after `elapsed` milliseconds,
    // for a line of textWidth in a dialog `dialogWidth` wide: it starts over
    // once it has crossed the whole frame.
    static int CreditsOffset(uint64_t elapsed, int textWidth, int dialogWidth);

    // "Client version 5.7.3" and "Built on <date> at <time>".
    static std::string VersionLine();
    static std::string BuildLine();

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    uint64_t openTick = 0;  // GetTicks when made and when the dialog was last built
};
