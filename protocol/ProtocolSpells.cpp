// The spells and hotkeys family: the spell list that answers the action-list
// request, the shading and cooldown timers of a spell, the spell library and
// the end of the login data, which restores the action groups.
//
// Every field is read whether or not the game screen exists, so that the
// frame goes on behind the message; before the game screen exists the values
// are dropped: the hotkey bar and the spell dialogs are the game screen's.
#include "protocol/Protocol.h"

#include <cstdint>
#include <string>

#include "client/Client.h"
#include "dialogs/character/HotkeyDialog.h"
#include "dialogs/character/SpellLibraryDialog.h"
#include "game/GameInterface.h"
#include "game/HotkeyBar.h"
#include "net/InMessage.h"

namespace {

// A longer list ends the reading of its frame.
constexpr int kMaxSpellsInFrame = 100;
// The fixed fields of one spell-list entry with both strings empty.
constexpr int kSpellEntryBytes = 2 + 2 + 2 + 1 + 2 + 1 + 1 + 2;
// The fixed fields of one library entry behind its id, the strings empty.
constexpr int kLibraryEntryBytes = 1 + 2 + 2 + 2 + 2 + 2;

GameInterface* Game() { return Client::Instance()->game; }

}  // namespace

// The editor opens only for the loud request (flag 0): the quiet one of a
// tooltip only wants the names and mana costs for the bar.
void Protocol::ParseSpellList(InMessage& message) {
    GameInterface* game = Game();
    HotkeyDialog* editor = game ? game->hotkeyDialog : nullptr;
    HotkeyBar* bar = game ? game->hotkeyBar : nullptr;
    const int count = message.ReadU8();
    if (editor)
        editor->ClearSpells();
    for (int i = 0; i < count; ++i) {
        if (message.Remaining() < kSpellEntryBytes) {
            // A list cut short: no spell is made of the zeros a short read gives.
            message.pos = message.len;
            break;
        }
        const std::string name = message.ReadString();
        const uint16_t id = message.ReadU16();
        const uint16_t mana = message.ReadU16();
        const uint8_t magicLevel = message.ReadU8();
        const uint16_t seconds = message.ReadU16();
        const uint8_t offensive = message.ReadU8();
        const uint8_t premium = message.ReadU8();
        const std::string description = message.ReadString();
        if (editor)
            editor->AddSpell(id, name, mana, magicLevel, seconds, offensive != 0, premium != 0, description);
        if (bar)
            bar->SetSpellInfo(id, name, mana);
    }
    if (editor && actionListFlag == 0)
        editor->Open();
    actionListFlag = 0;
    if (count > kMaxSpellsInFrame)
        message.pos = message.len;
}

void Protocol::OnSpellShade(InMessage& message) {
    const uint32_t spell = message.ReadU32();
    const uint8_t seconds = message.ReadU8();
    if (GameInterface* game = Game())
        if (game->hotkeyBar)
            game->hotkeyBar->SetShadeTimer(int32_t(spell), seconds);
}

// Entries run up to id 0 or 0xFFFF, or to the end of the frame.
void Protocol::ParseSpellLibrary(InMessage& message) {
    GameInterface* game = Game();
    SpellLibraryDialog* library = game ? game->spellLibrary : nullptr;
    const uint16_t reset = message.ReadU16();
    if (reset != 0 && library) {
        library->Clear();
        library->Open();
    }
    while (message.Remaining() > 0) {
        const uint16_t id = message.ReadU16();
        if (id == 0 || id == 0xFFFF)
            break;
        if (message.Remaining() < kLibraryEntryBytes) {
            message.pos = message.len;
            break;
        }
        const uint8_t vocation = message.ReadU8();
        const std::string name = message.ReadString();
        const std::string label = message.ReadString();
        const uint16_t mana = message.ReadU16();
        const uint16_t magicLevel = message.ReadU16();
        const std::string description = message.ReadString();
        if (library)
            library->SetSpells(id, vocation, name, label, mana, magicLevel, description);
    }
    if (library)
        library->ShowSpell();
}

void Protocol::OnSpellCooldown(InMessage& message) {
    const uint32_t spell = message.ReadU32();
    const uint32_t seconds = message.ReadU32();
    if (GameInterface* game = Game())
        if (game->hotkeyBar)
            game->hotkeyBar->SetCooldown(int32_t(spell), seconds);
}

// The last message of the login burst: container windows opened from now on
// are the player's, and the character's action groups come back.
void Protocol::OnActionGroups(InMessage&) {
    GameInterface* game = Game();
    // Before the game there are no action groups to restore, and enter game
    // clears the flag again.
    if (!game)
        return;
    layoutLoaded = 1;
    game->LoadActionGroups();
}
