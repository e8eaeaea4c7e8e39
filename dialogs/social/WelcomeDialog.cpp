#include "dialogs/social/WelcomeDialog.h"

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "game/GameControlIds.h"
#include "game/Lifecycle.h"

namespace {

const int32_t kChatInputId = GameIds::kChatInput;

}  // namespace

WelcomeDialog::WelcomeDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("WelcomeDialog");
}

WelcomeDialog::~WelcomeDialog() { lifecycle::Note("~WelcomeDialog"); }

void WelcomeDialog::Close() {
    lifecycle::Note("WelcomeDialog::Close");
    gui->DeleteLater(kDialogId);
    gui->focus = gui->FindControl(kChatInputId);
}

void WelcomeDialog::Show() { lifecycle::Note("WelcomeDialog::Show"); }
