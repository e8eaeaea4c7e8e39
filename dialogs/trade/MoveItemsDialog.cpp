#include "dialogs/trade/MoveItemsDialog.h"

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIManager.h"
#include "game/GameInterface.h"
#include "game/ThingActions.h"
#include "game/Lifecycle.h"

namespace {

const int32_t kChatInputId = 25;
const int32_t kOkButton = 48;
const int32_t kCancelButton = 49;

ThingActions* MouseActions() {
    GameInterface* game = Client::Instance()->game;
    return game ? game->thingActions : nullptr;
}

}  // namespace

MoveItemsDialog::MoveItemsDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("MoveItemsDialog");
}

MoveItemsDialog::~MoveItemsDialog() { lifecycle::Note("~MoveItemsDialog"); }

void MoveItemsDialog::Close() {
    lifecycle::Note("MoveItemsDialog::Close");
    const bool wasOpen = gui->FindControl(kDialogId) != nullptr;
    gui->DeleteLater(kDialogId);
    gui->focus = gui->FindControl(kChatInputId);
    if (wasOpen)
        if (ThingActions* actions = MouseActions())
            actions->Reset();
}

bool MoveItemsDialog::Show(int item, int amount) {
    DialogHelper dialog(gui, kDialogId);
    if (!dialog.OpenCentred("Move Items", 200, 80))
        return false;
    itemId = item;
    count = amount;
    dialog.AddButton(kOkButton, "OK", &MoveItemsDialog::OnOk, this, 15, 45, 80, 25);
    dialog.AddButton(kCancelButton, "Cancel", &MoveItemsDialog::OnCancel, this, 105, 45, 80, 25);
    return true;
}

void MoveItemsDialog::OnOk(void* module) {
    MoveItemsDialog* self = static_cast<MoveItemsDialog*>(module);
    if (ThingActions* actions = MouseActions())
        actions->MoveThing(actions->dragSource, actions->dropTarget, self->count);
    self->Close();
}

void MoveItemsDialog::OnCancel(void* module) { static_cast<MoveItemsDialog*>(module)->Close(); }

void MoveItemsDialog::SetEditTime(uint32_t tick) { editTime = tick; }
