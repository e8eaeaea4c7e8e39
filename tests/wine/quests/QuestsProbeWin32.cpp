// The client as velmora.exe runs it (same start-up, same main-loop passes),
// which logs in by itself with the demo account and enters the game with the
// first character, also again after a lost connection. Whenever what the
// character dialogs show changes it prints one "state" line, so that the
// driver knows where to click and what to expect (rectangles as x,y,w,h,
// texts with "_" for blanks, rows joined by "|", "-" for none), and, on the
// login screen too, "questlog <0|1> <open dialog ids>":
//   state log=0|1 open=<open dialog ids>
//         brew=<in progress>,<size>,<hovered size>,<heat> ingredients=<id>:<count>|...
//         size3=<the third size box> amount=.. begin=.. finish=.. view=.. drop=<x>,<y>
//         rlist=.. rrows=.. rsel=<row> rtext=<the box's first line> rclose=..
//         qlist=.. qrows=.. qtab=<"Achievement Log"> qshow=quests|achievements qclose=..
//         slist=.. srows=.. flower=<x>,<y> (the backpack's flower) dragging=0|1
#include <string>
#include <vector>

#include "client/Client.h"
#include "dialogs/character/BrewingDialog.h"
#include "dialogs/character/QuestLogDialog.h"
#include "dialogs/character/RecipesDialog.h"
#include "dialogs/character/SummonMonsterDialog.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITabgroup.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameInterface.h"
#include "game/ThingActions.h"
#include "protocol/Protocol.h"
#include "sidewindows/Container.h"
#include "tests/wine/support/Probe.h"

namespace {

constexpr int kFlower = 120;

// A hidden control counts as none.
std::string Rect(const GUIControl* control) {
    return control && !control->HasFlag(GUIControl::kHidden) ? probe::RectField(control) : "-";
}

std::string Rows(const GUISelect* list) {
    if (!list)
        return "-";
    std::string rows;
    for (const GUISelectItem& item : list->items)
        rows += probe::TextField(item.text) + "|";
    return rows.empty() ? "-" : rows;
}

GUIButton* ButtonOf(GUIManager* gui, int32_t dialogId, const std::string& caption) {
    const GUIControl* dialog = gui->FindControl(dialogId);
    if (!dialog)
        return nullptr;
    for (GUIControl* control : dialog->children)
        if (GUIButton* button = dynamic_cast<GUIButton*>(control); button && button->caption == caption)
            return button;
    return nullptr;
}

GUITab* TabOf(GUIManager* gui, const std::string& caption) {
    const GUIControl* dialog = gui->FindControl(QuestLogDialog::kDialogId);
    if (!dialog)
        return nullptr;
    for (GUIControl* control : dialog->children)
        if (GUITabgroup* tabs = dynamic_cast<GUITabgroup*>(control))
            for (GUITab* tab : tabs->GetTabs())
                if (tab->caption == caption)
                    return tab;
    return nullptr;
}

// The middle of the backpack's cell that holds the flower.
std::string FlowerCell(GameInterface& game) {
    Container* backpack = game.containers[0];
    if (!backpack || !backpack->dialog)
        return "-";
    const GUIControl* frame = backpack->dialog;
    long sx = 0, sy = 0, n = 0;
    for (int y = frame->y; y < frame->y + frame->height; y += 2)
        for (int x = frame->x; x < frame->x + frame->width; x += 2)
            if (const ContainerSlot* slot = backpack->HitSlot(x, y); slot && slot->itemId == kFlower) {
                sx += x;
                sy += y;
                ++n;
            }
    return n ? std::to_string(sx / n) + "," + std::to_string(sy / n) : "-";
}

// Which of these dialogs are open.
std::string OpenDialogs(GUIManager* gui) {
    std::string open;
    for (int32_t id : {QuestLogDialog::kDialogId, SummonMonsterDialog::kDialogId, BrewingDialog::kDialogId,
                       RecipesDialog::kDialogId})
        if (gui->FindControl(id))
            open += (open.empty() ? "" : ",") + std::to_string(id);
    return open.empty() ? "-" : open;
}

std::string HasLog(Client& client) { return client.protocol->questLog ? "1" : "0"; }

// Said on the login screen too.
std::string LogLine(Client& client) { return "questlog " + HasLog(client) + " " + OpenDialogs(client.app->gui); }

std::string State(Client& client) {
    GUIManager* gui = client.app->gui;
    GameInterface* game = client.game;
    std::string state = "state log=" + HasLog(client) + " open=" + OpenDialogs(gui);

    const BrewingDialog& brewing = *game->brewing;
    state += " brew=" + std::to_string(brewing.inProgress ? 1 : 0) + "," + std::to_string(brewing.potionSize) + "," +
             std::to_string(brewing.hoveredSize) + "," + std::to_string(brewing.heat);
    std::string ingredients;
    for (const auto& [id, count] : brewing.ingredients)
        ingredients += std::to_string(id) + ":" + std::to_string(count) + "|";
    state += " ingredients=" + (ingredients.empty() ? std::string("-") : ingredients);
    const GUIControl* dialog = gui->FindControl(BrewingDialog::kDialogId);
    if (dialog) {
        state += " size3=" + std::to_string(dialog->x + 230) + "," + std::to_string(dialog->y + 40) + ",40,40";
        state += " drop=" + std::to_string(dialog->x + 200) + "," + std::to_string(dialog->y + 120);
    } else {
        state += " size3=- drop=-";
    }
    state += " amount=" + Rect(gui->FindControl(BrewingDialog::kAmountBox));
    state += " begin=" + Rect(gui->FindControl(BrewingDialog::kBeginButton));
    state += " finish=" + Rect(gui->FindControl(BrewingDialog::kFinishButton));
    state += " view=" + Rect(ButtonOf(gui, BrewingDialog::kDialogId, "View learned recipes..."));

    const GUISelect* recipes = dynamic_cast<GUISelect*>(gui->FindControl(RecipesDialog::kList));
    const GUITextbox* text = dynamic_cast<GUITextbox*>(gui->FindControl(RecipesDialog::kText));
    state += " rlist=" + Rect(recipes) + " rrows=" + Rows(recipes);
    state += " rsel=" + (recipes ? std::to_string(recipes->selectedIndex) : std::string("-"));
    const std::string recipeText = text ? text->GetText() : std::string();
    state += " rtext=" + probe::TextField(recipeText.substr(0, recipeText.find('\n')));
    state += " rclose=" + Rect(ButtonOf(gui, RecipesDialog::kDialogId, "Close"));

    const GUISelect* quests = dynamic_cast<GUISelect*>(gui->FindControl(QuestLogDialog::kList));
    state += " qlist=" + Rect(quests) + " qrows=" + Rows(quests);
    state += " qtab=" + Rect(TabOf(gui, "Achievement Log"));
    const QuestLogDialog* log = client.protocol->questLog;
    state += std::string(" qshow=") + (!log ? "-" : log->showQuests ? "quests" : "achievements");
    state += " qclose=" + Rect(gui->FindControl(QuestLogDialog::kCloseButton));

    const GUISelect* monsters = dynamic_cast<GUISelect*>(gui->FindControl(SummonMonsterDialog::kList));
    state += " slist=" + Rect(monsters) + " srows=" + Rows(monsters);
    state += " flower=" + FlowerCell(*game);
    state += std::string(" dragging=") + (game->thingActions->IsDragging() ? "1" : "0");
    return state;
}

}  // namespace

int main() {
    probe::Hooks hooks = probe::InGameHooks(State, true);
    const auto inGame = hooks.pass;
    hooks.pass = [inGame, said = std::string()](Client& client) mutable {
        inGame(client);
        probe::Report(said, LogLine(client));
    };
    return probe::Run(hooks);
}
