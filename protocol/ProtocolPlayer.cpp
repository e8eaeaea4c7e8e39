// The player family: the player's own data, read into the windows that show it.
#include "protocol/Protocol.h"

#include <cstdint>

#include "client/Client.h"
#include "game/ExperienceWindow.h"
#include "game/GameInterface.h"
#include "net/InMessage.h"
#include "sidewindows/CStatus.h"

// --- Player statistics (0x14) ---

namespace {

// The wire carries eight skill groups; the skills window keeps the first
// seven and the eighth is read past. 27 header bytes, 4 per group, 2 per
// talent value: 75 bytes in all.
constexpr int kWireSkillGroups = 8;
static_assert(kWireSkillGroups >= CStatus::kSkillCount, "every stored skill comes from the wire");

}  // namespace

// Read whole with or without a skills window, so the frame goes on behind it.
void Protocol::ParsePlayerStats(InMessage& message) {
    GameInterface* game = Client::Instance()->game;
    CStatus* status = game ? game->status : nullptr;

    const int health = message.ReadU16();
    const int maxHealth = message.ReadU16();
    const int mana = message.ReadU16();
    const int maxMana = message.ReadU16();
    const int level = message.ReadU16();
    const uint64_t experience = message.ReadU64();
    const int experiencePercent = message.ReadU8();
    const uint32_t rate = message.ReadU32();
    const int magicLevel = message.ReadU16();
    const int magicLevelBonus = message.ReadU8();
    const int magicLevelPercent = message.ReadU8();
    if (status)
        status->SetStats(health, maxHealth, mana, maxMana, level, magicLevel, magicLevelBonus, experiencePercent,
                         magicLevelPercent, experience, float(rate) / 100.0f);
    if (game && game->experienceWindow)
        game->experienceWindow->SetStartExperience(experience);

    for (int group = 0; group < kWireSkillGroups; ++group) {
        const int skillLevel = message.ReadU16();
        const int bonus = int8_t(message.ReadU8());
        const int percent = message.ReadU8();
        if (status && group < CStatus::kSkillCount)
            status->skills[group] = {skillLevel, percent, bonus};
    }
    const int unusedPoints = message.ReadU16();
    int talents[CStatus::kTalentCount];
    for (int& points : talents)
        points = message.ReadU16();
    if (status) {
        status->unusedPoints = unusedPoints;
        for (int k = 0; k < CStatus::kTalentCount; ++k)
            status->talents[k] = talents[k];
    }
}
