#pragma once

#include <cstdint>

class GUIManager;
class KEngine2;

// Reporting a problem to the staff (Ctrl+R, dialog 115). The game screen makes the module when the
// game starts and frees it when the game ends; the dialog is built each time it opens.
class ReportDialog {
public:
    static constexpr int32_t kDialogId = 115;

    ReportDialog();
    ~ReportDialog();
    ReportDialog(const ReportDialog&) = delete;
    ReportDialog& operator=(const ReportDialog&) = delete;

    // Removes the dialog when it is open and gives the focus back to the chat input.
    void Close();
    void Show();

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
