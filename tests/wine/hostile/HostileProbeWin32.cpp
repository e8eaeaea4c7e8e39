// The client as velmora.exe runs it, under a hostile game server. It logs in
// with the demo account and enters the game with the first character; when a
// lost connection (or a disconnect message) brings it back to the login
// screen, it logs in and enters again. It prints the screen line on every
// change and "login" for every login it starts; message boxes are printed
// and answered at once. Every two seconds it prints the back end's images:
// "sprites live=<held now> made=<so far> freed=<so far>".
#include <cstdint>
#include <string>

#include "client/CharacterList.h"
#include "client/Client.h"
#include "engine/Clock.h"
#include "engine/GraphicsEngine.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "net/Connection.h"
#include "protocol/Protocol.h"
#include "tests/wine/support/Probe.h"

namespace {

// How long the client may sit outside the game with nothing under way before
// the probe logs in (or presses "Enter Game") again.
constexpr uint32_t kRetryMs = 1500;
constexpr uint32_t kSpriteReportMs = 2000;

void ReportSprites(Client& client) {
    const GraphicsEngine* engine = client.app->engine;
    if (!engine)
        return;
    probe::Say("sprites live=" + std::to_string(engine->LiveSprites()) + " made=" +
               std::to_string(engine->SpritesMade()) + " freed=" + std::to_string(engine->SpritesFreed()));
}

bool Busy(const Client& client) {
    const int state = client.protocol->connection->GetState();
    return state == Connection::kConnecting || state == Connection::kConnected;
}

}  // namespace

int main() {
    std::string screen;
    uint32_t lastTry = 0;
    uint32_t lastSprites = 0;
    bool entered = false;  // the last try pressed "Enter Game"
    probe::Hooks hooks;
    hooks.started = [&](Client& client) {
        probe::Say("login");
        probe::LogInDemo(client);
        lastTry = GetTicks();
    };
    hooks.pass = [&](Client& client) {
        probe::Report(screen, probe::ScreenLine(client));
        if (GetTicks() - lastSprites >= kSpriteReportMs) {
            lastSprites = GetTicks();
            ReportSprites(client);
        }
        if (client.game || Busy(client) || GetTicks() - lastTry < kRetryMs)
            return;
        lastTry = GetTicks();
        CharacterList* list = client.protocol->characterList;
        // A character list the hostile server made up may lead nowhere: a
        // failed "Enter Game" is followed by a new login.
        entered = !entered && list && !list->characters.empty() &&
                  client.app->gui->FindControl(CharacterList::kDialog);
        if (entered) {
            probe::Say("enter");
            CharacterList::OnEnterGameClicked(list);
        } else {
            probe::Say("login");
            probe::LogInDemo(client);
        }
    };
    return probe::Run(hooks);
}
