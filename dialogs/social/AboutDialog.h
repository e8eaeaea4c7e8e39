#pragma once

#include <cstdint>

class GUIManager;
class KEngine2;

// The about box of the login screen (control 5). The "About" button makes an
// object and opens it; from then on the dialog owns the object, which goes
// when the dialog goes: by its "Close" button, or with the login screen when
// the game starts.
class AboutDialog {
public:
    static constexpr int32_t kDialogId = 5;
    static constexpr int32_t kCloseButtonId = 6;

    AboutDialog();
    AboutDialog(const AboutDialog&) = delete;
    AboutDialog& operator=(const AboutDialog&) = delete;

    // Builds the dialog, 342 x 230 in the middle of the window, and hands this
    // object to it. Does nothing while the dialog is open; the caller then
    // keeps the object.
    void Open();

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    uint64_t openTick = 0;  // GetTicks when made and when the dialog was last built
};
