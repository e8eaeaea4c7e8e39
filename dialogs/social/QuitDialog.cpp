#include "dialogs/social/QuitDialog.h"

#include "client/Client.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIText.h"
#include "protocol/Protocol.h"

namespace {

// The chat input of the game screen gets the focus back.
const int32_t kChatInputId = 25;

const uint32_t kWarningColor = 0xFF8080FF;  // light red
const uint32_t kPanelFill = 0x1E000000;

void CloseBox(QuitDialog* box) {
    box->gui->DeleteLater(QuitDialog::kDialogId);
    box->gui->focus = box->gui->FindControl(kChatInputId);
}

// The server ends the game in answer, and the connection's end brings the
// login screen back; the client keeps running meanwhile.
void OnLogoutClicked(void* box) {
    Client::Instance()->protocol->SendLogout();
    CloseBox(static_cast<QuitDialog*>(box));
}

// Ends the main loop without a logout: the player has been warned.
void OnQuitClicked(void* box) { static_cast<QuitDialog*>(box)->app->running = false; }

void OnCancelClicked(void* box) { CloseBox(static_cast<QuitDialog*>(box)); }

GUIText* AddText(GUIControl* dialog, int x, int y, const char* text) {
    GUIText* label = new GUIText();
    label->SetText(text);
    label->SetRect(dialog->x + x, dialog->y + y, 0, 0);
    dialog->AddChild(label);
    return label;
}

void AddButton(GUIControl* dialog, int32_t id, int x, const char* caption, GUIButton::Action action, void* box) {
    GUIButton* button = new GUIButton(id, caption, action, box);
    button->SetRect(dialog->x + x, dialog->y + 115, 95, 25);
    dialog->AddChild(button);
}

}  // namespace

QuitDialog* QuitDialog::Instance() {
    static QuitDialog* instance = new QuitDialog();
    return instance;
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
    if (gui->FindControl(kDialogId))
        return;

    // 350 wide but starting 135 left of the centre: the box sits a little
    // right of the middle of the window.
    const int cx = app->clientWidth / 2;
    const int cy = app->clientHeight / 2;
    GUIDialog* dialog = new GUIDialog();
    dialog->SetRect(cx - 135, cy - 130, 350, 150);
    dialog->SetTitle("Quit Client");
    dialog->id = kDialogId;
    gui->AddControl(dialog);
    dialog->drawCallback = &QuitDialog::Draw;
    dialog->drawContext = this;

    // Set after adding, which copies the dialog's colours.
    AddText(dialog, 15, 33, "Warning! The character might stay online and die!")->textColor = kWarningColor;
    AddText(dialog, 15, 47, "If you were recently involved in a fight and quit, your");
    AddText(dialog, 15, 62, "character might stay in game and get killed. It is");
    AddText(dialog, 15, 77, "recommended to log out using Ctrl + L.");
    GUILine* line = new GUILine();
    line->SetRect(dialog->x + 7, dialog->y + 105, 336, 1);
    dialog->AddChild(line);
    AddButton(dialog, kLogoutButtonId, 17, "Logout", &OnLogoutClicked, this);
    AddButton(dialog, kQuitButtonId, 128, "Quit", &OnQuitClicked, this);
    AddButton(dialog, kCancelButtonId, 238, "Cancel", &OnCancelClicked, this);
    gui->enterButtonId = kCancelButtonId;
}

void QuitDialog::Draw(void* quitDialog) {
    QuitDialog* box = static_cast<QuitDialog*>(quitDialog);
    const GUIControl* dialog = box->gui->FindControl(kDialogId);
    if (!dialog || !box->app->graphics)
        return;
    const GUIControl* root = box->gui->root;
    box->app->graphics->RenderBox(dialog->x + 10, dialog->y + 28, dialog->width - 20, 70, root->darkColor,
                                  root->lightColor, kPanelFill);
}
