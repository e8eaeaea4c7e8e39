#pragma once

#include "game/GameControlIds.h"

#include <cstdint>
#include <string>

class GUIManager;
class KEngine2;

// "Move Items" (dialog 47): how many of a dragged stack to move. The game
// screen makes the module when the game starts and frees it when the game
// ends; the dialog is built each time a stack is dropped without Ctrl or
// Shift. The amount is the position of the scroll bar, 0 to the stack's count;
// digits typed go into a hidden text box and set it while they are fresh.
// The drag itself (source and target) stays with the mouse actions while the
// dialog is open; "Move" sends from those positions and ends the drag.
class MoveItemsDialog {
public:
    static constexpr int32_t kDialogId = GameIds::kMoveItemsDialog;
    static constexpr int32_t kMoveButtonId = GameIds::kMoveItemsMove;
    static constexpr int32_t kCancelButtonId = GameIds::kMoveItemsCancel;
    static constexpr int32_t kAmountBarId = GameIds::kMoveItemsAmount;
    static constexpr int32_t kTypedBoxId = GameIds::kMoveItemsTyped;
    // Typed digits count only while the last key press is at most this old.
    static constexpr uint32_t kTypeAheadMs = 500;

    MoveItemsDialog();
    ~MoveItemsDialog();
    MoveItemsDialog(const MoveItemsDialog&) = delete;
    MoveItemsDialog& operator=(const MoveItemsDialog&) = delete;

    // Removes the dialog; when it was open, the mouse actions' drag ends too.
    // The focus goes back to the chat input.
    void Close();
    // The tick of the last key press the game screen handled, open or not.
    void SetEditTime(uint32_t tick);
    // Asks how many of a stack to move, starting with the whole stack. False,
    // changing nothing, while the dialog is open: the first drop keeps it.
    bool Show(uint32_t itemId, uint32_t count);

    // What the typed digits do this frame: the text the box keeps (emptied
    // once the last key press is more than kTypeAheadMs old; the tick
    // difference is unsigned, so a wrapped tick counter still counts), and
    // the amount it sets, or -1 when the number is not 1 to maximum.
    struct TypeAhead {
        std::string text;
        int amount = -1;
    };
    static TypeAhead ApplyTypeAhead(const std::string& text, uint32_t now, uint32_t editTime, int maximum);

    // The dialog's draw callback: the typed digits, the panel, the amount
    // text and the item's picture for the amount chosen.
    static void Draw(void* module);
    // Moves the chosen amount (nothing for 0) and closes; Enter presses it.
    static void OnMove(void* module);
    static void OnCancel(void* module);

    uint32_t editTime = 0;
    uint32_t itemId = 0;
    uint32_t count = 0;

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
