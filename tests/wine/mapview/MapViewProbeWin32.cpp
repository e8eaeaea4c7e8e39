// The client as velmora.exe runs it, logging in by itself (the demo account,
// then "Enter Game" with the first character), which prints what the map view
// test needs to know: the back end, where the view lies on the screen, where
// the player stands once a step is over, and a frame count now and then so
// the driver knows that frames were drawn after a message arrived.
#include <string>

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "game/GameInterface.h"
#include "platform/Win32.h"
#include "tests/wine/support/Probe.h"
#include "world/Camera.h"
#include "world/Creature.h"
#include "world/EffectList.h"
#include "world/FloatingTexts.h"
#include "world/Map.h"

namespace {

}  // namespace

int main() {
    probe::AutoEnter enter;
    std::string screen, view, player, effects;
    unsigned passes = 0;
    probe::Hooks hooks;
    hooks.started = [](Client& client) {
        probe::Say("engine " + std::to_string(client.app->engineType));
        probe::LogInDemo(client);
    };
    hooks.pass = [&](Client& client) {
        enter.Step(client);
        probe::Report(screen, probe::ScreenLine(client));
        if (!client.game)
            return;
        const Map* map = client.game->map;
        POINT origin = {0, 0};
        ClientToScreen(static_cast<HWND>(client.app->window), &origin);
        probe::Report(view, "view " + std::to_string(origin.x) + " " + std::to_string(origin.y) + " " +
                                std::to_string(map->viewX) + " " + std::to_string(map->viewY) + " " +
                                std::to_string(map->tileWidth));
        if (const Creature* followed = map->camera->creature) {
            if (followed->walkProgress >= 1.0f)
                probe::Report(player, "player " + std::to_string(followed->position.x) + " " +
                                          std::to_string(followed->position.y) + " " +
                                          std::to_string(followed->position.z));
        }
        probe::Report(effects, "effects " + std::to_string(client.game->effects->records.size()) + " texts " +
                                   std::to_string(client.game->floatingTexts->records.size()));
        if (++passes % 10 == 0)
            probe::Say("frames " + std::to_string(passes));
    };
    return probe::Run(hooks);
}
