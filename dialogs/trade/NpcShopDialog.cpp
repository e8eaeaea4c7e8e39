#include "dialogs/trade/NpcShopDialog.h"

#include "client/Client.h"
#include <string>

#include "engine/KEngine2.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIManager.h"
#include "game/GameControlIds.h"
#include "game/Lifecycle.h"

namespace {

const int32_t kChatInputId = 25;

}  // namespace

NpcShopDialog::NpcShopDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("NpcShopDialog");
}

NpcShopDialog::~NpcShopDialog() { lifecycle::Note("~NpcShopDialog"); }

void NpcShopDialog::Close() {
    lifecycle::Note("NpcShopDialog::Close");
    gui->focus = gui->FindControl(kChatInputId);
}

bool NpcShopDialog::ContainsPoint(int x, int y) {
    const GUIControl* dialog = gui->FindControl(GameIds::kNpcShopDialog);
    return dialog && dialog->Contains(x, y);
}

void NpcShopDialog::OnItemDropped(int itemId) { lifecycle::Note("NpcShopDialog::OnItemDropped " + std::to_string(itemId)); }
