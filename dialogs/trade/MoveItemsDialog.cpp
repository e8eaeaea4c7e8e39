#include "dialogs/trade/MoveItemsDialog.h"

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "game/Lifecycle.h"

namespace {

const int32_t kChatInputId = 25;

}  // namespace

MoveItemsDialog::MoveItemsDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("MoveItemsDialog");
}

MoveItemsDialog::~MoveItemsDialog() { lifecycle::Note("~MoveItemsDialog"); }

void MoveItemsDialog::Close() {
    lifecycle::Note("MoveItemsDialog::Close");
    gui->DeleteLater(kDialogId);
    gui->focus = gui->FindControl(kChatInputId);
}

void MoveItemsDialog::SetEditTime(uint32_t tick) { editTime = tick; }
