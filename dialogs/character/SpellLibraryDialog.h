#pragma once

#include <cstdint>
#include <string>
#include <vector>

class GUIManager;
class KEngine2;

// One spell of the library. The spell id is also the sprite of its icon.
struct SpellLibraryEntry {
    int spellId = 0;
    int vocation = 0;  // 1 Warrior, 2 Ranger, 3 Mage: the tab that lists it
    std::string name;
    std::string label;  // drawn right-aligned in the row; the first sort key
    int mana = 0;       // the second sort key
    int magicLevel = 0;
    std::string description;
};

// The "Spell Library" dialog (228): the spells of the game by vocation, with
// the selected spell's icon, magic level, mana and description. It only shows
// what the server sends. The game screen makes the module when the game
// starts and frees it when the game ends; its spells outlive the dialog.
class SpellLibraryDialog {
public:
    SpellLibraryDialog();
    ~SpellLibraryDialog();
    SpellLibraryDialog(const SpellLibraryDialog&) = delete;
    SpellLibraryDialog& operator=(const SpellLibraryDialog&) = delete;

    // Entries kept while the server adds without a reset; the oldest go first.
    static constexpr size_t kMaxEntries = 1024;

    // Appends a spell; the label "unknown being" is kept as an empty label.
    void SetSpells(int spellId, int vocation, const std::string& name, const std::string& label, int mana,
                   int magicLevel, const std::string& description);
    void Clear();
    // Builds the dialog on the first tab, or refreshes its list when it is
    // open (the tab and the selection stay).
    void Open();
    // Sorts the spells by label (byte-wise), then by mana, keeping the order
    // of arrival among equals, and refills the list with the current tab's
    // spells when the dialog is open.
    void ShowSpell();
    // The spell the list's selected index picks among the current tab's
    // spells, or null.
    const SpellLibraryEntry* SelectedSpell() const;
    // Clear, then removes the dialog and gives the focus back to the chat
    // input. Only the game screen's teardown calls it.
    void Close();

    // The dialog's callbacks; the argument is the module.
    static void DrawPanel(void* module);
    static void OnTabWarrior(void* module, int x, int y);
    static void OnTabRanger(void* module, int x, int y);
    static void OnTabMage(void* module, int x, int y);
    static void OnClose(void* module);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    int tab = 0;
    std::vector<SpellLibraryEntry> entries;
};
