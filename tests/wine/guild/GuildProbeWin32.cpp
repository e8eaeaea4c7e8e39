// The client as velmora.exe runs it (same start-up, same main-loop passes),
// which logs in by itself with the demo account and enters the game with the
// first character. Whenever what the guild dialogs show changes it prints one
// "state" line, so that the driver knows where to click and what to expect:
//   state open=<dialog id>,... mouse=x,y waiting=0|1 tab=0|1 title=<guild window's title>
//         b<id>=x,y,w,h,<disabled> (buttons) t<id>=x,y,w,h (text boxes)
//         l<id>=x,y,w,h,<rows>,<row height>,<selected> (lists) c<id>=x,y,w,h,<checked>
//         tabs=<caption>:x,y,w,h|... ok=x,y,w,h (the confirmation box's OK)
//         members=<name>:<id>|... (the guild's members in the order shown)
// (blanks in texts as "_"; hidden controls are left out).
#include <string>

#include "client/Client.h"
#include "dialogs/social/GuildDialog.h"
#include "dialogs/social/NoGuildDialog.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITextbox.h"
#include "game/ConfirmDialog.h"
#include "game/GameInterface.h"
#include "tests/wine/support/Probe.h"

namespace {

const int kDialogs[] = {GuildDialog::kDialogId, NoGuildDialog::kDialogId, GuildDialog::kEditMemberDialogId,
                        GuildDialog::kCreateWarDialogId, GuildDialog::kEditRanksDialogId,
                        ConfirmDialog::kDialogId};

std::string Blanks(std::string text) {
    for (char& c : text)
        if (c == ' ')
            c = '_';
    return text;
}

std::string Rect(const GUIControl* control) {
    return std::to_string(control->x) + "," + std::to_string(control->y) + "," + std::to_string(control->width) +
           "," + std::to_string(control->height);
}

bool Shown(const GUIControl* control) {
    for (const GUIControl* c = control; c; c = c->GetParent())
        if (c->HasFlag(GUIControl::kHidden))
            return false;
    return true;
}

std::string Controls(GUIManager* gui) {
    std::string text;
    for (int dialogId : kDialogs) {
        GUIControl* dialog = gui->FindControl(dialogId);
        if (!dialog)
            continue;
        for (GUIControl* control : dialog->CollectDescendants()) {
            if (!Shown(control))
                continue;
            const std::string id = std::to_string(control->id);
            if (const GUIButton* button = dynamic_cast<GUIButton*>(control)) {
                if (dialogId == ConfirmDialog::kDialogId && button->caption == "OK")
                    text += " ok=" + Rect(button);
                else if (control->id > 0)
                    text += " b" + id + "=" + Rect(button) + "," + (button->HasFlag(GUIControl::kDisabled) ? "1" : "0");
            } else if (const GUITextbox* box = dynamic_cast<GUITextbox*>(control); box && control->id > 0) {
                text += " t" + id + "=" + Rect(box);
            } else if (const GUISelect* list = dynamic_cast<GUISelect*>(control)) {
                text += " l" + id + "=" + Rect(list) + "," + std::to_string(list->items.size()) + "," +
                        std::to_string(list->rowHeight) + "," + std::to_string(list->selectedIndex);
            } else if (const GUICheckbox* box = dynamic_cast<GUICheckbox*>(control)) {
                text += " c" + id + "=" + Rect(box) + "," + (box->checked ? "1" : "0");
            }
        }
    }
    return text;
}

std::string State(Client& client) {
    GUIManager* gui = client.app->gui;
    const GuildDialog* guild = client.game->guild;
    std::string state = "state open=";
    for (int id : kDialogs)
        if (gui->FindControl(id))
            state += std::to_string(id) + ",";
    state += " mouse=" + std::to_string(int(gui->mouseX)) + "," + std::to_string(int(gui->mouseY));
    state += " waiting=" + std::string(guild->waiting ? "1" : "0") + " tab=" + std::to_string(guild->tab);
    if (GUIDialog* window = dynamic_cast<GUIDialog*>(gui->FindControl(GuildDialog::kDialogId))) {
        state += " title=" + Blanks(window->title);
        state += " tabs=";
        for (GUIControl* control : window->CollectDescendants())
            if (const GUITab* tab = dynamic_cast<GUITab*>(control))
                state += Blanks(tab->caption) + ":" + Rect(tab) + "|";
    }
    state += Controls(gui);
    state += " members=";
    for (const GuildMember& member : guild->members)
        state += Blanks(member.name) + ":" + std::to_string(member.id) + "|";
    return state;
}

}  // namespace

int main() { return probe::Run(probe::InGameHooks(State)); }
