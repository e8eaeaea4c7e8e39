// The player family: equipment, container windows, statistics and the
// conditions with the buffs.
//
// Every handler reads its whole message whatever happens and hands the values
// to the game screen only while it exists; the windows it fills are made by
// the game screen, never here.
#include "protocol/Protocol.h"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "client/Client.h"
#include "game/BuffTimers.h"
#include "game/ExperienceWindow.h"
#include "game/GameInterface.h"
#include "net/InMessage.h"
#include "sidewindows/CStatus.h"
#include "sidewindows/Container.h"
#include "sidewindows/Inventory.h"

namespace {

const int kEquipmentSlots = 13;

GameInterface* Game() { return Client::Instance()->game; }

// Server ids are u32; those an int cannot hold name no sprite and no condition.
int IdFromWire(uint32_t id) { return id > uint32_t(std::numeric_limits<int32_t>::max()) ? 0 : int(id); }

}  // namespace

// --- Equipment, containers and conditions ---

void Protocol::ParseEquipment(InMessage& message) {
    Inventory* inventory = Game() ? Game()->inventory : nullptr;
    for (int slotId = 1; slotId <= kEquipmentSlots; ++slotId) {
        const int itemId = message.ReadU16();
        const int count = message.ReadU8();
        // Slot 11 has no cell; its pair is dropped.
        if (InventorySlot* slot = inventory ? inventory->FindSlot(slotId, true) : nullptr) {
            slot->itemId = itemId;
            slot->count = count;
        }
    }
}

void Protocol::ParseOpenContainer(InMessage& message) {
    const int index = message.ReadU8();
    const int titleIcon = IdFromWire(message.ReadU32());
    const std::string title = message.ReadString();
    const bool withIconButton = message.ReadU8() != 0;
    const bool withLootButton = message.ReadU8() != 0;
    const int capacity = message.ReadU8();
    const int count = message.ReadU8();
    std::vector<ContainerSlot> items(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k) {
        items[size_t(k)].index = k;
        items[size_t(k)].itemId = message.ReadU16();
        items[size_t(k)].count = message.ReadU8();
    }
    GameInterface* game = Game();
    // Only twenty container slots exist; a larger index has no window.
    if (!game || index >= GameInterface::kContainerSlots)
        return;
    game->OpenContainer(index, titleIcon, title, withIconButton, withLootButton, capacity, items);
}

void Protocol::OnCloseContainer(InMessage& message) {
    const int index = message.ReadU8();
    if (GameInterface* game = Game())
        game->RemoveSideWindow(index);
}

void Protocol::ParseConditions(InMessage& message) {
    GameInterface* game = Game();
    Inventory* inventory = game ? game->inventory : nullptr;
    BuffTimers* buffs = game ? game->buffTimers : nullptr;
    if (inventory)
        inventory->ClearConditions();
    if (buffs)
        buffs->RemoveAll();
    const int conditions = message.ReadU8();
    for (int i = 0; i < conditions; ++i) {
        const int id = IdFromWire(message.ReadU32());
        if (inventory && id > 0)
            inventory->SetCondition(id);
    }
    const int count = message.ReadU8();
    for (int i = 0; i < count; ++i) {
        const std::string name = message.ReadString();
        const uint32_t elapsed = message.ReadU32();
        const uint32_t duration = message.ReadU32();
        const int kind = message.ReadU8();
        // Seconds from the server times 1000 overflow an int: 64-bit milliseconds.
        if (buffs && !name.empty())
            buffs->Add(name, int64_t(elapsed) * 1000, int64_t(duration) * 1000, kind);
    }
}

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
