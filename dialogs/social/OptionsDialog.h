#pragma once

#include <cstdint>

#include "client/LoginControlIds.h"

class GUIManager;
class KEngine2;

// The "Options" dialog, which both screens open. The client keeps one module
// for the whole run; it builds the dialog each time it opens. Every control
// writes its option into the settings in memory the moment it changes, most
// take effect at once, and closing the dialog saves the options.
//
// Two pages share the dialog: "Interface" (skin, stat bars, loot messages and
// five switches) and "Graphics" (five switches, the back end and the frame
// limit). The back-end buttons only mark their choice and leave the switch to
// the main loop's safe point: the old back end must not go from inside the
// button's own click, nor a fallback question open inside it.
class OptionsDialog {
public:
    static constexpr int32_t kDialogId = LoginIds::kOptionsDialog;
    static constexpr int32_t kCloseButtonId = LoginIds::kOptionsClose;

    OptionsDialog();
    OptionsDialog(const OptionsDialog&) = delete;
    OptionsDialog& operator=(const OptionsDialog&) = delete;

    // False, changing nothing (neither place nor page), when the dialog is
    // open already; otherwise builds it on the Interface page.
    bool Open();
    // Removes the dialog if it is open, saves the options and gives the focus
    // back to the chat input (control 25) where there is one.
    void Close();
    // The tabs' callbacks: show one page's controls and hide the other's.
    void ShowInterfaceTab();
    void ShowGraphicsTab();
    // The dialog's draw callback: the inner panel, and on the Graphics page
    // the separator, the "FPS Limit:" label and the frame of the back-end
    // row; it also stores the frame limit typed into its box.
    static void Draw(void* module);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    int tab = 0;  // 0 "Interface", 1 "Graphics"
};
