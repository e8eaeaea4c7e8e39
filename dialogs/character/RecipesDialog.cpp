#include "dialogs/character/RecipesDialog.h"

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "game/Lifecycle.h"

namespace {

const int32_t kChatInputId = 25;

}  // namespace

RecipesDialog::RecipesDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("RecipesDialog");
}

RecipesDialog::~RecipesDialog() { lifecycle::Note("~RecipesDialog"); }

void RecipesDialog::Close() {
    lifecycle::Note("RecipesDialog::Close");
    gui->focus = gui->FindControl(kChatInputId);
}
