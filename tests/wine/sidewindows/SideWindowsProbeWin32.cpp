// The client as velmora.exe runs it (same start-up, same main-loop passes),
// which logs in by itself with the demo account and enters the game with the
// first character, also again after a logout. Whenever what the side windows
// show changes it prints one "state" line, so that the driver knows where to
// click and what to expect:
//   state client=w,h left=<width> right=<width> loaded=0|1 inv=<slot>:<item>:<count>|...
//         stats=<health>,<max>,<mana>,<max>,<level>,<experience>
//         c<i>=x,y,w,h,<minimised>,<dragged> cclose<i>=x,y,w,h cloot<i>=x,y,w,h ...
//         quests=.. spells=.. guild=.. logout=.. (button rectangles)
//         friends=x,y,w,h names=<name>,... party=x,y,w,h,<hidden> members=<n>
//         menu=x,y,w,h:<text>@<row centre y>|... add=0|1
// (rectangles as x,y,w,h; "-" for none).
#include <cstdio>
#include <string>

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIMenu.h"
#include "game/GameInterface.h"
#include "protocol/Protocol.h"
#include "sidewindows/Actions.h"
#include "sidewindows/CStatus.h"
#include "sidewindows/Container.h"
#include "sidewindows/Friends.h"
#include "sidewindows/Inventory.h"
#include "sidewindows/Party.h"
#include "sidewindows/SidePanel.h"
#include "tests/wine/support/Probe.h"

namespace {

const int kFriendsMenu = 66;
const int kAddPersonDialog = 67;
const int kPartyMenu = 95;

std::string Rect(const GUIControl* control) {
    if (!control)
        return "-";
    return std::to_string(control->x) + "," + std::to_string(control->y) + "," + std::to_string(control->width) +
           "," + std::to_string(control->height);
}

std::string Menu(GUIManager* gui) {
    for (int id : {kFriendsMenu, kPartyMenu}) {
        const GUIMenu* menu = dynamic_cast<GUIMenu*>(gui->FindControl(id));
        if (!menu)
            continue;
        std::string text = Rect(menu) + ":";
        for (size_t i = 0; i < menu->entries.size(); ++i) {
            const GUIMenu::Entry& entry = menu->entries[i];
            if (entry.value <= 0 || entry.disabled)
                continue;
            std::string label = entry.text;
            for (char& c : label)
                if (c == ' ')
                    c = '_';
            text += label + "@" + std::to_string(menu->y + 3 + 20 * int(i) + 10) + "|";
        }
        return text;
    }
    return "-";
}

std::string State(Client& client) {
    GameInterface* game = client.game;
    GUIManager* gui = client.app->gui;
    std::string state = "state client=" + std::to_string(client.app->clientWidth) + "," +
                        std::to_string(client.app->clientHeight);
    state += " left=" + std::to_string(game->leftPanel->GetWidth());
    state += " right=" + std::to_string(game->rightPanel->GetWidth());
    state += " loaded=" + std::to_string(client.protocol->layoutLoaded);
    state += " inv=";
    for (int slot = 1; slot <= 13; ++slot)
        if (const InventorySlot* cell = game->inventory->FindSlot(slot, true); cell && cell->itemId)
            state += std::to_string(slot) + ":" + std::to_string(cell->itemId) + ":" + std::to_string(cell->count) +
                     "|";
    const CStatus* status = game->status;
    state += " stats=" + std::to_string(status->health) + "," + std::to_string(status->maxHealth) + "," +
             std::to_string(status->mana) + "," + std::to_string(status->maxMana) + "," +
             std::to_string(status->level) + "," + std::to_string(status->experience);
    for (int i = 0; i < GameInterface::kContainerSlots; ++i) {
        const Container* container = game->containers[i];
        if (!container || !container->dialog)
            continue;
        const std::string n = std::to_string(i);
        state += " c" + n + "=" + Rect(container->dialog) + "," + std::to_string(container->minimized) + "," +
                 std::to_string(container->dialog->dragging ? 1 : 0);
        state += " cclose" + n + "=" + Rect(container->closeButton);
        state += " cloot" + n + "=" + Rect(container->lootButton);
    }
    const Actions* actions = game->actions;
    state += " quests=" + Rect(actions->questsButton) + " spells=" + Rect(actions->spellsButton) +
             " guild=" + Rect(actions->guildButton) + " logout=" + Rect(actions->logoutButton);
    state += " friends=" + Rect(game->friends->dialog) + " names=";
    for (const FriendEntry& entry : game->friends->view)
        state += entry.name + ",";
    state += " party=" + Rect(game->party->dialog) + "," +
             std::to_string(game->party->dialog->HasFlag(GUIControl::kHidden) ? 1 : 0);
    state += " members=" + std::to_string(game->party->members.size());
    state += " menu=" + Menu(gui);
    state += " add=" + std::to_string(gui->FindControl(kAddPersonDialog) ? 1 : 0);
    return state;
}

}  // namespace

int main() { return probe::Run(probe::InGameHooks(State, true)); }
