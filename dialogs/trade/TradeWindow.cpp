#include "dialogs/trade/TradeWindow.h"

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
