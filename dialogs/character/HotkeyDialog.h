#pragma once

#include <cstdint>
#include <string>
#include <vector>

class GUIManager;
class GUISelect;
class KEngine2;

// One general action of the editor: nothing, "Loot Bodies" or the use of an
// item. The id is what the slot stores and also the row's icon sprite.
struct HotkeyActionEntry {
    int id = 0;
    int type = 0;  // the slot type stored with it: 0 nothing, 1 item use, 2 general action
    std::string name;
    std::string description;
};

// One spell of the player, as the server's spell list gives it. The spell id
// is what the slot stores and also the row's icon sprite.
struct HotkeySpellRecord {
    int spellId = 0;
    int mana = 0;
    int magicLevel = 0;
    int seconds = 0;  // shown as "Instant" when not positive
    std::string name;
    std::string description;
    bool premium = false;
};

// The hotkey editor, the "Select Action" dialog (138) in which the player
// chooses what one slot of the hotkey bar does. The game screen makes the
// module when the game starts and frees it when the game ends; the bar sets
// the slot before it asks the server for the spell list, whose answer opens
// the dialog. Saving writes the slot's keys into the options, saves them and
// lays the bar out again: the bar reads its assignments from there.
class HotkeyDialog {
public:
    // The lists shown by the three tabs.
    enum Category { kGeneral = 0, kSupport = 1, kOffensive = 2 };

    HotkeyDialog();
    ~HotkeyDialog();
    HotkeyDialog(const HotkeyDialog&) = delete;
    HotkeyDialog& operator=(const HotkeyDialog&) = delete;

    void AddAction(int id, int type, const std::string& name, const std::string& description);
    // The spell lists, which every spell list of the server replaces; the
    // general actions stay.
    void ClearSpells();
    // Appends to the offensive or the support list and keeps that list in
    // order of mana, spells of equal mana in order of arrival.
    void AddSpell(int spellId, const std::string& name, int mana, int magicLevel, int seconds, bool offensive,
                  bool premium, const std::string& description);
    // Builds the dialog for the slot, or refreshes its rows and selection
    // when it is open (the category and the typed target stay).
    void Open();
    // Refills the list with the rows of the current category; nothing while
    // the dialog is closed.
    void FillList();
    // Selects what the slot holds now, switching to its tab.
    void SelectCurrent();
    // Adds the use of an item as a general action, or says in the chat that
    // the item cannot be used.
    void SetItemAction(int itemId);
    // The dialog is open and the point lies strictly inside it: an item
    // dropped there becomes a general action.
    bool DropTarget(int x, int y);
    // Removes the dialog when it is open, gives the focus back to the chat
    // input and empties every list. Only the game screen's teardown calls it.
    void Close();

    // The entries of the current category, and the one the list's selected
    // index picks (null when the index lies past the last one). The rows may
    // be older than the lists: a quiet spell list refills the lists only.
    const HotkeyActionEntry* SelectedAction() const;
    const HotkeySpellRecord* SelectedSpell() const;
    const std::vector<HotkeySpellRecord>& SpellsOf(int which) const;

    // The dialog's callbacks; the argument is the module.
    static void ShowActionInfo(void* module);
    static void OnSave(void* module);
    static void OnCancel(void* module);
    static void OnTabGeneral(void* module, int x, int y);
    static void OnTabSupport(void* module, int x, int y);
    static void OnTabOffensive(void* module, int x, int y);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    int slot = 0;  // 1 .. 12, set by the hotkey bar
    int category = kGeneral;
    bool fightSet = false;  // set by the hotkey bar
    std::vector<HotkeyActionEntry> actions;
    std::vector<HotkeySpellRecord> supportSpells;
    std::vector<HotkeySpellRecord> offensiveSpells;

private:
    GUISelect* List() const;
    int SelectedIndex() const;
    void ShowCategory(int which);
};
