// The client as velmora.exe runs it, logging in by itself (the demo account,
// then "Enter Game" with the first character), which prints what the map view
// test needs to know: the back end, where the view lies on the screen, where
// the player stands once a step is over, and a frame count now and then so
// the driver knows that frames were drawn after a message arrived.
#include <cstdio>
#include <string>

#include "client/CharacterList.h"
#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "game/GameInterface.h"
#include "platform/Platform.h"
#include "platform/Win32.h"
#include "protocol/Protocol.h"
#include "world/Camera.h"
#include "world/Creature.h"
#include "world/EffectList.h"
#include "world/FloatingTexts.h"
#include "world/Map.h"

namespace {

class PrintedMessageBoxes : public platform::MessageBoxes {
public:
    int Show(const std::string& text, const std::string& caption, unsigned style, void*) override {
        std::printf("platform box %s|%s\n", caption.c_str(), text.c_str());
        std::fflush(stdout);
        return (style & 0xF) == platform::kMbYesNo ? platform::kIdYes : platform::kIdOk;
    }
};

void Say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

}  // namespace

int main() {
    static PrintedMessageBoxes boxes;
    platform::SetMessageBoxes(&boxes);

    Client* client = Client::Instance();
    if (!client->Init()) {
        Say("Main instance creation failed, exiting...");
        return 1;
    }
    Say("engine " + std::to_string(client->app->engineType));
    Protocol* protocol = client->protocol;
    protocol->account = "demo";
    protocol->password = "demo";
    protocol->Connect(0, client->loginHosts, client->loginPort);

    bool entered = false;
    std::string screen, view, player, effects;
    unsigned passes = 0;
    while (client->app->running) {
        client->RunPass();
        if (!client->app->running)
            break;
        CharacterList* list = protocol->characterList;
        if (!entered && list && !list->characters.empty() && client->app->gui->FindControl(CharacterList::kDialog)) {
            CharacterList::OnEnterGameClicked(list);
            entered = true;
        }
        const std::string now = client->game ? "screen game" : client->menu ? "screen menu" : "screen none";
        if (now != screen) {
            screen = now;
            Say(screen);
        }
        if (!client->game)
            continue;
        const Map* map = client->game->map;
        POINT origin = {0, 0};
        ClientToScreen(static_cast<HWND>(client->app->window), &origin);
        const std::string where = "view " + std::to_string(origin.x) + " " + std::to_string(origin.y) + " " +
                                  std::to_string(map->viewX) + " " + std::to_string(map->viewY) + " " +
                                  std::to_string(map->tileWidth);
        if (where != view) {
            view = where;
            Say(view);
        }
        if (const Creature* followed = map->camera->creature) {
            if (followed->walkProgress >= 1.0f) {
                const std::string at = "player " + std::to_string(followed->position.x) + " " +
                                       std::to_string(followed->position.y) + " " +
                                       std::to_string(followed->position.z);
                if (at != player) {
                    player = at;
                    Say(player);
                }
            }
        }
        const std::string live = "effects " + std::to_string(client->game->effects->records.size()) + " texts " +
                                 std::to_string(client->game->floatingTexts->records.size());
        if (live != effects) {
            effects = live;
            Say(effects);
        }
        if (++passes % 10 == 0)
            Say("frames " + std::to_string(passes));
    }
    client->Shutdown();
    Say("ended");
    return 0;
}
