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

    int32_t health = 0;
    int32_t maxHealth = 0;
    int32_t mana = 0;
    int32_t maxMana = 0;
};
