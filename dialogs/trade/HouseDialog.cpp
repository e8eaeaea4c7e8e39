#include "dialogs/trade/HouseDialog.h"

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "game/Lifecycle.h"

namespace {

const int32_t kChatInputId = 25;

}  // namespace

HouseDialog::HouseDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("HouseDialog");
}

HouseDialog::~HouseDialog() { lifecycle::Note("~HouseDialog"); }

void HouseDialog::Close() {
    lifecycle::Note("HouseDialog::Close");
    gui->focus = gui->FindControl(kChatInputId);
}
