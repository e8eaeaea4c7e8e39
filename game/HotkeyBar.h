#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "game/HotkeyGeometry.h"

class ConfigFile;
class GUIButton;
class GUIManager;
class KEngine2;

// One slot of the bar as last laid out: its box's corner and the assignment
// of the current page. An action id of 0 or less is an empty slot.
struct HotkeySlot {
    float x = 0;
    float y = 0;
    int slot = 0;      // 1 .. 12
    int action = 0;    // spell id (type 0), item id (type 1), general action and icon (types 2, 3)
    int type = 0;      // 0 spell, 1 use item, 2 loot all open bodies, 3 attack nearest monster
    std::string param; // a spell's target creature
};

// What the server told about a spell: its name and mana cost.
struct HotkeySpellInfo {
    std::string name;
    int mana = 0;
    uint64_t stored = 0;  // the bar's count of stored spells when this one came
};

// The hotkey bar: two rows of 12 slots (the main row on F1 .. F12, the fight
// row on the digits and the middle button) docked to one edge of the game
// view, ten pages of them. The assignments live in the options
// ("spells<page>" and "fightspells<page>"); the bar reads them again at every
// layout and every performance, so the editor only has to write them and lay
// the bar out. The timers and the spell information come from the server and
// die with the bar.
class HotkeyBar {
public:
    static constexpr int kMinThickness = hotkeys::kMinThickness;
    static constexpr int kMaxThickness = hotkeys::kMaxThickness;
    static constexpr int kDefaultSpell = 1418;  // main-row F1 of page 1 until the player saves page 1
    static constexpr int kPages = 10;

    HotkeyBar();
    ~HotkeyBar();
    HotkeyBar(const HotkeyBar&) = delete;
    HotkeyBar& operator=(const HotkeyBar&) = delete;

    // Places the slots and page buttons on the bar's rectangle and reloads
    // the current page's assignments.
    void Layout();
    // Docks the bar for the window, the side panels and the chat area, then lays it out.
    void OnResize(int chatHeight);
    void OnMouseDown(int x, int y);
    void OnMouseMove(int x, int y);
    void OnMouseUp(int x, int y);
    // Right release on a slot box: opens the editor for that slot.
    void OnClick(int x, int y);
    bool HitGrip(int x, int y) const;
    void Draw();
    void DrawSlot(const HotkeySlot& slot, bool fightRow);
    void UpdateSlotTooltip(const HotkeySlot& slot, int key);
    static void OnPrevPage(void* bar);
    static void OnNextPage(void* bar);

    // The stored assignments of a page and row; key is "F1" .. "F12".
    int GetKeyAction(int page, const std::string& key, bool fightRow) const;
    int GetKeyType(int page, const std::string& key, bool fightRow) const;
    std::string GetKeyParam(int page, const std::string& key, bool fightRow) const;
    int GetSlotAction(int page, int slot, bool fightRow) const;
    int GetSlotType(int page, int slot, bool fightRow) const;
    std::string GetSlotParam(int page, int slot, bool fightRow) const;

    // Performs slot 1 .. 12 of the current page from the stored assignment.
    void TriggerSlot(int slot, bool fightRow);

    // The server's timers and spell data.
    void SetShadeTimer(int spell, uint32_t seconds);
    void SetCooldown(int spell, uint32_t seconds);
    // {start tick, seconds}; {0, 0} for a spell without a cooldown.
    std::pair<uint32_t, uint32_t> GetCooldown(int spell) const;
    void SetSpellInfo(int spell, const std::string& name, int mana);
    // Null for an unknown spell; the first such lookup asks the server for
    // the spell list without opening the editor.
    const HotkeySpellInfo* GetSpellInfo(int spell);

    const hotkeys::BarLayout& GetLayout() const { return layout; }
    hotkeys::BarRect Rect() const { return {x, y, width, height}; }

    int side = hotkeys::kLeft;  // 0 left, 1 right, 2 top, 3 bottom
    float width = 0;
    float height = 0;
    float x = 0;
    float y = 0;
    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    GUIButton* previousPage = nullptr;  // owned by the GUI tree while the bar lives
    GUIButton* nextPage = nullptr;
    int page = 1;
    int thickness = kMaxThickness;
    bool dragging = false;
    bool resizing = false;
    std::map<int, hotkeys::Timer> shadeTimers;
    std::map<int, hotkeys::Timer> cooldowns;
    HotkeySlot mainRow[hotkeys::kSlotsPerRow + 1];
    HotkeySlot fightRow[hotkeys::kSlotsPerRow + 1];
    std::map<int, HotkeySpellInfo> spellInfo;
    uint64_t spellsStored = 0;
    // The timers and spells a server can make the bar keep: past the cap the
    // expired timers go, then the one started first; the spell stored first.
    static constexpr size_t kMaxTimers = 256;
    static constexpr size_t kMaxSpells = 1024;
    bool spellListRequested = false;
    // The character's action-group count, restored with the layout and saved
    // with it; nothing else reads it yet.
    int actionGroups = 1;

private:
    ConfigFile* Options() const;
    void ResizeAgain();

    hotkeys::BarLayout layout;
};
