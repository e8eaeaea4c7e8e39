#pragma once

#include <cstdint>
#include <string>
#include <vector>

class GUIManager;
class KEngine2;

// The spell library. The game screen makes the module when the game starts and frees it when the
// game ends; the dialog is built each time it opens.
class SpellLibraryDialog {
public:
    SpellLibraryDialog();
    ~SpellLibraryDialog();
    SpellLibraryDialog(const SpellLibraryDialog&) = delete;
    SpellLibraryDialog& operator=(const SpellLibraryDialog&) = delete;

    // Removes the dialog when it is open and gives the focus back to the chat input.
    void Close();

    // One entry of the library as the server sends it.
    struct Entry {
        int id = 0;
        int kind = 0;
        std::string firstText;
        std::string secondText;
        int firstValue = 0;
        int secondValue = 0;
        std::string thirdText;
    };
    // Empties the library; the server's list follows.
    void Clear();
    // Builds the "Spell Library" dialog.
    void Open();
    void SetSpells(int id, int kind, const std::string& firstText, const std::string& secondText, int firstValue,
                   int secondValue, const std::string& thirdText);
    // Shows the requirements and mana of the selected spell.
    void ShowSpell();

    std::vector<Entry> entries;

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
