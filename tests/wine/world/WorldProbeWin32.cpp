// The client as velmora.exe runs it (same start-up, same main-loop passes),
// which logs in by itself: the demo account on the login server of
// "loginserver.txt", then "Enter Game" with the first character. It prints
// every change of the screen, the window title, the status text and the
// player's creature (its place, and whether it is at rest or walking), so
// that the driver can wait for each of them.
#include <string>

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "game/GameInterface.h"
#include "game/StatusLine.h"
#include "tests/wine/support/Probe.h"
#include "world/Creature.h"
#include "world/Map.h"

namespace {

std::string PlayerLine(Client* client) {
    const Creature* player = client->game ? client->game->map->camera->creature : nullptr;
    if (!player)
        return "player none";
    const Position p = player->position;
    return "player " + std::to_string(p.x) + " " + std::to_string(p.y) + " " + std::to_string(p.z) +
           (player->IsAtRest() && !player->clone ? " rest" : " walk");
}

}  // namespace

int main() {
    probe::AutoEnter enter;
    std::string screen, title, status, player;
    probe::Hooks hooks;
    hooks.started = probe::LogInDemo;
    hooks.pass = [&](Client& client) {
        enter.Step(client);
        probe::Report(screen, probe::ScreenLine(client));
        probe::Report(title, "title " + client.app->title);
        probe::Report(status, "status " + StatusLine::Instance()->statusText);
        probe::Report(player, PlayerLine(&client));
    };
    return probe::Run(hooks);
}
