// The client as velmora.exe runs it (same start-up, same main-loop passes),
// which logs in by itself: the demo account on the login server of
// "loginserver.txt", then "Enter Game" with the first character. It prints
// every change of the screen, the window title, the status text and the
// player's creature (its place, and whether it is at rest or walking), so
// that the driver can wait for each of them.
#include <cstdio>
#include <string>

#include "client/CharacterList.h"
#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "game/GameInterface.h"
#include "game/StatusLine.h"
#include "platform/Platform.h"
#include "protocol/Protocol.h"
#include "world/Creature.h"
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

// Prints a line of a kind when it differs from the last one printed.
void Report(std::string& last, const std::string& now) {
    if (now != last) {
        last = now;
        Say(now);
    }
}

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
    static PrintedMessageBoxes boxes;
    platform::SetMessageBoxes(&boxes);

    Client* client = Client::Instance();
    if (!client->Init()) {
        Say("Main instance creation failed, exiting...");
        return 1;
    }
    Protocol* protocol = client->protocol;
    protocol->account = "demo";
    protocol->password = "demo";
    protocol->Connect(0, client->loginHosts, client->loginPort);

    bool entered = false;
    std::string screen, title, status, player;
    while (client->app->running) {
        client->RunPass();
        if (!client->app->running)
            break;
        CharacterList* list = protocol->characterList;
        if (!entered && list && !list->characters.empty() &&
            client->app->gui->FindControl(CharacterList::kDialog)) {
            CharacterList::OnEnterGameClicked(list);
            entered = true;
        }
        Report(screen, client->game ? "screen game" : client->menu ? "screen menu" : "screen none");
        Report(title, "title " + client->app->title);
        Report(status, "status " + StatusLine::Instance()->statusText);
        Report(player, PlayerLine(client));
    }
    client->Shutdown();
    Say("ended");
    return 0;
}
