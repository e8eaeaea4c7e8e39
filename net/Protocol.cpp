#include "net/Protocol.h"

#include "client/Client.h"
#include "dialogs/trade/TradeWindow.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIManager.h"

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
    // The box stays until the answer arrives; its button is disabled so that
    // the player cannot close it (Enter included) while the attempt runs.
    GUIManager* gui = Client::Instance()->app->gui;
    gui->MessageBox("Connecting", mode == 0 ? "Connecting to the login server..." : "Connecting to the game world...");
    if (GUIControl* button = gui->FindControl(GUIManager::kMessageButtonId))
        button->SetFlag(GUIControl::kDisabled);
    return true;
}

bool Protocol::Poll() { return true; }

void Protocol::SendLogout() {}

void Protocol::SendLoginServerLogin() {}
