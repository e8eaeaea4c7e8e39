// The mouse on the game screen: clicks that walk, look and follow, drags that
// move things or ask for an amount, drops on the dialogs, the right-click menu
// and the walk that the server interrupts.
#include <cstdio>
#include <string>
#include <vector>

#include "client/ConfigFile.h"
#include "client/Settings.h"
#include "dialogs/trade/MarketDialog.h"
#include "dialogs/trade/MoveItemsDialog.h"
#include "dialogs/trade/TradeWindow.h"
#include "engine/KEngine2.h"
#include "engine/WindowMessages.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIMenu.h"
#include "game/GameControlIds.h"
#include "game/StatusLine.h"
#include "game/ThingActions.h"
#include "net/Connection.h"
#include "platform/Platform.h"
#include "protocol/Protocol.h"
#include "sidewindows/Container.h"
#include "tests/support/GameFixture.h"
#include "world/Creature.h"
#include "world/EffectList.h"
#include "world/ItemsCache.h"
#include "world/Map.h"
#include "world/Thing.h"
#include "world/Tile.h"

namespace {

const int kCtrl = platform::kVkControl;
const int kShift = platform::kVkShift;

const uint32_t kPlayerId = GameTest::kPlayerId;
const uint32_t kNpcId = 0x20000001;
// Above 2 147 383 647: id + 100000 would not fit into an int row value.
const uint32_t kHugeId = 0xFFFFFF00;

const int kGround = GameTest::kGround;
const int kWall = 4001;
const int kStack = 4010;  // stackable click target
const int kPiece = 4011;  // a single click target
const int kLever = 4020;  // usable
const int kChest = 4021;  // openable

const Position kHome = GameTest::kHome;

// One request as the fake server would read it, in a few words.
std::string Describe(const std::vector<uint8_t>& frame) {
    const uint8_t* p = frame.data() + 2;  // behind the length
    const size_t n = frame.size() - 2;
    auto u16 = [&](size_t at) { return unsigned(p[at] | p[at + 1] << 8); };
    auto u32 = [&](size_t at) { return unsigned(p[at] | p[at + 1] << 8 | p[at + 2] << 16 | unsigned(p[at + 3]) << 24); };
    auto pos = [&](size_t at) {
        return std::to_string(u16(at)) + " " + std::to_string(u16(at + 2)) + " " + std::to_string(p[at + 4]);
    };
    switch (p[0]) {
    case 0x0E:
        return "move " + pos(1) + " -> " + pos(6) + " x" + std::to_string(p[11]);
    case 0x0F:
        return "use " + pos(1) + " value " + std::to_string(u32(7));
    case 0x11:
        return "look " + pos(1);
    case 0x12:
        return "targets " + std::to_string(u32(1)) + " " + std::to_string(u32(5));
    case 0x32:
        return "outfit";
    case 0x1F:
        return "trade " + std::to_string(p[1]) + (n > 2 ? " slot " + std::to_string(u16(2)) : "");
    case 0x1A: {
        std::string text = "walk " + std::to_string(u32(1) / 3) + " " + std::to_string(u32(5) / 2) + " " +
                           std::to_string(u16(9) / 4) + " [";
        for (size_t i = 12; i < n; ++i)
            text += std::to_string(p[i]);
        return text + "]";
    }
    default: {
        char code[8];
        std::snprintf(code, sizeof code, "0x%02x", p[0]);
        return code;
    }
    }
}

class ThingActionsTest : public GameTest {
protected:
    ~ThingActionsTest() override {
        for (int id : {kWall, kStack, kPiece, kLever, kChest})
            ItemsCache::Instance()->Set(nullptr, uint16_t(id));
    }

    // The player at (100, 100, 7) on open ground from 90..110 x 92..108, a
    // stack of 5 east of it, a single piece two east, the NPC south-east.
    void Enter(const std::string& options = "") {
        Start(options);
        player = StandOnGround();
        Record(kWall, "wall", kItemBlocksWalking);
        Record(kStack, "gold coin", kItemClickTarget | kItemStackable);
        Record(kPiece, "sword", kItemClickTarget);
        Record(kLever, "lever", kItemUsable);
        Record(kChest, "chest", kItemOpenable);
        Put({101, 100, 7}, new Thing(kStack, 5));
        Put({102, 100, 7}, new Thing(kPiece, 1));
        npc = AddCreature(kNpcId, {101, 101, 7}, "Wanderer");
        client->protocol->connection->ClearQueues();
    }

    ItemRecord* Record(int id, const char* name, uint32_t flags) {
        auto* record = new ItemRecord();
        record->name = name;
        record->flags = flags;
        ItemsCache::Instance()->Set(record, uint16_t(id));
        return record;
    }
    Creature* AddCreature(uint32_t id, Position at, const char* name) {
        auto* creature = new Creature(game().map);
        creature->id = int32_t(id);
        creature->name = name;
        creature->SetPosition(at.x, at.y, at.z);
        game().map->AddCreature(creature);
        game().map->GetOrCreateTile(at)->AddThing(creature);
        return creature;
    }
    void Put(Position at, Thing* thing) { game().map->GetOrCreateTile(at)->AddThing(thing); }

    void Keys(bool ctrl, bool shift) {
        fixture.platform.keys.down.clear();
        if (ctrl)
            fixture.platform.keys.down.insert(kCtrl);
        if (shift)
            fixture.platform.keys.down.insert(kShift);
    }
    // Press at one square, release at another, with the keys held.
    void Drag(Position from, Position to, bool ctrl = false, bool shift = false) {
        Keys(ctrl, shift);
        Event(InputEvent::LeftDown, ScreenX(from.x), ScreenY(from.y));
        Event(InputEvent::LeftUp, ScreenX(to.x), ScreenY(to.y));
        Keys(false, false);
    }
    void RightClick(Position at, bool ctrl = false, bool shift = false) {
        Keys(ctrl, shift);
        Event(InputEvent::RightDown, ScreenX(at.x), ScreenY(at.y));
        Keys(false, false);
    }
    // The requests queued since the last call.
    std::vector<std::string> Sent() {
        Connection* connection = client->protocol->connection;
        std::vector<std::string> out;
        for (const auto& frame : connection->QueuedFrames())
            out.push_back(Describe(frame));
        connection->ClearQueues();
        return out;
    }
    GUIMenu* Menu() { return dynamic_cast<GUIMenu*>(client->app->gui->FindControl(GameIds::kContextMenu)); }
    // Releases the mouse on a row of the open menu, as a player chooses it.
    void Choose(int row) {
        GUIMenu* menu = Menu();
        ASSERT_NE(menu, nullptr);
        client->app->gui->OnMouseUp(menu->x + 40, menu->y + 3 + 20 * row + 10);
    }
    GUIDialog* Dialog(int id, int x, int y, int w, int h) {
        auto* dialog = new GUIDialog();
        dialog->id = id;
        dialog->SetRect(x, y, w, h);
        client->app->gui->AddControl(dialog);
        return dialog;
    }
    ThingActions& actions() { return *game().thingActions; }

    Creature* player = nullptr;
    Creature* npc = nullptr;
};

using Requests = std::vector<std::string>;

TEST_F(ThingActionsTest, PressAndReleaseDecideTheAction) {
    const struct {
        const char* name;
        Position from, to;
        bool ctrl, shift;
        Requests sent;
        bool asksAmount;
    } cases[] = {
        {"the same tile walks there", {101, 99, 7}, {101, 99, 7}, false, false,
         {"walk 0 0 0 []", "targets 1 0", "walk 101 99 7 [34]"}, false},
        {"Ctrl-click looks at the tile", {101, 99, 7}, {101, 99, 7}, true, false, {"look 101 99 7"}, false},
        {"Shift-click follows the NPC", {101, 101, 7}, {101, 101, 7}, false, true,
         {"targets 1 " + std::to_string(kNpcId)}, false},
        {"a stack of 5 asks for the amount", {101, 100, 7}, {101, 99, 7}, false, false, {}, true},
        {"Shift moves one piece", {101, 100, 7}, {101, 99, 7}, false, true, {"move 101 100 7 -> 101 99 7 x1"}, false},
        {"Ctrl moves the whole stack", {101, 100, 7}, {101, 99, 7}, true, false,
         {"move 101 100 7 -> 101 99 7 x5"}, false},
        {"a single piece never asks", {102, 100, 7}, {102, 99, 7}, false, false,
         {"move 102 100 7 -> 102 99 7 x1"}, false},
        {"a drag from an empty tile moves nothing", {99, 99, 7}, {98, 99, 7}, false, false, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Enter();
        Drag(c.from, c.to, c.ctrl, c.shift);
        EXPECT_EQ(Sent(), c.sent);
        const bool asked = client->app->gui->FindControl(GameIds::kMoveItemsDialog) != nullptr;
        EXPECT_EQ(asked, c.asksAmount);
        // The dialog keeps the drag for the amount it will move.
        EXPECT_EQ(actions().IsDragging(), c.asksAmount);
        fixture.client.reset();
    }
}

TEST_F(ThingActionsTest, TheAmountDialogMovesFromTheKeptDragAndEndsIt) {
    Enter();
    Drag({101, 100, 7}, {101, 99, 7});
    ASSERT_TRUE(actions().IsDragging());
    // Presses elsewhere neither start a drag nor end this one.
    Drag({102, 100, 7}, {102, 99, 7});
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(actions().dragSource, (Position{101, 100, 7}));
    MoveItemsDialog::OnMove(game().moveItems);
    EXPECT_EQ(Sent(), Requests{"move 101 100 7 -> 101 99 7 x5"});
    EXPECT_FALSE(actions().IsDragging());
}

TEST_F(ThingActionsTest, DropsOnTheDialogsAreTheirs) {
    Enter();
    // A market and a brewing dialog over the field's lower rows. On "My
    // Offers" an item dropped on the market is offered for sale.
    GUIDialog* market = Dialog(GameIds::kMarketDialog, ScreenX(96) - 5, ScreenY(104) - 5, 64, 32);
    game().market->currentTab = MarketDialog::kOwnTab;
    Drag({101, 100, 7}, {96, 104, 7});
    EXPECT_TRUE(Sent().empty()) << "the sell offer opens instead";
    EXPECT_EQ(game().market->sellOfferItem, uint32_t(kStack));
    EXPECT_NE(client->app->gui->FindControl(GameIds::kSellOfferDialog), nullptr);
    game().market->Close();
    client->app->gui->RemoveControl(market, true);

    Dialog(GameIds::kBrewingDialog, ScreenX(96) - 5, ScreenY(104) - 5, 64, 32);
    Drag({102, 100, 7}, {96, 104, 7});
    EXPECT_EQ(Sent(), Requests{"move 102 100 7 -> 65535 65533 255 x1"});
    // Any other dialog is no place to drop on.
    Dialog(777, ScreenX(104) - 5, ScreenY(104) - 5, 64, 32);
    Drag({102, 100, 7}, {104, 104, 7});
    EXPECT_TRUE(Sent().empty());
    EXPECT_FALSE(actions().IsDragging());
}

// A right click on a dialog's drop area belongs to that dialog: no use
// request for the area's pseudo-position goes out, whatever the dialog does
// with the click itself.
TEST_F(ThingActionsTest, ARightClickOnADialogsDropAreaUsesNothing) {
    const struct {
        const char* name;
        int32_t dialogId;  // a plain dialog of that id over the field; 0 for the trade
        Requests sent;
    } cases[] = {
        {"the market", GameIds::kMarketDialog, {}},
        {"brewing", GameIds::kBrewingDialog, {}},
        {"the NPC shop", GameIds::kNpcShopDialog, {}},
        {"the hotkey editor", GameIds::kHotkeyEditor, {}},
        {"the trade's own item", 0, {"trade 4 slot 0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Enter();
        Put({99, 99, 7}, new Thing(kLever, 1));
        const int x = ScreenX(99);
        const int y = ScreenY(99);
        if (c.dialogId) {
            Dialog(c.dialogId, x - 20, y - 20, 64, 64);
        } else {
            // The own box starts 20 right of and 50 below the dialog's corner.
            client->protocol->tradeWindow = new TradeWindow("Bob");
            client->protocol->tradeWindow->Show();
            GUIControl* trade = client->app->gui->FindControl(TradeWindow::kDialogId);
            ASSERT_NE(trade, nullptr);
            trade->MoveBy(x - 30 - trade->x, y - 60 - trade->y);
            client->protocol->tradeWindow->AddItem(kLever, 1, 0, true);
        }
        ASSERT_TRUE(ThingActions::IsDialogDropArea(actions().PositionAt(x, y, false)));
        Event(InputEvent::RightDown, x, y);
        EXPECT_EQ(Sent(), c.sent);
        EXPECT_EQ(Menu(), nullptr);
        fixture.client.reset();
    }
}

TEST_F(ThingActionsTest, AContainerSlotZeroNamesNoThingAndSendsNothing) {
    Enter();
    auto* container = new Container(GameIds::kFirstContainerWindow, 0);
    container->Create("Backpack", 165, 88);
    game().SetContainerWindow(container, 0);
    EXPECT_EQ(actions().ThingAt(Position{65534, 0, 0}), nullptr);
    EXPECT_EQ(actions().ThingAt(Position{65534, 20, 1}), nullptr);
    EXPECT_EQ(actions().ThingAt(Position{65534, -1, 1}), nullptr);
    actions().dragSource = Position{65534, 0, 0};
    Event(InputEvent::LeftUp, ScreenX(101), ScreenY(99));
    EXPECT_TRUE(Sent().empty());
    EXPECT_FALSE(actions().IsDragging());
}

TEST_F(ThingActionsTest, TheContextMenuOffersWhatTheTileAndItsCreaturesAllow) {
    const struct {
        const char* name;
        std::vector<int> items;  // put on (99, 99) in this order: the last is listed first
        bool creature;           // the NPC moves onto (99, 99)
        bool ctrl, shift;
        Requests sent;
        std::vector<std::string> rows;  // of the menu; empty for none
    } cases[] = {
        {"one usable item is used at once", {kLever}, false, false, false, {"use 99 99 7 value 4020"}, {}},
        {"two items make a menu of 46", {kChest, kLever}, false, false, false, {}, {"Use lever", "Open chest"}},
        {"an item and a creature make 66", {kLever}, true, false, false, {}, {"Use lever", "", "Attack Wanderer"}},
        {"Ctrl without disablemenu attacks at once", {kLever}, true, true, false,
         {"targets " + std::to_string(kNpcId) + " 1"}, {}},
        {"Ctrl uses the tile without a menu", {kLever, kChest}, false, true, false, {"use 99 99 7 value 0"}, {}},
        {"plain ground offers nothing", {}, false, false, false, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Enter();
        for (int id : c.items)
            Put({99, 99, 7}, new Thing(id, 1));
        if (c.creature) {
            game().map->GetTile(101, 101, 7)->RemoveThing(npc);
            npc->SetPosition(99, 99, 7);
            Put({99, 99, 7}, npc);
        }
        RightClick({99, 99, 7}, c.ctrl, c.shift);
        EXPECT_EQ(Sent(), c.sent);
        GUIMenu* menu = Menu();
        ASSERT_EQ(menu != nullptr, !c.rows.empty());
        if (menu) {
            std::vector<std::string> rows;
            for (const auto& entry : menu->entries)
                rows.push_back(entry.text);
            EXPECT_EQ(rows, c.rows);
            EXPECT_EQ(menu->height, 6 + 20 * int(c.rows.size()));
            EXPECT_EQ(menu->width, 150);
        }
        fixture.client.reset();
    }
}

TEST_F(ThingActionsTest, MenuRowsActOnTheirOwnEntries) {
    Enter();
    Put({99, 99, 7}, new Thing(kLever, 1));
    // A creature whose id would overflow id + 100000 stands there too.
    AddCreature(kHugeId, {99, 99, 7}, "Giant");
    RightClick({99, 99, 7});
    ASSERT_NE(Menu(), nullptr);
    Choose(1);  // the divider
    EXPECT_TRUE(Sent().empty()) << "the divider is no choice";
    RightClick({99, 99, 7});
    Choose(2);
    EXPECT_EQ(Sent(), Requests{"targets " + std::to_string(kHugeId) + " 1"});
    EXPECT_EQ(Menu(), nullptr) << "the release closed it";

    RightClick({99, 99, 7});
    Choose(0);
    EXPECT_EQ(Sent(), Requests{"use 99 99 7 value 4020"});
    // A menu's creature icons are freed with it.
    RightClick({99, 99, 7});
    actions().CloseMenu();
    EXPECT_TRUE(actions().menuIcons.empty());
    EXPECT_EQ(Menu(), nullptr);
}

// At a low frame rate the window procedure can hand a press and its release
// to the GUI before the main loop reads the press: the release has chosen the
// row and closed the menu by then, and the press must not start a walk to the
// ground under the row.
TEST_F(ThingActionsTest, AMenuRowChosenBeforeTheLoopReadsThePressOnlyUsesTheThing) {
    Enter();
    Put({99, 99, 7}, new Thing(kLever, 1));
    Put({99, 99, 7}, new Thing(kChest, 1));
    RightClick({99, 99, 7});
    GUIMenu* menu = Menu();
    ASSERT_NE(menu, nullptr);
    const int64_t at = int64_t(menu->x + 40) | (int64_t(menu->y + 3 + 10) << 16);
    KEngine2* app = client->app;
    app->HandleMessage(wm::kLeftButtonDown, 0, at);
    app->HandleMessage(wm::kLeftButtonUp, 0, at);
    ASSERT_EQ(Menu(), nullptr) << "the release closed the menu";
    while (app->HasEvents())
        game().HandleEvent(app->PopEvent());
    const Requests sent = Sent();
    ASSERT_EQ(sent.size(), 1u) << (sent.empty() ? "" : sent.back());
    EXPECT_EQ(sent[0].rfind("use 99 99 7", 0), 0u) << sent[0];
}

TEST_F(ThingActionsTest, DisableMenuInvertsCtrl) {
    for (bool disable : {false, true}) {
        SCOPED_TRACE(disable ? "disablemenu on" : "disablemenu off");
        Enter(std::string("disablemenu=") + (disable ? "true" : "false") + "\n");
        Put({101, 101, 7}, new Thing(kLever, 1));  // under the NPC
        RightClick({101, 101, 7}, /*ctrl=*/disable);
        EXPECT_NE(Menu(), nullptr) << "the menu mode";
        EXPECT_TRUE(Sent().empty());
        client->app->gui->OnMouseUp(0, 0);  // a release anywhere closes it
        RightClick({101, 101, 7}, /*ctrl=*/!disable);
        EXPECT_EQ(Sent(), Requests{"targets " + std::to_string(kNpcId) + " 1"}) << "attacks at once";
        fixture.client.reset();
    }
}

TEST_F(ThingActionsTest, ShiftRightClickOnThePlayerChangesTheOutfit) {
    Enter();
    Put(kHome, new Thing(kLever, 1));
    RightClick(kHome);  // without Shift the player is not offered
    EXPECT_EQ(Sent(), Requests{"use 100 100 7 value 4020"});
    RightClick(kHome, false, true);
    ASSERT_NE(Menu(), nullptr);
    EXPECT_EQ(Menu()->entries.back().text, "Change Outfit");
    Choose(2);
    EXPECT_EQ(Sent(), Requests{"outfit"});

    client->settings->SetDisableMenu(true);
    RightClick(kHome, false, true);
    EXPECT_EQ(Sent(), Requests{"outfit"}) << "the menu-less mode asks at once";
}

TEST_F(ThingActionsTest, AttackFollowsWithAutofollow) {
    Enter("autofollow=true\n");
    actions().walkGoal = Position{105, 105, 7};
    actions().Attack(kNpcId);
    EXPECT_EQ(Sent(), Requests{"targets " + std::to_string(kNpcId) + " " + std::to_string(kNpcId)});
    EXPECT_TRUE(ThingActions::IsZero(actions().GetWalkGoal()));
    game().map->SetTargetPair(kNpcId, kNpcId);
    actions().Attack(kNpcId);
    EXPECT_EQ(Sent(), Requests{"targets " + std::to_string(kNpcId) + " 1"}) << "already followed";
}

TEST_F(ThingActionsTest, WalksNearFarAndAgainWhenTheServerInterrupts) {
    Enter();
    // Nothing to resume yet.
    actions().ResumeWalk();
    EXPECT_TRUE(Sent().empty());

    // Beyond the tile window the minimap knows nothing: a click on the view
    // could not get there, the minimap's far walk does.
    const Position far{125, 100, 7};
    actions().WalkTo(far, false);
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(ThingActions::IsZero(actions().GetWalkGoal()));
    actions().WalkTo(far, true);
    Requests sent = Sent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[2].substr(0, 16), "walk 125 100 7 [");
    EXPECT_EQ(actions().GetWalkGoal(), far);
    ASSERT_FALSE(game().effects->records.empty());
    EXPECT_EQ(game().effects->records.back().id, ThingActions::kGoalMarkEffect);
    EXPECT_EQ(game().effects->records.back().x, 125);

    // The server interrupts the walk (0x2e): the far search runs again from
    // where the player stands.
    actions().ResumeWalk();
    EXPECT_EQ(Sent(), sent);

    // Another floor is refused without a word.
    actions().WalkTo(Position{101, 101, 6}, false);
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(ThingActions::IsZero(actions().GetWalkGoal()));

    // Escape: the empty path and no targets at all.
    actions().SetWalkGoal(far);
    KeyDown(platform::kVkEscape);
    EXPECT_EQ(Sent(), (Requests{"walk 0 0 0 []", "targets 0 0"}));
    EXPECT_TRUE(ThingActions::IsZero(actions().GetWalkGoal()));
    actions().ResumeWalk();
    EXPECT_TRUE(Sent().empty());
}

TEST_F(ThingActionsTest, NoPathSaysSoAndSendsNothing) {
    Enter();
    // Walls all round (98, 96).
    for (int x = 97; x <= 99; ++x)
        for (int y = 95; y <= 97; ++y)
            if (x != 98 || y != 96)
                Put({x, y, 7}, new Thing(kWall, 1));
    actions().SetWalkGoal(Position{1, 1, 7});
    actions().WalkTo(Position{98, 96, 7}, false);
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(ThingActions::IsZero(actions().GetWalkGoal()));
    EXPECT_EQ(StatusLine::Instance()->statusText, "No path found or target too far away.");
}

TEST_F(ThingActionsTest, KeyboardStepsCancelOnlyAMouseWalk) {
    Enter();
    game().map->Hooks().StopMouseWalk();
    EXPECT_TRUE(Sent().empty()) << "no walk, nothing to cancel";
    actions().SetFollowed(kNpcId);
    game().map->Hooks().StopMouseWalk();
    EXPECT_EQ(Sent(), (Requests{"walk 0 0 0 []", "targets 1 0"}));
    EXPECT_EQ(actions().GetFollowedId(), 0u);
}

// A quick tap of a movement key, down and up between two frames, still
// walks one step; the held state decides the frames after it.
TEST_F(ThingActionsTest, AMovementKeyTappedWithinOneFrameWalksOnce) {
    Enter();
    Event(InputEvent::KeyDown, platform::kVkDown);
    Event(InputEvent::KeyUp, platform::kVkDown);
    game().Update();
    EXPECT_EQ(Sent(), Requests{"0x04"});
    EXPECT_EQ(player->position, (Position{100, 101, 7}));
    player->walkProgress = 1.0f;
    player->stopped = 1;
    game().Update();
    EXPECT_TRUE(Sent().empty()) << "the tap counted once";

    // Ctrl held as the key went down, released with it before the update:
    // the tap turns the player and takes no step.
    InputEvent tap;
    tap.type = InputEvent::KeyDown;
    tap.a = platform::kVkRight;
    tap.modifiers = InputEvent::kCtrlHeld;
    game().HandleEvent(tap);
    Event(InputEvent::KeyUp, platform::kVkRight);
    game().Update();
    const Requests turn = Sent();
    EXPECT_EQ(turn.size(), 1u);
    EXPECT_NE(turn, Requests{"0x06"}) << "no step east";
    EXPECT_EQ(player->position, (Position{100, 101, 7}));
}

// While the player walks, the view is drawn shifted by the player's walk
// offset; the mark under the mouse follows what is drawn there.
TEST_F(ThingActionsTest, TheHoverMarkFindsTheCreatureUnderTheMouseDuringAStep) {
    Enter();
    player->direction = 4;
    player->Step();  // the clock stands still: drawn on the old tile all along
    DrawFrame();
    ASSERT_EQ(game().viewOffsetX, -32);
    Map& map = *game().map;
    const int x = map.viewX + (101 - map.camera->GetX()) * map.tileWidth - game().viewOffsetX + 16;
    const int y = map.viewY + (101 - map.camera->GetY()) * map.tileHeight - game().viewOffsetY + 16;
    client->app->gui->OnMouseMove(x, y);
    game().Update();
    EXPECT_EQ(map.hoverTargetId, kNpcId);
    // A tile to its right there is nobody.
    client->app->gui->OnMouseMove(x + map.tileWidth, y);
    game().Update();
    EXPECT_EQ(map.hoverTargetId, 0u);
}

}  // namespace
