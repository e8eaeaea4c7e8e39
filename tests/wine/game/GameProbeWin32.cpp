// The client as velmora.exe runs it, which after every pass prints what a
// player would see change in the game: the screen, the character list's
// Enter Game button, the chat area's height and input, and the status line's
// text while it shows. The driver reads these lines instead of pixels.
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
#include "tests/wine/support/Probe.h"
#include "world/Camera.h"
#include "world/Creature.h"
#include "world/Map.h"

namespace {

class Reporter {
public:
    void Report(Client& client) {
        GUIManager* gui = client.app->gui;
        probe::Report(screen_, probe::ScreenLine(client));

        std::string enter = "enter none";
        const GUISelect* list = dynamic_cast<GUISelect*>(gui->FindControl(CharacterList::kList));
        if (const GUIControl* button = gui->FindControl(CharacterList::kEnterGameButton); button && list)
            enter = "enter " + std::to_string(list->items.size()) + " " + probe::Rect(button);
        probe::Report(enter_, enter);

        std::string chat = "chat none";
        if (client.game)
            if (const GUIControl* input = gui->FindControl(GameInterface::kChatInputId))
                chat = "chat " + std::to_string(client.game->chatHeight) + " input " + probe::Rect(input) + " window " +
                       std::to_string(client.app->clientWidth) + " " + std::to_string(client.app->clientHeight);
        probe::Report(chat_, chat);

        std::string player = "player none";
        if (client.game && client.game->map->camera->creature) {
            const Creature* creature = client.game->map->camera->creature;
            player = "player " + std::to_string(creature->position.x) + " " + std::to_string(creature->position.y) +
                     " " + std::to_string(creature->position.z);
        } else if (client.game) {
            player = "player unknown " + std::to_string(client.game->map->playerId) + " creatures " +
                     std::to_string(client.game->map->creatures.size());
        }
        probe::Report(player_, player);

        const StatusLine* line = StatusLine::Instance();
        const bool shown = client.game && !line->statusText.empty() &&
                           GetTicks() - line->statusTime < StatusLine::kStatusLifetime;
        probe::Report(status_, shown ? "statustext " + line->statusText : "statustext none");
    }

private:
    std::string screen_, enter_, chat_, player_, status_;
};

}  // namespace

int main() {
    Reporter reporter;
    probe::Hooks hooks;
    hooks.pass = [&](Client& client) { reporter.Report(client); };
    return probe::Run(hooks);
}
