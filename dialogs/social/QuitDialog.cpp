#include "dialogs/social/QuitDialog.h"

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIText.h"
#include "protocol/Protocol.h"

namespace {

const uint32_t kWarningColor = 0xFF8080FF;  // light red

void CloseBox(QuitDialog* box) { DialogHelper(box->gui, QuitDialog::kDialogId).CloseAndFocus(GameIds::kChatInput); }

// The server ends the game in answer, and the connection's end brings the
// login screen back; the client keeps running meanwhile.
void OnLogoutClicked(void* box) {
    Client::Instance()->protocol->SendLogout();
    CloseBox(static_cast<QuitDialog*>(box));
}

// Ends the main loop without a logout: the player has been warned.
void OnQuitClicked(void* box) { static_cast<QuitDialog*>(box)->app->running = false; }

void OnCancelClicked(void* box) { CloseBox(static_cast<QuitDialog*>(box)); }

}  // namespace

QuitDialog* QuitDialog::Instance() {
    static QuitDialog instance;
    return &instance;
}

QuitDialog::QuitDialog() {
    app = Client::Instance()->app;
    gui = app ? app->gui : nullptr;
}

void QuitDialog::Show() {
    // The client's application object is the same for the whole run of the
    // program; taking it again costs nothing and keeps the box right in a
    // process that makes more than one client, as the tests do.
    app = Client::Instance()->app;
    gui = app->gui;

    // 350 wide but starting 135 left of the centre: the box sits a little
    // right of the middle of the window.
    DialogHelper box(gui, kDialogId);
    GUIDialog* dialog = box.OpenFromCentre("Quit Client", -135, -130, 350, 150);
    if (!dialog)
        return;
    dialog->drawCallback = &QuitDialog::Draw;
    dialog->drawContext = this;

    // Set after adding, which copies the dialog's colours.
    box.AddText("Warning! The character might stay online and die!", 15, 33)->textColor = kWarningColor;
    box.AddText("If you were recently involved in a fight and quit, your", 15, 47);
    box.AddText("character might stay in game and get killed. It is", 15, 62);
    box.AddText("recommended to log out using Ctrl + L.", 15, 77);
    box.Add(new GUILine(), 7, 105, 336, 1);
    box.AddButton(kLogoutButtonId, "Logout", &OnLogoutClicked, this, 17, 115, 95, 25);
    box.AddButton(kQuitButtonId, "Quit", &OnQuitClicked, this, 128, 115, 95, 25);
    box.AddButton(kCancelButtonId, "Cancel", &OnCancelClicked, this, 238, 115, 95, 25);
    gui->enterButtonId = kCancelButtonId;
}

void QuitDialog::Close() {
    app = Client::Instance()->app;
    gui = app ? app->gui : nullptr;
    DialogHelper(gui, kDialogId).Close();
}

void QuitDialog::Draw(void* quitDialog) {
    const DialogHelper box(static_cast<QuitDialog*>(quitDialog)->gui, kDialogId);
    if (const GUIControl* dialog = box.Dialog())
        box.DrawPanelBox(dialog->x + 10, dialog->y + 28, dialog->width - 20, 70);
}
