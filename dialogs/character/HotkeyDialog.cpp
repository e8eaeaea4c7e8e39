#include "dialogs/character/HotkeyDialog.h"

#include <string>

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIManager.h"
#include "game/GameControlIds.h"
#include "game/Lifecycle.h"

namespace {

const int32_t kChatInputId = 25;

}  // namespace

HotkeyDialog::HotkeyDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("HotkeyDialog");
}

HotkeyDialog::~HotkeyDialog() { lifecycle::Note("~HotkeyDialog"); }

void HotkeyDialog::Close() {
    lifecycle::Note("HotkeyDialog::Close");
    gui->focus = gui->FindControl(kChatInputId);
}

void HotkeyDialog::ClearSpells() { spells.clear(); }

void HotkeyDialog::AddSpell(int id, const std::string& name, int mana, int kind, int value, bool firstFlag,
                            bool secondFlag, const std::string& text) {
    spells.push_back(Spell{id, name, mana, kind, value, firstFlag, secondFlag, text});
}

void HotkeyDialog::Open() {
    lifecycle::Note("HotkeyDialog::Open " + std::to_string(targetSlot) + (targetFightRow ? " fight" : ""));
}

bool HotkeyDialog::DropTarget(int x, int y) {
    const GUIControl* dialog = gui->FindControl(GameIds::kHotkeyEditor);
    return dialog && dialog->Contains(x, y);
}

void HotkeyDialog::SetItemAction(int itemId) { lifecycle::Note("HotkeyDialog::SetItemAction " + std::to_string(itemId)); }
