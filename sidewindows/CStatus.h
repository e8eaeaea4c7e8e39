#pragma once

#include <cstdint>
#include "game/GameControlIds.h"
#include "sidewindows/SideWindow.h"

// The skills window ("Abilities"): the player's statistics.
class CStatus : public SideWindow {
public:
    static constexpr int kWindowId = GameIds::kSkillsWindow;

    CStatus();
    ~CStatus() override;

    struct Skill {
        int level = 0;
        int percent = 0;
        int bonus = 0;
    };
    static constexpr int kSkillCount = 7;
    static constexpr int kTalentCount = 7;

    void SetStats(int health, int maxHealth, int mana, int maxMana, int level, int magicLevel,
                  int magicLevelBonus, int experiencePercent, int magicLevelPercent,
                  uint64_t experience, float experienceRate);

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
    uint8_t page = 0;
    float experienceRate = 1.0f;
};
