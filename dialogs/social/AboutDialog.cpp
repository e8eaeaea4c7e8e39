#include "dialogs/social/AboutDialog.h"

#include "client/Client.h"
#include "engine/Clock.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"

namespace {

// The window owns its module, so that the module is freed whichever way the
// window goes; a module deleted only by "Close" would be lost each time the
// game started with the box open.
class AboutWindow : public GUIDialog {
public:
    explicit AboutWindow(AboutDialog* module) : module_(module) {}
    ~AboutWindow() override { delete module_; }

private:
    AboutDialog* module_;
};

// The window goes at the GUI's next update and takes the module with it, so
// the module outlives the click that runs this.
void OnCloseClicked(void* module) {
    if (!module)
        return;
    Client::Instance()->app->gui->DeleteLater(AboutDialog::kDialogId);
}

}  // namespace

AboutDialog::AboutDialog() : openTick(GetTicks()) {
    app = Client::Instance()->app;
    gui = app ? app->gui : nullptr;
}

void AboutDialog::Open() {
    if (gui->FindControl(kDialogId))
        return;
    openTick = GetTicks();

    const int cx = app->clientWidth / 2;
    const int cy = app->clientHeight / 2;
    AboutWindow* dialog = new AboutWindow(this);
    dialog->SetRect(cx - 171, cy - 110, 342, 230);
    dialog->SetTitle("About");
    dialog->id = kDialogId;
    gui->AddControl(dialog);

    GUIButton* close = new GUIButton(kCloseButtonId, "Close", &OnCloseClicked, this);
    close->SetRect(cx - 72, cy + 85, 120, 25);
    dialog->AddChild(close);
}
