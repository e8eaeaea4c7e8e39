#pragma once

#include <cstdint>

#include "game/GameControlIds.h"

class GUIManager;
class KEngine2;

// Reporting a game bug or a rule violator to the staff (Ctrl+R): one line of
// text sent as one request (0x20). The game screen makes the module on
// demand, keeps at most one, and frees it when the report is sent or
// cancelled (GameInterface::CloseReportDialog) or when the game ends.
class ReportDialog {
public:
    static constexpr int32_t kDialogId = GameIds::kReportDialog;
    static constexpr int32_t kSendButtonId = GameIds::kReportSend;
    static constexpr int32_t kCancelButtonId = GameIds::kReportCancel;
    static constexpr int32_t kTextBoxId = GameIds::kReportText;

    ReportDialog();
    ~ReportDialog();
    ReportDialog(const ReportDialog&) = delete;
    ReportDialog& operator=(const ReportDialog&) = delete;

    // Removes the dialog when it is open and gives the focus back to the chat input.
    void Close();
    // Builds the dialog with the focus in its text box; nothing while it is open.
    void Show();
    // "Report", with the game screen as its argument: sends the text unless
    // it is empty, then lets the game screen close and free the module. The
    // buttons reach the module through the game screen, never through a
    // pointer of their own, since the module is gone after the first click.
    static void Send(void* game);
    // The dialog's draw callback: its inner panel and the help text.
    static void Draw(void* module);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
