// The party, friends and skills windows on the real game screen: what they
// show, what their menus offer and send, and the sizes they allow.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "client/ConfigFile.h"
#include "client/Settings.h"
#include "engine/Font.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIMenu.h"
#include "engine/gui/GUIScrollbar.h"
#include "engine/gui/GUITextbox.h"
#include "net/Connection.h"
#include "protocol/Protocol.h"
#include "sidewindows/CStatus.h"
#include "sidewindows/Friends.h"
#include "sidewindows/Party.h"
#include "tests/support/GameFixture.h"
#include "tests/support/DrawnText.h"
#include "tests/support/LoginFixture.h"
#include "world/Camera.h"
#include "world/Creature.h"
#include "world/Map.h"

namespace {

using Frames = std::vector<std::vector<uint8_t>>;

struct MenuLine {
    int value;
    std::string text;
    bool enabled;
    bool operator==(const MenuLine& other) const {
        return value == other.value && text == other.text && enabled == other.enabled;
    }
};

std::ostream& operator<<(std::ostream& out, const MenuLine& line) {
    return out << "{" << line.value << ", \"" << line.text << "\", " << (line.enabled ? "on" : "off") << "}";
}

class SocialWindowsTest : public GameTest {
protected:
    ~SocialWindowsTest() override {
        if (fixture.client && fixture.client->game)
            fixture.client->game->map->camera->creature = nullptr;
    }

    GUIManager& gui() { return *client->app->gui; }
    Connection& connection() { return *client->protocol->connection; }
    // The player's own creature, followed by the view.
    void PlayAs(const std::string& name) {
        player = std::make_unique<Creature>();
        player->id = 7;
        player->name = name;
        game().map->camera->creature = player.get();
    }
    GUIMenu* Menu(int id) { return dynamic_cast<GUIMenu*>(gui().FindControl(id)); }
    std::vector<MenuLine> Lines(const GUIMenu* menu) {
        std::vector<MenuLine> lines;
        for (const GUIMenu::Entry& entry : menu->entries)
            lines.push_back({entry.value, entry.text, !entry.disabled});
        return lines;
    }
    void CloseMenus() {
        if (gui().openMenu)
            gui().RemoveControl(gui().openMenu, true);
    }
    Frames Sent() {
        Frames frames = connection().QueuedFrames();
        connection().ClearQueues();
        return frames;
    }
    static std::vector<uint8_t> Request(const Bytes& payload) { return Frame(payload); }
    // The texts one drawing of the window put on the screen.
    template <class Window>
    std::vector<std::string> TextsOf(Window* window) {
        engine().Clear();
        window->Draw();
        std::vector<std::string> texts;
        for (const DrawnText& text : VisibleTexts(engine(), client->app->font->sheet))
            texts.push_back(text.text);
        return texts;
    }
    // Widths of the rectangles drawn in one colour, in order.
    std::vector<int> Widths(uint32_t color) {
        std::vector<int> widths;
        for (const RecordedCall* call : engine().Calls("RenderRectangle"))
            if (uint32_t(call->args[0]) == color)
                widths.push_back(int(call->args[3]));
        return widths;
    }

    std::unique_ptr<Creature> player;
};

// --- Party ---

TEST_F(SocialWindowsTest, ThePartyWindowShowsWhileItHasMembersAndGrowsWithThem) {
    Start();
    Party* party = game().party;
    EXPECT_TRUE(party->dialog->HasFlag(GUIControl::kHidden)) << "hidden until a list arrives";
    const struct {
        int members;
        bool shown;
        float maxHeight;
    } cases[] = {{3, true, 157}, {0, false, 157}, {1, true, 90}, {10, true, 402}};
    for (const auto& c : cases) {
        party->Clear();
        for (int i = 0; i < c.members; ++i)
            party->SetMember("Member " + std::to_string(i), i, 50, 50);
        party->ShowMembers();
        EXPECT_EQ(!party->dialog->HasFlag(GUIControl::kHidden), c.shown) << c.members;
        EXPECT_EQ(party->dialog->maxHeight, c.maxHeight) << c.members;
        EXPECT_EQ(party->dialog->minHeight, 90.0f) << c.members;
    }

    // A name sent twice updates the first record.
    party->Clear();
    party->SetMember("Aldric", 1, 10, 20);
    party->SetMember("Aldric", 2, 30, 40);
    ASSERT_EQ(party->members.size(), 1u);
    EXPECT_EQ(party->members[0].number, 2);
    EXPECT_EQ(party->members[0].secondPercent, 40);
    EXPECT_TRUE(party->IsMember("Aldric"));
    EXPECT_FALSE(party->IsMember("aldric"));
    EXPECT_FALSE(party->IsMember("Aldri"));
    // The map view asks the party window whom to mark with the party icon.
    EXPECT_TRUE(game().map->Hooks().IsPartyMember("Aldric"));
    EXPECT_FALSE(game().map->Hooks().IsPartyMember("Brenna"));
    party->Clear();
    EXPECT_FALSE(game().map->Hooks().IsPartyMember("Aldric"));
}

TEST_F(SocialWindowsTest, ThePartyMenuOffersWhatThePlayerMayDo) {
    Start();
    Party* party = game().party;
    for (const char* name : {"Brenna", "Aldric", "Cedric"})
        party->SetMember(name, 1, 100, 100);
    party->ShowMembers();
    party->dialog->SetRect(300, 100, 200, 160);
    party->Update();
    const int top = 100 + 30;  // the first row; rows are 35 px

    const struct {
        const char* name;
        const char* player;  // "" follows nobody
        int y;
        std::vector<MenuLine> lines;
    } cases[] = {
        {"a member who does not lead: kick and invite are there but off", "Aldric", top + 40,
         {{1, "Message Aldric", true}, {2, "Kick Aldric", false}, {0, "", true}, {3, "Invite member", false},
          {4, "Leave party", true}}},
        {"the leader", "Brenna", top + 5,
         {{1, "Message Brenna", true}, {2, "Kick Brenna", true}, {0, "", true}, {3, "Invite member", true},
          {4, "Leave party", true}}},
        {"the shared boundary belongs to the upper row", "Brenna", top + 35,
         {{1, "Message Brenna", true}, {2, "Kick Brenna", true}, {0, "", true}, {3, "Invite member", true},
          {4, "Leave party", true}}},
        {"below the last row", "Brenna", top + 3 * 35 + 5,
         {{0, "", true}, {3, "Invite member", true}, {4, "Leave party", true}}},
        {"nobody followed", "", top + 5,
         {{1, "Message Brenna", true}, {2, "Kick Brenna", false}, {0, "", true}, {3, "Invite member", false},
          {4, "Leave party", true}}},
    };
    for (const auto& c : cases) {
        if (*c.player)
            PlayAs(c.player);
        else
            game().map->camera->creature = nullptr;
        party->ContextMenu(320, c.y);
        GUIMenu* menu = Menu(Party::kMenuId);
        ASSERT_NE(menu, nullptr) << c.name;
        EXPECT_EQ(Lines(menu), c.lines) << c.name;
        EXPECT_EQ(menu->x, 310) << c.name;
        EXPECT_EQ(menu->y, c.y) << c.name;
        // An open menu takes the next right click.
        party->ContextMenu(320, top + 75);
        EXPECT_EQ(Menu(Party::kMenuId), menu) << c.name;
        CloseMenus();
    }

    // Outside the content, or on a hidden window, nothing opens.
    party->ContextMenu(300 + 2, top);
    EXPECT_EQ(Menu(Party::kMenuId), nullptr);
    party->dialog->SetFlag(GUIControl::kHidden);
    party->ContextMenu(320, top);
    EXPECT_EQ(Menu(Party::kMenuId), nullptr);
}

TEST_F(SocialWindowsTest, ThePartyMenuSendsItsRequests) {
    Start();
    PlayAs("Aldric");
    Party* party = game().party;
    party->SetMember("Aldric", 1, 0, 0);
    party->SetMember("Brenna", 1, 0, 0);
    party->ShowMembers();
    party->selectedName = "Brenna";
    connection().ClearQueues();

    Party::OnMenuItem(Party::kMenuMessage, party);
    Party::OnMenuItem(Party::kMenuKick, party);
    Party::OnMenuItem(Party::kMenuLeave, party);
    Party::OnMenuItem(Party::kMenuSpacer, party);
    EXPECT_EQ(Sent(), (Frames{Request(Wire().U8(0x15).U8(1).Str("Brenna").bytes),
                              Request(Wire().U8(0x1B).Str("Brenna").U8(1).bytes),
                              Request(Wire().U8(0x1B).Str("Aldric").U8(1).bytes)}));

    // Leaving without a creature of one's own asks for nothing.
    game().map->camera->creature = nullptr;
    Party::OnMenuItem(Party::kMenuLeave, party);
    EXPECT_TRUE(Sent().empty());

    // The invite dialog opens once; an empty name sends nothing, and the
    // dialog closes either way.
    for (const char* typed : {"", "Cedric"}) {
        Party::OnMenuItem(Party::kMenuInvite, party);
        GUIControl* dialog = gui().FindControl(Party::kInviteDialogId);
        ASSERT_NE(dialog, nullptr);
        party->OpenInviteDialog();
        EXPECT_EQ(gui().FindControl(Party::kInviteDialogId), dialog) << "one dialog only";
        auto* name = dynamic_cast<GUITextbox*>(gui().FindControl(Party::kNameBoxId));
        ASSERT_NE(name, nullptr);
        name->SetText(typed);
        Party::ConfirmInvite(party);
        EXPECT_EQ(gui().FindControl(Party::kInviteDialogId), nullptr) << typed;
        gui().Update();
    }
    EXPECT_EQ(Sent(), (Frames{Request(Wire().U8(0x1B).Str("Cedric").U8(0).bytes)}));
}

TEST_F(SocialWindowsTest, PartyBarsStayInsideTheirBoxesWhateverTheServerSends) {
    Start();
    Party* party = game().party;
    party->SetMember("Aldric", 12345, 255, 50);
    party->SetMember("Brenna", 7, -20, 100);
    party->ShowMembers();
    party->dialog->SetRect(300, 100, 200, 160);
    const int full = 200 - 47;
    const std::vector<std::string> texts = TextsOf(party);
    EXPECT_EQ(Widths(0xFF001E96), (std::vector<int>{full, 0}));
    EXPECT_EQ(Widths(0xFF960000), (std::vector<int>{int(full / 100.0 * 50), full}));
    EXPECT_EQ(texts, (std::vector<std::string>{"Aldric", "12345", "Brenna", "7"}));
}

// --- Friends ---

TEST_F(SocialWindowsTest, FriendsAreShownOnlineFirstByTheirFirstByte) {
    const struct {
        const char* name;
        bool hideOffline;
        std::vector<FriendEntry> records;  // all on list 0
        std::vector<std::string> shown;
    } cases[] = {
        {"online first, then the first letter", false,
         {{true, "Birch"}, {false, "alder"}, {true, "Ash"}}, {"Ash", "Birch", "alder"}},
        {"offline hidden", true, {{true, "Birch"}, {false, "alder"}, {true, "Ash"}}, {"Ash", "Birch"}},
        {"the same first letter keeps the order of arrival", false,
         {{true, "Beech"}, {true, "Balsa"}, {true, "Alder"}}, {"Alder", "Beech", "Balsa"}},
        {"a first byte of 128 or more sorts first", false,
         {{true, "Ash"}, {true, "\xC9lan"}, {true, "zed"}}, {"\xC9lan", "Ash", "zed"}},
        {"capitals before small letters", false, {{true, "ash"}, {true, "Birch"}}, {"Birch", "ash"}},
    };
    for (const auto& c : cases) {
        Start(c.hideOffline ? "[windows]\nhideoffline=true\n" : "");
        Friends* friends = game().friends;
        EXPECT_EQ(friends->hideOffline != 0, c.hideOffline) << c.name;
        for (const FriendEntry& record : c.records)
            friends->SetEntry(record.name, record.online, 0);
        std::vector<std::string> shown;
        for (const FriendEntry& entry : friends->view)
            shown.push_back(entry.name);
        EXPECT_EQ(shown, c.shown) << c.name;
        fixture.client.reset();
    }
}

TEST_F(SocialWindowsTest, FriendRecordsGoToTheirListOrOnlyUpdate) {
    Start();
    Friends* friends = game().friends;
    friends->SetEntry("Rook", false, 1);
    friends->SetEntry("Ally", true, 0);
    ASSERT_EQ(friends->activeList, 0);

    // List 10 finds the name in whichever list holds it.
    friends->SetEntry("Rook", true, Friends::kAnyList);
    ASSERT_EQ(friends->lists[1].size(), 1u);
    EXPECT_TRUE(friends->lists[1][0].online);
    EXPECT_EQ(friends->lists[0].size(), 1u) << "nothing added to the list shown";
    // An unknown name on list 10 adds nothing.
    friends->SetEntry("Nobody", true, Friends::kAnyList);
    for (const auto& list : friends->lists)
        for (const FriendEntry& entry : list)
            EXPECT_NE(entry.name, "Nobody");
    // Numbers that name no list are ignored.
    for (int list : {3, 9, 11, 255, -1})
        friends->SetEntry("Stray", true, list);
    EXPECT_EQ(friends->lists[0].size() + friends->lists[1].size() + friends->lists[2].size(), 2u);
    // A known name changes its state in place.
    friends->SetEntry("Ally", false, 0);
    ASSERT_EQ(friends->lists[0].size(), 1u);
    EXPECT_FALSE(friends->view[0].online);

    friends->Clear();
    EXPECT_TRUE(friends->view.empty());
    EXPECT_TRUE(friends->lists[1].empty());
}

TEST_F(SocialWindowsTest, AFullFriendsListTakesNoNewNamesButStillUpdates) {
    Start();
    Friends* friends = game().friends;
    for (size_t i = 0; i < Friends::kMaxPerList; ++i)
        friends->StoreEntry("Person " + std::to_string(i), false, 2);
    EXPECT_FALSE(friends->StoreEntry("One more", true, 2));
    EXPECT_EQ(friends->lists[2].size(), Friends::kMaxPerList);
    EXPECT_TRUE(friends->StoreEntry("Person 0", true, 2));
    EXPECT_TRUE(friends->lists[2][0].online);
    EXPECT_TRUE(friends->StoreEntry("One more", true, 0)) << "another list has room";
}

TEST_F(SocialWindowsTest, TheGuildTabNeverShowsOfflineMembersNorTheHint) {
    Start();
    Friends* friends = game().friends;
    friends->dialog->SetRect(300, 100, 200, 200);
    friends->Update();
    // An empty list of allies shows the hint.
    EXPECT_EQ(TextsOf(friends), (std::vector<std::string>{"Rightclickhereto", "addpeople."}));

    friends->SetEntry("Guildmate", true, 2);
    friends->SetEntry("Sleeper", false, 2);
    friends->SelectList(2);
    EXPECT_EQ(friends->tabButtons[2]->style, 1);
    EXPECT_EQ(friends->tabButtons[0]->style, 0);
    EXPECT_EQ(TextsOf(friends), (std::vector<std::string>{"Guildmate"}));

    // Right click on the empty part of the guild list: no menu; on a member:
    // only the message item.
    friends->ContextMenu(320, 100 + 55 + 15 * 3);
    EXPECT_EQ(Menu(Friends::kMenuId), nullptr);
    friends->ContextMenu(320, 100 + 58);
    GUIMenu* menu = Menu(Friends::kMenuId);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Lines(menu), (std::vector<MenuLine>{{1, "Message Guildmate", true}}));
    EXPECT_EQ(menu->height, 26);
    CloseMenus();

    // Allies whose people are all offline and hidden: no hint, the list is not empty.
    friends->SelectList(0);
    friends->SetEntry("Away", false, 0);
    friends->ToggleHideOffline();
    EXPECT_TRUE(friends->view.empty());
    EXPECT_TRUE(TextsOf(friends).empty());
}

TEST_F(SocialWindowsTest, TheFriendsMenuAndItsRequests) {
    Start();
    Friends* friends = game().friends;
    friends->dialog->SetRect(300, 100, 200, 200);
    friends->Update();
    friends->SetEntry("Birch", true, 0);
    friends->SetEntry("Ash", true, 0);
    const int firstRow = 100 + 55;

    // Over a name: message, remove, spacer, add, toggle; 106 px high.
    friends->ContextMenu(320, firstRow + 15);  // the line rows 0 and 1 share: row 0
    GUIMenu* menu = Menu(Friends::kMenuId);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Lines(menu), (std::vector<MenuLine>{{1, "Message Ash", true}, {2, "Remove Ash", true},
                                                  {0, "", true}, {3, "Add New Person", true},
                                                  {4, "Hide Offline", true}}));
    EXPECT_EQ(menu->height, 106);
    EXPECT_EQ(menu->x, 310);
    connection().ClearQueues();
    Friends::OnMenuItem(Friends::kMenuMessage, friends);
    Friends::OnMenuItem(Friends::kMenuRemove, friends);
    EXPECT_EQ(Sent(), (Frames{Request(Wire().U8(0x15).U8(1).Str("Ash").bytes),
                              Request(Wire().U8(0x18).Str("Ash").U8(0).bytes)}));
    EXPECT_EQ(friends->lists[0].size(), 2u) << "removing waits for the server's list";
    CloseMenus();

    // Over nothing: add and toggle, 46 px; the toggle is stored in the options.
    friends->ContextMenu(320, firstRow + 15 * 4);
    menu = Menu(Friends::kMenuId);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->height, 46);
    EXPECT_EQ(Lines(menu), (std::vector<MenuLine>{{3, "Add New Person", true}, {4, "Hide Offline", true}}));
    Friends::OnMenuItem(Friends::kMenuToggleOffline, friends);
    EXPECT_TRUE(client->settings->options->GetBool("windows", "hideoffline"));
    CloseMenus();
    friends->ContextMenu(320, firstRow + 15 * 4);
    ASSERT_NE(Menu(Friends::kMenuId), nullptr);
    EXPECT_EQ(Menu(Friends::kMenuId)->entries.back().text, "Show Offline");
    CloseMenus();

    // Outside the content nothing opens.
    friends->ContextMenu(300 + 4, firstRow);
    EXPECT_EQ(Menu(Friends::kMenuId), nullptr);

    // "Add Person": once; Enter presses "Add"; the name goes to the list shown.
    friends->SelectList(1);
    for (const char* typed : {"", "Rook"}) {
        Friends::OnMenuItem(Friends::kMenuAdd, friends);
        GUIControl* dialog = gui().FindControl(Friends::kAddDialogId);
        ASSERT_NE(dialog, nullptr);
        friends->ShowAddDialog();
        EXPECT_EQ(gui().FindControl(Friends::kAddDialogId), dialog);
        EXPECT_EQ(gui().enterButtonId, Friends::kAddButtonId);
        auto* name = dynamic_cast<GUITextbox*>(gui().FindControl(Friends::kNameBoxId));
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(gui().focus, name);
        name->SetText(typed);
        Friends::ConfirmAdd(friends);
        EXPECT_EQ(gui().FindControl(Friends::kAddDialogId), nullptr) << typed;
        gui().Update();
    }
    EXPECT_EQ(Sent(), (Frames{Request(Wire().U8(0x17).Str("Rook").U8(1).bytes)}));
}

TEST_F(SocialWindowsTest, TheFriendsScrollRangeFollowsTheRows) {
    Start();
    Friends* friends = game().friends;
    friends->dialog->SetRect(300, 100, 200, 150);
    for (int i = 0; i < 20; ++i)
        friends->SetEntry("Friend " + std::to_string(i), true, 0);
    EXPECT_EQ(friends->dialog->maxHeight, float(15 * 20 + 77));
    EXPECT_EQ(friends->scrollbar->GetMaximum(), 76);

    friends->Clear();
    EXPECT_EQ(friends->dialog->maxHeight, 107.0f) << "no rows: the window cannot be stretched";
    EXPECT_EQ(friends->dialog->minHeight, 107.0f);
}

TEST_F(SocialWindowsTest, MinimisingTheFriendsWindowHidesItsTabs) {
    Start();
    Friends* friends = game().friends;
    CStatus* status = game().status;
    for (SideWindow* window : {static_cast<SideWindow*>(friends), static_cast<SideWindow*>(status)}) {
        window->ToggleMinimize(true);
        for (GUIControl* child : window->dialog->children) {
            if (dynamic_cast<GUIButton*>(child) && child != window->minimizeButton) {
                EXPECT_TRUE(child->HasFlag(GUIControl::kHidden));
            }
        }
        window->ToggleMinimize(true);
        for (GUIControl* child : window->dialog->children)
            EXPECT_FALSE(child->HasFlag(GUIControl::kHidden));
    }
    CStatus::ShowTalentsPage(status);
    status->ToggleMinimize(true);
    status->ToggleMinimize(true);
    EXPECT_EQ(status->page, 1) << "restored on the page that was selected";
    EXPECT_EQ(status->talentsButton->style, 1);
}

// --- Skills ---

class SkillsWindowTest : public SocialWindowsTest {
protected:
    CStatus* Status() {
        CStatus* status = game().status;
        status->dialog->SetRect(100, 100, 200, 334);
        status->Update();
        return status;
    }
    const TooltipRegion* Tooltip(int key) {
        auto found = gui().tooltips.find(key);
        return found == gui().tooltips.end() ? nullptr : found->second.get();
    }
};

TEST_F(SkillsWindowTest, BarsAreFullWithoutAMaximumAndNeverOverflow) {
    Start();
    CStatus* status = Status();
    const int full = 200 - 47;
    const struct {
        const char* name;
        int health, maxHealth, mana, maxMana;
        int healthWidth, manaWidth;
    } cases[] = {
        {"before the first statistics", 0, 0, 0, 0, full, full},
        {"no mana at all", 50, 100, 0, 0, (full + 1) / 2, full},
        {"more than the maximum", 300, 100, 7, 10, full, 108},
    };
    for (const auto& c : cases) {
        status->SetStats(c.health, c.maxHealth, c.mana, c.maxMana, 1, 0, 0, 0, 0, 0, 1.0f);
        TextsOf(status);
        EXPECT_EQ(Widths(0xFF0000AA), std::vector<int>{c.healthWidth}) << c.name;
        EXPECT_EQ(Widths(0xFFAA0000), std::vector<int>{c.manaWidth}) << c.name;
    }
}

TEST_F(SkillsWindowTest, TheSkillsPageShowsTheNumbersAsTheServerSentThem) {
    Start();
    CStatus* status = Status();
    status->SetStats(150, 185, 20, 40, 42, 45, 3, 30, 60, 10000000, 1.5f);
    status->skills[0] = {45, 70, -2};
    status->skills[1] = {12, 5, 0};
    status->skills[2] = {9, 5, 1};
    status->skills[5] = {777, 5, 0};
    status->skills[6] = {33, 5, 0};
    const std::vector<std::string> texts = TextsOf(status);
    const std::vector<std::string> expected = {
        "Health", "150", "Mana", "20", "Level", "42", "Experience", "10000k", "MagicLevel", "45+3",
        "Melee", "45-2", "Distance", "12", "Defending", "9+1", "Fishing", "0", "Gathering", "0", "Brewing", "33"};
    EXPECT_EQ(texts, expected) << "blanks draw no glyphs; slot 5 is not shown";

    const TooltipRegion* experience = Tooltip(CStatus::kFirstTooltipKey);
    ASSERT_NE(experience, nullptr);
    EXPECT_EQ(experience->lines,
              (std::vector<std::string>{"70% left to advance.", "Your current experience rate is 1.5x."}));
    const TooltipRegion* melee = Tooltip(CStatus::kFirstTooltipKey + 2);
    ASSERT_NE(melee, nullptr);
    EXPECT_EQ(melee->lines, std::vector<std::string>{"30% left to advance."});
    EXPECT_NE(Tooltip(CStatus::kFirstTooltipKey + 8), nullptr) << "brewing";
    EXPECT_EQ(Tooltip(CStatus::kFirstTooltipKey + 7), nullptr) << "slot 5 has none";

    status->SetStats(150, 185, 20, 40, 42, 45, 0, 30, 60, 9999999, 1.0f);
    const std::vector<std::string> again = TextsOf(status);
    EXPECT_EQ(again[7], "9999999");
    EXPECT_EQ(again[9], "45");
    EXPECT_EQ(Tooltip(CStatus::kFirstTooltipKey)->lines[1], "Your current experience rate is 1x.");
}

TEST_F(SkillsWindowTest, TheTalentsPageAndItsTable) {
    Start();
    CStatus* status = Status();
    status->unusedPoints = 4;
    status->talents[2] = 50;   // Legerity, cap 100: half a bar
    status->talents[3] = 10;   // Expertise, cap 10: full
    status->talents[6] = 100;  // Resistance above its cap of 25: full, not four bars
    CStatus::ShowTalentsPage(status);
    const std::vector<std::string> texts = TextsOf(status);
    EXPECT_EQ(texts, (std::vector<std::string>{"UnusedPoints", "4", "Durability", "0", "Spirituality", "0",
                                               "Legerity", "50", "Expertise", "10", "Aggression", "0",
                                               "Fortification", "0", "Resistance", "100"}));
    const int full = 200 - 47;
    EXPECT_EQ(Widths(0xFF007800), (std::vector<int>{0, 0, (full + 1) / 2, full, 0, 0, full}));
    EXPECT_EQ(Tooltip(CStatus::kFirstTooltipKey + 8), nullptr) << "the skills page's brewing row";
    ASSERT_NE(Tooltip(CStatus::kFirstTooltipKey + 4), nullptr);
    EXPECT_EQ(Tooltip(CStatus::kFirstTooltipKey + 4)->lines,
              (std::vector<std::string>{"Each point increases your critical hit chance by 0.5pp.",
                                        "The maximum is 10 points."}));
    EXPECT_EQ(Tooltip(CStatus::kFirstTooltipKey)->lines,
              std::vector<std::string>{"Open the Talents Dialog to assign unused talent points."});

    CStatus::ShowSkillsPage(status);
    TextsOf(status);
    EXPECT_EQ(Tooltip(CStatus::kFirstTooltipKey + 7), nullptr) << "the talents page's Resistance row";

    EXPECT_EQ(status->TotalTalentPoints(), 164);
    CStatus empty;
    EXPECT_EQ(empty.TotalTalentPoints(), 1);
    EXPECT_EQ(CStatus::TalentLimitText(2), "The maximum is 100 points.");
    EXPECT_EQ(CStatus::TalentLimitText(7), "");
    EXPECT_EQ(CStatus::TalentLimitText(-1), "");
    EXPECT_EQ(CStatus::TalentDescription(-1), "");
    EXPECT_EQ(CStatus::TalentDescription(7), "");
    EXPECT_EQ(CStatus::TalentDescription(1), "Each point increases your maximum mana by 5.");
}

TEST_F(SkillsWindowTest, TooltipsCoverOnlyTheVisiblePartOfTheirRows) {
    Start();
    CStatus* status = Status();
    status->dialog->SetRect(100, 100, 200, 200);
    status->Update();
    const int contentTop = 100 + 51;
    // Rows from the top: Health 23, Mana 23, Level 15, then Experience at 61;
    // its region starts 5 px into the row. Scrolled by 23 steps (69 px) that
    // is 4 px above the content: only the lower 14 px keep a region.
    const struct {
        int position;
        bool region;
        int top;
        int height;
    } cases[] = {{0, true, 100 + 50 + 61 + 5, 18}, {23, true, contentTop, 14}, {30, false, 0, 0}};
    for (const auto& c : cases) {
        status->scrollbar->SetPosition(c.position);
        ASSERT_EQ(status->scrollbar->GetPosition(), c.position);
        TextsOf(status);
        const TooltipRegion* region = Tooltip(CStatus::kFirstTooltipKey);
        EXPECT_EQ(region != nullptr, c.region) << c.position;
        if (!region || !c.region)
            continue;
        EXPECT_EQ(region->y, float(c.top)) << c.position;
        EXPECT_EQ(region->height, float(c.height)) << c.position;
        EXPECT_EQ(region->x, float(100 + 8 + 5));
        EXPECT_EQ(region->width, float(200 - 45));
    }
    // Rows below the visible content have no region.
    status->scrollbar->SetPosition(0);
    TextsOf(status);
    EXPECT_EQ(Tooltip(CStatus::kFirstTooltipKey + 8), nullptr) << "brewing lies below a 200 px window";
}

}  // namespace
