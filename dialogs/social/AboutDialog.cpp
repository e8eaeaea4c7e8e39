#include "dialogs/social/AboutDialog.h"

#include "client/Client.h"
#include "engine/Clock.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"

namespace {

void OnCloseClicked(void* module) { static_cast<AboutDialog*>(module)->Close(); }

}  // namespace

AboutDialog::AboutDialog() : openTick(GetTicks()) {
    app = Client::Instance()->app;
    gui = app ? app->gui : nullptr;
}

void AboutDialog::Open() {
    DialogHelper dialog(gui, kDialogId);
    // Its top 110 pixels above the middle of the window, not 115.
    if (!dialog.OpenFromCentre("About", -171, -110, 342, 230))
        return;
    openTick = GetTicks();
    dialog.AddButton(kCloseButtonId, "Close", &OnCloseClicked, this, 99, 195, 120, 25);
}

void AboutDialog::Close() { DialogHelper(gui, kDialogId).Close(); }
