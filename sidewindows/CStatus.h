#pragma once

#include <cstdint>
#include <string>

#include "game/GameControlIds.h"
#include "sidewindows/SideWindow.h"
#include "sidewindows/TalentTable.h"

// The skills window ("Abilities"): the player's statistics as the server last
// sent them (message 0x14), on two pages behind two tab buttons: "Skills"
// (health, mana, level, experience, magic level and six skills) and
// "Talents" (unused points and the seven talents). Every row but Health,
// Mana and Level has a tooltip region, kept clipped to the visible content.
class CStatus : public SideWindow {
public:
    static constexpr int kWindowId = GameIds::kSkillsWindow;
    // The scroll bar's id is the window's id plus one.
    static constexpr int kScrollbarId = kWindowId + 1;
    // Tooltip regions are keyed kFirstTooltipKey + row index (50 .. 58).
    static constexpr int kFirstTooltipKey = 50;

    CStatus();
    ~CStatus() override;

    struct Skill {
        int level = 0;
        int percent = 0;
        int bonus = 0;  // signed on the wire
    };
    // Slots 0 Melee, 1 Distance, 2 Defending, 3 Fishing, 4 Gathering,
    // 5 not shown, 6 Brewing.
    static constexpr int kSkillCount = 7;
    static constexpr int kTalentCount = TalentTable::kCount;

    void SetStats(int health, int maxHealth, int mana, int maxMana, int level, int magicLevel,
                  int magicLevelBonus, int experiencePercent, int magicLevelPercent,
                  uint64_t experience, float experienceRate);

    void Update() override;
    void SetMinimized(bool minimized) override;
    void Draw() override;
    static void ShowSkillsPage(void* window);
    static void ShowTalentsPage(void* window);

    // The points spent and unspent; 1 when that is 0 or less, so that
    // callers may divide by it.
    int TotalTalentPoints() const;
    // Empty outside 0 .. 6.
    static std::string TalentDescription(int index);
    static std::string TalentLimitText(int index);

    // One labelled row with its value and, unless percent is -1, a bar; y
    // moves on below the row (not at all for a row below the frame).
    void DrawStatLine(const std::string& label, uint64_t value, int percent, int x, int& y, uint32_t color);
    // The same with " + n" or " - n" behind the value.
    void DrawSkillLine(const std::string& label, uint64_t value, int percent, int bonus, int x, int& y,
                       uint32_t color);
    // Registers the tooltip of row index (key 50 + index) over the part of
    // the row that lies inside the visible content, or removes it.
    void SetRowTooltip(int index, const std::string& line1, const std::string& line2, int x, int y, int height);
    void SetSkillTooltip(int index, int percent, int x, int y);

    Skill skills[kSkillCount];
    int health = 0;
    int maxHealth = 0;
    int mana = 0;
    int maxMana = 0;
    int level = 0;
    int magicLevel = 0;
    int magicLevelBonus = 0;
    int experiencePercent = 0;
    int magicLevelPercent = 0;
    uint64_t experience = 0;
    int talents[kTalentCount] = {};
    int unusedPoints = 0;
    uint8_t page = 0;  // 0 Skills, 1 Talents
    float experienceRate = 0.0f;
    GUIButton* skillsButton = nullptr;   // owned by the frame once made
    GUIButton* talentsButton = nullptr;

private:
    void DrawRow(const std::string& label, const std::string& value, int percent, int x, int& y, uint32_t color);
    void DrawSeparator(int& y);
    void DrawSkillsPage(int x, int& y);
    void DrawTalentsPage(int x, int& y);
};
