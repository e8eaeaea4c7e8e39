// The spell and hotkey messages: what each hands to the hotkey bar, the
// hotkey editor and the spell library, and the frames around them read on
// exactly.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/Client.h"
#include "client/ConfigFile.h"
#include "client/Settings.h"
#include "dialogs/character/HotkeyDialog.h"
#include "dialogs/character/SpellLibraryDialog.h"
#include "game/GameInterface.h"
#include "game/HotkeyBar.h"
#include "game/Lifecycle.h"
#include "net/Connection.h"
#include "net/InMessage.h"
#include "protocol/Protocol.h"
#include "tests/support/LoginFixture.h"
#include "world/Camera.h"
#include "world/Creature.h"
#include "world/Map.h"

namespace {

Bytes Ping(uint16_t value) { return Wire().U8(0x19).U16(value).bytes; }

struct SpellRow {
    std::string name;
    uint16_t id;
    uint16_t mana;
    uint8_t offensive = 1;
};

Bytes SpellList(const std::vector<SpellRow>& spells) {
    Wire wire;
    wire.U8(0x26).U8(uint32_t(spells.size()));
    for (const SpellRow& spell : spells)
        wire.Str(spell.name).U16(spell.id).U16(spell.mana).U8(2).U16(300).U8(spell.offensive).U8(0).Str("text");
    return wire.bytes;
}

Bytes ManySpells(int count) {
    std::vector<SpellRow> spells;
    for (int i = 0; i < count; ++i)
        spells.push_back({"S" + std::to_string(i), uint16_t(3000 + i), uint16_t(i)});
    return SpellList(spells);
}

std::vector<std::string> notes;
void Record(const std::string& event) { notes.push_back(event); }

class SpellMessagesTest : public LoginTest {
protected:
    void SetUp() override {
        notes.clear();
        lifecycle::sink = &Record;
        Start();
        protocol().connection->SetState(Connection::kConnected);
    }
    void TearDown() override {
        protocol().connection->SetState(Connection::kIdle);
        lifecycle::sink = nullptr;
    }
    void EnterGame() {
        Dispatch(Wire().U8(0x03).U32(5).U32(5).U8(0).U32(1).bytes);
        ASSERT_NE(client->game, nullptr);
        protocol().connection->ClearQueues();
        notes.clear();
    }
    Protocol& protocol() { return *client->protocol; }
    // One frame with a ping behind the message: true when the ping was
    // answered, so the message was read to its last byte and no further.
    bool DispatchWithPing(const Bytes& payload) {
        protocol().connection->ClearQueues();
        Dispatch(Join({payload, Ping(0x77)}));
        const bool answered = protocol().connection->OutgoingCount() == 1;
        protocol().connection->ClearQueues();
        return answered;
    }
    void Dispatch(const Bytes& payload) {
        const Bytes frame = Frame(payload);
        InMessage message(frame.data(), int(frame.size()));
        protocol().Dispatch(message);
    }
    int Opened() {
        int count = 0;
        for (const std::string& note : notes)
            count += note.rfind("HotkeyDialog::Open", 0) == 0 ? 1 : 0;
        notes.clear();
        return count;
    }
};

}  // namespace

TEST_F(SpellMessagesTest, AQuietAnswerFillsTheListsAndTheLoudOneOpensTheEditor) {
    EnterGame();
    HotkeyBar* bar = client->game->hotkeyBar;
    HotkeyDialog* editor = client->game->hotkeyDialog;

    protocol().SendRequestActionList(1);
    EXPECT_TRUE(DispatchWithPing(
        SpellList({{"Light Healing", 1418, 20, 0}, {"Fireball", 1500, 70}, {"Ice Lance", 1420, 60}})));
    EXPECT_EQ(Opened(), 0);
    EXPECT_EQ(protocol().actionListFlag, 0);
    ASSERT_EQ(editor->supportSpells.size(), 1u);
    EXPECT_EQ(editor->supportSpells[0].spellId, 1418);
    ASSERT_EQ(editor->offensiveSpells.size(), 2u);
    EXPECT_EQ(editor->offensiveSpells[0].name, "Ice Lance") << "in order of mana";
    const HotkeySpellRecord& fireball = editor->offensiveSpells[1];
    EXPECT_EQ(fireball.name, "Fireball");
    EXPECT_EQ(fireball.spellId, 1500);
    EXPECT_EQ(fireball.mana, 70);
    EXPECT_EQ(fireball.magicLevel, 2);
    EXPECT_EQ(fireball.seconds, 300);
    EXPECT_FALSE(fireball.premium);
    EXPECT_EQ(fireball.description, "text");
    ASSERT_NE(bar->GetSpellInfo(1500), nullptr);
    EXPECT_EQ(bar->GetSpellInfo(1500)->mana, 70);

    protocol().SendRequestActionList(0);
    EXPECT_TRUE(DispatchWithPing(SpellList({{"Fireball", 1500, 75}})));
    EXPECT_EQ(Opened(), 1);
    EXPECT_EQ(editor->offensiveSpells.size() + editor->supportSpells.size(), 1u) << "the lists start again";
    EXPECT_EQ(bar->GetSpellInfo(1500)->mana, 75) << "updated in place";
    EXPECT_EQ(bar->GetSpellInfo(1418)->name, "Light Healing") << "the bar keeps what it knew";
    // An answer nobody asked for opens it too: the flag was cleared.
    EXPECT_TRUE(DispatchWithPing(SpellList({})));
    EXPECT_EQ(Opened(), 1);
}

TEST_F(SpellMessagesTest, MoreThanAHundredSpellsEndTheFrame) {
    EnterGame();
    EXPECT_TRUE(DispatchWithPing(ManySpells(100)));
    EXPECT_FALSE(DispatchWithPing(ManySpells(101)));
    EXPECT_EQ(client->game->hotkeyDialog->offensiveSpells.size(), 101u) << "the list itself is read whole";
    // A list cut short makes no spell of the missing bytes.
    Dispatch(Join({SpellList({{"Fireball", 1500, 70}}), Wire().U8(0x26).U8(3).Str("Cut").U16(7).bytes}));
    EXPECT_EQ(client->game->hotkeyDialog->offensiveSpells.size(), 0u);
    EXPECT_EQ(client->game->hotkeyBar->spellInfo.count(0), 0u);
}

TEST_F(SpellMessagesTest, TheLibraryResetsOnlyWhenAsked) {
    EnterGame();
    SpellLibraryDialog* library = client->game->spellLibrary;
    auto entry = [](Wire& wire, uint16_t id, const std::string& name) {
        wire.U16(id).U8(1).Str(name).Str("Level 3").U16(40).U16(3).Str("Burns.");
    };
    Wire first;
    first.U8(0x32).U16(1);
    entry(first, 1500, "Fireball");
    entry(first, 1501, "Ice Lance");
    first.U16(0);
    EXPECT_TRUE(DispatchWithPing(first.bytes));
    ASSERT_EQ(library->entries.size(), 2u);
    // Sorted by label, then mana: both "Level 3" at 40, so in arrival order.
    EXPECT_EQ(library->entries[1].name, "Ice Lance");
    EXPECT_EQ(library->entries[1].spellId, 1501);
    EXPECT_EQ(library->entries[1].vocation, 1);
    EXPECT_EQ(library->entries[1].label, "Level 3");
    EXPECT_EQ(library->entries[1].mana, 40);
    EXPECT_EQ(library->entries[1].magicLevel, 3);
    EXPECT_EQ(library->entries[1].description, "Burns.");

    Wire more;
    more.U8(0x32).U16(0);
    entry(more, 1502, "Storm");
    more.U16(0xFFFF);
    EXPECT_TRUE(DispatchWithPing(more.bytes));
    ASSERT_EQ(library->entries.size(), 3u) << "reset 0 appends";
    EXPECT_EQ(library->entries[2].spellId, 1502);

    // Without a terminator the list runs to the frame's end.
    Wire open;
    open.U8(0x32).U16(1);
    entry(open, 1503, "Quake");
    Dispatch(open.bytes);
    ASSERT_EQ(library->entries.size(), 1u);
    EXPECT_EQ(library->entries[0].spellId, 1503);
}

TEST_F(SpellMessagesTest, TimersReachTheBar) {
    EnterGame();
    HotkeyBar* bar = client->game->hotkeyBar;
    EXPECT_TRUE(DispatchWithPing(Wire().U8(0x27).U32(1418).U8(2).bytes));
    ASSERT_TRUE(bar->shadeTimers.count(1418));
    EXPECT_EQ(bar->shadeTimers[1418].seconds, 2u);
    // u32 seconds far beyond what fits an int.
    EXPECT_TRUE(DispatchWithPing(Wire().U8(0x35).U32(1418).U32(0xFFFFFFF0u).bytes));
    EXPECT_EQ(bar->GetCooldown(1418).second, 0xFFFFFFF0u);
    EXPECT_TRUE(bar->cooldowns[1418].Running(bar->cooldowns[1418].start + 86400000u));
}

TEST_F(SpellMessagesTest, TheEndOfTheLoginDataRestoresTheActionGroups) {
    EnterGame();
    EXPECT_EQ(protocol().layoutLoaded, 0);
    const struct {
        const char* stored;
        int groups;
    } cases[] = {{nullptr, 1}, {"4", 4}, {"0", 1}, {"25", 10}, {"-3", 1}};
    for (const auto& c : cases) {
        // The player's creature has not arrived: its name is empty.
        if (c.stored)
            client->settings->options->SetString("windows", "actiongroup-", c.stored);
        EXPECT_TRUE(DispatchWithPing(Wire().U8(0x37).bytes));
        EXPECT_EQ(protocol().layoutLoaded, 1);
        EXPECT_EQ(client->game->hotkeyBar->actionGroups, c.groups) << (c.stored ? c.stored : "absent");
    }
    // A new game starts without it.
    client->ReturnToMenu();
    Dispatch(Wire().U8(0x03).U32(5).U32(5).U8(0).U32(1).bytes);
    EXPECT_EQ(protocol().layoutLoaded, 0);
}

// The count is the character's: read under its name and written back there
// when the game screen goes, clamped, and nothing else changes with it.
TEST_F(SpellMessagesTest, TheActionGroupCountIsKeptPerCharacter) {
    EnterGame();
    Map* map = client->game->map;
    Creature* player = new Creature(map);
    player->id = 5;
    player->name = "Aldric";
    player->SetPosition(100, 100, 7);
    map->AddCreature(player);
    map->camera->SetCreature(player);
    ConfigFile* options = client->settings->options;
    options->SetInt("windows", "actiongroup-Aldric", 12);
    options->SetInt("windows", "actiongroup-Brenna", 3);
    EXPECT_TRUE(DispatchWithPing(Wire().U8(0x37).bytes));
    EXPECT_EQ(client->game->hotkeyBar->actionGroups, 10);
    client->ReturnToMenu();
    EXPECT_EQ(options->GetInt("windows", "actiongroup-Aldric"), 10);
    EXPECT_EQ(options->GetInt("windows", "actiongroup-Brenna"), 3);
}

TEST_F(SpellMessagesTest, BeforeTheGameScreenEveryMessageIsReadAndDropped) {
    ASSERT_EQ(client->game, nullptr);
    protocol().actionListFlag = 1;
    EXPECT_TRUE(DispatchWithPing(SpellList({{"Fireball", 1500, 70}})));
    EXPECT_EQ(protocol().actionListFlag, 0);
    EXPECT_TRUE(DispatchWithPing(Wire().U8(0x27).U32(1418).U8(2).bytes));
    EXPECT_TRUE(DispatchWithPing(Wire().U8(0x35).U32(1418).U32(30).bytes));
    EXPECT_TRUE(DispatchWithPing(Wire().U8(0x32).U16(1).U16(0xFFFF).bytes));
    EXPECT_TRUE(DispatchWithPing(Wire().U8(0x37).bytes));
    EXPECT_EQ(protocol().layoutLoaded, 0);
    EXPECT_TRUE(notes.empty());

    // The game screen starts with no timer or spell from before.
    EnterGame();
    EXPECT_TRUE(client->game->hotkeyBar->shadeTimers.empty());
    EXPECT_TRUE(client->game->hotkeyBar->cooldowns.empty());
    EXPECT_TRUE(client->game->hotkeyBar->spellInfo.empty());
}
