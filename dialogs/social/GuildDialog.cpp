#include "dialogs/social/GuildDialog.h"

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "game/GameControlIds.h"
#include "game/Lifecycle.h"

namespace {

const int32_t kChatInputId = GameIds::kChatInput;

}  // namespace

GuildDialog::GuildDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("GuildDialog");
}

GuildDialog::~GuildDialog() { lifecycle::Note("~GuildDialog"); }

void GuildDialog::Close() {
    lifecycle::Note("GuildDialog::Close");
    gui->focus = gui->FindControl(kChatInputId);
}
