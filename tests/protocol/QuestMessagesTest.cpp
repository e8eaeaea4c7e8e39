// The quest log (0x2a), the summon list (0x2d), the brewing state (0x3d) and
// the learned recipes (0x3e), packed as a server packs them and handed to the
// dispatcher of a client in the game, into the real dialog modules. A ping
// behind a message proves it was read to its last byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/Client.h"
#include "dialogs/character/BrewingDialog.h"
#include "dialogs/character/QuestLogDialog.h"
#include "dialogs/character/RecipesDialog.h"
#include "dialogs/character/SummonMonsterDialog.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "game/GameInterface.h"
#include "net/Connection.h"
#include "net/InMessage.h"
#include "protocol/Protocol.h"
#include "tests/support/ServerDialogFixture.h"

namespace {

Bytes Ping(uint16_t value) { return Wire().U8(0x19).U16(value).bytes; }

// A quest whose line count may claim more notes than follow.
Bytes Quest(const std::string& name, int progress, uint16_t count, const std::vector<std::string>& lines) {
    Wire wire;
    wire.U8(0x2a).U16(1).U8(0).Str(name).U8(uint32_t(progress)).U16(count);
    for (const std::string& line : lines)
        wire.Str(line);
    return wire.bytes;
}

Bytes Achievements(uint32_t earned, uint32_t possible, int entries, bool end) {
    Wire wire;
    wire.U8(0x2a).U16(0).U8(0).U32(earned).U32(possible);
    for (int i = 0; i < entries; ++i)
        wire.Str("A" + std::to_string(i)).U16(uint32_t(i)).U16(uint32_t(i % 7)).U8(uint32_t(i % 101)).Str("d");
    if (end)
        wire.Str("");
    return wire.bytes;
}

class QuestMessagesTest : public ServerDialogTest {
protected:
    Protocol& protocol() { return *client->protocol; }
    // The message and a ping behind it in one frame: true when the message was
    // read to its last byte, so that only the ping was answered. A message
    // that claims more than it holds goes alone, and must be read to the end.
    bool ReadWhole(const Bytes& payload, bool ping = true) {
        const Bytes frame = Frame(ping ? Join({payload, Ping(0x7777)}) : payload);
        InMessage message(frame.data(), int(frame.size()));
        protocol().Dispatch(message);
        const std::vector<Bytes> sent = Requests();
        if (!ping)
            return message.Remaining() == 0 && sent.empty();
        return sent == std::vector<Bytes>{{0x19, 0x77, 0x77}};
    }
    GUISelect* List(int32_t id) { return Find<GUISelect>(id); }
};

// The landed reading looped over the line count whatever the frame held: a
// short message made up to 65 535 empty notes, rebuilt into the detail box.
TEST_F(QuestMessagesTest, AQuestsNotesEndWithItsFrame) {
    Enter();
    ASSERT_TRUE(ReadWhole(Quest("Cut", 40, 0xFFFF, {"one", "two"}), false));
    ASSERT_NE(protocol().questLog, nullptr);
    ASSERT_EQ(protocol().questLog->quests.size(), 1u);
    EXPECT_EQ(protocol().questLog->quests[0].lines, (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(protocol().questLog->quests[0].progress, 40);
    // A count that matches, with the ping behind it.
    ASSERT_TRUE(ReadWhole(Quest("Whole", 255, 2, {"a", ""})));
    ASSERT_EQ(protocol().questLog->quests.size(), 2u);
    EXPECT_EQ(protocol().questLog->quests[1].lines, (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(protocol().questLog->quests[1].progress, 255);
}

TEST_F(QuestMessagesTest, AnAchievementBatchEndsAtAnEmptyNameOrAfter255) {
    Enter();
    ASSERT_TRUE(ReadWhole(Achievements(15, 0xFFFFFFFF, 2, true)));
    QuestLogDialog* log = protocol().questLog;
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(log->pointsEarned, 15);
    ASSERT_EQ(log->achievements.size(), 2u);
    EXPECT_EQ(log->achievements[1].name, "A1");
    EXPECT_EQ(log->achievements[1].level, 1);
    EXPECT_EQ(log->achievements[1].points, 1);
    EXPECT_EQ(log->achievements[1].progress, 1);
    EXPECT_EQ(log->achievements[1].description, "d");
    // 255 need no end; the next bytes are the next message.
    ASSERT_TRUE(ReadWhole(Achievements(1, 2, 255, false)));
    EXPECT_EQ(log->achievements.size(), 257u);
    EXPECT_EQ(protocol().questLog, log);
}

// Before the game the messages are read whole (ServerMessagesTest sends every
// sample so) and make nothing: a log made then would have no game to live in.
TEST_F(QuestMessagesTest, BeforeTheGameNoLogIsMade) {
    client = &fixture.StartClient();
    connection().SetState(Connection::kConnected);
    for (const Bytes& payload : {Quest("Q", 1, 1, {"n"}), Achievements(1, 2, 3, true)})
        ASSERT_TRUE(ReadWhole(payload));
    ASSERT_TRUE(ReadWhole(Quest("Cut", 1, 0xFFFF, {"n"}), false));
    EXPECT_EQ(protocol().questLog, nullptr);
}

TEST_F(QuestMessagesTest, TheFirstMessageMakesTheLogEvenWithoutRecords) {
    Enter();
    ASSERT_TRUE(ReadWhole(Achievements(0, 0, 0, true)));
    ASSERT_NE(protocol().questLog, nullptr);
    EXPECT_TRUE(protocol().questLog->achievements.empty());
    EXPECT_NE(client->app->gui->FindControl(QuestLogDialog::kDialogId), nullptr);
}

TEST_F(QuestMessagesTest, BrewingStatesReachTheBrewingDialog) {
    Enter();
    BrewingDialog& brewing = *game().brewing;
    // A repeated ingredient keeps its last count.
    ASSERT_TRUE(ReadWhole(Wire().U8(0x3d).U8(1).U8(3).U16(0xFFFF).U8(200).U8(3)
                             .U16(2799).U16(4).U16(2800).U16(0).U16(2799).U16(9).bytes));
    EXPECT_NE(client->app->gui->FindControl(BrewingDialog::kDialogId), nullptr);
    EXPECT_TRUE(brewing.inProgress);
    EXPECT_EQ(brewing.potionSize, 3);
    EXPECT_EQ(brewing.amount, 0xFFFF);
    EXPECT_EQ(brewing.heat, 200);
    EXPECT_EQ(brewing.ingredients, (BrewingDialog::Ingredients{{2799, 9}, {2800, 0}}));
    // Without a brew the message is two bytes: size 1, nothing else.
    ASSERT_TRUE(ReadWhole({0x3d, 0}));
    EXPECT_FALSE(brewing.inProgress);
    EXPECT_EQ(brewing.potionSize, 1);
    EXPECT_EQ(brewing.amount, 0);
    EXPECT_EQ(brewing.heat, 0);
    EXPECT_EQ(brewing.previousHeat, 200);
    EXPECT_TRUE(brewing.ingredients.empty());
}

TEST_F(QuestMessagesTest, SummonListsAndRecipesReachTheirDialogs) {
    Enter();
    ASSERT_TRUE(ReadWhole({0x2d, 0}));
    GUISelect* monsters = List(SummonMonsterDialog::kList);
    ASSERT_NE(monsters, nullptr) << "opened also without entries";
    EXPECT_TRUE(monsters->items.empty());

    ASSERT_TRUE(ReadWhole(Wire().U8(0x3e).U8(2).Str("A").Str("a text").Str("B").Str("").bytes));
    const std::vector<Recipe>& recipes = game().recipes->learnedRecipes;
    ASSERT_EQ(recipes.size(), 2u);
    EXPECT_EQ(recipes[0].name, "A");
    EXPECT_EQ(recipes[0].text, "a text");
    EXPECT_EQ(recipes[1].name, "B");
    EXPECT_EQ(List(RecipesDialog::kList), nullptr) << "only kept while the dialog is closed";
}

}  // namespace
