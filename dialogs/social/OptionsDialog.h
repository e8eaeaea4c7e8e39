#pragma once

class GUIManager;
class KEngine2;

// The "Options" dialog (control 172). One module lives for the whole run; it
// builds the dialog each time it opens, and every control writes its option
// into the settings at once.
class OptionsDialog {
public:
    OptionsDialog();
    OptionsDialog(const OptionsDialog&) = delete;
    OptionsDialog& operator=(const OptionsDialog&) = delete;

    // False when the dialog is open already.
    bool Open();
    // Removes the dialog if it is open and saves the options.
    void Close();

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    int tab = 0;  // 0 "Interface", 1 "Graphics"
};
