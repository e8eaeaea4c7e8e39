#include "dialogs/character/HotkeyDialog.h"

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "game/Lifecycle.h"

namespace {

const int32_t kChatInputId = 25;

}  // namespace

HotkeyDialog::HotkeyDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("HotkeyDialog");
}

HotkeyDialog::~HotkeyDialog() { lifecycle::Note("~HotkeyDialog"); }

void HotkeyDialog::Close() {
    lifecycle::Note("HotkeyDialog::Close");
    gui->focus = gui->FindControl(kChatInputId);
}
