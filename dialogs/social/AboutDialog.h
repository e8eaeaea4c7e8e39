#pragma once

#include <cstdint>

#include "client/LoginControlIds.h"

class GUIManager;
class KEngine2;

// The about box of the login screen. The client keeps one module for the run
// (Client::aboutDialog); the "About" button opens its dialog, and "Close" or
// the start of the game closes it.
class AboutDialog {
public:
    static constexpr int32_t kDialogId = LoginIds::kAboutDialog;
    static constexpr int32_t kCloseButtonId = LoginIds::kAboutClose;

    AboutDialog();
    AboutDialog(const AboutDialog&) = delete;
    AboutDialog& operator=(const AboutDialog&) = delete;

    // Builds the dialog, 342 x 230 in the middle of the window, unless it is
    // open.
    void Open();
    void Close();

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    uint64_t openTick = 0;  // GetTicks when made and when the dialog was last built
};
