#include "dialogs/character/BrewingDialog.h"

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIManager.h"
#include "game/GameControlIds.h"
#include "game/Lifecycle.h"

namespace {

const int32_t kChatInputId = 25;

}  // namespace

BrewingDialog::BrewingDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("BrewingDialog");
}

BrewingDialog::~BrewingDialog() { lifecycle::Note("~BrewingDialog"); }

void BrewingDialog::Close() {
    lifecycle::Note("BrewingDialog::Close");
    gui->focus = gui->FindControl(kChatInputId);
}

bool BrewingDialog::HitTest(int, int) { return false; }

bool BrewingDialog::DropTarget(int x, int y) {
    const GUIControl* dialog = gui->FindControl(GameIds::kBrewingDialog);
    return dialog && dialog->Contains(x, y);
}
