#include "dialogs/character/SummonMonsterDialog.h"

#include <string>

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "game/Lifecycle.h"
#include "protocol/Protocol.h"

namespace {

constexpr uint32_t kSunkenFill = 0x1E000000;  // black at alpha 30

}  // namespace

SummonMonsterDialog::SummonMonsterDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("SummonMonsterDialog");
}

SummonMonsterDialog::~SummonMonsterDialog() { lifecycle::Note("~SummonMonsterDialog"); }

bool SummonMonsterDialog::Show(const std::vector<SummonMonsterEntry>& entries) {
    DialogHelper dialog(gui, kDialogId);
    if (!dialog.OpenFromCentre("Summon Monster", -150, -140, 300, 280))
        return false;
    GUISelect* list = new GUISelect();
    list->id = kList;
    if (dialog.Add(list, 10, 30, 280, 195)) {
        list->fillColor = kSunkenFill;
        // A new list selects its first row: "Summon" without a click names it.
        for (const SummonMonsterEntry& entry : entries)
            list->AddItem(entry.name, std::to_string(entry.manaCost) + " mana");
    }
    dialog.Add(new GUILine(), 7, 235, 286, 1);
    dialog.AddButton(kSummonButton, "Summon", &SummonMonsterDialog::Summon, this, 42, 245, 95, 25);
    gui->enterButtonId = kSummonButton;
    dialog.AddButton(kCancelButton, "Cancel", &SummonMonsterDialog::Cancel, this, 163, 245, 95, 25);
    return true;
}

void SummonMonsterDialog::Close() {
    lifecycle::Note("SummonMonsterDialog::Close");
    DialogHelper(gui, kDialogId).CloseAndFocus(GameIds::kChatInput);
}

void SummonMonsterDialog::Summon(void* self) {
    SummonMonsterDialog* summon = static_cast<SummonMonsterDialog*>(self);
    DialogHelper dialog(summon->gui, kDialogId);
    if (!dialog.IsOpen())
        return;
    // The row's text alone: the mana is its second text.
    const GUISelect* list = dialog.Find<GUISelect>(kList);
    Client::Instance()->protocol->SendSummonMonster(list ? list->GetSelectedText() : std::string());
    dialog.CloseAndFocus(GameIds::kChatInput);
}

void SummonMonsterDialog::Cancel(void* self) {
    DialogHelper(static_cast<SummonMonsterDialog*>(self)->gui, kDialogId).CloseAndFocus(GameIds::kChatInput);
}
