// "Move Items" (dialog 47): the amount of a dropped stack, set with the
// scroll bar or by digits typed while fresh (the 500 ms rule), and the move
// it sends from the drag the mouse actions kept.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/trade/MoveItemsDialog.h"
#include "engine/Font.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIScrollbar.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameControlIds.h"
#include "game/ThingActions.h"
#include "net/Connection.h"
#include "tests/support/DrawnText.h"
#include "tests/support/GuiInput.h"
#include "tests/support/ServerDialogFixture.h"
#include "world/ItemsCache.h"
#include "world/Map.h"
#include "world/Thing.h"
#include "world/Tile.h"

namespace {

// The client is 1000 x 700: the dialog stands at (365, 220), 270 x 190.
constexpr int kX = 365;
constexpr int kY = 220;
// A stackable item: its pictures for 1, 2, 3, 4, 5..19 and 20 or more pieces
// are the ids from here on.
constexpr int kCoins = 110;

TEST(MoveItemsTypeAhead, FreshDigitsSetTheAmountAndStaleOnesAreDropped) {
    const struct {
        const char* name;
        std::string text;
        uint32_t now, editTime;
        int maximum;
        std::string textAfter;
        int amount;
    } cases[] = {
        {"a fresh digit", "1", 1100, 1000, 20, "1", 1},
        {"two fresh digits", "15", 1400, 1000, 20, "15", 15},
        {"exactly 500 ms is still fresh", "2", 1500, 1000, 20, "2", 2},
        {"501 ms drops the text", "2", 1501, 1000, 20, "", -1},
        {"above the count", "25", 1100, 1000, 20, "25", -1},
        {"the whole stack", "20", 1100, 1000, 20, "20", 20},
        {"0 is no amount", "0", 1100, 1000, 20, "0", -1},
        {"a letter", "a", 1100, 1000, 20, "a", -1},
        {"a number behind blanks", " 7", 1100, 1000, 20, " 7", 7},
        {"a digit behind a letter", "x5", 1100, 1000, 20, "x5", -1},
        {"a negative number", "-3", 1100, 1000, 20, "-3", -1},
        {"nothing typed", "", 90000, 1000, 20, "", -1},
        {"the tick counter wrapped, still fresh", "4", 0x00000010, 0xFFFFFF00, 20, "4", 4},
        {"the tick counter wrapped, stale", "4", 0x00000200, 0xFFFFFF00, 20, "", -1},
        {"a key pressed after the frame's tick", "6", 1000, 1200, 20, "", -1},
        {"a stack of 100", "100", 1100, 1000, 100, "100", 100},
        {"far beyond 32 bits", "99999999999", 1100, 1000, 100, "99999999999", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MoveItemsDialog::TypeAhead result =
            MoveItemsDialog::ApplyTypeAhead(c.text, c.now, c.editTime, c.maximum);
        EXPECT_EQ(result.text, c.textAfter);
        EXPECT_EQ(result.amount, c.amount);
    }
}

class MoveItemsTest : public ServerDialogTest {
protected:
    ~MoveItemsTest() override { ItemsCache::Instance()->Set(nullptr, uint16_t(kCoins)); }

    // In the world, with a stack of coins east of the player and the coins'
    // pictures in the graphics file.
    void EnterWithStack(int count) {
        client = &fixture.StartClient("[options]\nfpslimit=0\n",
                                      {{110, 32, 32}, {111, 32, 32}, {112, 32, 32}, {113, 32, 32}, {114, 32, 32},
                                       {115, 32, 32}});
        client->StartGame(false);
        ASSERT_NE(client->game, nullptr);
        connection().SetState(Connection::kConnected);
        StandOnGround();
        auto* record = new ItemRecord();
        record->name = "gold coin";
        record->flags = kItemClickTarget | kItemStackable;
        ItemsCache::Instance()->Set(record, uint16_t(kCoins));
        game().map->GetOrCreateTile(Position{101, 100, 7})->AddThing(new Thing(kCoins, count));
        DrawFrame();
        connection().ClearQueues();
    }
    // The stack dragged one square north, as the game screen gets the mouse.
    void DropStack() {
        Event(InputEvent::LeftDown, ScreenX(101), ScreenY(100));
        Event(InputEvent::LeftUp, ScreenX(101), ScreenY(99));
    }
    GUIScrollbar* Bar() { return Find<GUIScrollbar>(MoveItemsDialog::kAmountBarId); }
    GUITextbox* Typed() { return Find<GUITextbox>(MoveItemsDialog::kTypedBoxId); }
    ThingActions& actions() { return *game().thingActions; }
    GuiInput input() { return GuiInput(*client->app, fixture.platform.keys); }
    // One key typed: the GUI's text box takes the character, the game screen
    // stamps the key press.
    void TypeKey(char key) {
        input().Char(key);
        DeliverEvents();
    }
    int AmountAfterFrame() {
        DrawFrame();
        return Bar()->GetPosition();
    }
    void Wait(uint32_t ms) { fixture.platform.clock.Advance(ms); }
};

Bytes Move(std::vector<uint8_t> from, std::vector<uint8_t> to, uint8_t count) {
    Bytes bytes{0x0E};
    bytes.insert(bytes.end(), from.begin(), from.end());
    bytes.insert(bytes.end(), to.begin(), to.end());
    bytes.push_back(count);
    return bytes;
}

TEST_F(MoveItemsTest, ADroppedStackAsksWithTheWholeStackChosen) {
    EnterWithStack(20);
    DropStack();
    const GUIDialog* dialog = Find<GUIDialog>(MoveItemsDialog::kDialogId);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->title, "Move Items");
    EXPECT_TRUE(Requests().empty());
    EXPECT_TRUE(actions().IsDragging()) << "the drag is kept for the dialog";
    const struct {
        int32_t id;
        std::vector<int> rect;
    } layout[] = {
        {MoveItemsDialog::kDialogId, {kX, kY, 270, 190}},
        {MoveItemsDialog::kAmountBarId, {kX + 27, kY + 41, 15, 83}},
        {MoveItemsDialog::kTypedBoxId, {kX, kY, 0, 0}},
        {MoveItemsDialog::kMoveButtonId, {kX + 40, kY + 155, 90, 25}},
        {MoveItemsDialog::kCancelButtonId, {kX + 140, kY + 155, 90, 25}},
    };
    for (const auto& row : layout) {
        const GUIControl* control = Find<GUIControl>(row.id);
        ASSERT_NE(control, nullptr) << row.id;
        EXPECT_EQ(std::vector<int>({control->x, control->y, control->width, control->height}), row.rect) << row.id;
    }
    EXPECT_EQ(Find<GUIButton>(MoveItemsDialog::kMoveButtonId)->caption, "Move");
    EXPECT_EQ(Find<GUIButton>(MoveItemsDialog::kCancelButtonId)->caption, "Cancel");
    EXPECT_EQ(Bar()->GetMaximum(), 20);
    EXPECT_EQ(Bar()->GetPosition(), 20);
    EXPECT_EQ(Bar()->totalAmount, 20);
    EXPECT_EQ(Typed()->textColor, 0u);
    EXPECT_EQ(gui().focus, Typed());
    EXPECT_EQ(gui().enterButtonId, MoveItemsDialog::kMoveButtonId);
    int lines = 0;
    for (const GUIControl* child : dialog->children)
        if (dynamic_cast<const GUILine*>(child)) {
            ++lines;
            EXPECT_EQ(std::vector<int>({child->x, child->y, child->width, child->height}),
                      std::vector<int>({kX + 7, kY + 144, 256, 1}));
        }
    EXPECT_EQ(lines, 1);

    Redraw();
    const std::string text = "Move 20 out of 20";
    bool drawn = false;
    for (const DrawnText& shown : VisibleTexts(engine(), client->app->font->sheet))
        if (shown.text == "Move20outof20" && shown.color == 0xFFFFFFFF) {
            drawn = true;
            EXPECT_EQ(int(shown.x), kX + 155 - client->app->TextWidth(text) / 2);
        }
    EXPECT_TRUE(drawn);
    // The stack on the map shows twenty coins too.
    const auto twenty = SpriteAt(115);
    EXPECT_NE(std::find(twenty.begin(), twenty.end(), std::make_pair(kX + 139, kY + 51)), twenty.end())
        << "twenty coins";
    EXPECT_EQ(BoxAt(kX + 26, kY + 40, 17, 85), 1) << "the scroll bar's box";
    EXPECT_EQ(BoxAt(kX + 60, kY + 105, 190, 20), 1) << "the amount's box";
    // The panel and the item's frame are single rectangles whose corners
    // are not a box's: the left edges run one pixel further down.
    const uint32_t dark = gui().root->darkColor;
    const uint32_t light = gui().root->lightColor;
    const struct {
        uint32_t color;
        std::vector<double> rect;
    } rectangles[] = {
        {dark, {kX + 10.0, kY + 30.0, 250, 1}},  {dark, {kX + 10.0, kY + 31.0, 1, 103}},
        {light, {kX + 11.0, kY + 133.0, 249, 1}}, {light, {kX + 259.0, kY + 31.0, 1, 102}},
        {0x14000000, {kX + 11.0, kY + 31.0, 248, 102}},
        {dark, {kX + 60.0, kY + 40.0, 190, 1}},  {dark, {kX + 60.0, kY + 41.0, 1, 55}},
        {light, {kX + 61.0, kY + 95.0, 189, 1}},  {light, {kX + 249.0, kY + 41.0, 1, 53}},
        {0x1E000000, {kX + 61.0, kY + 41.0, 188, 53}},
    };
    for (const auto& r : rectangles) {
        bool found = false;
        for (const RecordedCall* call : engine().Calls("RenderRectangle"))
            found = found || (call->args.size() == 5 && uint32_t(call->args[0]) == r.color &&
                              std::vector<double>(call->args.begin() + 1, call->args.end()) == r.rect);
        EXPECT_TRUE(found) << r.rect[0] - kX << "," << r.rect[1] - kY << " " << r.rect[2] << "x" << r.rect[3];
    }

    // The picture follows the amount.
    Bar()->SetPosition(3);
    Redraw();
    EXPECT_EQ(SpriteAt(112), (std::vector<std::pair<int, int>>{{kX + 139, kY + 51}})) << "three coins";
    EXPECT_TRUE(Drawn("Move3outof20"));
}

TEST_F(MoveItemsTest, DigitsTypedInQuickSuccessionMakeOneAmount) {
    EnterWithStack(20);
    DropStack();
    TypeKey('1');
    EXPECT_EQ(AmountAfterFrame(), 1);
    Wait(400);
    TypeKey('5');
    EXPECT_EQ(AmountAfterFrame(), 15);

    // A second later the typed text is gone: the next digit starts anew.
    Wait(1000);
    EXPECT_EQ(AmountAfterFrame(), 15);
    EXPECT_EQ(Typed()->GetText(), "");
    TypeKey('5');
    EXPECT_EQ(AmountAfterFrame(), 5);

    // 2, a frame, then 5 within half a second: 25 is above the count.
    Wait(1000);
    DrawFrame();
    TypeKey('2');
    EXPECT_EQ(AmountAfterFrame(), 2);
    Wait(100);
    TypeKey('5');
    EXPECT_EQ(AmountAfterFrame(), 2);
    EXPECT_EQ(Typed()->GetText(), "25");
    Wait(501);
    EXPECT_EQ(AmountAfterFrame(), 2);
    EXPECT_EQ(Typed()->GetText(), "");

    // 0 and letters leave the amount where it was.
    TypeKey('0');
    EXPECT_EQ(AmountAfterFrame(), 2);
    Wait(1000);
    DrawFrame();
    TypeKey('a');
    EXPECT_EQ(AmountAfterFrame(), 2);
    EXPECT_TRUE(Requests().empty()) << "digits are no hotkeys here";
}

TEST_F(MoveItemsTest, MoveSendsTheChosenAmountFromTheKeptDrag) {
    EnterWithStack(5);
    DropStack();
    TypeKey('3');
    DrawFrame();
    ASSERT_EQ(Bar()->GetPosition(), 3);
    TypeKey('\r');
    EXPECT_EQ(Requests(), std::vector<Bytes>{Move({101, 0, 100, 0, 7}, {101, 0, 99, 0, 7}, 3)});
    EXPECT_EQ(Find<GUIControl>(MoveItemsDialog::kDialogId), nullptr);
    EXPECT_FALSE(actions().IsDragging());
    EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput));

    // "Cancel" moves nothing and ends the drag too.
    DrawFrame();
    DropStack();
    ASSERT_NE(Find<GUIControl>(MoveItemsDialog::kDialogId), nullptr);
    Click(Find<GUIControl>(MoveItemsDialog::kCancelButtonId));
    EXPECT_TRUE(Requests().empty());
    EXPECT_FALSE(actions().IsDragging());
}

TEST_F(MoveItemsTest, AnAmountOf0MovesNothingButEndsTheDrag) {
    EnterWithStack(5);
    DropStack();
    Bar()->SetPosition(0);
    Click(Find<GUIControl>(MoveItemsDialog::kMoveButtonId));
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(Find<GUIControl>(MoveItemsDialog::kDialogId), nullptr);
    EXPECT_FALSE(actions().IsDragging());
}

TEST_F(MoveItemsTest, AStackOf100KeepsItsMaximum) {
    EnterWithStack(100);
    DropStack();
    EXPECT_EQ(Bar()->GetMaximum(), 100);
    EXPECT_EQ(AmountAfterFrame(), 100);
    TypeKey('\r');
    EXPECT_EQ(Requests(), std::vector<Bytes>{Move({101, 0, 100, 0, 7}, {101, 0, 99, 0, 7}, 100)});
}

TEST_F(MoveItemsTest, MoveTwiceBeforeTheUpdateMovesOnceAndEndsOneDrag) {
    EnterWithStack(5);
    DropStack();
    input().Char('\r');
    // A new drag begins before the GUI's update; the second Enter finds no
    // dialog and leaves it alone.
    Event(InputEvent::LeftDown, ScreenX(101), ScreenY(100));
    input().Char('\r');
    DeliverEvents();
    EXPECT_EQ(Requests(), std::vector<Bytes>{Move({101, 0, 100, 0, 7}, {101, 0, 99, 0, 7}, 5)});
    EXPECT_TRUE(actions().IsDragging()) << "the new drag";
    EXPECT_EQ(actions().dragSource, (Position{101, 100, 7}));
    MoveItemsDialog::OnMove(game().moveItems);
    EXPECT_TRUE(Requests().empty());
    EXPECT_TRUE(actions().IsDragging());
}

TEST_F(MoveItemsTest, ASecondStackWhileAskingChangesNothing) {
    EnterWithStack(5);
    DropStack();
    MoveItemsDialog& dialog = *game().moveItems;
    EXPECT_FALSE(dialog.Show(999, 50));
    EXPECT_EQ(dialog.itemId, uint32_t(kCoins));
    EXPECT_EQ(dialog.count, 5u);
    EXPECT_EQ(Bar()->GetMaximum(), 5);
    // Without a kept drag (a dialog opened by hand) "Move" moves nothing.
    Click(Find<GUIControl>(MoveItemsDialog::kCancelButtonId));
    DrawFrame();
    ASSERT_TRUE(dialog.Show(uint32_t(kCoins), 5));
    Click(Find<GUIControl>(MoveItemsDialog::kMoveButtonId));
    EXPECT_TRUE(Requests().empty());
}

}  // namespace
