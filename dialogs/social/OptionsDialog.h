#pragma once

#include <cstdint>

#include "client/LoginControlIds.h"

class GUIManager;
class KEngine2;

// The "Options" dialog, which both screens open. The client keeps one module
// for the whole run; it builds the dialog each time it opens, and closing it
// saves the options.
// The dialog holds only its "Close" button so far; the option controls come
// with the options feature.
class OptionsDialog {
public:
    static constexpr int32_t kDialogId = LoginIds::kOptionsDialog;
    static constexpr int32_t kCloseButtonId = LoginIds::kOptionsClose;

    OptionsDialog();
    OptionsDialog(const OptionsDialog&) = delete;
    OptionsDialog& operator=(const OptionsDialog&) = delete;

    // False, changing nothing, when the dialog is open already.
    bool Open();
    // Removes the dialog if it is open, saves the options and gives the focus
    // back to the chat input (control 25) where there is one.
    void Close();

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    int tab = 0;  // 0 "Interface", 1 "Graphics"
};
