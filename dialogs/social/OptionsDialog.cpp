#include "dialogs/social/OptionsDialog.h"

#include "client/Client.h"
#include "client/Settings.h"
#include "engine/KEngine2.h"

OptionsDialog::OptionsDialog() {
    app = Client::Instance()->app;
    gui = app ? app->gui : nullptr;
}

// The dialog and its controls come with the options feature.
bool OptionsDialog::Open() { return false; }

void OptionsDialog::Close() {
    if (Settings* settings = Client::Instance()->settings)
        settings->Save();
}
