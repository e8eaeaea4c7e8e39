// The client as velmora.exe runs it, logging in by itself and entering the
// game, which prints what the minimap test needs: where the client area lies
// on the screen, the minimap's frame and view, where the player stands once
// a step is over, the world map's dialogs and menu, a frame count now and
// then so the driver knows that frames were drawn after something happened,
// and a line once a logout has torn the game screen down (which writes the
// minimap's area files).
#include <string>

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIMenu.h"
#include "game/GameInterface.h"
#include "platform/Win32.h"
#include "sidewindows/Minimap.h"
#include "tests/wine/support/Probe.h"
#include "world/Camera.h"
#include "world/Creature.h"
#include "world/Map.h"

namespace {

const int kWorldMapControls[] = {244, 251, 252, 253, 254};

}  // namespace

int main() {
    probe::AutoEnter enter;
    std::string screen, origin, minimap, player;
    std::string controls[sizeof kWorldMapControls / sizeof kWorldMapControls[0]];
    unsigned passes = 0;
    // The areas the minimap held in the last pass with a game screen: its
    // teardown writes them all before the pass in which the game is gone.
    size_t areas = 0;
    bool inGame = false;
    probe::Hooks hooks;
    hooks.started = [](Client& client) { probe::LogInDemo(client); };
    hooks.pass = [&](Client& client) {
        enter.Step(client);
        probe::Report(screen, probe::ScreenLine(client));
        if (inGame && !client.game)
            probe::Say("left the game holding " + std::to_string(areas) + " areas");
        inGame = client.game != nullptr;
        if (!client.game)
            return;
        POINT corner = {0, 0};
        ClientToScreen(static_cast<HWND>(client.app->window), &corner);
        probe::Report(origin, "origin " + std::to_string(corner.x) + " " + std::to_string(corner.y));
        if (const Minimap* map = client.game->minimap; map && map->dialog)
            probe::Report(minimap, "minimap " + probe::Rect(map->dialog) + " zoom " +
                                       std::to_string(int(map->zoom * 4)) + " centre " + std::to_string(map->centreX) +
                                       " " + std::to_string(map->centreY) + " " + std::to_string(map->floor) +
                                       " chunks " + std::to_string(map->chunks.size()));
        areas = client.game->minimap ? client.game->minimap->chunks.size() : 0;
        if (const Creature* followed = client.game->map->camera->creature; followed && followed->walkProgress >= 1.0f)
            probe::Report(player, "player " + std::to_string(followed->position.x) + " " +
                                      std::to_string(followed->position.y) + " " +
                                      std::to_string(followed->position.z));
        for (size_t i = 0; i < sizeof kWorldMapControls / sizeof kWorldMapControls[0]; ++i) {
            GUIManager* gui = client.app->gui;
            const GUIControl* control = gui->FindControl(kWorldMapControls[i]);
            if (!control && gui->openMenu && gui->openMenu->id == kWorldMapControls[i])
                control = gui->openMenu;
            probe::Report(controls[i], "control " + std::to_string(kWorldMapControls[i]) + " " +
                                           (control ? probe::Rect(control) : std::string("none")));
        }
        if (++passes % 10 == 0)
            probe::Say("frames " + std::to_string(passes));
    };
    return probe::Run(hooks);
}
