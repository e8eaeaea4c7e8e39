#include "dialogs/social/TutorialDialog.h"

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "game/GameControlIds.h"
#include "game/Lifecycle.h"

namespace {

const int32_t kChatInputId = GameIds::kChatInput;

}  // namespace

TutorialDialog::TutorialDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("TutorialDialog");
}

TutorialDialog::~TutorialDialog() { lifecycle::Note("~TutorialDialog"); }

void TutorialDialog::Close() {
    lifecycle::Note("TutorialDialog::Close");
    gui->focus = gui->FindControl(kChatInputId);
}

void TutorialDialog::Open() { lifecycle::Note("TutorialDialog::Open"); }
