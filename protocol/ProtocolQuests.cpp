// The quests family: the quest and achievement log, the summonable monsters,
// the outfit options, brewing and the learned recipes.
//
// A handler whose dialog is not built yet only reads its fields, in wire
// order and with their counts and conditions, and drops them: the frame goes
// on behind the message.
#include "protocol/Protocol.h"

#include <cstdint>
#include <string>

#include "client/Client.h"
#include "dialogs/character/OutfitDialog.h"
#include "game/GameInterface.h"
#include "net/InMessage.h"
#include "world/Camera.h"
#include "world/Creature.h"
#include "world/Map.h"

namespace {

// An achievement list holds at most this many; an empty name ends it sooner.
constexpr int kMaxAchievements = 255;

}  // namespace

// One quest (kind 1) or a batch of achievements (any other kind).
void Protocol::ParseQuestLog(InMessage& message) {
    const uint16_t kind = message.ReadU16();
    message.ReadU8();  // empty the log first
    if (kind == 1) {
        message.ReadString();  // quest name
        message.ReadU8();      // progress
        const int lines = message.ReadU16();
        for (int i = 0; i < lines; ++i)
            message.ReadString();  // note
        return;
    }
    message.ReadU32();  // points earned
    message.ReadU32();  // points possible
    for (int i = 0; i < kMaxAchievements; ++i) {
        const std::string name = message.ReadString();
        if (name.empty())
            break;
        message.ReadU16();     // recommended level
        message.ReadU16();     // points
        message.ReadU8();      // progress
        message.ReadString();  // description
    }
}

void Protocol::ParseSummonList(InMessage& message) {
    const int count = message.ReadU8();
    for (int i = 0; i < count; ++i) {
        message.ReadString();  // monster name
        message.ReadU16();     // mana
    }
}

// Three lists of (id, requirement): outfits, hair styles, beards. The three
// counts come first. Each message replaces the options of the last one, and
// the dialog opens on the look the character wears.
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

// Without a brew in progress the message is the active byte alone.
void Protocol::ParseBrewing(InMessage& message) {
    const uint8_t active = message.ReadU8();
    if (active == 0)
        return;
    message.ReadU8();   // potion size
    message.ReadU16();  // amount
    message.ReadU8();   // heat
    const int ingredients = message.ReadU8();
    for (int i = 0; i < ingredients; ++i) {
        message.ReadU16();  // ingredient id
        message.ReadU16();  // amount
    }
}

void Protocol::ParseRecipes(InMessage& message) {
    const int count = message.ReadU8();
    for (int i = 0; i < count; ++i) {
        message.ReadString();  // name
        message.ReadString();  // text
    }
}
