#pragma once

#include <cstdint>

class GUIManager;
class KEngine2;

// The about box of the login screen (control 5). Made on demand by the "About"
// button; its "Close" button deletes the object.
class AboutDialog {
public:
    AboutDialog();
    AboutDialog(const AboutDialog&) = delete;
    AboutDialog& operator=(const AboutDialog&) = delete;

    void Open();

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    uint64_t openTick = 0;  // GetTicks when made and when the dialog was last built
};
