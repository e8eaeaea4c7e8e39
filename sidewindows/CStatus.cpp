#include "sidewindows/CStatus.h"

#include "game/Lifecycle.h"

CStatus::CStatus() {
    windowId = kWindowId;
    lifecycle::Note("CStatus");
}

CStatus::~CStatus() { lifecycle::Note("~CStatus"); }

void CStatus::SetStats(int health_, int maxHealth_, int mana_, int maxMana_, int level_,
                       int magicLevel_, int magicLevelBonus_, int experiencePercent_,
                       int magicLevelPercent_, uint64_t experience_, float experienceRate_) {
    health = health_;
    maxHealth = maxHealth_;
    mana = mana_;
    maxMana = maxMana_;
    level = level_;
    magicLevel = magicLevel_;
    magicLevelBonus = magicLevelBonus_;
    experiencePercent = experiencePercent_;
    magicLevelPercent = magicLevelPercent_;
    experience = experience_;
    experienceRate = experienceRate_;
}
