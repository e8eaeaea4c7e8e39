#include "dialogs/character/SummonMonsterDialog.h"

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "game/Lifecycle.h"

namespace {

const int32_t kChatInputId = 25;

}  // namespace

SummonMonsterDialog::SummonMonsterDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("SummonMonsterDialog");
}

SummonMonsterDialog::~SummonMonsterDialog() { lifecycle::Note("~SummonMonsterDialog"); }

void SummonMonsterDialog::Close() {
    lifecycle::Note("SummonMonsterDialog::Close");
    gui->focus = gui->FindControl(kChatInputId);
}
