#include "dialogs/social/AboutDialog.h"

#include "client/Client.h"
#include "engine/Clock.h"
#include "engine/KEngine2.h"

AboutDialog::AboutDialog() : openTick(GetTicks()) {
    app = Client::Instance()->app;
    gui = app ? app->gui : nullptr;
}

// The dialog and its scrolling credits come with the about feature.
void AboutDialog::Open() {}
