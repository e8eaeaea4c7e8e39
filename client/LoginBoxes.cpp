#include "client/LoginBoxes.h"

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIManager.h"

namespace {

GUIManager* Gui() {
    KEngine2* app = Client::Instance()->app;
    return app ? app->gui : nullptr;
}

GUIButton* BoxButton(GUIManager* gui) {
    return dynamic_cast<GUIButton*>(gui->FindControl(GUIManager::kMessageButtonId));
}

}  // namespace

void LoginBoxes::Show(const std::string& title, const std::string& text) {
    GUIManager* gui = Gui();
    if (!gui)
        return;
    // A "New Version" box has its button turned into "Patch"; any other text
    // gets a fresh box with a plain Close button.
    if (GUIButton* button = BoxButton(gui))
        if (button->action == &LoginBoxes::OnPatchClicked)
            gui->DeleteLater(GUIManager::kMessageBoxId);
    gui->MessageBox(title, text);
}

void LoginBoxes::Connecting(const std::string& text) {
    Show("Connecting", text);
    // Showing a text has enabled it.
    if (GUIManager* gui = Gui())
        if (GUIControl* button = gui->FindControl(GUIManager::kMessageButtonId))
            button->SetFlag(GUIControl::kDisabled);
}

void LoginBoxes::Error(const std::string& text) { Show("Error", text); }

void LoginBoxes::NewVersion(uint32_t version) {
    Show("New Version", "A new version will be downloaded.");
    if (GUIManager* gui = Gui()) {
        if (GUIButton* button = BoxButton(gui)) {
            button->SetCaption("Patch");
            button->action = &LoginBoxes::OnPatchClicked;
            button->actionContext = reinterpret_cast<void*>(uintptr_t(version));
        }
    }
}

void LoginBoxes::Close() {
    if (GUIManager* gui = Gui())
        gui->DeleteLater(GUIManager::kMessageBoxId);
}

// Only records the request: the self-update runs from the main loop's safe
// point, not from inside the click of a button that it would remove.
void LoginBoxes::OnPatchClicked(void* context) {
    Client::Instance()->RunPatcher(int32_t(uint32_t(reinterpret_cast<uintptr_t>(context))));
}
