// The client as velmora.exe runs it (same start-up, same main-loop passes),
// which logs in by itself with the demo account and enters the game with the
// first character. Whenever what the game master's tools show changes it
// prints one "state" line of key=value words (blanks in values as "_"):
//   open=<ids of the open staff dialogs> focus=<id> privilege=<n>
//   r<id>=x,y,w,h        the controls the driver clicks, by id
//   b<dialog>_<caption>=x,y,w,h   buttons, by dialog and caption (letters only)
//   t<id>=<text>         the text boxes' texts
//   rows=<names|...> sel=<n>      the online list
//   caption=<text> disabled=<four 0/1: days, comment, warning, rules>
//   warning=0|1 rule=<n>          the ban form
#include <cctype>
#include <string>

#include "client/Client.h"
#include "dialogs/social/GMBanDialog.h"
#include "dialogs/social/GMWindow.h"
#include "dialogs/social/OnlineListDialog.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameInterface.h"
#include "tests/wine/support/Probe.h"
#include "world/Camera.h"
#include "world/Creature.h"
#include "world/Map.h"

namespace {

std::string Rect(const GUIControl* control) {
    return std::to_string(control->x) + "," + std::to_string(control->y) + "," + std::to_string(control->width) +
           "," + std::to_string(control->height);
}

std::string Word(std::string text) {
    for (char& c : text)
        if (c == ' ')
            c = '_';
    return text.empty() ? "-" : text;
}

std::string Letters(const std::string& text) {
    std::string out;
    for (char c : text)
        if (std::isalnum(static_cast<unsigned char>(c)))
            out += c;
    return out;
}

void Dialog(GUIManager* gui, int32_t id, std::string& open, std::string& state) {
    GUIControl* dialog = gui->FindControl(id);
    if (!dialog)
        return;
    open += std::to_string(id) + ",";
    state += " r" + std::to_string(id) + "=" + Rect(dialog);
    for (GUIControl* control : dialog->CollectDescendants()) {
        if (const GUIButton* button = dynamic_cast<GUIButton*>(control)) {
            state += " b" + std::to_string(id) + "_" + Letters(button->caption) + "=" + Rect(button);
            continue;
        }
        if (control->id == 0)
            continue;
        state += " r" + std::to_string(control->id) + "=" + Rect(control);
        if (const GUITextbox* box = dynamic_cast<GUITextbox*>(control))
            state += " t" + std::to_string(control->id) + "=" + Word(box->GetText());
    }
}

std::string State(Client& client) {
    GUIManager* gui = client.app->gui;
    std::string open;
    std::string controls;
    Dialog(gui, GMWindow::kDialogId, open, controls);
    Dialog(gui, OnlineListDialog::kDialogId, open, controls);
    Dialog(gui, GMBanDialog::kDialogId, open, controls);
    const Creature* player = client.game->map->camera->creature;
    std::string state = "state open=" + (open.empty() ? std::string("-") : open);
    state += " focus=" + std::to_string(gui->focus ? gui->focus->id : -1);
    state += " privilege=" + std::to_string(player ? player->privilegeLevel : -1);
    state += controls;
    if (const GUISelect* list = dynamic_cast<GUISelect*>(gui->FindControl(OnlineListDialog::kListId))) {
        std::string rows;
        for (const GUISelectItem& item : list->items)
            rows += item.text + "|";
        state += " rows=" + Word(rows) + " sel=" + std::to_string(list->selectedIndex);
    }
    if (const GUIButton* action = dynamic_cast<GUIButton*>(gui->FindControl(GMBanDialog::kActionButtonId))) {
        state += " caption=" + Word(action->caption) + " disabled=";
        for (int32_t id : {GMBanDialog::kDaysBoxId, GMBanDialog::kCommentBoxId, GMBanDialog::kWarningBoxId,
                           GMBanDialog::kRuleListId}) {
            const GUIControl* control = gui->FindControl(id);
            state += control && control->HasFlag(GUIControl::kDisabled) ? "1" : "0";
        }
        const GUICheckbox* warning = dynamic_cast<GUICheckbox*>(gui->FindControl(GMBanDialog::kWarningBoxId));
        const GUISelect* rules = dynamic_cast<GUISelect*>(gui->FindControl(GMBanDialog::kRuleListId));
        state += " warning=" + std::to_string(warning && warning->checked ? 1 : 0);
        state += " rule=" + std::to_string(rules ? rules->selectedIndex : -1);
    }
    return state;
}

}  // namespace

int main() { return probe::Run(probe::InGameHooks(State)); }
