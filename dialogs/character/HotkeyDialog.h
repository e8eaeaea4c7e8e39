#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

    // One spell of the server's list, as the "Select Action" dialog offers it.
    struct Spell {
        int id = 0;
        std::string name;
        int mana = 0;
        int kind = 0;
        int value = 0;
        bool firstFlag = false;
        bool secondFlag = false;
        std::string text;
    };
    // The server's spell list, which comes before every opening.
    void ClearSpells();
    void AddSpell(int id, const std::string& name, int mana, int kind, int value, bool firstFlag, bool secondFlag,
                  const std::string& text);
    // Builds the "Select Action" dialog for the target slot.
    void Open();

    std::vector<Spell> spells;
    // The slot the editor edits, set by the hotkey bar before it asks for the list.
    int targetSlot = 0;  // 1 .. 12
    bool targetFightRow = false;

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
