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
