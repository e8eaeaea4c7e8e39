#include "dialogs/character/TalentsDialog.h"

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "game/Lifecycle.h"

namespace {

const int32_t kChatInputId = 25;

}  // namespace

TalentsDialog::TalentsDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("TalentsDialog");
}

TalentsDialog::~TalentsDialog() { lifecycle::Note("~TalentsDialog"); }

void TalentsDialog::Close() {
    lifecycle::Note("TalentsDialog::Close");
    gui->focus = gui->FindControl(kChatInputId);
}

void TalentsDialog::Show() {}

void TalentsDialog::Refresh() { lifecycle::Note("TalentsDialog::Refresh"); }
