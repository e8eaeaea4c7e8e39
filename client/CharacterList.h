#pragma once

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "client/LoginControlIds.h"

class GUIManager;
class KEngine2;
class OutfitSpriteCache;
class Protocol;
struct Sprite;

// One character of the account, as the login server sent it.
struct CharacterEntry {
    CharacterEntry() = default;
    ~CharacterEntry();
    CharacterEntry(const CharacterEntry&) = delete;
    CharacterEntry& operator=(const CharacterEntry&) = delete;

    std::string name;        // shown first in the row; sent with the game login
    std::string secondText;  // right end of the row's first line
    std::string host;        // the game world to connect to; not shown
    std::string thirdText;   // left of the row's second line
    uint16_t port = 0;
    int32_t level = 0;
    Sprite* preview = nullptr;  // owned; the outfit picture drawn as the row's icon
    int outfit[9] = {};         // as the server sent it, each value widened
};

// The account's characters and the "Character List" dialog in which the
// player picks one and enters the game. The protocol makes it with its first
// connection and refills it from every character-list message; the entries
// outlive the dialog and the login connection.
class CharacterList {
public:
    enum ControlId : int {
        kDialog = LoginIds::kCharacterListDialog,
        kNewCharacterButton = LoginIds::kNewCharacterButton,
        kCancelButton = LoginIds::kCharacterListCancel,
        kEnterGameButton = LoginIds::kEnterGameButton,
        kList = LoginIds::kCharacterRows,
    };
    static constexpr uint32_t kPremiumColor = 0xFF00C800;
    static constexpr uint32_t kNotPremiumColor = 0xFF3232C8;

    explicit CharacterList(Protocol* protocol);
    ~CharacterList();
    CharacterList(const CharacterList&) = delete;
    CharacterList& operator=(const CharacterList&) = delete;

    // Deletes every entry with its preview. The premium end stays.
    void Clear();
    // The end of the premium time, in seconds since 1970 (UTC), as the server
    // sends it.
    void SetPremiumDays(uint32_t value);
    void AddCharacter(std::string name, std::string secondText, std::string host, uint16_t port,
                      const int outfit[9], std::string thirdText, int32_t level);
    // Builds the dialog unless it is open.
    void Open();
    // Fills the dialog's rows and makes the previews again.
    void Refresh();
    // Connects to the game world of the selected row (the first when none was
    // clicked).
    void EnterGame();
    // The frames and the premium line, under the dialog's controls.
    void Draw();

    static void OnEnterGameClicked(void* list);
    static void OnNewCharacterClicked(void*);
    static void OnCancelClicked(void* list);
    static void OnDraw(void* list);

    // "2 days 5 hours left", or "This account is not premium." when the end
    // is not after now.
    static std::string PremiumText(int32_t premiumEnd, std::time_t now);

    Protocol* protocol = nullptr;
    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    std::vector<std::unique_ptr<CharacterEntry>> characters;
    int32_t premiumEnd = 0;
    // Makes the previews: the outfit palette; a test can hand a stand-in.
    OutfitSpriteCache* outfits = nullptr;
};
