// The hotkey bar: its geometry and hit tests, the stored assignments, what
// performing a slot sends, the editor's opening, the server's timers and
// what the bar draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "client/ConfigFile.h"
#include "client/Settings.h"
#include "dialogs/character/HotkeyDialog.h"
#include "engine/Clock.h"
#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIManager.h"
#include "game/HotkeyBar.h"
#include "game/HotkeyGeometry.h"
#include "net/Connection.h"
#include "protocol/Protocol.h"
#include "sidewindows/SidePanel.h"
#include "tests/support/GameFixture.h"
#include "tests/support/DrawnText.h"

using namespace hotkeys;

namespace {

using Bytes = std::vector<uint8_t>;

BarRect Bar(float x, float y, float width, float height) { return BarRect{x, y, width, height}; }

}  // namespace

// --- Pure geometry ---

TEST(HotkeyGeometryTest, SlotsFollowTheBarsLengthAndThickness) {
    const struct {
        const char* name;
        int side;
        BarRect bar;
        int thickness;
        int slotCount;
        SlotCorner firstMain;
        SlotCorner firstFight;
        SlotCorner lastFight;
    } cases[] = {
        // Two rows of 12 centred: (1000 - 480 + 19) / 2 + 3 = 272.
        {"horizontal 1000 at 94", kTop, Bar(0, 0, 1000, 94), 94, 12, {272, 9}, {272, 51}, {272 + 440, 51}},
        // One line of 24, 960 pixels centred: (1000 - 960 + 19) / 2 + 3 = 32.
        {"horizontal 1000 at 52", kBottom, Bar(0, 500, 1000, 52), 52, 12, {32, 509}, {512, 509}, {512 + 440, 509}},
        // The two rows need a thickness above 89.
        {"horizontal 1000 at 89", kTop, Bar(0, 0, 1000, 89), 89, 12, {32, 9}, {512, 9}, {512 + 440, 9}},
        {"horizontal 1000 at 90", kTop, Bar(0, 0, 1000, 90), 90, 12, {272, 9}, {272, 51}, {272 + 440, 51}},
        // 988 leaves exactly 960 after the page control: not more, so two rows' places.
        {"horizontal 988 at 52", kTop, Bar(0, 0, 988, 52), 52, 12, {266, 9}, {266, 51}, {266 + 440, 51}},
        // A thin short bar keeps the fight row beside, outside the bar.
        {"horizontal 600 at 52", kTop, Bar(100, 0, 600, 52), 52, 12, {172, 9}, {172, 51}, {172 + 440, 51}},
        {"vertical 700 at 70", kLeft, Bar(0, 0, 70, 562), 70, 12, {9, 53}, {51, 53}, {51, 53 + 440}},
        {"67 long", kTop, Bar(0, 0, 67, 94), 94, 0, {46, 9}, {46, 51}, {46 + 440, 51}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const BarLayout layout = LayoutBar(c.side, c.bar, c.thickness);
        EXPECT_EQ(layout.slotCount, c.slotCount);
        EXPECT_FLOAT_EQ(layout.main[1].x, c.firstMain.x);
        EXPECT_FLOAT_EQ(layout.main[1].y, c.firstMain.y);
        EXPECT_FLOAT_EQ(layout.fight[1].x, c.firstFight.x);
        EXPECT_FLOAT_EQ(layout.fight[1].y, c.firstFight.y);
        EXPECT_FLOAT_EQ(layout.fight[12].x, c.lastFight.x);
        EXPECT_FLOAT_EQ(layout.fight[12].y, c.lastFight.y);
    }
}

TEST(HotkeyGeometryTest, TheOneLineBarSpansNineHundredSixtyPixelsCentred) {
    const BarLayout layout = LayoutBar(kTop, Bar(0, 0, 1000, 52), 52);
    const float left = layout.main[1].x;
    const float right = layout.fight[12].x + kSlotSize;
    EXPECT_FLOAT_EQ(right - left, 23 * 40 + 34);
    // Centred within the rounding of the page control's offset.
    EXPECT_NEAR(left, 1000 - right, 20);
}

TEST(HotkeyGeometryTest, PageButtonsSitBeforeTheFirstSlot) {
    const BarLayout horizontal = LayoutBar(kTop, Bar(0, 0, 1000, 94), 94);
    EXPECT_EQ(horizontal.previous.x, 272 - 19);
    EXPECT_EQ(horizontal.previous.y, 10);
    EXPECT_EQ(horizontal.previous.icon, 5);
    EXPECT_EQ(horizontal.next.y, 94 - 22);
    EXPECT_EQ(horizontal.next.icon, 6);
    const BarLayout vertical = LayoutBar(kRight, Bar(906, 0, 94, 562), 94);
    EXPECT_EQ(vertical.previous.icon, 8);
    EXPECT_EQ(vertical.next.icon, 9);
    EXPECT_EQ(vertical.previous.x, 906 + 10);
    EXPECT_EQ(vertical.next.x, 906 + 94 - 22);
    EXPECT_EQ(vertical.previous.width, 12);
    EXPECT_EQ(vertical.previous.height, 14);
}

TEST(HotkeyGeometryTest, DockingFollowsTheLeftPanel) {
    const struct {
        const char* name;
        int side;
        int left;
        int right;
        int dockedSide;
        BarRect rect;
    } cases[] = {
        {"left panel, left becomes top", kLeft, 165, 165, kTop, Bar(165, 0, 670, 94)},
        {"left panel, right becomes top", kRight, 165, 0, kTop, Bar(165, 0, 835, 94)},
        {"left panel, bottom", kBottom, 165, 165, kBottom, Bar(165, 700 - 138 - 94, 670, 94)},
        {"no left panel, top becomes left", kTop, 0, 165, kLeft, Bar(0, 0, 94, 562)},
        {"no left panel, bottom becomes left", kBottom, 0, 0, kLeft, Bar(0, 0, 94, 562)},
        {"no left panel, right", kRight, 0, 165, kRight, Bar(1000 - 165 - 94, 0, 94, 562)},
        {"panels wider than the window", kTop, 600, 600, kTop, Bar(600, 0, 5, 94)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Dock dock = DockBar(c.side, 94, 1000, 700, c.left, c.right, 138);
        EXPECT_EQ(dock.side, c.dockedSide);
        EXPECT_FLOAT_EQ(dock.rect.x, c.rect.x);
        EXPECT_FLOAT_EQ(dock.rect.y, c.rect.y);
        EXPECT_FLOAT_EQ(dock.rect.width, c.rect.width);
        EXPECT_FLOAT_EQ(dock.rect.height, c.rect.height);
    }
}

TEST(HotkeyGeometryTest, GripIsTheHalfOpenBandFacingTheView) {
    const BarRect bar = Bar(100, 50, 94, 400);
    const struct {
        int side;
        int x;
        int y;
        bool hit;
    } cases[] = {
        {kLeft, 100 + 89, 50, true},   {kLeft, 100 + 93, 449, true},  {kLeft, 100 + 94, 60, false},
        {kLeft, 100 + 88, 60, false},  {kLeft, 190, 450, false},      {kRight, 100, 60, true},
        {kRight, 104, 60, true},       {kRight, 105, 60, false},      {kTop, 120, 50 + 395, true},
        {kTop, 120, 50 + 400, false},  {kBottom, 120, 50, true},      {kBottom, 120, 55, false},
        {7, 100, 50, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HitGrip(c.side, bar, c.x, c.y), c.hit) << c.side << " " << c.x << "," << c.y;
}

TEST(HotkeyGeometryTest, DraggingChoosesTheSideAndTheThickness) {
    // Thickness: the distance from the outer edge, kept within 52 .. 94.
    EXPECT_EQ(DragThickness(kLeft, Bar(0, 0, 94, 500), 200, 10), 94);
    EXPECT_EQ(DragThickness(kLeft, Bar(0, 0, 94, 500), 10, 10), 52);
    EXPECT_EQ(DragThickness(kLeft, Bar(0, 0, 94, 500), 70, 10), 70);
    EXPECT_EQ(DragThickness(kRight, Bar(906, 0, 94, 500), 930, 10), 70);
    EXPECT_EQ(DragThickness(kTop, Bar(165, 0, 670, 94), 300, 93), 93);
    EXPECT_EQ(DragThickness(kBottom, Bar(165, 468, 670, 94), 300, 500), 62);
    // Side: halves of the view.
    EXPECT_EQ(DragSide(true, 1000, 700, 165, 138, 500, 280), kTop);
    EXPECT_EQ(DragSide(true, 1000, 700, 165, 138, 500, 281), kBottom);
    EXPECT_EQ(DragSide(false, 1000, 700, 165, 138, 416, 10), kLeft);
    EXPECT_EQ(DragSide(false, 1000, 700, 165, 138, 417, 10), kRight);
}

TEST(HotkeyGeometryTest, NamesAndLabels) {
    EXPECT_EQ(SectionName(3, false), "spells3");
    EXPECT_EQ(SectionName(10, true), "fightspells10");
    EXPECT_EQ(SlotKey(12), "F12");
    const std::vector<std::string> fight = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "M1", "M2"};
    for (int i = 1; i <= 12; ++i) {
        EXPECT_EQ(SlotLabel(i, false), "F" + std::to_string(i));
        EXPECT_EQ(SlotLabel(i, true), fight[size_t(i - 1)]);
    }
}

// Above 4 294 967 seconds, seconds * 1000 wraps in 32 bits and the timer
// would end within a second.
TEST(HotkeyGeometryTest, TimersCountTheirLengthIn64Bits) {
    const Timer shortTimer{1000, 10};
    EXPECT_TRUE(shortTimer.Running(1000));
    // The length less the whole seconds gone: 10 for the first second, 1 for the last.
    EXPECT_EQ(shortTimer.SecondsLeft(1000), 10);
    EXPECT_EQ(shortTimer.SecondsLeft(1000 + 999), 10);
    EXPECT_EQ(shortTimer.SecondsLeft(1000 + 2500), 8);
    EXPECT_EQ(shortTimer.SecondsLeft(1000 + 9999), 1);
    EXPECT_EQ(shortTimer.ShadeHeight(1000), 32);
    EXPECT_EQ(shortTimer.ShadeHeight(1000 + 5000), 16);
    EXPECT_TRUE(shortTimer.Running(1000 + 9999));
    EXPECT_FALSE(shortTimer.Running(1000 + 10000));
    EXPECT_EQ(shortTimer.SecondsLeft(1000 + 10000), 0);

    const Timer longTimer{5000, 4294968};  // * 1000 is 704 in 32 bits
    EXPECT_TRUE(longTimer.Running(5000 + 60000));
    EXPECT_EQ(longTimer.SecondsLeft(5000 + 60000), 4294968 - 60);
    // The tick counter wraps under a running timer.
    const Timer acrossWrap{0xFFFFF000u, 30};
    EXPECT_TRUE(acrossWrap.Running(0x00001000u));
    // No length: never running, no division.
    EXPECT_FALSE((Timer{5000, 0}.Running(5000)));
    EXPECT_EQ((Timer{5000, 0}.ShadeHeight(5000)), 0);
}

// --- The bar on the game screen ---

class HotkeyBarTest : public GameTest {
protected:
    void StartBar(const std::string& ini = "") {
        Start(ini);
        bar = game().hotkeyBar;
        connection = client->protocol->connection;
        connection->ClearQueues();
        TakeEvents();
    }
    // Puts the bar on the top edge of a 1000-pixel strip, as if docked there.
    void Place(int side, float x, float y, float width, float height, int thickness) {
        bar->side = side;
        bar->x = x;
        bar->y = y;
        bar->width = width;
        bar->height = height;
        bar->thickness = thickness;
        bar->Layout();
    }
    // The queued requests' payloads, opcode first, and the queue emptied.
    std::vector<Bytes> Sent() {
        std::vector<Bytes> payloads;
        for (const Bytes& frame : connection->QueuedFrames())
            payloads.emplace_back(frame.begin() + 2, frame.end());
        connection->ClearQueues();
        return payloads;
    }
    static Bytes Cast(int spell, const std::string& target = "") {
        Bytes bytes = {0x23, uint8_t(spell & 0xFF), uint8_t(spell >> 8), uint8_t(target.size()), 0};
        bytes.insert(bytes.end(), target.begin(), target.end());
        return bytes;
    }
    void Press(const SlotCorner& corner, int dx = 5, int dy = 5) {
        Event(InputEvent::LeftDown, int(corner.x) + dx, int(corner.y) + dy);
        Event(InputEvent::LeftUp, int(corner.x) + dx, int(corner.y) + dy);
    }

    HotkeyBar* bar = nullptr;
    Connection* connection = nullptr;
};

TEST_F(HotkeyBarTest, AFreshIniHasTheFirstSpellOnF1OfPageOneOnly) {
    StartBar();
    EXPECT_EQ(bar->GetSlotAction(1, 1, false), HotkeyBar::kDefaultSpell);
    EXPECT_EQ(bar->GetSlotType(1, 1, false), 0);
    EXPECT_EQ(bar->GetSlotParam(1, 1, false), "");
    EXPECT_EQ(bar->GetSlotAction(1, 1, true), 0) << "the fight row's F1";
    EXPECT_EQ(bar->GetSlotAction(2, 1, false), 0);
    EXPECT_EQ(bar->GetSlotAction(1, 2, false), 0);
    EXPECT_EQ(bar->mainRow[1].action, HotkeyBar::kDefaultSpell);
    KeyDown(0x70);
    EXPECT_EQ(Sent(), std::vector<Bytes>{Cast(1418)});

    // Once page 1 is saved, F1 is what it holds.
    client->settings->options->SetInt("spells1", "F2", 5);
    EXPECT_EQ(bar->GetSlotAction(1, 1, false), 0);
    client->settings->options->SetInt("spells1", "F1", 77);
    EXPECT_EQ(bar->GetKeyAction(1, "F1", false), 77);
}

TEST_F(HotkeyBarTest, PerformingASlotSendsWhatItsTypeAsks) {
    StartBar("[spells1]\nF2=1500\nF2param=Rotworm Queen\nF3=2000\nF3type=1\nF4=246\nF4type=2\n"
             "F5=250\nF5type=3\nF6=-4\n[fightspells1]\nF1=1501\n[spells2]\nF3=1502\n");
    const struct {
        const char* name;
        int slot;
        bool fight;
        std::vector<Bytes> sent;
    } cases[] = {
        {"a spell with its target", 2, false, {Cast(1500, "Rotworm Queen")}},
        // The use at (0, 0, 0): x, y, floor, the first free container slot, the item.
        {"an item", 3, false, {{0x0F, 0, 0, 0, 0, 0, 0, 0xD0, 0x07, 0, 0}}},
        {"loot with no container open", 4, false, {}},
        {"attack nearest monster", 5, false, {}},
        {"a negative id", 6, false, {}},
        {"an empty slot", 7, false, {}},
        {"the fight row", 1, true, {Cast(1501)}},
    };
    for (const auto& c : cases) {
        bar->TriggerSlot(c.slot, c.fight);
        EXPECT_EQ(Sent(), c.sent) << c.name;
    }
    // Read from the options of the current page, not from the last layout.
    KeyDown(0x72);
    KeyUp(0x72);
    bar->page = 2;
    KeyDown(0x72);
    KeyUp(0x72);
    client->settings->options->SetInt("spells2", "F3", 1503);
    KeyDown(0x72);
    EXPECT_EQ(Sent(), (std::vector<Bytes>{{0x0F, 0, 0, 0, 0, 0, 0, 0xD0, 0x07, 0, 0}, Cast(1502), Cast(1503)}));
}

TEST_F(HotkeyBarTest, KeysAndButtonsReachTheirSlotsAndM2OnlyByAClick) {
    std::string ini = "[spells1]\n";
    std::string fight = "[fightspells1]\n";
    for (int i = 1; i <= 12; ++i) {
        ini += "F" + std::to_string(i) + "=" + std::to_string(100 + i) + "\n";
        fight += "F" + std::to_string(i) + "=" + std::to_string(200 + i) + "\n";
    }
    StartBar(ini + fight);
    fixture.platform.keys.down.insert(platform::kVkControl);
    KeyDown('F');  // hotkey mode: digits are hotkeys
    fixture.platform.keys.down.clear();
    for (int key = 0x70; key <= 0x7B; ++key) {
        KeyDown(key);
        KeyUp(key);
    }
    for (int key = '0'; key <= '9'; ++key) {
        KeyDown(key);
        KeyUp(key);
    }
    Event(InputEvent::MiddleUp, 5, 5);
    std::vector<Bytes> expected;
    for (int i = 1; i <= 12; ++i)
        expected.push_back(Cast(100 + i));
    expected.push_back(Cast(210));  // "0"
    for (int i = 1; i <= 9; ++i)
        expected.push_back(Cast(200 + i));
    expected.push_back(Cast(211));  // the middle button
    EXPECT_EQ(Sent(), expected);

    Place(kTop, 0, 0, 1000, 94, 94);
    Press(bar->GetLayout().fight[12]);
    EXPECT_EQ(Sent(), std::vector<Bytes>{Cast(212)});
}

TEST_F(HotkeyBarTest, APressOnTheBarPerformsASlotOrStartsADragOrAResize) {
    StartBar("[fightspells1]\nF1=77\n");
    // A thin short bar: the fight row reaches over the grip band.
    Place(kTop, 100, 0, 600, 52, 52);
    const BarLayout& layout = bar->GetLayout();
    ASSERT_LT(layout.fight[1].y, 52);
    bar->OnMouseDown(int(layout.fight[1].x) + 5, 51);
    EXPECT_EQ(Sent(), std::vector<Bytes>{Cast(77)}) << "the slot wins over the grip";
    EXPECT_FALSE(bar->resizing);
    EXPECT_FALSE(bar->dragging);

    bar->OnMouseDown(650, 49);
    EXPECT_TRUE(bar->resizing);
    bar->OnMouseUp(650, 49);
    EXPECT_FALSE(bar->resizing);
    bar->OnMouseDown(650, 20);
    EXPECT_TRUE(bar->dragging);
    bar->OnMouseUp(650, 20);

    // Over a page button a control takes the press.
    const ButtonRect& button = layout.previous;
    bar->OnMouseDown(button.x + 2, button.y + 2);
    EXPECT_FALSE(bar->dragging);
    EXPECT_FALSE(bar->resizing);
    EXPECT_EQ(bar->page, 1);
    // Outside the bar nothing happens.
    bar->OnMouseDown(800, 20);
    EXPECT_FALSE(bar->dragging);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(HotkeyBarTest, AVerticalBarSeventyThickStillHitsTheVisiblePartOfTheFightRow) {
    StartBar("[fightspells1]\nF1=88\n");
    // Over the field, clear of the side windows.
    Place(kLeft, 300, 0, 70, 562, 70);
    const SlotCorner fight = bar->GetLayout().fight[1];
    EXPECT_FLOAT_EQ(fight.x, 351);
    bar->OnMouseDown(369, int(fight.y) + 10);
    EXPECT_EQ(Sent(), std::vector<Bytes>{Cast(88)});
    bar->OnMouseDown(375, int(fight.y) + 10);  // the part outside the bar
    EXPECT_TRUE(Sent().empty());

    // The fight row is clipped 2 pixels inside the inner edge.
    engine().Clear();
    DrawFrame();
    bool clipped = false;
    for (const RecordedCall* call : engine().Calls("EnableClipper"))
        clipped = clipped || (call->args[0] == 302 && call->args[2] == 368);
    EXPECT_TRUE(clipped);
}

TEST_F(HotkeyBarTest, DraggingMovesTheBarToAnotherEdgeAndResizesIt) {
    StartBar();
    GameInterface& g = game();
    ASSERT_GT(g.leftPanel->GetWidth(), 0);
    g.LayoutChatArea();
    EXPECT_EQ(bar->side, kTop) << "a left panel: top or bottom only";
    EXPECT_EQ(bar->thickness, 94);

    bar->OnMouseDown(700, 47);  // between the rows
    ASSERT_TRUE(bar->dragging);
    bar->OnMouseMove(700, 500);
    EXPECT_EQ(bar->side, kBottom);
    EXPECT_FLOAT_EQ(bar->y, float(700 - g.chatHeight - 94));
    bar->OnMouseUp(700, 500);
    bar->OnMouseMove(700, 10);
    EXPECT_EQ(bar->side, kBottom) << "released: no more dragging";

    // The grip of a bottom bar is its top band; dragging it far gives 94, near 52.
    const int top = int(bar->y);
    bar->OnMouseDown(700, top + 1);
    ASSERT_TRUE(bar->resizing);
    bar->OnMouseMove(700, top + 94 - 200);
    EXPECT_EQ(bar->thickness, 94);
    bar->OnMouseMove(700, top + 94 - 10);
    EXPECT_EQ(bar->thickness, 52);
    EXPECT_FLOAT_EQ(bar->height, 52);
    EXPECT_FLOAT_EQ(bar->y, float(700 - g.chatHeight - 52));
    bar->OnMouseUp(0, 0);

    // The layout keeps the new shape.
    const GameLayout layout = g.CurrentLayout();
    EXPECT_EQ(layout.spellBoxSize, 52);
    EXPECT_EQ(layout.spellBoxPosition, kBottom);

    // Without a left panel only left or right.
    g.leftPanel->SetWidth(0);
    g.LayoutChatArea();
    EXPECT_EQ(bar->side, kLeft);
}

TEST_F(HotkeyBarTest, PagesRunFromOneToTen) {
    StartBar("[spells3]\nF1=333\n");
    Place(kTop, 0, 0, 1000, 94, 94);
    HotkeyBar::OnPrevPage(bar);
    EXPECT_EQ(bar->page, 1);
    for (int i = 0; i < 12; ++i)
        HotkeyBar::OnNextPage(bar);
    EXPECT_EQ(bar->page, 10);
    bar->page = 2;
    HotkeyBar::OnNextPage(bar);
    EXPECT_EQ(bar->mainRow[1].action, 333) << "the page's slots come with it";
    EXPECT_EQ(bar->previousPage->icon, 5);
    EXPECT_EQ(bar->nextPage->icon, 6);
}

TEST_F(HotkeyBarTest, ARightClickOpensTheEditorForTheSlot) {
    StartBar();
    Place(kTop, 0, 0, 1000, 94, 94);
    const SlotCorner empty = bar->GetLayout().fight[5];
    Event(InputEvent::RightDown, int(empty.x) + 3, int(empty.y) + 3);
    Event(InputEvent::RightUp, int(empty.x) + 3, int(empty.y) + 3);
    EXPECT_EQ(game().hotkeyDialog->slot, 5);
    EXPECT_TRUE(game().hotkeyDialog->fightSet);
    EXPECT_EQ(Sent(), std::vector<Bytes>{{0x22}});
    EXPECT_EQ(client->protocol->actionListFlag, 0);

    // Nowhere near a slot: nothing.
    bar->OnClick(990, 90);
    bar->OnClick(500, 200);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(HotkeyBarTest, UnknownSpellsAskOnceQuietlyForTheList) {
    StartBar("[spells1]\nF1=900\nF2=901\nF2param=Dragon Lord\nF3=2000\nF3type=1\nF4=246\nF4type=2\n"
             "F5=250\nF5type=3\nF6=7\nF6type=9\nF8=-4\nF8type=2\n");
    Place(kTop, 0, 0, 1000, 94, 94);
    GUIManager* gui = client->app->gui;
    DrawFrame();
    DrawFrame();
    EXPECT_EQ(Sent(), std::vector<Bytes>{{0x22}}) << "one request for two unknown spells in two frames";
    EXPECT_EQ(client->protocol->actionListFlag, 1);
    ASSERT_TRUE(gui->tooltips.count(1));
    EXPECT_EQ(gui->tooltips[1]->lines, std::vector<std::string>{"You can not cast this spell."});
    EXPECT_EQ(gui->tooltips[4]->lines, std::vector<std::string>{"Loot all open bodies."});
    EXPECT_EQ(gui->tooltips[5]->lines, std::vector<std::string>{"Attack nearest monster."});
    EXPECT_TRUE(gui->tooltips[6]->lines.empty());
    EXPECT_EQ(gui->tooltips[3]->lines.size(), 1u);
    EXPECT_EQ(gui->tooltips[3]->lines[0].rfind("Use ", 0), 0u);
    EXPECT_FALSE(gui->tooltips.count(7)) << "an empty slot";
    ASSERT_TRUE(gui->tooltips.count(8)) << "a negative id is drawn empty, yet keeps its tooltip";
    EXPECT_EQ(gui->tooltips[8]->lines, std::vector<std::string>{"Loot all open bodies."});
    EXPECT_FALSE(gui->tooltips.count(14)) << "an empty fight slot";

    bar->SetSpellInfo(901, "Great Fireball", 120);
    DrawFrame();
    EXPECT_EQ(gui->tooltips[2]->lines,
              (std::vector<std::string>{"Great Fireball", "120 mana", "", "Target: Dragon Lord"}));
    EXPECT_TRUE(Sent().empty()) << "never asked again while the bar lives";
    EXPECT_EQ(gui->tooltips[2]->x, bar->mainRow[2].x);
    EXPECT_EQ(gui->tooltips[2]->width, 34);
}

TEST_F(HotkeyBarTest, ABarWithNoRoomForASlotRemovesEveryTooltip) {
    StartBar("[spells1]\nF2=901\n");
    GUIManager* gui = client->app->gui;
    for (int key = 1; key <= 25; ++key)
        gui->AddTooltip(key, 0, 0, 1, 1, {"stale"});
    gui->AddTooltip(250, 0, 0, 1, 1, {"a buff"});
    Place(kTop, 0, 0, 67, 94, 94);
    ASSERT_EQ(bar->GetLayout().slotCount, 0);
    Graphics* graphics = client->app->graphics;
    ASSERT_TRUE(graphics->BeginScene());
    engine().Clear();
    bar->Draw();
    graphics->EndScene();
    for (int i = 1; i <= 12; ++i) {
        EXPECT_FALSE(gui->tooltips.count(i)) << i;
        EXPECT_FALSE(gui->tooltips.count(i + 13)) << i + 13;
    }
    EXPECT_TRUE(gui->tooltips.count(250)) << "another part's tooltip stays";
    // Only the frame and the page strip: no slot box.
    for (const RecordedCall* call : engine().Calls("RenderRectangle"))
        EXPECT_NE(uint32_t(call->args[0]), 0x32000000u);
}

TEST_F(HotkeyBarTest, ServerTimersShadeAndCountDown) {
    StartBar("[spells1]\nF1=7\nF2=8\nF2param=Demonlord\n");
    Place(kTop, 0, 0, 1000, 94, 94);
    FakeClock& clock = fixture.platform.clock;
    bar->SetCooldown(7, 30);
    const uint32_t first = GetTicks();
    clock.Advance(5000);
    bar->SetCooldown(7, 10);
    EXPECT_EQ(bar->GetCooldown(7), std::make_pair(first + 5000, 10u)) << "the second replaces the first";
    EXPECT_EQ(bar->GetCooldown(8), std::make_pair(0u, 0u));

    bar->SetShadeTimer(8, 4);
    clock.Advance(1000);  // shade 8: a quarter gone; cooldown 7: 9 s left
    engine().Clear();
    DrawFrame();
    const int sx = int(bar->mainRow[2].x);
    const int sy = int(bar->mainRow[2].y);
    bool shaded = false;
    for (const RecordedCall* call : engine().Calls("RenderRectangle"))
        shaded = shaded || (uint32_t(call->args[0]) == 0xBE000000u && call->args[1] == sx + 1 &&
                            call->args[2] == sy && call->args[3] == 32 && call->args[4] == 32 - 8);
    EXPECT_TRUE(shaded);
    std::vector<std::string> seconds;
    std::vector<std::string> targets;
    for (const DrawnText& text : VisibleTexts(engine(), client->app->font->sheet)) {
        if (text.color == 0xC8FFFFFFu)
            seconds.push_back(text.text);
        if (text.color == 0x8000FFFFu)
            targets.push_back(text.text);
    }
    EXPECT_EQ(seconds, std::vector<std::string>{"9"});
    EXPECT_EQ(targets, std::vector<std::string>{"Demo"}) << "the target's first four characters";

    clock.Advance(9000);
    engine().Clear();
    DrawFrame();
    for (const DrawnText& text : VisibleTexts(engine(), client->app->font->sheet))
        EXPECT_NE(text.color, 0xC8FFFFFFu) << "the cooldown is over";
    for (const RecordedCall* call : engine().Calls("RenderRectangle"))
        EXPECT_NE(uint32_t(call->args[0]), 0xBE000000u) << "the shade is over";
}

TEST_F(HotkeyBarTest, TimersAndSpellsOfEverySpellIdStayWithinTheirCaps) {
    StartBar();
    FakeClock& clock = fixture.platform.clock;
    const size_t cap = HotkeyBar::kMaxTimers;
    // Long timers fill the cooldowns; one more drops the one started first.
    for (size_t i = 0; i < cap; ++i) {
        bar->SetCooldown(int(1000 + i), 3600);
        clock.Advance(10);
    }
    bar->SetCooldown(1000, 3600);  // a running spell started again takes no room
    EXPECT_EQ(bar->cooldowns.size(), cap);
    bar->SetCooldown(5000, 3600);
    EXPECT_EQ(bar->cooldowns.size(), cap);
    EXPECT_EQ(bar->GetCooldown(1001), std::make_pair(0u, 0u)) << "the first started went";
    EXPECT_NE(bar->GetCooldown(1000).second, 0u);
    EXPECT_NE(bar->GetCooldown(5000).second, 0u);
    // Expired timers go before any running one.
    for (size_t i = 0; i < cap; ++i)
        bar->SetShadeTimer(int(i), i % 2 ? 3600 : 1);
    clock.Advance(2000);
    bar->SetShadeTimer(9999, 5);
    EXPECT_EQ(bar->shadeTimers.size(), cap / 2 + 1);
    EXPECT_EQ(bar->shadeTimers.count(0), 0u);
    EXPECT_EQ(bar->shadeTimers.count(1), 1u);
    // A flood of spell ids keeps the newest names.
    const size_t spells = HotkeyBar::kMaxSpells;
    for (size_t i = 0; i < 3 * spells; ++i)
        bar->SetSpellInfo(int(i), "Spell " + std::to_string(i), 10);
    EXPECT_EQ(bar->spellInfo.size(), spells);
    EXPECT_EQ(bar->spellInfo.count(int(2 * spells - 1)), 0u);
    ASSERT_EQ(bar->spellInfo.count(int(2 * spells)), 1u);
    EXPECT_EQ(bar->spellInfo[int(3 * spells - 1)].name, "Spell " + std::to_string(3 * spells - 1));
}

TEST_F(HotkeyBarTest, EmptySlotsShowTheirKeys) {
    StartBar("[spells1]\nF2=1\n");
    Place(kTop, 0, 0, 1000, 94, 94);
    engine().Clear();
    DrawFrame();
    std::vector<std::string> labels;
    for (const DrawnText& text : VisibleTexts(engine(), client->app->font->sheet))
        if (text.color == 0x80FFFFFFu)
            labels.push_back(text.text);
    const std::vector<std::string> expected = {"F1", "1", "2", "F3", "3", "F4", "4", "F5", "5", "F6", "6",
                                               "F7", "7", "F8", "8", "F9", "9", "F10", "0", "F11", "M1", "F12",
                                               "M2"};
    EXPECT_EQ(labels, expected);
}
