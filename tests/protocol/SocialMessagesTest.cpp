// The player statistics (0x14), the friends lists (0x18), the party list
// (0x1b) and the guild messages (0x38, 0x39, 0x3a), packed as a server packs
// them and handed to the dispatcher of a client in the game, into the real
// skills, friends and party windows and the guild modules. A ping behind each
// message proves it was read to its last byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/Client.h"
#include "dialogs/social/GuildDialog.h"
#include "dialogs/social/NoGuildDialog.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "game/GameInterface.h"
#include "net/Connection.h"
#include "net/InMessage.h"
#include "protocol/Protocol.h"
#include "sidewindows/CStatus.h"
#include "sidewindows/Friends.h"
#include "sidewindows/Party.h"
#include "tests/support/GuildWire.h"
#include "tests/support/LoginFixture.h"

namespace {

Bytes Ping(uint16_t value) { return Wire().U8(0x19).U16(value).bytes; }

struct SkillGroup {
    uint16_t level;
    int8_t bonus;
    uint8_t percent;
};

Bytes PlayerStats(const std::vector<SkillGroup>& groups, const std::vector<uint16_t>& talentValues) {
    Wire w;
    w.U8(0x14);
    w.U16(150).U16(185).U16(20).U16(0).U16(42);                   // health, max, mana, max, level
    w.U32(0x89ABCDEF).U32(0x00000001);                            // experience, a u64
    w.U8(30).U32(150).U16(45).U8(3).U8(60);                       // percent, rate, magic level, bonus, percent
    for (const SkillGroup& g : groups)
        w.U16(g.level).U8(uint8_t(g.bonus)).U8(g.percent);
    for (uint16_t value : talentValues)
        w.U16(value);
    return w.bytes;
}

struct FriendRecord {
    std::string name;
    uint8_t online;
    uint8_t list;
};

Bytes FriendsMessage(uint8_t clear, const std::vector<FriendRecord>& records, int count = -1) {
    Wire w;
    w.U8(0x18).U16(uint32_t(count < 0 ? records.size() : size_t(count))).U8(clear);
    for (const FriendRecord& r : records)
        w.Str(r.name).U8(r.online).U8(r.list);
    return w.bytes;
}

struct Member {
    std::string name;
    uint16_t number;
    uint8_t first;
    uint8_t second;
};

Bytes PartyMessage(const std::vector<Member>& members) {
    Wire w;
    w.U8(0x1b).U8(uint32_t(members.size()));
    for (const Member& m : members)
        w.Str(m.name).U16(m.number).U8(m.first).U8(m.second);
    return w.bytes;
}

std::vector<std::string> Shown(const Friends& friends) {
    std::vector<std::string> names;
    for (const FriendEntry& entry : friends.view)
        names.push_back(entry.name + (entry.online ? "+" : "-"));
    return names;
}

class SocialMessagesTest : public LoginTest {
protected:
    Protocol& protocol() { return *client->protocol; }
    GameInterface& game() { return *client->game; }

    void EnterTheGame() {
        Start();
        protocol().account = "acc";
        protocol().password = "pw";
        protocol().characterName = "Aldric";
        protocol().Connect(1, {"world"}, 7171);
        ASSERT_TRUE(RunUntil([&] { return protocol().loginSent != 0 && !sockets->sent.empty(); }));
        const Bytes frame = Frame(EnterGameMessage(0x10000001, 0x10000001, 0, 1));
        InMessage message(frame.data(), int(frame.size()));
        protocol().Dispatch(message);
        ASSERT_NE(client->game, nullptr);
        protocol().connection->ClearQueues();
    }
    // One frame of the message and a ping; true when the ping alone was answered.
    bool Dispatch(const Bytes& payload) {
        const Bytes frame = Frame(Join({payload, Ping(0x7777)}));
        InMessage message(frame.data(), int(frame.size()));
        protocol().connection->ClearQueues();
        protocol().Dispatch(message);
        const auto frames = protocol().connection->QueuedFrames();
        return frames.size() == 1 && frames[0] == Frame(Ping(0x7777));
    }
};

TEST_F(SocialMessagesTest, PlayerStatisticsFillTheSkillsWindow) {
    EnterTheGame();
    std::vector<SkillGroup> groups;
    for (int g = 0; g < 8; ++g)
        groups.push_back({uint16_t(10 + g), int8_t(g % 2 ? -g : g), uint8_t(70 + g)});
    groups[0] = {45, -2, 70};
    const Bytes message = PlayerStats(groups, {3, 1, 2, 50, 10, 5, 6, 25});
    ASSERT_EQ(message.size(), 1u + 75u) << "eight skill groups";
    ASSERT_TRUE(Dispatch(message));

    const CStatus& status = *game().status;
    EXPECT_EQ(status.health, 150);
    EXPECT_EQ(status.maxHealth, 185);
    EXPECT_EQ(status.mana, 20);
    EXPECT_EQ(status.maxMana, 0);
    EXPECT_EQ(status.level, 42);
    EXPECT_EQ(status.experience, 0x189ABCDEFull);
    EXPECT_EQ(status.experiencePercent, 30);
    EXPECT_FLOAT_EQ(status.experienceRate, 1.5f);
    EXPECT_EQ(status.magicLevel, 45);
    EXPECT_EQ(status.magicLevelBonus, 3);
    EXPECT_EQ(status.magicLevelPercent, 60);
    EXPECT_EQ(status.skills[0].level, 45);
    EXPECT_EQ(status.skills[0].bonus, -2) << "the first byte is signed";
    EXPECT_EQ(status.skills[0].percent, 70);
    for (int s = 1; s < CStatus::kSkillCount; ++s) {
        EXPECT_EQ(status.skills[s].level, 10 + s) << s;
        EXPECT_EQ(status.skills[s].bonus, s % 2 ? -s : s) << s;
        EXPECT_EQ(status.skills[s].percent, 70 + s) << s;
    }
    EXPECT_EQ(status.unusedPoints, 3);
    const int talents[7] = {1, 2, 50, 10, 5, 6, 25};
    for (int k = 0; k < 7; ++k)
        EXPECT_EQ(status.talents[k], talents[k]) << k;
}

TEST_F(SocialMessagesTest, FriendsListsFollowTheirMessages) {
    EnterTheGame();
    Friends& friends = *game().friends;
    ASSERT_TRUE(Dispatch(FriendsMessage(1, {{"Birch", 1, 0}, {"alder", 0, 0}, {"Ash", 1, 0}, {"Rook", 0, 1}})));
    EXPECT_EQ(Shown(friends), (std::vector<std::string>{"Ash+", "Birch+", "alder-"}));

    // Without the clear flag records add and update; list 10 only updates;
    // a list number that names no list is read and ignored.
    ASSERT_TRUE(Dispatch(FriendsMessage(0, {{"Rook", 1, 10}, {"Ghost", 1, 10}, {"alder", 1, 0},
                                            {"Stray", 1, 7}, {"Oak", 1, 0}, {"Odd", 1, 255}})));
    EXPECT_EQ(Shown(friends), (std::vector<std::string>{"Ash+", "Birch+", "Oak+", "alder+"}));
    ASSERT_EQ(friends.lists[1].size(), 1u);
    EXPECT_TRUE(friends.lists[1][0].online);
    EXPECT_EQ(friends.lists[0].size() + friends.lists[1].size() + friends.lists[2].size(), 5u);

    // The clear flag empties every list first.
    ASSERT_TRUE(Dispatch(FriendsMessage(1, {{"Guildmate", 1, 2}})));
    EXPECT_TRUE(friends.view.empty());
    EXPECT_TRUE(friends.lists[0].empty());
    EXPECT_TRUE(friends.lists[1].empty());
    ASSERT_EQ(friends.lists[2].size(), 1u);
}

TEST_F(SocialMessagesTest, APartyListReplacesTheLastOne) {
    EnterTheGame();
    Party& party = *game().party;
    ASSERT_TRUE(Dispatch(PartyMessage({{"Aldric", 42, 100, 50}, {"Brenna", 7, 255, 0}, {"Aldric", 9, 1, 2}})));
    EXPECT_FALSE(party.dialog->HasFlag(GUIControl::kHidden));
    ASSERT_EQ(party.members.size(), 2u) << "a name sent twice updates its row";
    EXPECT_EQ(party.members[0].number, 9);
    EXPECT_EQ(party.members[1].firstPercent, 255) << "kept as sent; only the drawing clamps";
    EXPECT_EQ(party.dialog->maxHeight, 122.0f);

    ASSERT_TRUE(Dispatch(PartyMessage({})));
    EXPECT_TRUE(party.dialog->HasFlag(GUIControl::kHidden));
    EXPECT_TRUE(party.members.empty());

    ASSERT_TRUE(Dispatch(PartyMessage({{"Cedric", 1, 2, 3}})));
    EXPECT_FALSE(party.dialog->HasFlag(GUIControl::kHidden));
    ASSERT_EQ(party.members.size(), 1u);
    EXPECT_EQ(party.members[0].name, "Cedric");
    EXPECT_FALSE(party.IsMember("Aldric"));
}

// A message cut short keeps the records that arrived whole and invents no
// record from the missing bytes: no nameless friend, no empty party row.
TEST_F(SocialMessagesTest, CutListsKeepOnlyTheRecordsReadWhole) {
    EnterTheGame();
    Friends& friends = *game().friends;
    Party& party = *game().party;
    const struct {
        const char* name;
        Bytes payload;
    } cases[] = {
        {"friends: 65 535 announced, one sent", FriendsMessage(1, {{"Birch", 1, 0}}, 0xFFFF)},
        {"friends: the second record without its list byte",
         Wire().Raw(FriendsMessage(1, {{"Birch", 1, 0}}, 2)).Str("Ash").U8(1).bytes},
        {"friends: the second name longer than the frame",
         Wire().Raw(FriendsMessage(1, {{"Birch", 1, 0}}, 2)).U16(500).U8('A').U8(1).U8(0).bytes},
        {"party: 200 announced, one sent",
         Wire().U8(0x1b).U8(200).Str("Birch").U16(1).U8(2).U8(3).bytes},
        {"party: the second member without its bars",
         Wire().U8(0x1b).U8(2).Str("Birch").U16(1).U8(2).U8(3).Str("Ash").U16(4).bytes},
    };
    for (const auto& c : cases) {
        const Bytes frame = Frame(c.payload);
        InMessage message(frame.data(), int(frame.size()));
        protocol().Dispatch(message);
        const bool isFriends = c.payload[0] == 0x18;
        if (isFriends) {
            EXPECT_EQ(Shown(friends), std::vector<std::string>{"Birch+"}) << c.name;
        } else {
            ASSERT_EQ(party.members.size(), 1u) << c.name;
            EXPECT_EQ(party.members[0].name, "Birch") << c.name;
            EXPECT_FALSE(party.dialog->HasFlag(GUIControl::kHidden)) << c.name;
        }
        EXPECT_TRUE(platform.boxes.shown.empty()) << c.name;
        party.Clear();
    }
}

std::string Describe(const GuildMember& m) {
    return std::to_string(m.id) + ":" + m.name + ":" + m.title + ":" + std::to_string(m.rankId) + ":" + m.rankName +
           ":" + std::to_string(m.order);
}

std::string Describe(const GuildWar& w) {
    return std::to_string(w.id) + ":" + w.text + ":" + w.status + ":" + (w.loyalty ? "1" : "0") + ":" +
           std::to_string(w.lossFee);
}

TEST_F(SocialMessagesTest, TheGuildMessagesFillTheGuildModules) {
    EnterTheGame();
    GuildDialog& guild = *game().guild;
    GuildData data;
    data.name = "Knights";
    data.channelMessage = "Hail";
    data.ownLevel = 2;
    data.ranks = {{3, 2, 0, "Founder"}, {0xFFFFFFFF, 255, 255, ""}, {9, 1, 1, "Officer"}};
    data.members = {{100, 3, "Aldric", ""}, {101, 9, "Brenna", "Scout"}, {0xFFFFFFFF, 77, "Invited One", "x"}};
    data.wars = {{5, "Knights vs Rogues", "Not accepted", 7, 500}, {6, "", "", 0, 0xFFFFFFFF}};
    ASSERT_TRUE(Dispatch(GuildMessage(data)));

    EXPECT_EQ(guild.guildName, "Knights");
    EXPECT_EQ(guild.channelMessage, "Hail");
    EXPECT_EQ(guild.ownLevel, 2);
    ASSERT_EQ(guild.ranks.size(), 3u);
    EXPECT_EQ(guild.ranks[1].id, 0xFFFFFFFFu);
    EXPECT_EQ(guild.ranks[1].level, 255);
    EXPECT_EQ(guild.ranks[1].order, 255);
    EXPECT_EQ(guild.ranks[2].name, "Officer");
    std::vector<std::string> members;
    for (const GuildMember& m : guild.members)
        members.push_back(Describe(m));
    EXPECT_EQ(members, (std::vector<std::string>{"100:Aldric::3:Founder:0", "101:Brenna:Scout:9:Officer:1",
                                                 "4294967295:Invited One:x:77:(Invited):1000"}));
    std::vector<std::string> wars;
    for (const GuildWar& w : guild.wars)
        wars.push_back(Describe(w));
    EXPECT_EQ(wars, (std::vector<std::string>{"5:Knights vs Rogues:Not accepted:1:500", "6:::0:4294967295"}))
        << "any non-zero loyalty byte is on";

    guild.waiting = true;
    ASSERT_TRUE(Dispatch(GuildAnsweredMessage()));
    EXPECT_FALSE(guild.waiting);

    NoGuildDialog& noGuild = *game().noGuild;
    ASSERT_TRUE(Dispatch(NoGuildMessage({{1, "Rogues"}, {0xFFFFFFFF, ""}})));
    ASSERT_EQ(noGuild.invites.size(), 2u);
    EXPECT_EQ(noGuild.invites[0].guildName, "Rogues");
    EXPECT_EQ(noGuild.invites[1].guildId, 0xFFFFFFFFu);
    ASSERT_TRUE(Dispatch(NoGuildMessage({})));
    EXPECT_TRUE(noGuild.invites.empty());
}

// A guild message cut short: what is missing reads as zero ids and empty
// texts, and the window shows that rather than an error.
TEST_F(SocialMessagesTest, ACutGuildMessageGivesEmptyRecords) {
    EnterTheGame();
    GuildDialog& guild = *game().guild;
    GuildData data;
    data.name = "Knights";
    data.ranks = {{3, 2, 0, "Founder"}};
    data.members = {{100, 3, "Aldric", ""}};
    const Bytes whole = GuildMessage(data);
    // Three members announced where one was sent, and nothing behind them.
    Bytes cut(whole.begin(), whole.end() - 1);
    cut[cut.size() - (1 + 4 + 4 + 2 + 6 + 2)] = 3;
    const Bytes frame = Frame(cut);
    InMessage message(frame.data(), int(frame.size()));
    protocol().Dispatch(message);
    std::vector<std::string> members;
    for (const GuildMember& m : guild.members)
        members.push_back(Describe(m));
    EXPECT_EQ(members, (std::vector<std::string>{"100:Aldric::3:Founder:0", "0:::0:(Invited):1000",
                                                 "0:::0:(Invited):1000"}));
    EXPECT_TRUE(guild.wars.empty());
    EXPECT_TRUE(platform.boxes.shown.empty());
    EXPECT_NE(client->app->gui->FindControl(GuildDialog::kDialogId), nullptr);
}

// Before the game screen exists the messages are read whole and dropped; a
// ping behind each is answered.
TEST_F(SocialMessagesTest, WithoutAGameScreenTheMessagesAreReadAndDropped) {
    Start();
    protocol().account = "acc";
    protocol().password = "pw";
    protocol().characterName = "Aldric";
    protocol().Connect(1, {"world"}, 7171);
    ASSERT_TRUE(RunUntil([&] { return protocol().loginSent != 0 && !sockets->sent.empty(); }));
    ASSERT_EQ(client->game, nullptr);
    std::vector<SkillGroup> groups(8, SkillGroup{1, -1, 1});
    EXPECT_TRUE(Dispatch(PlayerStats(groups, {1, 2, 3, 4, 5, 6, 7, 8})));
    EXPECT_TRUE(Dispatch(FriendsMessage(1, {{"Birch", 1, 0}, {"Ash", 0, 10}})));
    EXPECT_TRUE(Dispatch(PartyMessage({{"Birch", 1, 2, 3}})));
    EXPECT_TRUE(Dispatch(PartyMessage({})));
    GuildData guild;
    guild.ranks = {{3, 2, 0, "Founder"}};
    guild.members = {{100, 3, "Aldric", "x"}};
    guild.wars = {{5, "W", "S", 1, 2}};
    EXPECT_TRUE(Dispatch(GuildMessage(guild)));
    EXPECT_TRUE(Dispatch(GuildAnsweredMessage()));
    EXPECT_TRUE(Dispatch(NoGuildMessage({{1, "Rogues"}})));
    EXPECT_EQ(client->game, nullptr);
    EXPECT_EQ(client->app->gui->FindControl(GuildDialog::kDialogId), nullptr);
    EXPECT_EQ(client->app->gui->FindControl(NoGuildDialog::kDialogId), nullptr);
}

}  // namespace
