// The client as velmora.exe runs it, logging in by itself (the demo account,
// then "Enter Game"), which prints one "state" line whenever what the
// character dialogs show changes, so that the driver knows where to click
// and what to expect (rectangles as x,y,w,h in client pixels, "-" for none;
// blanks in texts as "_"):
//   state open=<ids of the open character dialogs, 138 228 241 255 27>,...
//         field=<origin x>,<origin y>,<tile>,<camera x>,<camera y> player=<x>,<y>,<z>
//         F3=<x>,<y> (the hotkey bar's main-row slot 3) spells=<rect> (the Actions window's "Spells")
//         menu=<rect>:<row text>@<row centre y>|...
//         hkcat=<category> hksel=<index> hkrows=<name>|... hklist=<rect> hktarget=<rect>
//         hktext=<target text> hkfocus=0|1 hktab334=<rect> hktab136=.. hktab137=..
//         libtab=<1..3> librows=<name>|... libtab231=<rect> .. libtab233=.. libclose=<rect>
//         outfit=<nine values> otarget=<colour index the active tab edits, or -> onext=<rect>
//         odialog=<rect> otab32=<rect> osave=<rect>
//         sunused=<the skills window's unused talent points>
//         tunused=<n> tpending=<seven> tplus=<seven 0|1> tminus=<seven 0|1> tplus0=<rect>
//         tsave=<rect> treset=<rect> ok=<the reset question's OK, rect>
#include <string>

#include "client/Client.h"
#include "dialogs/character/HotkeyDialog.h"
#include "dialogs/character/OutfitDialog.h"
#include "dialogs/character/SpellLibraryDialog.h"
#include "dialogs/character/TalentsDialog.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIMenu.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITabgroup.h"
#include "engine/gui/GUITextbox.h"
#include "game/ConfirmDialog.h"
#include "game/GameControlIds.h"
#include "game/GameInterface.h"
#include "game/HotkeyBar.h"
#include "protocol/Protocol.h"
#include "sidewindows/Actions.h"
#include "sidewindows/CStatus.h"
#include "tests/wine/support/Probe.h"
#include "world/Camera.h"
#include "world/Creature.h"
#include "world/Map.h"

namespace {

std::string Rect(const GUIControl* control) {
    if (!control)
        return "-";
    return std::to_string(control->x) + "," + std::to_string(control->y) + "," + std::to_string(control->width) +
           "," + std::to_string(control->height);
}

std::string Blanks(std::string text) {
    for (char& c : text)
        if (c == ' ')
            c = '_';
    return text;
}

std::string Rows(const GUISelect* list) {
    if (!list)
        return "-";
    std::string rows;
    for (const GUISelectItem& item : list->items)
        rows += Blanks(item.text) + "|";
    return rows;
}

std::string Menu(GUIManager* gui) {
    const GUIMenu* menu = dynamic_cast<GUIMenu*>(gui->FindControl(GameIds::kContextMenu));
    if (!menu)
        return "-";
    std::string text = Rect(menu) + ":";
    for (size_t i = 0; i < menu->entries.size(); ++i)
        text += Blanks(menu->entries[i].text) + "@" + std::to_string(menu->y + 3 + 20 * int(i) + 10) + "|";
    return text;
}

// A button of a dialog by its caption (the reset button and the question's
// OK have no ids of their own).
const GUIControl* Captioned(GUIManager* gui, int32_t dialogId, const std::string& caption) {
    GUIControl* dialog = gui->FindControl(dialogId);
    if (!dialog)
        return nullptr;
    for (GUIControl* child : dialog->children)
        if (const GUIButton* button = dynamic_cast<GUIButton*>(child); button && button->caption == caption)
            return button;
    return nullptr;
}

std::string Flags(const std::array<GUIButton*, TalentTable::kCount>& buttons) {
    std::string flags;
    for (const GUIButton* button : buttons)
        flags += button && !button->HasFlag(GUIControl::kDisabled) ? "1" : "0";
    return flags;
}

std::string State(Client& client) {
    GameInterface* game = client.game;
    GUIManager* gui = client.app->gui;
    std::string state = "state open=";
    for (int32_t id : {GameIds::kHotkeyEditor, GameIds::kSpellLibraryDialog, GameIds::kTalentsDialog,
                       ConfirmDialog::kDialogId, GameIds::kOutfitDialog})
        if (gui->FindControl(id))
            state += std::to_string(id) + ",";

    const FieldView field = game->GetFieldView();
    state += " field=" + std::to_string(field.originX) + "," + std::to_string(field.originY) + "," +
             std::to_string(field.tileWidth) + "," + std::to_string(field.cameraX) + "," +
             std::to_string(field.cameraY);
    if (const Creature* player = game->map->camera->creature; player && player->walkProgress >= 1.0f)
        state += " player=" + std::to_string(player->position.x) + "," + std::to_string(player->position.y) + "," +
                 std::to_string(player->position.z);
    const HotkeyBar* bar = game->hotkeyBar;
    state += " F3=" + std::to_string(int(bar->mainRow[3].x)) + "," + std::to_string(int(bar->mainRow[3].y));
    state += " spells=" + Rect(game->actions->spellsButton);
    state += " menu=" + Menu(gui);

    const HotkeyDialog* editor = game->hotkeyDialog;
    const GUISelect* hotkeyList = dynamic_cast<GUISelect*>(gui->FindControl(GameIds::kHotkeyList));
    const GUITextbox* target = dynamic_cast<GUITextbox*>(gui->FindControl(GameIds::kHotkeyTarget));
    state += " hkcat=" + std::to_string(editor->category);
    state += " hksel=" + std::to_string(hotkeyList ? hotkeyList->selectedIndex : -1);
    state += " hkrows=" + Rows(hotkeyList) + " hklist=" + Rect(hotkeyList) + " hktarget=" + Rect(target);
    state += " hktext=" + (target ? Blanks(target->GetText()) : std::string("-"));
    state += " hkfocus=" + std::string(target && gui->focus == target ? "1" : "0");
    for (int32_t id : {GameIds::kHotkeyTabGeneral, GameIds::kHotkeyTabSupport, GameIds::kHotkeyTabOffensive})
        state += " hktab" + std::to_string(id) + "=" + Rect(gui->FindControl(id));

    state += " libtab=" + std::to_string(game->spellLibrary->tab);
    state += " librows=" + Rows(dynamic_cast<GUISelect*>(gui->FindControl(GameIds::kSpellLibraryList)));
    for (int32_t id : {GameIds::kSpellLibraryTabWarrior, GameIds::kSpellLibraryTabRanger,
                       GameIds::kSpellLibraryTabMage})
        state += " libtab" + std::to_string(id) + "=" + Rect(gui->FindControl(id));
    state += " libclose=" + Rect(gui->FindControl(GameIds::kSpellLibraryClose));

    const OutfitDialog* outfit = OutfitDialog::Instance();
    state += " outfit=" + std::to_string(outfit->outfit) + "," + std::to_string(outfit->hair) + "," +
             std::to_string(outfit->beard) + "," + std::to_string(outfit->hairColour) + "," +
             std::to_string(outfit->beardColour) + "," + std::to_string(outfit->skinColour) + "," +
             std::to_string(outfit->bodyColour) + "," + std::to_string(outfit->legsColour) + "," +
             std::to_string(outfit->feetColour);
    state += " otarget=" + (outfit->colourTarget == &outfit->bodyColour ? std::string("body")
                            : outfit->colourTarget                     ? std::string("other")
                                                                       : std::string("-"));
    state += " onext=" + Rect(gui->FindControl(GameIds::kOutfitNext));
    state += " odialog=" + Rect(gui->FindControl(GameIds::kOutfitDialog));
    state += " otab32=" + Rect(gui->FindControl(GameIds::kOutfitTabBody));
    state += " osave=" + Rect(gui->FindControl(GameIds::kOutfitSave));

    const TalentsDialog* talents = game->talents;
    const bool talentsOpen = gui->FindControl(GameIds::kTalentsDialog) != nullptr;
    state += " sunused=" + std::to_string(game->status->unusedPoints);
    state += " tunused=" + std::to_string(talents->unusedPoints) + " tpending=";
    for (int points : talents->pending)
        state += std::to_string(points) + ",";
    state += " tplus=" + (talentsOpen ? Flags(talents->plusButton) : std::string("-"));
    state += " tminus=" + (talentsOpen ? Flags(talents->minusButton) : std::string("-"));
    state += " tplus0=" + (talentsOpen ? Rect(talents->plusButton[0]) : std::string("-"));
    state += " tsave=" + Rect(gui->FindControl(GameIds::kTalentsSave));
    state += " treset=" + Rect(Captioned(gui, GameIds::kTalentsDialog, "Reset used points"));
    state += " ok=" + Rect(Captioned(gui, ConfirmDialog::kDialogId, "OK"));
    return state;
}

}  // namespace

int main() { return probe::Run(probe::InGameHooks(State)); }
