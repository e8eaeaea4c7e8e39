// The quests family: the quest and achievement log, the summonable monsters,
// the outfit options, brewing and the learned recipes.
//
// Each handler reads its fields, in wire order and with their counts and
// conditions, whether or not there is a game screen to take them, so the
// frame goes on behind the message; only in the game does it hand them to
// their dialog.
#include "protocol/Protocol.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "client/Client.h"
#include "dialogs/character/OutfitDialog.h"
#include "dialogs/character/BrewingDialog.h"
#include "dialogs/character/QuestLogDialog.h"
#include "dialogs/character/RecipesDialog.h"
#include "dialogs/character/SummonMonsterDialog.h"
#include "game/GameInterface.h"
#include "net/InMessage.h"
#include "world/Camera.h"
#include "world/Creature.h"
#include "world/Map.h"

namespace {

// An achievement list holds at most this many; an empty name ends it sooner.
constexpr int kMaxAchievements = 255;

}  // namespace

// One quest (kind 1) or a batch of achievements (any other kind). In the
// game the first message makes the log and opens it.
void Protocol::ParseQuestLog(InMessage& message) {
    const uint16_t kind = message.ReadU16();
    const bool clear = message.ReadU8() != 0;
    QuestLogDialog* log = nullptr;
    if (Client::Instance()->game) {
        if (clear && questLog)
            questLog->Clear();
        if (!questLog) {
            questLog = new QuestLogDialog();
            questLog->Show();
        }
        log = questLog;
    }
    if (kind == 1) {
        QuestRecord quest;
        quest.name = message.ReadString();
        quest.progress = message.ReadU8();
        const int lines = message.ReadU16();
        // A note needs at least its length: a count beyond the frame's bytes
        // ends with them instead of inventing empty notes.
        for (int i = 0; i < lines && message.Remaining() >= 2; ++i)
            quest.lines.push_back(message.ReadString());
        if (log)
            log->AddQuest(std::move(quest));
        return;
    }
    const int32_t earned = int32_t(message.ReadU32());
    const int32_t possible = int32_t(message.ReadU32());
    if (log) {
        log->pointsEarned = earned;
        log->pointsPossible = possible;
    }
    for (int i = 0; i < kMaxAchievements; ++i) {
        AchievementRecord achievement;
        achievement.name = message.ReadString();
        if (achievement.name.empty())
            break;
        achievement.level = message.ReadU16();
        achievement.points = message.ReadU16();
        achievement.progress = message.ReadU8();
        achievement.description = message.ReadString();
        if (log)
            log->AddAchievement(std::move(achievement));
    }
}

// Shown also without entries; an open summon dialog ignores it.
void Protocol::ParseSummonList(InMessage& message) {
    const int count = message.ReadU8();
    std::vector<SummonMonsterEntry> entries;
    for (int i = 0; i < count; ++i) {
        SummonMonsterEntry entry;
        entry.name = message.ReadString();
        entry.manaCost = message.ReadU16();
        entries.push_back(std::move(entry));
    }
    if (GameInterface* game = Client::Instance()->game)
        game->summonMonster->Show(entries);
}

// Three lists of (id, requirement): outfits, hair styles, beards. The three
// counts come first. Each message replaces the options of the last one, and
// the dialog opens on the look the character wears; before the game there is
// no character to dress, and the options are dropped.
void Protocol::ParseOutfitOptions(InMessage& message) {
    GameInterface* game = Client::Instance()->game;
    OutfitDialog* dialog = game ? OutfitDialog::Instance() : nullptr;
    int counts[3];
    for (int& count : counts)
        count = message.ReadU8();
    if (dialog)
        dialog->ClearOptions();
    for (int list = 0; list < 3; ++list) {
        for (int i = 0; i < counts[list]; ++i) {
            const int id = int(message.ReadU32());
            const uint8_t requirement = message.ReadU8();
            if (!dialog)
                continue;
            if (list == 0)
                dialog->AddOutfitOption(id, requirement);
            else if (list == 1)
                dialog->AddHairOption(id, requirement);
            else
                dialog->AddBeardOption(id, requirement);
        }
    }
    if (!dialog)
        return;
    dialog->Open();
    if (const Creature* player = game->map && game->map->camera ? game->map->camera->creature : nullptr) {
        int* selection[Creature::kOutfitValues] = {&dialog->outfit,      &dialog->hair,       &dialog->beard,
                                                   &dialog->hairColour,  &dialog->beardColour, &dialog->skinColour,
                                                   &dialog->bodyColour, &dialog->legsColour, &dialog->feetColour};
        for (int i = 0; i < Creature::kOutfitValues; ++i)
            *selection[i] = player->outfit[i];
        dialog->FreeTextures();
    }
}

// Without a brew in progress the message is the active byte alone. A
// repeated ingredient keeps its last count.
void Protocol::ParseBrewing(InMessage& message) {
    const bool active = message.ReadU8() != 0;
    int size = 1;
    int amount = 0;
    int heat = 0;
    BrewingDialog::Ingredients ingredients;
    if (active) {
        size = message.ReadU8();
        amount = message.ReadU16();
        heat = message.ReadU8();
        const int count = message.ReadU8();
        for (int i = 0; i < count; ++i) {
            const int32_t id = message.ReadU16();
            ingredients[id] = message.ReadU16();
        }
    }
    if (GameInterface* game = Client::Instance()->game)
        game->brewing->Open(active, size, amount, heat, ingredients);
}

void Protocol::ParseLearnedRecipes(InMessage& message) {
    const int count = message.ReadU8();
    std::vector<Recipe> recipes;
    for (int i = 0; i < count; ++i) {
        Recipe recipe;
        recipe.name = message.ReadString();
        recipe.text = message.ReadString();
        recipes.push_back(std::move(recipe));
    }
    if (GameInterface* game = Client::Instance()->game)
        game->recipes->Refresh(std::move(recipes));
}
