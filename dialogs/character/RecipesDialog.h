#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/GameControlIds.h"

class GUIManager;
class KEngine2;

// One learned recipe: its name in the list, its text in the box below.
struct Recipe {
    std::string name;
    std::string text;
};

// The learned brewing recipes. The brewing dialog opens it and asks the
// server for the list; the answer replaces the stored recipes and refills the
// list. The recipes outlive the dialog, so reopening it shows the first
// stored recipe's text at once, before the next answer fills the list.
//
// The game screen makes the module when the game starts and frees it when the
// game ends; the dialog is built each time it opens.
class RecipesDialog {
public:
    static constexpr int32_t kDialogId = GameIds::kRecipesDialog;
    static constexpr int32_t kList = GameIds::kRecipesList;
    static constexpr int32_t kText = GameIds::kRecipesText;

    RecipesDialog();
    ~RecipesDialog();
    RecipesDialog(const RecipesDialog&) = delete;
    RecipesDialog& operator=(const RecipesDialog&) = delete;

    // Builds the dialog unless it is open, with the list focused.
    void Show();
    // The server's list: replaces the stored recipes and, while the dialog is
    // open, refills the list at the same selected row.
    void Refresh(std::vector<Recipe> recipes);
    // Closes the dialog, gives the focus back to the chat input and forgets
    // the recipes (the game screen's teardown).
    void Close();

    // The dialog's draw callback and the "Close" button's action (context:
    // the module).
    static void Draw(void* self);
    static void OnCloseButton(void* self);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    std::vector<Recipe> learnedRecipes;

private:
    // The text box is set only when what it should show changes: setting it
    // resets its scroll position and selection, so setting it every frame
    // would keep a long recipe from being scrolled or selected.
    int shownIndex = -1;
    bool textStale = true;
};
