// The client as velmora.exe runs it (same start-up, same main-loop passes),
// which does not log in by itself: the driver types the demo account. Once
// the character list shows, it presses "Enter Game" once. It prints
//   engine <type> <made>           at start and after every switch, with the
//                                  number of back ends made so far
//   shell <target>                 instead of opening a web page
//   screen menu|game
//   frames <n>                     every ten passes
//   chat <pane>|<line>             every new line of a chat pane
//   state dialogs=<ids> ... <name>=x,y,w,h ...
// where the state names the open dialogs and the rectangles (client
// coordinates) of what the driver clicks or looks at, "origin" being the
// client area's top-left corner on the screen, "preview" the panel of the
// outfit dialog's four pictures and "changeoutfit" the right-click menu's
// row "Change Outfit".
#include <map>
#include <string>
#include <vector>

#include "client/Client.h"
#include "client/LoginControlIds.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIMenu.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITextbox.h"
#include "game/ChatLog.h"
#include "game/ChatPane.h"
#include "game/GameControlIds.h"
#include "game/GameInterface.h"
#include "platform/Platform.h"
#include "platform/Win32.h"
#include "tests/wine/support/Probe.h"
#include "world/Camera.h"
#include "world/Creature.h"
#include "world/Map.h"

namespace {

// Counts the back ends made, so that a switch to the kind already running
// shows as well.
KEngine2::EngineFactory realFactory = nullptr;
int enginesMade = 0;
GraphicsEngine* CountingFactory(int type) {
    ++enginesMade;
    return realFactory(type);
}

std::string EngineLine(const Client& client) {
    return "engine " + std::to_string(client.app->engineType) + " " + std::to_string(enginesMade);
}

// Web pages are printed, and no browser starts.
class PrintedShell : public platform::Shell {
public:
    bool Open(const std::string& target, const std::string&, int) override {
        probe::Say("shell " + target);
        return true;
    }
};

std::string Rect(const GUIControl* control) {
    return std::to_string(control->x) + "," + std::to_string(control->y) + "," + std::to_string(control->width) +
           "," + std::to_string(control->height);
}

// The first control under `parent` that matches.
template <class Match>
const GUIControl* FindUnder(GUIControl* parent, Match match) {
    if (!parent)
        return nullptr;
    for (GUIControl* control : parent->CollectDescendants())
        if (match(control))
            return control;
    return nullptr;
}

const GUIControl* TabNamed(GUIManager* gui, int32_t dialog, const std::string& caption) {
    return FindUnder(gui->FindControl(dialog), [&](GUIControl* control) {
        const GUITab* tab = dynamic_cast<GUITab*>(control);
        return tab && tab->caption == caption;
    });
}

const GUIControl* PictureButton(GUIManager* gui, int picture) {
    return FindUnder(gui->FindControl(GameIds::kTutorialDialog), [&](GUIControl* control) {
        const GUIButton* button = dynamic_cast<GUIButton*>(control);
        return button && button->icon == picture;
    });
}

// The rectangle of the open right-click menu's row with that text (rows of
// 20 px below a 3 px edge), or "".
std::string MenuRow(GUIManager* gui, const std::string& text) {
    const GUIMenu* menu = dynamic_cast<GUIMenu*>(gui->FindControl(GameIds::kContextMenu));
    if (!menu)
        return std::string();
    for (size_t i = 0; i < menu->entries.size(); ++i)
        if (menu->entries[i].text == text)
            return std::to_string(menu->x) + "," + std::to_string(menu->y + 3 + 20 * int(i)) + "," +
                   std::to_string(menu->width) + ",20";
    return std::string();
}

std::string State(Client& client) {
    GUIManager* gui = client.app->gui;
    std::string state = "state dialogs=";
    const int32_t dialogs[] = {LoginIds::kOptionsDialog,      LoginIds::kAboutDialog,   LoginIds::kCharacterListDialog,
                               GameIds::kWelcomeDialog,       GameIds::kOpenChannelDialog,
                               GameIds::kReportDialog,        GameIds::kIgnoreListDialog,
                               GameIds::kTutorialDialog,      GameIds::kQuitDialog,     GameIds::kOutfitDialog,
                               GUIManager::kMessageBoxId};
    for (int32_t id : dialogs)
        if (gui->FindControl(id))
            state += std::to_string(id) + ",";
    const GUIControl* focus = gui->focus;
    state += " focus=" + std::to_string(focus && !focus->IsPendingDeletion() ? focus->id : 0);

    const struct {
        const char* name;
        int32_t id;
    } controls[] = {
        {"options", LoginIds::kOptionsButton},   {"about", LoginIds::kAboutButton},
        {"account", LoginIds::kAccountBox},      {"odialog", LoginIds::kOptionsDialog},
        {"d3d", LoginIds::kOptionsDirect3D},     {"ddraw", LoginIds::kOptionsDirectDraw},
        {"ogl", LoginIds::kOptionsOpenGL},       {"fps", LoginIds::kOptionsFpsLimit},
        {"oclose", LoginIds::kOptionsClose},     {"aclose", LoginIds::kAboutClose},
        {"wstart", GameIds::kWelcomeStart},      {"ocname", GameIds::kOpenChannelName},
        {"ocopen", GameIds::kOpenChannelOpen},   {"rtext", GameIds::kReportText},
        {"rsend", GameIds::kReportSend},         {"tclose", GameIds::kTutorialClose},
        {"qlogout", GameIds::kQuitLogout},       {"minimap", GameIds::kMinimapWindow},
        {"ignore", GameIds::kIgnoreListButton},  {"iname", GameIds::kIgnoreListName},
        {"iadd", GameIds::kIgnoreListAdd},       {"iclose", GameIds::kIgnoreListClose},
        {"outfit", GameIds::kOutfitDialog},      {"outclose", GameIds::kOutfitClose},
    };
    for (const auto& control : controls)
        if (const GUIControl* found = gui->FindControl(control.id))
            state += std::string(" ") + control.name + "=" + Rect(found);
    if (const GUIControl* tab = TabNamed(gui, LoginIds::kOptionsDialog, "Graphics"))
        state += " graphics=" + Rect(tab);
    if (const GUIControl* link = PictureButton(gui, 6601))
        state += " fansites=" + Rect(link);
    if (const GUIControl* link = PictureButton(gui, 6600))
        state += " citymap=" + Rect(link);
    if (const GUIControl* outfit = gui->FindControl(GameIds::kOutfitDialog)) {
        // The panel the outfit dialog draws its four preview pictures in.
        state += " preview=" + std::to_string(outfit->x + 20) + "," + std::to_string(outfit->y + 41) + "," +
                 std::to_string(outfit->width - 40) + ",80";
    }
    if (const std::string row = MenuRow(gui, "Change Outfit"); !row.empty())
        state += " changeoutfit=" + row;
    if (const GUISelect* list = dynamic_cast<GUISelect*>(gui->FindControl(GameIds::kOpenChannelList))) {
        state += " channels=";
        for (const GUISelectItem& item : list->items)
            state += item.text + ",";
    }
    if (const GUISelect* list = dynamic_cast<GUISelect*>(gui->FindControl(GameIds::kIgnoreListNames))) {
        state += " ignored=";
        for (const GUISelectItem& item : list->items)
            state += item.text + ",";
    }

    POINT origin = {0, 0};
    ClientToScreen(static_cast<HWND>(client.app->window), &origin);
    state += " origin=" + std::to_string(origin.x) + "," + std::to_string(origin.y);
    if (GameInterface* game = client.game) {
        state += " welcome=" + std::to_string(game->welcomeShown);
        const Map* map = game->map;
        if (const Creature* player = map->camera->creature) {
            // The player's square on the screen, once it stands still.
            const int tw = map->tileWidth;
            const int th = map->tileHeight;
            state += " player=" + std::to_string(map->viewX + (player->position.x - map->camera->GetX()) * tw) +
                     "," + std::to_string(map->viewY + (player->position.y - map->camera->GetY()) * th) + "," +
                     std::to_string(tw) + "," + std::to_string(th) + "," + std::to_string(player->position.x) + "," +
                     std::to_string(player->position.y) + "," +
                     std::to_string(player->walkProgress >= 1.0f ? 1 : 0);
        }
    }
    return state;
}

// Says each line a chat pane gains, once.
class ChatLines {
public:
    void Step(const Client& client) {
        if (!client.game) {
            seen_.clear();
            return;
        }
        for (ChatPane* pane : ChatLog::Instance()->Panes()) {
            if (!pane->box)
                continue;
            const std::string text = pane->box->GetText();
            size_t& seen = seen_[pane->name];
            // A box that dropped its oldest lines is read again from the start.
            if (text.size() < seen)
                seen = 0;
            // A line may start with a colour: 0x01 and four bytes, any of
            // which may look like a line end, and ends it with 0x02.
            std::string line;
            for (size_t at = seen; at < text.size(); ++at) {
                if (text[at] == '\x01') {
                    at += 4;
                } else if (text[at] == '\n') {
                    probe::Say("chat " + pane->name + "|" + line);
                    line.clear();
                    seen = at + 1;
                } else if (text[at] != '\x02') {
                    line += text[at];
                }
            }
        }
    }

private:
    std::map<std::string, size_t> seen_;
};

}  // namespace

int main() {
    static PrintedShell shell;
    realFactory = KEngine2::engineFactory;
    KEngine2::engineFactory = &CountingFactory;
    probe::AutoEnter enter;
    ChatLines chat;
    std::string screen, state, engine;
    unsigned passes = 0;
    probe::Hooks hooks;
    hooks.started = [&](Client& client) {
        platform::SetShell(&shell);
        probe::Report(engine, EngineLine(client));
    };
    hooks.pass = [&](Client& client) {
        enter.Step(client);
        probe::Report(engine, EngineLine(client));
        probe::Report(screen, probe::ScreenLine(client));
        probe::Report(state, State(client));
        chat.Step(client);
        if (++passes % 10 == 0)
            probe::Say("frames " + std::to_string(passes));
    };
    return probe::Run(hooks);
}
