#include "dialogs/character/SpellLibraryDialog.h"

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "game/Lifecycle.h"

namespace {

const int32_t kChatInputId = 25;

}  // namespace

SpellLibraryDialog::SpellLibraryDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("SpellLibraryDialog");
}

SpellLibraryDialog::~SpellLibraryDialog() { lifecycle::Note("~SpellLibraryDialog"); }

void SpellLibraryDialog::Close() {
    lifecycle::Note("SpellLibraryDialog::Close");
    gui->focus = gui->FindControl(kChatInputId);
}

void SpellLibraryDialog::Clear() { entries.clear(); }

void SpellLibraryDialog::Open() { lifecycle::Note("SpellLibraryDialog::Open"); }

void SpellLibraryDialog::SetSpells(int id, int kind, const std::string& firstText, const std::string& secondText,
                                   int firstValue, int secondValue, const std::string& thirdText) {
    entries.push_back(Entry{id, kind, firstText, secondText, firstValue, secondValue, thirdText});
}

void SpellLibraryDialog::ShowSpell() { lifecycle::Note("SpellLibraryDialog::ShowSpell"); }
