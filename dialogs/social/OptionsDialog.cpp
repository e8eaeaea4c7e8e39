#include "dialogs/social/OptionsDialog.h"

#include "client/Client.h"
#include "client/Settings.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"

namespace {

// The chat input of the game screen, which has the focus while playing.
const int32_t kChatInputId = 25;

void OnCloseClicked(void* module) { static_cast<OptionsDialog*>(module)->Close(); }

}  // namespace

OptionsDialog::OptionsDialog() {
    app = Client::Instance()->app;
    gui = app ? app->gui : nullptr;
}

bool OptionsDialog::Open() {
    if (gui->FindControl(kDialogId))
        return false;
    const int cx = app->clientWidth / 2;
    const int cy = app->clientHeight / 2;
    GUIDialog* dialog = new GUIDialog();
    dialog->SetRect(cx - 180, cy - 182, 360, 365);
    dialog->SetTitle("Options");
    dialog->id = kDialogId;
    gui->AddControl(dialog);

    GUILine* line = new GUILine();
    line->SetRect(cx - 173, cy + 138, 346, 1);
    dialog->AddChild(line);

    GUIButton* close = new GUIButton(kCloseButtonId, "Close", &OnCloseClicked, this);
    close->SetRect(cx - 60, cy + 148, 120, 25);
    dialog->AddChild(close);
    return true;
}

// Also called at shutdown, open or not, so that the options reach the disk.
void OptionsDialog::Close() {
    if (gui)
        gui->DeleteLater(kDialogId);
    if (Settings* settings = Client::Instance()->settings)
        settings->Save();
    if (gui)
        gui->focus = gui->FindControl(kChatInputId);
}
