#include "dialogs/trade/MarketDialog.h"

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

MarketDialog::MarketDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("MarketDialog");
}

MarketDialog::~MarketDialog() { lifecycle::Note("~MarketDialog"); }

void MarketDialog::Close() {
    lifecycle::Note("MarketDialog::Close");
    gui->DeleteLater(196);
    gui->DeleteLater(256);
    gui->DeleteLater(267);
    gui->DeleteLater(272);
    gui->focus = gui->FindControl(kChatInputId);
}

void MarketDialog::RefreshCategory(int, int) {}

void MarketDialog::OnRightClick(int, int) {}

bool MarketDialog::HitTest(int x, int y) {
    const GUIControl* dialog = gui->FindControl(GameIds::kMarketDialog);
    return dialog && dialog->Contains(x, y);
}

void MarketDialog::OpenSellOffer(int itemId) { lifecycle::Note("MarketDialog::OpenSellOffer " + std::to_string(itemId)); }
