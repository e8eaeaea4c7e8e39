#include "dialogs/social/NoGuildDialog.h"

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "game/GameControlIds.h"
#include "game/Lifecycle.h"

namespace {

const int32_t kChatInputId = GameIds::kChatInput;

}  // namespace

NoGuildDialog::NoGuildDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("NoGuildDialog");
}

NoGuildDialog::~NoGuildDialog() { lifecycle::Note("~NoGuildDialog"); }

void NoGuildDialog::Close() {
    lifecycle::Note("NoGuildDialog::Close");
    gui->focus = gui->FindControl(kChatInputId);
}
