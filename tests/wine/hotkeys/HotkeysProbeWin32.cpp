// The client as velmora.exe runs it, logging in by itself (the demo account,
// then "Enter Game"), which prints what the hotkey and mouse-action test
// needs to know, each kind of line only when it changes:
//   field <screen x> <screen y> <view x> <view y> <tile> <camera x> <camera y> <floor>
//   player <x> <y> <z>                  (once a step is over)
//   bar <side> <x> <y> <width> <height> <thickness> <slots> F1 <x> <y> F2 <x> <y>
//   cooldown <seconds> shade <seconds>  (of the spell on main-row F1)
//   editor <slot> <fight row> flag <actionListFlag>
//   note HotkeyDialog::Open <slot>      (the editor opening for a slot)
//   cancel <x> <y> <width> <height>     (the editor's "Cancel" button) or "cancel none"
//   menu <x> <y> <width> <height> <value>:<text>|...   or "menu none"
//   buffs <name>|...
//   experience <expanded>
//   status <text>                       (while the status line shows it)
//   chat <line>                         (every new line of the tab "Main")
//   frames <n>                          (every tenth pass)
#include <string>

#include "client/Client.h"
#include "dialogs/character/HotkeyDialog.h"
#include "engine/Clock.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIMenu.h"
#include "engine/gui/GUITextbox.h"
#include "game/BuffTimers.h"
#include "game/ChatLog.h"
#include "game/ChatPane.h"
#include "game/ExperienceWindow.h"
#include "game/GameControlIds.h"
#include "game/GameInterface.h"
#include "game/HotkeyBar.h"
#include "game/Lifecycle.h"
#include "game/StatusLine.h"
#include "game/ThingActions.h"
#include "platform/Win32.h"
#include "protocol/Protocol.h"
#include "tests/wine/support/Probe.h"
#include "world/Camera.h"
#include "world/Creature.h"
#include "world/Map.h"

namespace {

// The editor's module notes each opening with its slot.
void NoteEditor(const std::string& event) {
    if (event.rfind("HotkeyDialog::Open", 0) == 0)
        probe::Say("note " + event);
}

std::string Number(float value) { return std::to_string(static_cast<int>(value)); }

class Reporter {
public:
    void Report(Client& client) {
        probe::Report(screen_, probe::ScreenLine(client));
        GameInterface* game = client.game;
        if (!game) {
            chatSeen_ = 0;
            return;
        }
        GUIManager* gui = client.app->gui;

        const FieldView field = game->GetFieldView();
        POINT origin = {0, 0};
        ClientToScreen(static_cast<HWND>(client.app->window), &origin);
        probe::Report(field_, "field " + std::to_string(origin.x) + " " + std::to_string(origin.y) + " " +
                                  std::to_string(field.originX) + " " + std::to_string(field.originY) + " " +
                                  std::to_string(field.tileWidth) + " " + std::to_string(field.cameraX) + " " +
                                  std::to_string(field.cameraY) + " " + std::to_string(field.floor));

        if (const Creature* player = game->map->camera->creature; player && player->walkProgress >= 1.0f)
            probe::Report(player_, "player " + std::to_string(player->position.x) + " " +
                                       std::to_string(player->position.y) + " " +
                                       std::to_string(player->position.z));

        const HotkeyBar* bar = game->hotkeyBar;
        probe::Report(bar_, "bar " + std::to_string(bar->side) + " " + Number(bar->x) + " " + Number(bar->y) + " " +
                                Number(bar->width) + " " + Number(bar->height) + " " +
                                std::to_string(bar->thickness) + " " + std::to_string(bar->GetLayout().slotCount) +
                                " F1 " + Number(bar->mainRow[1].x) + " " + Number(bar->mainRow[1].y) + " F2 " +
                                Number(bar->mainRow[2].x) + " " + Number(bar->mainRow[2].y));
        const int spell = bar->mainRow[1].action;
        const auto cooldown = bar->GetCooldown(spell);
        const auto shade = bar->shadeTimers.find(spell);
        probe::Report(timers_, "cooldown " + std::to_string(Remaining(cooldown.first, cooldown.second)) + " shade " +
                                   std::to_string(shade == bar->shadeTimers.end()
                                                      ? 0
                                                      : Remaining(shade->second.start, shade->second.seconds)));

        probe::Report(editor_, "editor " + std::to_string(game->hotkeyDialog->slot) + " " +
                                   std::to_string(game->hotkeyDialog->fightSet ? 1 : 0) + " flag " +
                                   std::to_string(client.protocol->actionListFlag));
        const GUIControl* cancel = gui->FindControl(GameIds::kHotkeyCancel);
        probe::Report(cancel_, cancel ? "cancel " + probe::Rect(cancel) : "cancel none");

        std::string menuLine = "menu none";
        if (const GUIMenu* menu = dynamic_cast<GUIMenu*>(gui->FindControl(GameIds::kContextMenu))) {
            menuLine = "menu " + probe::Rect(menu) + " ";
            for (const GUIMenu::Entry& entry : menu->entries)
                menuLine += std::to_string(entry.value) + ":" + entry.text + "|";
        }
        probe::Report(menu_, menuLine);

        std::string buffs = "buffs ";
        for (const BuffEntry& entry : game->buffTimers->entries)
            buffs += entry.name + "|";
        probe::Report(buffs_, buffs);

        probe::Report(experience_, "experience " + std::to_string(game->experienceWindow->expanded ? 1 : 0));

        const StatusLine* line = StatusLine::Instance();
        const bool shown =
            !line->statusText.empty() && GetTicks() - line->statusTime < StatusLine::kStatusLifetime;
        probe::Report(status_, shown ? "status " + line->statusText : "status none");

        ReportChat();
        if (++passes_ % 10 == 0)
            probe::Say("frames " + std::to_string(passes_));
    }

private:
    // Whole seconds left of a {start tick, seconds} timer; 0 once it ran out.
    static int Remaining(uint32_t start, uint32_t seconds) {
        const uint64_t elapsed = GetTicks() - start;
        const uint64_t length = uint64_t{seconds} * 1000;
        return elapsed < length ? static_cast<int>((length - elapsed + 999) / 1000) : 0;
    }

    void ReportChat() {
        for (ChatPane* pane : ChatLog::Instance()->Panes()) {
            if (pane->name != "Main" || !pane->box)
                continue;
            const std::string text = pane->box->GetText();
            if (text.size() < chatSeen_)
                chatSeen_ = 0;
            size_t start = chatSeen_;
            while (start < text.size()) {
                const size_t end = text.find('\n', start);
                if (end == std::string::npos)
                    break;
                probe::Say("chat " + text.substr(start, end - start));
                start = end + 1;
            }
            chatSeen_ = start;
        }
    }

    std::string screen_, field_, player_, bar_, timers_, editor_, cancel_, menu_, buffs_, experience_, status_;
    size_t chatSeen_ = 0;
    unsigned passes_ = 0;
};

}  // namespace

int main() {
    probe::AutoEnter enter;
    Reporter reporter;
    probe::Hooks hooks;
    hooks.started = [](Client& client) {
        lifecycle::sink = &NoteEditor;
        probe::LogInDemo(client);
    };
    hooks.pass = [&](Client& client) {
        enter.Step(client);
        reporter.Report(client);
    };
    return probe::Run(hooks);
}
