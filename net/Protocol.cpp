#include "net/Protocol.h"

#include "dialogs/trade/TradeWindow.h"

// The connection and its threads, the message handlers and the senders come
// with the networking work; until then there is nothing to connect, send or
// receive, and the client stays on the login screen.
Protocol::Protocol() = default;

Protocol::~Protocol() {
    if (tradeWindow) {
        tradeWindow->Reset();
        delete tradeWindow;
    }
}

bool Protocol::Connect(uint8_t newMode, std::vector<std::string>, uint16_t) {
    mode = newMode;
    loginSent = 0;
    return true;
}

bool Protocol::Poll() { return true; }

void Protocol::SendLogout() {}

void Protocol::SendLoginServerLogin() {}
