#pragma once

#include "game/GameControlIds.h"

#include <cstdint>

class GUIManager;
class KEngine2;

// The amount dialog (control 47) for moving or splitting a stack. The game screen makes the module
// when the game starts and frees it when the game ends; the dialog is built each time it opens.
class MoveItemsDialog {
public:
    static constexpr int32_t kDialogId = GameIds::kMoveItemsDialog;

    MoveItemsDialog();
    ~MoveItemsDialog();
    MoveItemsDialog(const MoveItemsDialog&) = delete;
    MoveItemsDialog& operator=(const MoveItemsDialog&) = delete;

    // Removes the dialog when it is open and gives the focus back to the chat input.
    void Close();
    // The amount field acts only once more than 500 ms have passed since the
    // last key press, which is stamped here.
    void SetEditTime(uint32_t tick);

    uint32_t editTime = 0;

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
