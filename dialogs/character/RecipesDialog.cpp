#include "dialogs/character/RecipesDialog.h"

#include <utility>

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITextbox.h"
#include "game/Lifecycle.h"

namespace {

constexpr uint32_t kSunkenFill = 0x1E000000;  // black at alpha 30

}  // namespace

RecipesDialog::RecipesDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("RecipesDialog");
}

RecipesDialog::~RecipesDialog() { lifecycle::Note("~RecipesDialog"); }

void RecipesDialog::Show() {
    DialogHelper dialog(gui, kDialogId);
    GUIDialog* frame = dialog.OpenFromCentre("Learned Recipes", -225, -200, 450, 400);
    if (!frame)
        return;
    frame->drawCallback = &RecipesDialog::Draw;
    frame->drawContext = this;
    GUISelect* list = new GUISelect();
    list->id = kList;
    if (dialog.Add(list, 20, 40, 410, 80)) {
        list->fillColor = kSunkenFill;
        gui->focus = list;
    }
    GUITextbox* text = new GUITextbox();
    text->id = kText;
    text->SetFlag(GUIControl::kReadOnly | GUIControl::kMultiLine);
    if (dialog.Add(text, 20, 130, 410, 205)) {
        text->fillColor = kSunkenFill;
        text->EnableScrollbar();
    }
    dialog.Add(new GUILine(), 7, 355, 436, 1);
    dialog.AddButton(0, "Close", &RecipesDialog::OnCloseButton, this, 165, 365, 120, 25);
    textStale = true;
}

void RecipesDialog::Refresh(std::vector<Recipe> recipes) {
    learnedRecipes = std::move(recipes);
    textStale = true;
    GUISelect* list = DialogHelper(gui, kDialogId).Find<GUISelect>(kList);
    if (!list)
        return;
    // Clearing keeps the selected index: the same row stays selected.
    list->Clear();
    for (const Recipe& recipe : learnedRecipes)
        list->AddItem(recipe.name);
}

void RecipesDialog::OnCloseButton(void* self) {
    RecipesDialog* recipes = static_cast<RecipesDialog*>(self);
    DialogHelper(recipes->gui, kDialogId).CloseAndFocus(GameIds::kChatInput);
}

void RecipesDialog::Close() {
    lifecycle::Note("RecipesDialog::Close");
    DialogHelper(gui, kDialogId).CloseAndFocus(GameIds::kChatInput);
    learnedRecipes.clear();
}

void RecipesDialog::Draw(void* self) {
    RecipesDialog* recipes = static_cast<RecipesDialog*>(self);
    DialogHelper dialog(recipes->gui, kDialogId);
    if (!dialog.IsOpen())
        return;
    dialog.DrawPanel();
    const GUISelect* list = dialog.Find<GUISelect>(kList);
    GUITextbox* text = dialog.Find<GUITextbox>(kText);
    if (!list || !text)
        return;
    // A row past the stored recipes leaves the box as it is.
    const int index = list->selectedIndex;
    if (index < 0 || size_t(index) >= recipes->learnedRecipes.size())
        return;
    if (recipes->textStale || index != recipes->shownIndex) {
        text->SetText(recipes->learnedRecipes[size_t(index)].text);
        recipes->shownIndex = index;
        recipes->textStale = false;
    }
}
