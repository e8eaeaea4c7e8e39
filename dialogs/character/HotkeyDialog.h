#pragma once

#include <cstdint>

class GUIManager;
class KEngine2;

// The hotkey editor. The game screen makes the module when the game starts and frees it when the
// game ends; the dialog is built each time it opens.
class HotkeyDialog {
public:
    HotkeyDialog();
    ~HotkeyDialog();
    HotkeyDialog(const HotkeyDialog&) = delete;
    HotkeyDialog& operator=(const HotkeyDialog&) = delete;

    // Removes the dialog when it is open and gives the focus back to the chat input.
    void Close();
    // The editor is open and the point lies on it: a thing dropped there becomes the hotkey's item.
    bool DropTarget(int x, int y);
    // Gives the hotkey being edited the use of an item (still to come: only noted).
    void SetItemAction(int itemId);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
