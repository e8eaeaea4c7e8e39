#include "dialogs/social/OptionsDialog.h"

#include "client/Client.h"
#include "client/Settings.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUILine.h"
#include "game/GameControlIds.h"

namespace {

void OnCloseClicked(void* module) { static_cast<OptionsDialog*>(module)->Close(); }

}  // namespace

OptionsDialog::OptionsDialog() {
    app = Client::Instance()->app;
    gui = app ? app->gui : nullptr;
}

bool OptionsDialog::Open() {
    DialogHelper dialog(gui, kDialogId);
    if (!dialog.OpenCentred("Options", 360, 365))
        return false;
    dialog.Add(new GUILine(), 7, 320, 346, 1);
    dialog.AddButton(kCloseButtonId, "Close", &OnCloseClicked, this, 120, 330, 120, 25);
    return true;
}

// Also called at shutdown, open or not, so that the options reach the disk.
void OptionsDialog::Close() {
    DialogHelper(gui, kDialogId).CloseAndFocus(GameIds::kChatInput);
    if (Settings* settings = Client::Instance()->settings)
        settings->Save();
}
