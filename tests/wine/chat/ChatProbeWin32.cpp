// The client as velmora.exe runs it (same start-up, same main-loop passes),
// which logs in by itself with the demo account and enters the game with the
// first character. Whenever what the chat console shows changes it prints one
// "state" line, so that the driver knows where to click and what to expect:
//   state input=x,y,w,h active=<tab> box=x,y,w,h tabs=<name>:x,y,w,h:colour|...
//         book=0|1 tips=<n> confirm=0|1 chath=<n> channels=<names>
#include <cstdio>
#include <string>

#include "client/Client.h"
#include "client/ConfigFile.h"
#include "client/Settings.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITabgroup.h"
#include "engine/gui/GUITextbox.h"
#include "game/ChatLog.h"
#include "game/ChatPane.h"
#include "game/ConfirmDialog.h"
#include "game/GameInterface.h"
#include "game/PagedTextWindow.h"
#include "game/TipMessages.h"
#include "tests/wine/support/Probe.h"

namespace {

std::string Rect(const GUIControl* control) {
    if (!control)
        return "-";
    return std::to_string(control->x) + "," + std::to_string(control->y) + "," + std::to_string(control->width) +
           "," + std::to_string(control->height);
}

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof(text), "%08x", value);
    return text;
}

std::string State(Client& client) {
    GameInterface* game = client.game;
    GUIManager* gui = client.app->gui;
    ChatLog* log = ChatLog::Instance();
    std::string state = "state client=" + std::to_string(client.app->clientWidth) + "," +
                        std::to_string(client.app->clientHeight);
    GUITextbox* input = dynamic_cast<GUITextbox*>(gui->FindControl(ChatLog::kChatInputId));
    state += " input=" + Rect(input);
    state += " text=" + (input ? input->GetText() : std::string());
    state += " close=" + Rect(gui->FindControl(57));
    ChatPane* active = log->ActivePane();
    state += " active=" + (active ? active->name : std::string("-"));
    state += " box=" + Rect(active ? active->box : nullptr);
    state += " tabs=";
    if (GUITabgroup* group = dynamic_cast<GUITabgroup*>(gui->FindControl(ChatLog::kTabGroupId))) {
        for (GUITab* tab : group->GetTabs()) {
            if (tab->HasFlag(GUIControl::kHidden))
                continue;
            state += tab->caption + ":" + Rect(tab) + ":" + Hex(tab->textColor) + "|";
        }
    }
    state += " book=" + std::to_string(game && game->pagedText->open ? 1 : 0);
    state += " tips=" + std::to_string(game ? game->tipMessages->tips.size() : 0);
    if (game && !game->tipMessages->tips.empty()) {
        int x = 0;
        int y = 0;
        game->tipMessages->ScreenPosition(*game->tipMessages->tips.front(), x, y);
        state += " tip=" + std::to_string(x) + "," + std::to_string(y);
    }
    if (game) {
        const FieldView field = game->GetFieldView();
        state += " field=" + std::to_string(field.originX) + "," + std::to_string(field.originY) + "," +
                 std::to_string(field.Width()) + "," + std::to_string(field.Height());
        state += " camera=" + std::to_string(field.cameraX) + "," + std::to_string(field.cameraY) + "," +
                 std::to_string(field.floor);
    }
    state += " confirm=" + std::to_string(gui->FindControl(ConfirmDialog::kDialogId) ? 1 : 0);
    state += " chath=" + std::to_string(game ? game->chatHeight : 0);
    state += " player=" + GetLocalPlayerName();
    state += " channels=";
    for (ConfigEntry* entry : client.settings->options->GetSectionEntries("channels"))
        state += entry->key + ",";
    return state;
}

}  // namespace

int main() {
    probe::Hooks hooks = probe::InGameHooks(State);
    hooks.ending = [](Client& client) {
        // What the options file kept of the chat tabs at the end.
        std::string channels = "saved channels=";
        for (ConfigEntry* entry : client.settings->options->GetSectionEntries("channels"))
            channels += entry->key + ",";
        probe::Say(channels);
    };
    return probe::Run(hooks);
}
