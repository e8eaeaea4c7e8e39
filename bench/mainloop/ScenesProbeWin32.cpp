// The client as velmora.exe runs it (same start-up, same main-loop passes),
// for bench/mainloop/scenes.py. Once a second it prints
//   frames <passes so far> <milliseconds since start>
// so that the driver counts the frames of a measured window exactly. With
// the argument "game" it also logs in with the demo account, enters the game
// and prints one line whenever the scene changes:
//   state loaded=0|1 sides=<id>:<minimised>:<hidden>,... dialogs=<id>,... controls=<n>
// (the side windows in creation order, the top-level dialogs that are no side
// window's frame, the controls in the GUI tree). Without it the client stays
// on its login screen and the passes are all it adds.
#include <cstdint>
#include <cstring>
#include <memory>
#include <set>
#include <string>

#include "client/Client.h"
#include "engine/Clock.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "game/GameInterface.h"
#include "protocol/Protocol.h"
#include "sidewindows/SideWindow.h"
#include "tests/wine/support/Probe.h"

namespace {

int CountControls(const GUIControl* control) {
    int count = 1;
    for (const GUIControl* child : control->children)
        count += CountControls(child);
    return count;
}

std::string SceneState(Client& client) {
    GameInterface* game = client.game;
    std::string state = "state loaded=" + std::to_string(client.protocol->layoutLoaded) + " sides=";
    std::set<const GUIControl*> frames;
    for (const SideWindow* window : game->sideWindows) {
        if (!window->dialog)
            continue;
        frames.insert(window->dialog);
        state += std::to_string(window->windowId) + ":" + std::to_string(window->minimized) + ":" +
                 std::to_string(window->dialog->HasFlag(GUIControl::kHidden) ? 1 : 0) + ",";
    }
    state += " dialogs=";
    const GUIControl* root = client.app->gui->root;
    for (const GUIControl* control : root->children)
        if (!frames.count(control) && dynamic_cast<const GUIDialog*>(control) &&
            !control->HasFlag(GUIControl::kHidden))
            state += std::to_string(control->id) + ",";
    state += " controls=" + std::to_string(CountControls(root));
    return state;
}

// Says the pass count once a second, by the client's own clock.
class FrameCounter {
public:
    void Step() {
        ++passes_;
        const int64_t now = int64_t(GetMilliseconds());
        if (now - said_ >= 1000) {
            said_ = now;
            probe::Say("frames " + std::to_string(passes_) + " " + std::to_string(now));
        }
    }

private:
    int64_t passes_ = 0;
    int64_t said_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    const bool inGame = argc > 1 && std::strcmp(argv[1], "game") == 0;
    probe::Hooks hooks;
    if (inGame)
        hooks = probe::InGameHooks(SceneState);
    auto counter = std::make_shared<FrameCounter>();
    hooks.pass = [counter, pass = hooks.pass](Client& client) {
        counter->Step();
        if (pass)
            pass(client);
    };
    return probe::Run(hooks);
}
