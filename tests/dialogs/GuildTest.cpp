// The guild window, its Edit Member, Create New War and Edit Ranks dialogs and
// the no-guild dialog on the real game screen, fed by the guild messages as a
// server packs them and pressed through the GUI as a player presses them.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "dialogs/social/GuildDialog.h"
#include "dialogs/social/NoGuildDialog.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITextbox.h"
#include "game/ConfirmDialog.h"
#include "net/Connection.h"
#include "net/InMessage.h"
#include "protocol/Protocol.h"
#include "tests/support/GameFixture.h"
#include "tests/support/GuiInput.h"
#include "tests/support/GuildWire.h"
#include "world/Camera.h"
#include "world/Creature.h"
#include "world/Map.h"

namespace {

using Frames = std::vector<Bytes>;

// Ranks of orders 2, 0 and 1, members of each (two of the lowest rank), an
// invited character and two wars. The player is Aldric, of the top rank.
GuildData Sample() {
    GuildData data;
    data.name = "Knights";
    data.channelMessage = "Hail";
    data.ownLevel = 2;
    data.ranks = {{12, 0, 2, "Recruit"}, {3, 2, 0, "Founder"}, {9, 1, 1, "Officer"}};
    data.members = {{101, 12, "Cedric", ""},
                    {102, 77, "Invited One", ""},
                    {100, 3, "Aldric", "the Bold"},
                    {103, 9, "Brenna", ""},
                    {104, 12, "Dara", "Scout"}};
    data.wars = {{5, "Knights vs Rogues", "Not accepted", 1, 1000}, {6, "Knights vs Bandits", "Running", 0, 500}};
    return data;
}

// The guild requests as the protocol describes them.
Bytes Sub(uint8_t sub) { return Wire().U8(0x38).U8(sub).bytes; }

class GuildTest : public GameTest {
protected:
    void SetUp() override {
        Start();
        player = std::make_unique<Creature>();
        player->id = 7;
        player->name = "Aldric";
        game().map->camera->creature = player.get();
        mouse = std::make_unique<GuiInput>(*client->app, fixture.platform.keys);
    }
    ~GuildTest() override {
        if (fixture.client && fixture.client->game)
            fixture.client->game->map->camera->creature = nullptr;
    }

    GuildDialog& guild() { return *game().guild; }
    NoGuildDialog& noGuild() { return *game().noGuild; }
    GUIManager& gui() { return *client->app->gui; }
    Connection& connection() { return *client->protocol->connection; }

    void Receive(const Bytes& payload) {
        const Bytes frame = Frame(payload);
        InMessage message(frame.data(), int(frame.size()));
        client->protocol->Dispatch(message);
    }
    Frames Sent() {
        Frames frames = connection().QueuedFrames();
        connection().ClearQueues();
        return frames;
    }
    template <class T>
    T* Find(int32_t id) {
        return dynamic_cast<T*>(gui().FindControl(id));
    }
    bool IsOpen(int32_t id) { return gui().FindControl(id) != nullptr; }
    bool Disabled(int32_t id) {
        const GUIControl* control = gui().FindControl(id);
        return control && control->HasFlag(GUIControl::kDisabled);
    }
    // A click in the middle of the control, through the window procedure as
    // the player's mouse sends it.
    void Press(int32_t id) {
        const GUIControl* control = gui().FindControl(id);
        ASSERT_NE(control, nullptr) << id;
        mouse->Click(control->x + control->width / 2, control->y + control->height / 2);
    }
    void PressConfirmOk() {
        const int cx = client->app->clientWidth / 2;
        const int cy = client->app->clientHeight / 2;
        ASSERT_TRUE(IsOpen(ConfirmDialog::kDialogId));
        mouse->Click(cx - 108 + 47, cy + 33 + 12);
    }
    void Type(int32_t id, const std::string& text) {
        GUITextbox* box = Find<GUITextbox>(id);
        ASSERT_NE(box, nullptr) << id;
        box->SetText(text);
    }
    void Select(int32_t listId, int index) {
        GUISelect* list = Find<GUISelect>(listId);
        ASSERT_NE(list, nullptr) << listId;
        list->selectedIndex = index;
    }
    std::vector<std::string> Rows(int32_t listId) {
        std::vector<std::string> rows;
        if (const GUISelect* list = Find<GUISelect>(listId))
            for (const GUISelectItem& item : list->items)
                rows.push_back(item.text + "|" + item.rightText + "|" + item.subText + "|" + item.subRightText);
        return rows;
    }
    std::string Title(int32_t id) {
        const GUIDialog* dialog = Find<GUIDialog>(id);
        return dialog ? dialog->title : "(closed)";
    }
    GUITab* Tab(const std::string& caption) {
        for (GUIControl* control : gui().FindControl(GuildDialog::kDialogId)->CollectDescendants())
            if (GUITab* tab = dynamic_cast<GUITab*>(control); tab && tab->caption == caption)
                return tab;
        return nullptr;
    }
    void ClickTab(const std::string& caption) {
        DrawFrame();  // the strip lays its tabs out when drawn
        GUITab* tab = Tab(caption);
        ASSERT_NE(tab, nullptr) << caption;
        mouse->Click(tab->x + tab->width / 2, tab->y + tab->height / 2);
    }
    // The guild window with the sample data, its requests cleared.
    void OpenWithSample(uint8_t ownLevel = 2) {
        GuildData data = Sample();
        data.ownLevel = ownLevel;
        Receive(GuildMessage(data));
        ASSERT_TRUE(IsOpen(GuildDialog::kDialogId));
        DrawFrame();
        Sent();
    }

    std::unique_ptr<Creature> player;
    std::unique_ptr<GuiInput> mouse;
};

// --- The guild data in the window ---

TEST_F(GuildTest, TheListsShowTheRecordsInRankOrder) {
    Receive(GuildMessage(Sample()));
    EXPECT_EQ(Title(GuildDialog::kDialogId), "Guild: Knights");
    EXPECT_EQ(Find<GUITextbox>(GuildDialog::kChannelMessageId)->GetText(), "Hail");
    // Rank order first (0, 1, 2), equal orders as they arrived, the invited
    // character last; a title in parentheses after the name.
    EXPECT_EQ(Rows(GuildDialog::kMemberListId), (std::vector<std::string>{
                                                    "Aldric (the Bold)|Founder||",
                                                    "Brenna|Officer||",
                                                    "Cedric|Recruit||",
                                                    "Dara (Scout)|Recruit||",
                                                    "Invited One|(Invited)||",
                                                }));
    EXPECT_EQ(guild().members.back().order, GuildDialog::kInvitedOrder);
    // Wars in the order received, with their second line.
    EXPECT_EQ(Rows(GuildDialog::kWarListId), (std::vector<std::string>{
                                                 "Knights vs Rogues|Not accepted|Loyalty code enabled|Loss fee 1000 gold",
                                                 "Knights vs Bandits|Running|Loyalty code disabled|Loss fee 500 gold",
                                             }));
    EXPECT_EQ(Find<GUISelect>(GuildDialog::kWarListId)->rowHeight, 35);
    // The ranks keep their order of arrival while Edit Ranks is closed.
    ASSERT_EQ(guild().ranks.size(), 3u);
    EXPECT_EQ(guild().ranks[0].name, "Recruit");

    // A fee with the top bit set reads as a signed number.
    GuildData data = Sample();
    data.wars = {{7, "W", "S", 0, 0xFFFFFFFF}};
    Receive(GuildMessage(data));
    EXPECT_EQ(Rows(GuildDialog::kWarListId), std::vector<std::string>{"W|S|Loyalty code disabled|Loss fee -1 gold"});
}

TEST_F(GuildTest, TheEditRanksListNamesTheLevelsAndKeepsItsRankThroughNewData) {
    GuildData data = Sample();
    data.ranks.push_back({40, 5, 3, "Odd"});
    Receive(GuildMessage(data));
    guild().OpenEditRanks();
    EXPECT_EQ(Rows(GuildDialog::kRankListId), (std::vector<std::string>{
                                                  "Founder|Leader||", "Officer|Vice-leader||", "Recruit|Member||",
                                                  "Odd|Member||"}))
        << "sorted by order once Edit Ranks is open; a level above 2 is a member";

    // The third rank (Recruit) moves to the front: it stays selected.
    Select(GuildDialog::kRankListId, 2);
    data.ranks = {{12, 0, 0, "Recruit"}, {3, 2, 1, "Founder"}, {9, 1, 2, "Officer"}};
    Receive(GuildMessage(data));
    EXPECT_EQ(Rows(GuildDialog::kRankListId).front(), "Recruit|Member||");
    EXPECT_EQ(Find<GUISelect>(GuildDialog::kRankListId)->selectedIndex, 0);
    EXPECT_EQ(guild().rememberedRankId, 12u);

    // A selection past the old list remembers no rank; the list keeps its row
    // number.
    Select(GuildDialog::kRankListId, 5);
    Receive(GuildMessage(data));
    EXPECT_EQ(guild().rememberedRankId, 0u);
    EXPECT_EQ(Find<GUISelect>(GuildDialog::kRankListId)->selectedIndex, 5);
}

TEST_F(GuildTest, GuildDataOpensTheWindowOnItsFirstPageAndKeepsTheShownPage) {
    Receive(GuildMessage(Sample()));
    EXPECT_EQ(guild().tab, 0);
    EXPECT_FALSE(Find<GUISelect>(GuildDialog::kMemberListId)->HasFlag(GUIControl::kHidden));
    EXPECT_TRUE(Find<GUISelect>(GuildDialog::kWarListId)->HasFlag(GUIControl::kHidden));

    ClickTab("Guild Wars");
    EXPECT_EQ(guild().tab, 1);
    Receive(GuildMessage(Sample()));
    EXPECT_EQ(guild().tab, 1) << "an open window keeps its page";
    EXPECT_FALSE(Find<GUISelect>(GuildDialog::kWarListId)->HasFlag(GUIControl::kHidden));
    EXPECT_TRUE(Find<GUIButton>(GuildDialog::kKickId)->HasFlag(GUIControl::kHidden));

    Press(GuildDialog::kCloseId);
    EXPECT_FALSE(IsOpen(GuildDialog::kDialogId));
    EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput));
    DrawFrame();
    ASSERT_EQ(guild().members.size(), 5u) << "closing keeps the data";
    Receive(GuildMessage(Sample()));
    EXPECT_EQ(guild().tab, 0) << "a closed window opens on the management page";
    EXPECT_FALSE(Find<GUIButton>(GuildDialog::kKickId)->HasFlag(GUIControl::kHidden));
}

TEST_F(GuildTest, GuildDataClosesTheNoGuildDialogAndTheInvitationsCloseTheGuildWindow) {
    Receive(NoGuildMessage({{1, "Rogues"}}));
    ASSERT_TRUE(IsOpen(NoGuildDialog::kDialogId));
    Receive(GuildMessage(Sample()));
    EXPECT_FALSE(IsOpen(NoGuildDialog::kDialogId));
    EXPECT_TRUE(IsOpen(GuildDialog::kDialogId));
    DrawFrame();
    Receive(NoGuildMessage({{1, "Rogues"}}));
    EXPECT_FALSE(IsOpen(GuildDialog::kDialogId));
    EXPECT_TRUE(IsOpen(NoGuildDialog::kDialogId));
}

TEST_F(GuildTest, ARequestBlocksTheButtonsUntilTheServerAnswers) {
    OpenWithSample();
    EXPECT_FALSE(Disabled(GuildDialog::kInviteId));
    Press(GuildDialog::kSetMessageId);
    EXPECT_TRUE(guild().waiting);
    DrawFrame();
    for (int32_t id : {GuildDialog::kInviteId, GuildDialog::kSetMessageId, GuildDialog::kEditMemberId,
                       GuildDialog::kKickId, GuildDialog::kEditRanksId})
        EXPECT_TRUE(Disabled(id)) << id;

    // New data alone does not end the wait; the answer does.
    Receive(GuildMessage(Sample()));
    DrawFrame();
    EXPECT_TRUE(guild().waiting);
    EXPECT_TRUE(Disabled(GuildDialog::kInviteId));
    Sent();
    Type(GuildDialog::kInviteNameId, "Zed");
    Press(GuildDialog::kInviteId);
    EXPECT_TRUE(Sent().empty()) << "a disabled button gets no click";

    Receive(GuildAnsweredMessage());
    EXPECT_FALSE(guild().waiting);
    DrawFrame();
    EXPECT_FALSE(Disabled(GuildDialog::kInviteId));
    Press(GuildDialog::kInviteId);
    EXPECT_EQ(Sent(), Frames{Frame(Wire().Raw(Sub(2)).Str("Zed").bytes)});
}

// Closing the window and new guild data in one frame: the old window goes at
// the GUI's next update, the new one stays.
TEST_F(GuildTest, AWindowClosedAndReopenedInOneFrameStaysOpen) {
    OpenWithSample();
    Press(GuildDialog::kCloseId);
    Receive(GuildMessage(Sample()));
    DrawFrame();
    DrawFrame();
    EXPECT_TRUE(IsOpen(GuildDialog::kDialogId));
    ASSERT_EQ(Rows(GuildDialog::kMemberListId).size(), 5u);
}

// --- Which buttons the player may press ---

struct PermissionCase {
    const char* name;
    int level;
    int selected;  // index into the members below, -1 for none
    int own;       // likewise
    int war;       // index into the wars below, -1 for none
    bool waiting;
    int tab;
    std::set<int32_t> disabled;
};

TEST(GuildPermissions, FollowLevelSelectionOwnMemberAndWaiting) {
    GuildMember top{"Lead", "", "Founder", 1, 3, 0};
    GuildMember topToo{"Second", "", "Founder", 2, 3, 0};
    GuildMember vice{"Vice", "", "Officer", 3, 9, 1};
    GuildMember viceToo{"Vice2", "", "Officer", 4, 9, 1};
    GuildMember low{"Low", "", "Recruit", 5, 12, 2};
    GuildMember invited{"New", "", "(Invited)", 6, 0, 1000};
    const GuildMember* people[] = {&top, &topToo, &vice, &viceToo, &low, &invited};
    enum { Top, TopToo, Vice, ViceToo, Low, Invited };
    GuildWar open{1, 0, false, "W", "Not accepted by them"};
    GuildWar exact{2, 0, false, "W", "Not accepted"};
    GuildWar running{3, 0, false, "W", "Running"};
    GuildWar shortStatus{4, 0, false, "W", "Not acc"};
    GuildWar empty{5, 0, false, "W", ""};
    GuildWar lower{6, 0, false, "W", "not accepted"};
    const GuildWar* wars[] = {&open, &exact, &running, &shortStatus, &empty, &lower};

    const int32_t invite = GuildDialog::kInviteId, set = GuildDialog::kSetMessageId,
                  edit = GuildDialog::kEditMemberId, kick = GuildDialog::kKickId,
                  ranks = GuildDialog::kEditRanksId, accept = GuildDialog::kAcceptWarId,
                  cancel = GuildDialog::kCancelWarId, create = GuildDialog::kNewWarId;
    const std::set<int32_t> all = {invite,
                                   set,
                                   edit,
                                   kick,
                                   ranks,
                                   accept,
                                   cancel,
                                   create,
                                   GuildDialog::kCreateRankId,
                                   GuildDialog::kRemoveRankId,
                                   GuildDialog::kMoveUpId,
                                   GuildDialog::kMoveDownId};
    const PermissionCase cases[] = {
        // A plain member: no Set, Invite, Edit or Edit Ranks; Kick only on
        // his own row, where it means leaving.
        {"member on his own row", 0, Low, Low, -1, false, 0, {invite, edit, set, ranks}},
        {"member on another row", 0, Invited, Low, -1, false, 0, {invite, edit, set, ranks, kick}},
        {"member on a higher row", 0, Top, Low, -1, false, 0, {invite, edit, set, ranks, kick}},
        // A vice-leader: Invite; Kick and Edit below his order only.
        {"vice-leader on a lower row", 1, Low, Vice, -1, false, 0, {set, ranks}},
        {"vice-leader on an equal row", 1, ViceToo, Vice, -1, false, 0, {set, ranks, kick, edit}},
        {"vice-leader on the top rank", 1, Top, Vice, -1, false, 0, {set, ranks, kick, edit}},
        {"vice-leader on his own row", 1, Vice, Vice, -1, false, 0, {set, ranks, edit}},
        {"vice-leader on an invited row", 1, Invited, Vice, -1, false, 0, {set, ranks, edit}},
        // A leader of the top order edits everybody but the invited.
        {"top leader on his own row", 2, Top, Top, -1, false, 0, {}},
        {"top leader on an equal row", 2, TopToo, Top, -1, false, 0, {kick}},
        {"top leader on a lower row", 2, Low, Top, -1, false, 0, {}},
        {"top leader on an invited row", 2, Invited, Top, -1, false, 0, {edit}},
        {"leader below the top order on an equal row", 2, ViceToo, Vice, -1, false, 0, {kick, edit}},
        {"leader below the top order on his own row", 2, Vice, Vice, -1, false, 0, {edit}},
        // Without the player's own member or a selection: no Edit, no Kick.
        {"leader missing from the list", 2, Low, -1, -1, false, 0, {edit, kick}},
        {"member missing from the list", 0, Low, -1, -1, false, 0, {invite, edit, set, ranks, kick}},
        {"leader with no row selected", 2, -1, Top, -1, false, 0, {edit, kick}},
        // The wars page.
        {"member on the wars page", 0, Low, Low, 0, false, 1, {accept, cancel, create}},
        {"vice-leader on the wars page", 1, Low, Vice, 0, false, 1, {accept, cancel, create}},
        {"leader, no war selected", 2, Low, Top, -1, false, 1, {accept, cancel}},
        {"leader, a war not accepted yet", 2, Low, Top, 0, false, 1, {}},
        {"leader, status exactly the prefix", 2, Low, Top, 1, false, 1, {}},
        {"leader, a running war", 2, Low, Top, 2, false, 1, {accept}},
        {"leader, a status shorter than the prefix", 2, Low, Top, 3, false, 1, {accept}},
        {"leader, an empty status", 2, Low, Top, 4, false, 1, {accept}},
        {"leader, the prefix in other case", 2, Low, Top, 5, false, 1, {accept}},
        // A request waiting for its answer blocks every action.
        {"waiting on the management page", 2, Top, Top, 0, true, 0, all},
        {"waiting on the wars page", 2, Top, Top, 0, true, 1, all},
    };
    for (const PermissionCase& c : cases) {
        GuildPermissionState state;
        state.ownLevel = c.level;
        state.selected = c.selected < 0 ? nullptr : people[c.selected];
        state.own = c.own < 0 ? nullptr : people[c.own];
        state.war = c.war < 0 ? nullptr : wars[c.war];
        state.waiting = c.waiting;
        state.tab = c.tab;
        EXPECT_EQ(GuildDialog::DisabledButtons(state), c.disabled) << c.name;
    }
}

TEST_F(GuildTest, TheWindowAppliesThePermissionsEveryFrame) {
    OpenWithSample(0);  // a plain member, Aldric on the first row
    EXPECT_TRUE(Disabled(GuildDialog::kInviteId));
    EXPECT_TRUE(Disabled(GuildDialog::kEditMemberId));
    EXPECT_FALSE(Disabled(GuildDialog::kKickId)) << "his own row: leaving";
    Select(GuildDialog::kMemberListId, 1);
    DrawFrame();
    EXPECT_TRUE(Disabled(GuildDialog::kKickId));
    // Kick on a disabled button sends nothing and asks nothing.
    Press(GuildDialog::kKickId);
    EXPECT_FALSE(IsOpen(ConfirmDialog::kDialogId));

    // The player's name not among the members.
    player->name = "Stranger";
    GuildData data = Sample();
    Receive(GuildMessage(data));
    Select(GuildDialog::kMemberListId, 4);
    DrawFrame();
    EXPECT_TRUE(Disabled(GuildDialog::kKickId));
    EXPECT_TRUE(Disabled(GuildDialog::kEditMemberId));
}

// --- The window's buttons and what they send ---

TEST_F(GuildTest, TheWindowsButtonsSendTheirRequests) {
    OpenWithSample();
    struct Case {
        const char* name;
        std::function<void()> act;
        Bytes sent;  // empty: nothing
        bool waits;
    };
    const Case cases[] = {
        {"Set", [&] { Type(GuildDialog::kChannelMessageId, "Meet at noon"); Press(GuildDialog::kSetMessageId); },
         Wire().Raw(Sub(1)).Str("Meet at noon").bytes, true},
        {"Set with an empty message", [&] { Type(GuildDialog::kChannelMessageId, ""); Press(GuildDialog::kSetMessageId); },
         Wire().Raw(Sub(1)).Str("").bytes, true},
        {"Invite", [&] { Type(GuildDialog::kInviteNameId, "Zed"); Press(GuildDialog::kInviteId); },
         Wire().Raw(Sub(2)).Str("Zed").bytes, true},
        {"Invite with no name", [&] { Type(GuildDialog::kInviteNameId, ""); Press(GuildDialog::kInviteId); }, {},
         false},
        // The member list never clicked: Kick acts on the first row, the
        // player's own, and asks whether to leave.
        {"Leave Guild",
         [&] {
             Press(GuildDialog::kKickId);
             EXPECT_EQ(Title(ConfirmDialog::kDialogId), "Leave Guild");
             EXPECT_EQ(ConfirmDialog::Instance()->text,
                       "Are you sure you want to leave? If you\nare the only leader the guild will disband.");
             PressConfirmOk();
         },
         Wire().Raw(Sub(3)).U32(100).bytes, true},
        {"Kick Member",
         [&] {
             Select(GuildDialog::kMemberListId, 2);
             Press(GuildDialog::kKickId);
             EXPECT_EQ(Title(ConfirmDialog::kDialogId), "Kick Member");
             EXPECT_EQ(ConfirmDialog::Instance()->text,
                       "Are you sure you want to kick the\nselected guild member from the guild?");
             PressConfirmOk();
         },
         Wire().Raw(Sub(3)).U32(101).bytes, true},
        // OK reads the selection when it runs.
        {"Kick after the selection moved",
         [&] {
             Select(GuildDialog::kMemberListId, 2);
             Press(GuildDialog::kKickId);
             Select(GuildDialog::kMemberListId, 3);
             PressConfirmOk();
         },
         Wire().Raw(Sub(3)).U32(104).bytes, true},
        {"Kick with the selection gone",
         [&] {
             Select(GuildDialog::kMemberListId, 2);
             Press(GuildDialog::kKickId);
             Select(GuildDialog::kMemberListId, 9);
             PressConfirmOk();
         },
         {}, false},
        {"Accept",
         [&] {
             ClickTab("Guild Wars");
             DrawFrame();
             Press(GuildDialog::kAcceptWarId);
             EXPECT_EQ(Title(ConfirmDialog::kDialogId), "Accept War");
             EXPECT_EQ(ConfirmDialog::Instance()->text,
                       "Are you sure you want to accept and\nimmediately begin the selected guild war?");
             PressConfirmOk();
         },
         Wire().Raw(Sub(8)).U32(5).bytes, true},
        {"Surrender / Cancel",
         [&] {
             ClickTab("Guild Wars");
             Select(GuildDialog::kWarListId, 1);
             DrawFrame();
             Press(GuildDialog::kCancelWarId);
             EXPECT_EQ(Title(ConfirmDialog::kDialogId), "Cancel War");
             EXPECT_EQ(ConfirmDialog::Instance()->text,
                       "Are you sure you want to end or\ncancel the selected war immediately?");
             PressConfirmOk();
         },
         Wire().Raw(Sub(9)).U32(6).bytes, true},
    };
    for (const Case& c : cases) {
        guild().waiting = false;
        ClickTab("Guild Management");
        Select(GuildDialog::kMemberListId, 0);
        Select(GuildDialog::kWarListId, 0);
        DrawFrame();
        Sent();
        c.act();
        DrawFrame();
        EXPECT_EQ(Sent(), c.sent.empty() ? Frames{} : Frames{Frame(c.sent)}) << c.name;
        EXPECT_EQ(guild().waiting, c.waits) << c.name;
        EXPECT_FALSE(IsOpen(ConfirmDialog::kDialogId)) << c.name;
        EXPECT_TRUE(IsOpen(GuildDialog::kDialogId)) << c.name;
    }
}

// --- Edit Member, Create New War, Edit Ranks ---

TEST_F(GuildTest, EditMemberShowsTheMemberAndSavesTheRankPicked) {
    OpenWithSample();
    Select(GuildDialog::kMemberListId, 1);  // Brenna, Officer
    DrawFrame();
    Press(GuildDialog::kEditMemberId);
    EXPECT_EQ(Title(GuildDialog::kEditMemberDialogId), "Edit Member (Brenna)");
    EXPECT_EQ(guild().editedMemberId, 103u);
    EXPECT_EQ(Rows(GuildDialog::kMemberRanksId),
              (std::vector<std::string>{"Recruit|||", "Founder|||", "Officer|||"}))
        << "the ranks in the module's order";
    EXPECT_EQ(Find<GUISelect>(GuildDialog::kMemberRanksId)->selectedIndex, 2);

    // "Edit" on another member changes nothing while the dialog is open.
    Select(GuildDialog::kMemberListId, 0);
    DrawFrame();
    Press(GuildDialog::kEditMemberId);
    EXPECT_EQ(Title(GuildDialog::kEditMemberDialogId), "Edit Member (Brenna)");
    EXPECT_EQ(guild().editedMemberId, 103u);

    // New data re-sorts the ranks (Edit Ranks opened meanwhile): the row the
    // player picks is still the rank saved.
    guild().OpenEditRanks();
    ASSERT_EQ(guild().ranks[0].name, "Founder");
    guild().CloseEditRanks();
    Type(GuildDialog::kMemberTitleId, "Scout");
    Select(GuildDialog::kMemberRanksId, 0);  // "Recruit" as shown
    Press(GuildDialog::kSaveMemberId);
    EXPECT_EQ(Sent(), Frames{Frame(Wire().Raw(Sub(6)).U32(103).Str("Scout").U32(12).bytes)});
    EXPECT_FALSE(IsOpen(GuildDialog::kEditMemberDialogId));
    EXPECT_FALSE(guild().waiting) << "saving a member blocks nothing";
    DrawFrame();
    EXPECT_FALSE(Disabled(GuildDialog::kEditMemberId));
}

TEST_F(GuildTest, EditMemberOfAnInvitedCharacterAndMembersThatAreNeverSaved) {
    GuildData data = Sample();
    data.members.push_back({0x80000000, 12, "Odd Id", ""});
    data.members.push_back({0, 12, "Zero Id", ""});
    Receive(GuildMessage(data));
    DrawFrame();
    Sent();
    const struct {
        const char* name;
        Bytes sent;
    } cases[] = {
        // No rank has the invited id: the first row stays selected and is saved.
        {"Invited One", Wire().Raw(Sub(6)).U32(102).Str("").U32(12).bytes},
        {"Odd Id", {}},
        {"Zero Id", {}},
    };
    for (const auto& c : cases) {
        const GuildMember* member = nullptr;
        for (const GuildMember& m : guild().members)
            if (m.name == c.name)
                member = &m;
        ASSERT_NE(member, nullptr) << c.name;
        guild().OpenEditMember(*member);
        EXPECT_EQ(Find<GUISelect>(GuildDialog::kMemberRanksId)->selectedIndex, 0) << c.name;
        Press(GuildDialog::kSaveMemberId);
        EXPECT_EQ(Sent(), c.sent.empty() ? Frames{} : Frames{Frame(c.sent)}) << c.name;
        EXPECT_FALSE(IsOpen(GuildDialog::kEditMemberDialogId)) << c.name << ": Save closes the dialog anyway";
        DrawFrame();
    }
    // Cancel closes and leaves the focus where it was.
    guild().OpenEditMember(guild().members[0]);
    GUIControl* focus = gui().focus = Find<GUITextbox>(GuildDialog::kMemberTitleId);
    Press(GuildDialog::kCancelMemberId);
    EXPECT_FALSE(IsOpen(GuildDialog::kEditMemberDialogId));
    EXPECT_EQ(gui().focus, focus);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(GuildTest, CreateNewWarSendsWhatWasTyped) {
    OpenWithSample();
    const struct {
        const char* name;
        const char* opponent;
        const char* days;
        const char* fee;
        bool loyalty;
        Bytes sent;
    } cases[] = {
        {"an empty opponent sends nothing", "", "3", "100", true, {}},
        {"digits and letters", "Rogues", "7", "12abc", false,
         Wire().Raw(Sub(7)).Str("Rogues").U32(7).U32(12).U8(0).bytes},
        {"the loyalty box", "Rogues", " 3", "+500", true, Wire().Raw(Sub(7)).Str("Rogues").U32(3).U32(500).U8(1).bytes},
        {"negative and empty", "Rogues", "-5", "", false,
         Wire().Raw(Sub(7)).Str("Rogues").U32(0xFFFFFFFB).U32(0).U8(0).bytes},
        {"beyond 32 bits saturates", "Rogues", "99999999999", "-99999999999", false,
         Wire().Raw(Sub(7)).Str("Rogues").U32(0x7FFFFFFF).U32(0x80000000).U8(0).bytes},
    };
    for (const auto& c : cases) {
        guild().waiting = false;
        DrawFrame();
        ClickTab("Guild Wars");
        DrawFrame();
        Press(GuildDialog::kNewWarId);
        ASSERT_EQ(Title(GuildDialog::kCreateWarDialogId), "Create New War") << c.name;
        Type(GuildDialog::kOpponentId, c.opponent);
        Type(GuildDialog::kDaysId, c.days);
        Type(GuildDialog::kFeeId, c.fee);
        GUICheckbox* loyalty = Find<GUICheckbox>(GuildDialog::kLoyaltyId);
        EXPECT_TRUE(loyalty->framed);
        EXPECT_FALSE(loyalty->checked);
        if (c.loyalty)
            Press(GuildDialog::kLoyaltyId);  // anywhere on the framed box
        EXPECT_EQ(loyalty->checked, c.loyalty) << c.name;
        Press(GuildDialog::kCreateWarButtonId);
        EXPECT_EQ(Sent(), c.sent.empty() ? Frames{} : Frames{Frame(c.sent)}) << c.name;
        EXPECT_EQ(guild().waiting, !c.sent.empty()) << c.name;
        EXPECT_FALSE(IsOpen(GuildDialog::kCreateWarDialogId)) << c.name;
        DrawFrame();
    }
}

// Two quick clicks on "Create": the first closes the dialog, the second finds
// nothing to press, and one war is declared.
TEST_F(GuildTest, ADoubleClickOnCreateDeclaresOneWar) {
    OpenWithSample();
    guild().OpenCreateWar();
    Type(GuildDialog::kOpponentId, "Rogues");
    const GUIControl* create = Find<GUIButton>(GuildDialog::kCreateWarButtonId);
    const int x = create->x + 10;
    const int y = create->y + 10;
    mouse->Click(x, y);
    mouse->Click(x, y);
    guild().CreateWar();  // even called again directly
    DrawFrame();
    EXPECT_EQ(Sent(), Frames{Frame(Wire().Raw(Sub(7)).Str("Rogues").U32(0).U32(0).U8(0).bytes)});
}

TEST_F(GuildTest, EditRanksSendsTheRankRequests) {
    OpenWithSample();
    Press(GuildDialog::kEditRanksId);
    ASSERT_EQ(Title(GuildDialog::kEditRanksDialogId), "Edit Ranks");
    EXPECT_EQ(Find<GUIDialog>(GuildDialog::kEditRanksDialogId)->width, 501);
    const struct {
        const char* name;
        std::vector<int32_t> presses;
        int selected;
        Bytes sent;
    } cases[] = {
        {"at once: level 0, no name", {GuildDialog::kCreateRankId}, 0, Wire().Raw(Sub(10)).U8(0).Str("").bytes},
        {"Vice-leader", {GuildDialog::kLevelViceLeaderId, GuildDialog::kCreateRankId}, 0,
         Wire().Raw(Sub(10)).U8(1).Str("").bytes},
        {"Leader", {GuildDialog::kLevelLeaderId, GuildDialog::kCreateRankId}, 0,
         Wire().Raw(Sub(10)).U8(2).Str("").bytes},
        {"Member again", {GuildDialog::kLevelMemberId, GuildDialog::kCreateRankId}, 0,
         Wire().Raw(Sub(10)).U8(0).Str("").bytes},
        {"Move Up", {GuildDialog::kMoveUpId}, 1, Wire().Raw(Sub(12)).U32(9).U8(0xFF).bytes},
        {"Move Down", {GuildDialog::kMoveDownId}, 2, Wire().Raw(Sub(12)).U32(12).U8(1).bytes},
        {"Remove", {GuildDialog::kRemoveRankId}, 0, Wire().Raw(Sub(11)).U32(3).bytes},
        {"Remove with no rank selected", {GuildDialog::kRemoveRankId}, 7, Wire().Raw(Sub(11)).U32(0).bytes},
    };
    for (const auto& c : cases) {
        guild().waiting = false;
        DrawFrame();
        Select(GuildDialog::kRankListId, c.selected);
        for (int32_t id : c.presses)
            Press(id);
        EXPECT_EQ(Sent(), Frames{Frame(c.sent)}) << c.name;
        EXPECT_TRUE(guild().waiting) << c.name;
        EXPECT_TRUE(IsOpen(GuildDialog::kEditRanksDialogId)) << c.name;
    }
    // Exactly one level button is selected at a time.
    Press(GuildDialog::kLevelViceLeaderId);
    std::vector<int> styles;
    for (int32_t id : {GuildDialog::kLevelMemberId, GuildDialog::kLevelViceLeaderId, GuildDialog::kLevelLeaderId})
        styles.push_back(Find<GUIButton>(id)->style);
    EXPECT_EQ(styles, (std::vector<int>{0, 1, 0}));
    // A typed name goes as typed.
    guild().waiting = false;
    DrawFrame();
    Type(GuildDialog::kRankNameId, "Scouts");
    Press(GuildDialog::kCreateRankId);
    EXPECT_EQ(Sent(), Frames{Frame(Wire().Raw(Sub(10)).U8(1).Str("Scouts").bytes)});
    EXPECT_EQ(Find<GUITextbox>(GuildDialog::kRankNameId)->GetText(), "Scouts") << "the box keeps its text";
    // Its Close leaves the focus where it is; the guild window stays.
    GUIControl* focus = gui().focus = Find<GUITextbox>(GuildDialog::kRankNameId);
    Press(GuildDialog::kCloseRanksId);
    EXPECT_FALSE(IsOpen(GuildDialog::kEditRanksDialogId));
    EXPECT_EQ(gui().focus, focus);
    EXPECT_TRUE(IsOpen(GuildDialog::kDialogId));
}

TEST_F(GuildTest, MoveUpWithNoRanksSendsRankZero) {
    GuildData data = Sample();
    data.ranks.clear();
    Receive(GuildMessage(data));
    DrawFrame();
    Sent();
    guild().OpenEditRanks();
    Press(GuildDialog::kMoveUpId);
    EXPECT_EQ(Sent(), Frames{Frame(Wire().Raw(Sub(12)).U32(0).U8(0xFF).bytes)});
}

TEST_F(GuildTest, EditRanksRefreshesInPlaceAndItsButtonsFollowTheGuildWindow) {
    OpenWithSample();
    guild().OpenEditRanks();
    Select(GuildDialog::kRankListId, 1);
    GUIControl* list = gui().FindControl(GuildDialog::kRankListId);
    guild().ranks.push_back({50, 0, 9, "Late"});
    guild().OpenEditRanks();  // asked again while open
    EXPECT_EQ(gui().FindControl(GuildDialog::kRankListId), list) << "the same dialog";
    EXPECT_EQ(Rows(GuildDialog::kRankListId).size(), 4u);
    EXPECT_EQ(Find<GUISelect>(GuildDialog::kRankListId)->selectedIndex, 1);

    // Waiting disables the rank buttons while the guild window is drawn ...
    const int32_t rankButtons[] = {GuildDialog::kCreateRankId, GuildDialog::kRemoveRankId, GuildDialog::kMoveUpId,
                                   GuildDialog::kMoveDownId};
    Press(GuildDialog::kMoveUpId);
    DrawFrame();
    for (int32_t id : rankButtons)
        EXPECT_TRUE(Disabled(id)) << id;
    Sent();
    Press(GuildDialog::kRemoveRankId);
    EXPECT_TRUE(Sent().empty());
    // ... and, with the guild window closed, they keep the state of its last
    // frame.
    guild().CloseWindow();
    Receive(GuildAnsweredMessage());
    DrawFrame();
    for (int32_t id : rankButtons)
        EXPECT_TRUE(Disabled(id)) << id;
    Receive(GuildMessage(Sample()));  // opens the window again
    DrawFrame();
    for (int32_t id : rankButtons)
        EXPECT_FALSE(Disabled(id)) << id;
}

TEST_F(GuildTest, TheSmallDialogsStayWhenTheGuildWindowCloses) {
    OpenWithSample();
    guild().OpenCreateWar();
    guild().OpenEditRanks();
    guild().OpenEditMember(guild().members[0]);
    guild().CloseWindow();
    DrawFrame();
    EXPECT_TRUE(IsOpen(GuildDialog::kCreateWarDialogId));
    EXPECT_TRUE(IsOpen(GuildDialog::kEditRanksDialogId));
    EXPECT_TRUE(IsOpen(GuildDialog::kEditMemberDialogId));
}

// --- The no-guild dialog ---

TEST_F(GuildTest, TheNoGuildDialogListsTheInvitationsAndJoins) {
    Receive(NoGuildMessage({{7, "Rogues"}, {0xFFFFFFFF, "Bandits"}}));
    ASSERT_EQ(Title(NoGuildDialog::kDialogId), "No Guild");
    EXPECT_EQ(Rows(NoGuildDialog::kInvitesId), (std::vector<std::string>{"Rogues|||", "Bandits|||"}));
    DrawFrame();
    Sent();
    Press(NoGuildDialog::kJoinId);  // no click on the list: the first row
    Select(NoGuildDialog::kInvitesId, 1);
    Press(NoGuildDialog::kJoinId);
    Select(NoGuildDialog::kInvitesId, 2);
    Press(NoGuildDialog::kJoinId);  // no row there
    EXPECT_EQ(Sent(), (Frames{Frame(Wire().Raw(Sub(5)).U32(7).bytes), Frame(Wire().Raw(Sub(5)).U32(0xFFFFFFFF).bytes)}));

    // A second list while the dialog is open leaves the rows, and "Join
    // Selected" joins the guild whose name is highlighted.
    Select(NoGuildDialog::kInvitesId, 1);
    Receive(NoGuildMessage({{9, "Pirates"}, {10, "Sailors"}}));
    EXPECT_EQ(Rows(NoGuildDialog::kInvitesId), (std::vector<std::string>{"Rogues|||", "Bandits|||"}));
    ASSERT_EQ(noGuild().invites.size(), 2u);
    EXPECT_EQ(noGuild().invites[0].guildName, "Pirates");
    Press(NoGuildDialog::kJoinId);
    EXPECT_EQ(Sent(), Frames{Frame(Wire().Raw(Sub(5)).U32(0xFFFFFFFF).bytes)});

    // Closed and opened again, it shows the list it kept.
    Press(NoGuildDialog::kCloseId);
    EXPECT_FALSE(IsOpen(NoGuildDialog::kDialogId));
    EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput));
    DrawFrame();
    noGuild().Open();
    EXPECT_EQ(Rows(NoGuildDialog::kInvitesId), (std::vector<std::string>{"Pirates|||", "Sailors|||"}));
    Press(NoGuildDialog::kJoinId);
    EXPECT_EQ(Sent(), Frames{Frame(Wire().Raw(Sub(5)).U32(9).bytes)});
}

TEST_F(GuildTest, TheNoGuildDialogCreatesAGuild) {
    Receive(NoGuildMessage({}));
    ASSERT_TRUE(IsOpen(NoGuildDialog::kDialogId));
    EXPECT_TRUE(Rows(NoGuildDialog::kInvitesId).empty());
    DrawFrame();
    Sent();
    Press(NoGuildDialog::kJoinId);
    EXPECT_TRUE(Sent().empty()) << "no invitation, no join";
    const struct {
        const char* typed;
        Bytes sent;
    } cases[] = {
        {"", {}},
        {"   ", Wire().Raw(Sub(4)).Str("   ").bytes},
        {"Knights of Velmora", Wire().Raw(Sub(4)).Str("Knights of Velmora").bytes},
    };
    for (const auto& c : cases) {
        Type(NoGuildDialog::kNameId, c.typed);
        Press(NoGuildDialog::kCreateId);
        EXPECT_EQ(Sent(), c.sent.empty() ? Frames{} : Frames{Frame(c.sent)}) << '"' << c.typed << '"';
        EXPECT_TRUE(IsOpen(NoGuildDialog::kDialogId)) << "the dialog stays open";
    }
}

}  // namespace
