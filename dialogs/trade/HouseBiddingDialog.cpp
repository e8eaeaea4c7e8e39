#include "dialogs/trade/HouseBiddingDialog.h"

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "game/Lifecycle.h"

namespace {

const int32_t kChatInputId = 25;

}  // namespace

HouseBiddingDialog::HouseBiddingDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("HouseBiddingDialog");
}

HouseBiddingDialog::~HouseBiddingDialog() { lifecycle::Note("~HouseBiddingDialog"); }

void HouseBiddingDialog::Close() {
    lifecycle::Note("HouseBiddingDialog::Close");
    gui->focus = gui->FindControl(kChatInputId);
}
