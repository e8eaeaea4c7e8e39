// The player statistics (0x14), the friends lists (0x18), the party list
// (0x1b), the ban information (0x1e, 0x1f), the guild messages (0x38, 0x39,
// 0x3a) and the online list (0x40), packed as a server packs them and handed
// to the dispatcher of a client in the game, into the real skills, friends
// and party windows, the guild modules and the staff dialogs. A ping behind
// each message proves it was read to its last byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/Client.h"
#include "dialogs/social/GMBanDialog.h"
#include "dialogs/social/GuildDialog.h"
#include "dialogs/social/NoGuildDialog.h"
#include "dialogs/social/OnlineListDialog.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
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

Bytes BanInfoMessage(const std::string& comment, const std::string& time, const std::string& info, uint8_t banned) {
    return Wire().U8(0x1e).Str(comment).Str(time).Str(info).U8(banned).bytes;
}

struct OnlinePlayer {
    std::string name;
    uint16_t level;
    uint32_t idleSeconds;
    uint32_t onlineMinutes;
};

Bytes OnlineListMessage(uint8_t newList, const std::vector<OnlinePlayer>& players) {
    Wire w;
    w.U8(0x40).U8(newList).U16(uint32_t(players.size()));
    for (const OnlinePlayer& p : players)
        w.Str(p.name).U16(p.level).U32(p.idleSeconds).U32(p.onlineMinutes);
    return w.bytes;
}

std::vector<std::string> Rows(const GUISelect& list) {
    std::vector<std::string> rows;
    for (const GUISelectItem& item : list.items)
        rows.push_back(item.text);
    return rows;
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
    // No staff dialog over the login screen; the ban information is only kept.
    EXPECT_TRUE(Dispatch({0x1f}));
    EXPECT_TRUE(Dispatch(OnlineListMessage(1, {{"Ana", 1, 2, 3}})));
    EXPECT_TRUE(Dispatch(BanInfoMessage("c", "7", "Ana: banned", 1)));
    EXPECT_EQ(GMBanDialog::Instance()->infoLine, "Ana: banned");
    EXPECT_EQ(client->app->gui->FindControl(GMBanDialog::kDialogId), nullptr);
    EXPECT_EQ(client->app->gui->FindControl(OnlineListDialog::kDialogId), nullptr);
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

// The answer to a lookup is kept whether or not the dialog is open and opens
// nothing; any banned byte but 0 is banned. A cut answer keeps the last one,
// whose missing bytes would otherwise read as "not banned".
TEST_F(SocialMessagesTest, BanInformationIsKeptAndTheServerOpensTheBanDialog) {
    EnterTheGame();
    GMBanDialog* ban = GMBanDialog::Instance();
    GUIManager* gui = client->app->gui;
    ASSERT_TRUE(Dispatch(BanInfoMessage("Botting", "14", "Evil: banned", 2)));
    EXPECT_EQ(gui->FindControl(GMBanDialog::kDialogId), nullptr);
    EXPECT_EQ(ban->banComment, "Botting");
    EXPECT_EQ(ban->banTime, "14");
    EXPECT_EQ(ban->infoLine, "Evil: banned");
    EXPECT_EQ(ban->banned, 1);

    const Bytes cut[] = {
        Wire().U8(0x1e).Str("c").Str("1").Str("Ana: no ban").bytes,           // no banned byte
        Wire().U8(0x1e).Str("c").Str("1").U16(40).Raw({'A', 'n', 'a'}).bytes,  // the info line runs past the end
        Wire().U8(0x1e).Str("c").bytes,
    };
    for (const Bytes& payload : cut) {
        const Bytes frame = Frame(payload);
        InMessage message(frame.data(), int(frame.size()));
        protocol().Dispatch(message);
        EXPECT_EQ(ban->infoLine, "Evil: banned");
        EXPECT_EQ(ban->banned, 1);
        EXPECT_TRUE(platform.boxes.shown.empty());
    }

    ASSERT_TRUE(Dispatch({0x1f}));
    ASSERT_NE(gui->FindControl(GMBanDialog::kDialogId), nullptr);
    EXPECT_EQ(ban->infoLine, "") << "opening forgets the last answer";
    EXPECT_EQ(ban->banned, 0);
    ASSERT_TRUE(Dispatch(BanInfoMessage("", "", "Ana: no ban", 0)));
    EXPECT_EQ(ban->infoLine, "Ana: no ban");
    ban->Close();
}

// Rows live only in the open list: a new list replaces them and keeps the row
// number, a continuation appends, and a closed list drops what comes.
TEST_F(SocialMessagesTest, OnlineListMessagesFillTheOpenList) {
    EnterTheGame();
    OnlineListDialog* list = OnlineListDialog::Instance();
    ASSERT_TRUE(Dispatch(OnlineListMessage(1, {{"Lost", 1, 2, 3}})));
    list->Open();
    GUISelect* rows = dynamic_cast<GUISelect*>(client->app->gui->FindControl(OnlineListDialog::kListId));
    ASSERT_NE(rows, nullptr);
    EXPECT_TRUE(rows->items.empty());

    ASSERT_TRUE(Dispatch(OnlineListMessage(1, {{"Ana", 12, 7, 90}, {"Bob", 30, 0x80000000, 0xFFFFFFFE},
                                               {"Evil", 3, 600, 1440}})));
    ASSERT_EQ(Rows(*rows), (std::vector<std::string>{"Ana", "Bob", "Evil"}));
    EXPECT_EQ(rows->items[0].rightText, "Level 12");
    EXPECT_EQ(rows->items[0].subText, "7 seconds idle");
    EXPECT_EQ(rows->items[0].subRightText, "90 minutes online");
    EXPECT_EQ(rows->items[1].subText, "-2147483648 seconds idle") << "u32 values print as signed";
    EXPECT_EQ(rows->items[1].subRightText, "-2 minutes online");

    rows->selectedIndex = 2;
    ASSERT_TRUE(Dispatch(OnlineListMessage(1, {{"Cedric", 1, 0, 0}, {"Dora", 1, 0, 0}, {"Ed", 1, 0, 0}})));
    EXPECT_EQ(Rows(*rows), (std::vector<std::string>{"Cedric", "Dora", "Ed"}));
    EXPECT_EQ(rows->selectedIndex, 2) << "the row number survives, not the player";
    ASSERT_TRUE(Dispatch(OnlineListMessage(0, {{"Fay", 1, 0, 0}})));
    EXPECT_EQ(Rows(*rows), (std::vector<std::string>{"Cedric", "Dora", "Ed", "Fay"}));
    EXPECT_EQ(rows->selectedIndex, 2);

    // An entry cut short is shown to nobody.
    const Bytes frame = Frame(Wire().U8(0x40).U8(0).U16(2).Str("Gus").U16(1).U32(0).U32(0).Str("Hal").U16(4).bytes);
    InMessage message(frame.data(), int(frame.size()));
    protocol().Dispatch(message);
    EXPECT_EQ(Rows(*rows), (std::vector<std::string>{"Cedric", "Dora", "Ed", "Fay", "Gus"}));
    EXPECT_TRUE(platform.boxes.shown.empty());
    list->Close();
}

TEST_F(SocialMessagesTest, AnOnlineListThatNeverEndsStopsAtItsRowCap) {
    EnterTheGame();
    OnlineListDialog* list = OnlineListDialog::Instance();
    list->Open();
    GUISelect* rows = dynamic_cast<GUISelect*>(client->app->gui->FindControl(OnlineListDialog::kListId));
    ASSERT_NE(rows, nullptr);
    std::vector<OnlinePlayer> page;
    for (int i = 0; i < 1000; ++i)
        page.push_back({"P" + std::to_string(i), 1, 0, 0});
    ASSERT_TRUE(Dispatch(OnlineListMessage(1, page)));
    for (int more = 0; more < 7; ++more)
        ASSERT_TRUE(Dispatch(OnlineListMessage(0, page)));
    EXPECT_EQ(rows->items.size(), OnlineListDialog::kMaxRows);
    // A new list starts over.
    ASSERT_TRUE(Dispatch(OnlineListMessage(1, {{"Ana", 1, 0, 0}})));
    EXPECT_EQ(Rows(*rows), std::vector<std::string>{"Ana"});
    list->Close();
}

}  // namespace
