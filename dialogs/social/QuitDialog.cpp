#include "dialogs/social/QuitDialog.h"

#include "client/Client.h"
#include "engine/KEngine2.h"

QuitDialog* QuitDialog::Instance() {
    static QuitDialog* instance = new QuitDialog();
    return instance;
}

QuitDialog::QuitDialog() {
    app = Client::Instance()->app;
    gui = app ? app->gui : nullptr;
}

// The dialog with its "Logout", "Quit" and "Cancel" buttons comes with the
// quit feature.
void QuitDialog::Show() {}
