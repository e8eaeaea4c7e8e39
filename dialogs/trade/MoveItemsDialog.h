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
    // Asks how many of a stack to move; false when the dialog does not open.
    // It moves between the positions the mouse actions keep and ends their
    // drag when it closes. Until the amount field comes, "OK" moves the whole
    // stack.
    bool Show(int itemId, int count);

    static void OnOk(void* module);
    static void OnCancel(void* module);

    uint32_t editTime = 0;
    int itemId = 0;
    int count = 0;

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
