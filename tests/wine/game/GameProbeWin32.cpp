// The client as velmora.exe runs it, which after every pass prints what a
// player would see change in the game: the screen, the character list's
// Enter Game button, the chat area's height and input, and the status line's
// text while it shows. The driver reads these lines instead of pixels.
#include <cstdio>
#include <string>

#include "client/CharacterList.h"
#include "client/Client.h"
#include "engine/Clock.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "game/GameInterface.h"
#include "game/StatusLine.h"
#include "platform/Platform.h"
#include "world/Camera.h"
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

std::string Rect(const GUIControl* control) {
    return std::to_string(control->x) + " " + std::to_string(control->y) + " " + std::to_string(control->width) +
           " " + std::to_string(control->height);
}

class Reporter {
public:
    void Report(Client& client) {
        GUIManager* gui = client.app->gui;
        Say(screen_, client.game ? "screen game" : client.menu ? "screen menu" : "screen none");

        std::string enter = "enter none";
        const GUISelect* list = dynamic_cast<GUISelect*>(gui->FindControl(CharacterList::kList));
        if (const GUIControl* button = gui->FindControl(CharacterList::kEnterGameButton); button && list)
            enter = "enter " + std::to_string(list->items.size()) + " " + Rect(button);
        Say(enter_, enter);

        std::string chat = "chat none";
        if (client.game)
            if (const GUIControl* input = gui->FindControl(GameInterface::kChatInputId))
                chat = "chat " + std::to_string(client.game->chatHeight) + " input " + Rect(input) + " window " +
                       std::to_string(client.app->clientWidth) + " " + std::to_string(client.app->clientHeight);
        Say(chat_, chat);

        std::string player = "player none";
        if (client.game && client.game->map->camera->creature) {
            const Creature* creature = client.game->map->camera->creature;
            player = "player " + std::to_string(creature->position.x) + " " + std::to_string(creature->position.y) +
                     " " + std::to_string(creature->position.z);
        } else if (client.game) {
            player = "player unknown " + std::to_string(client.game->map->playerId) + " creatures " +
                     std::to_string(client.game->map->creatures.size());
        }
        Say(player_, player);

        const StatusLine* line = StatusLine::Instance();
        const bool shown = client.game && !line->statusText.empty() &&
                           GetTicks() - line->statusTime < StatusLine::kStatusLifetime;
        Say(status_, shown ? "statustext " + line->statusText : "statustext none");
    }

private:
    static void Say(std::string& last, const std::string& now) {
        if (now == last)
            return;
        last = now;
        std::printf("%s\n", now.c_str());
        std::fflush(stdout);
    }

    std::string screen_, enter_, chat_, player_, status_;
};

}  // namespace

int main() {
    static PrintedMessageBoxes boxes;
    platform::SetMessageBoxes(&boxes);
    GetTicks();
    GetMilliseconds();

    Client* client = Client::Instance();
    if (!client->Init()) {
        std::printf("Main instance creation failed, exiting...\n");
        return 1;
    }
    Reporter reporter;
    while (client->app->running) {
        client->RunPass();
        if (client->app->running)
            reporter.Report(*client);
    }
    client->Shutdown();
    std::printf("ended\n");
    std::fflush(stdout);
    return 0;
}
