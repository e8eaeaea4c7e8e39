#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/GameControlIds.h"

class GUIManager;
class KEngine2;

// One monster of the server's summon list.
struct SummonMonsterEntry {
    std::string name;  // also what the summon request sends back
    int manaCost = 0;
};

// Summoning a monster from the list the server sends. The module keeps no
// list of its own: the entries live only as the rows of the open dialog, and
// while it is open a further list is ignored.
//
// The game screen makes the module when the game starts and frees it when the
// game ends; the dialog is built each time it opens.
class SummonMonsterDialog {
public:
    static constexpr int32_t kDialogId = GameIds::kSummonDialog;
    static constexpr int32_t kList = GameIds::kSummonList;
    static constexpr int32_t kSummonButton = GameIds::kSummonButton;
    static constexpr int32_t kCancelButton = GameIds::kSummonCancel;

    SummonMonsterDialog();
    ~SummonMonsterDialog();
    SummonMonsterDialog(const SummonMonsterDialog&) = delete;
    SummonMonsterDialog& operator=(const SummonMonsterDialog&) = delete;

    // Builds the dialog with one row per entry, "Summon" as the Enter
    // button; false, changing nothing, while it is open already.
    bool Show(const std::vector<SummonMonsterEntry>& entries);
    // Removes the dialog when it is open and gives the focus back to the chat input.
    void Close();

    // The buttons' actions (context: the module). Summon sends the selected
    // row's name (empty without rows) and closes; Cancel only closes.
    static void Summon(void* self);
    static void Cancel(void* self);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
