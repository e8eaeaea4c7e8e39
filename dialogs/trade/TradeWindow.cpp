#include "dialogs/trade/TradeWindow.h"

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIManager.h"
#include "game/GameControlIds.h"

TradeWindow::TradeWindow(const std::string& partner) : partnerName(partner) {}

TradeWindow::~TradeWindow() = default;

void TradeWindow::Reset() {
    ownItems.clear();
    partnerItems.clear();
    ownLocked = 0;
    partnerLocked = 0;
    ownAccepted = 0;
}

void TradeWindow::SetDragState(int, int, bool) {}

void TradeWindow::OnSlotClick(int, int) {}

int TradeWindow::HitTestSlot(int, int, bool) { return -1; }

bool TradeWindow::IsOverDropArea(int x, int y) {
    KEngine2* app = Client::Instance()->app;
    const GUIControl* window = app && app->gui ? app->gui->FindControl(GameIds::kTradeWindow) : nullptr;
    return window && window->Contains(x, y);
}
