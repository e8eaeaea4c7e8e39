// The player trade: dialog 108 as the server's 0x20, 0x21 and 0x22 build,
// fill and end it, what it draws, where the own box takes drops and clicks,
// and the trade commands its buttons and right clicks send.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialogs/trade/TradeWindow.h"
#include "engine/Font.h"
#include "engine/KEngine2.h"
#include "engine/Sprite.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIScrollbar.h"
#include "net/Connection.h"
#include "net/InMessage.h"
#include "protocol/Protocol.h"
#include "tests/support/DrawnText.h"
#include "tests/support/GameFixture.h"
#include "tests/support/GuiInput.h"
#include "tests/support/LoginFixture.h"

namespace {

// An item the fixture's graphics file has a picture for, and one it has not.
const int kPictured = 403;
const int kUnknown = 9999;

struct Item {
    int id;
    int count;
    int group;
};

Bytes TradeStart(const std::string& partner) { return Wire().U8(0x20).Str(partner).bytes; }
Bytes TradeEnd() { return Wire().U8(0x22).bytes; }
Bytes Ping(uint16_t value) { return Wire().U8(0x19).U16(value).bytes; }

// A trade update; each list ends with 0xFFFF unless told otherwise.
Bytes Update(int ownLocked, int partnerLocked, int ownAccepted, const std::vector<Item>& own = {},
             const std::vector<Item>& partner = {}, bool endOwn = true, bool endPartner = true) {
    Wire wire;
    wire.U8(0x21).U8(uint32_t(ownLocked)).U8(uint32_t(partnerLocked)).U8(uint32_t(ownAccepted));
    for (const Item& item : own)
        wire.U16(uint32_t(item.id)).U8(uint32_t(item.count)).U8(uint32_t(item.group));
    if (endOwn)
        wire.U16(0xFFFF);
    for (const Item& item : partner)
        wire.U16(uint32_t(item.id)).U8(uint32_t(item.count)).U8(uint32_t(item.group));
    if (endPartner)
        wire.U16(0xFFFF);
    return wire.bytes;
}

std::string Hex(const std::vector<uint8_t>& bytes, size_t from) {
    std::string out;
    static const char digits[] = "0123456789abcdef";
    for (size_t i = from; i < bytes.size(); ++i) {
        if (!out.empty())
            out += ' ';
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

// A colour as the recording engine writes it.
std::string Hex8(uint32_t value) {
    char text[12];
    std::snprintf(text, sizeof text, "0x%08x", value);
    return text;
}

using Requests = std::vector<std::string>;

class TradeWindowTest : public GameTest {
protected:
    void Enter() {
        Start();
        DrawFrame();
        Sent();
    }
    // One frame handed to the dispatcher; every byte of it is read.
    void Dispatch(const Bytes& payload) {
        const Bytes frame = Frame(payload);
        InMessage message(frame.data(), int(frame.size()));
        client->protocol->Dispatch(message);
        EXPECT_EQ(message.Remaining(), 0);
    }
    // The requests queued since the last call, as hex bytes behind the length.
    Requests Sent() {
        Connection* connection = client->protocol->connection;
        Requests out;
        for (const auto& frame : connection->QueuedFrames())
            out.push_back(Hex(frame, 2));
        connection->ClearQueues();
        return out;
    }
    GUIManager& gui() { return *client->app->gui; }
    TradeWindow* trade() { return client->protocol->tradeWindow; }
    GUIControl* Window() { return gui().FindControl(TradeWindow::kDialogId); }
    GUIButton* Button(int32_t id) { return dynamic_cast<GUIButton*>(gui().FindControl(id)); }
    GUIScrollbar* Bar(int32_t id) { return dynamic_cast<GUIScrollbar*>(gui().FindControl(id)); }
    GuiInput input() { return GuiInput(*client->app, fixture.platform.keys); }
    void Click(const GUIControl* control) {
        input().Click(control->x + control->width / 2, control->y + control->height / 2);
        HandleQueued();
    }
    void HandleQueued() {
        while (client->app->HasEvents())
            game().HandleEvent(client->app->PopEvent());
    }
    size_t DialogsOnRoot() {
        return size_t(std::count_if(gui().root->children.begin(), gui().root->children.end(),
                                    [](const GUIControl* c) { return c->id == TradeWindow::kDialogId; }));
    }
    // One frame's drawing, as the recording engine got it.
    std::vector<std::string> Drawn() {
        engine().Clear();
        DrawFrame();
        return engine().Log();
    }
    std::vector<DrawnText> Texts() {
        engine().Clear();
        DrawFrame();
        return VisibleTexts(engine(), client->app->font->sheet);
    }
    static bool Has(const std::vector<std::string>& log, const std::string& call) {
        return std::find(log.begin(), log.end(), call) != log.end();
    }
    int TextWidth(const std::string& text) { return client->app->TextWidth(text); }
};

TEST_F(TradeWindowTest, TheStartBuildsDialog108FromTheCentre) {
    Enter();
    Dispatch(TradeStart("Bob"));
    ASSERT_NE(trade(), nullptr);
    EXPECT_EQ(trade()->partnerName, "Bob");
    auto* window = dynamic_cast<GUIDialog*>(Window());
    ASSERT_NE(window, nullptr);
    // 1000 x 700: the centre is (500, 350).
    EXPECT_EQ((std::vector<int>{window->x, window->y, window->width, window->height}),
              (std::vector<int>{300, 192, 400, 316}));
    EXPECT_EQ(window->title, "Trade");
    const struct {
        int32_t id;
        const char* kind;
        int dx, dy, w, h;
        const char* caption;
    } children[] = {
        {TradeWindow::kOwnScrollbarId, "scrollbar", 364, 51, 15, 88, ""},
        {TradeWindow::kPartnerScrollbarId, "scrollbar", 364, 161, 15, 88, ""},
        {0, "line", 7, 271, 386, 1, ""},
        {TradeWindow::kLockButtonId, "button", 92, 281, 95, 25, "Lock"},
        {TradeWindow::kCancelButtonId, "button", 213, 281, 95, 25, "Cancel"},
    };
    ASSERT_EQ(window->children.size(), std::size(children));
    for (size_t i = 0; i < std::size(children); ++i) {
        const auto& c = children[i];
        const GUIControl* child = window->children[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(child->id, c.id);
        EXPECT_EQ((std::vector<int>{child->x - 300, child->y - 192, child->width, child->height}),
                  (std::vector<int>{c.dx, c.dy, c.w, c.h}));
        const std::string kind = c.kind;
        if (kind == "scrollbar") {
            EXPECT_NE(dynamic_cast<const GUIScrollbar*>(child), nullptr);
        }
        if (kind == "line") {
            EXPECT_NE(dynamic_cast<const GUILine*>(child), nullptr);
        }
        if (kind == "button") {
            const auto* button = dynamic_cast<const GUIButton*>(child);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->caption, c.caption);
            EXPECT_FALSE(button->HasFlag(GUIControl::kDisabled));
        }
    }
    // The empty boxes' scroll bars have nothing to scroll.
    EXPECT_EQ(Bar(TradeWindow::kOwnScrollbarId)->GetMaximum(), 0);
    EXPECT_EQ(Bar(TradeWindow::kPartnerScrollbarId)->GetMaximum(), 0);
}

// The trade as the client sees it, driven by the server's updates: button
// 109's caption and state, the boxes' green while locked, and what a click
// on the button sends.
TEST_F(TradeWindowTest, TheButtonAndTheBoxesFollowTheServersState) {
    Enter();
    Dispatch(TradeStart("Bob"));
    const uint32_t green = 0x1E009600;
    const uint32_t dark = 0x1E000000;
    const struct {
        const char* state;
        int ownLocked, partnerLocked, ownAccepted;
        const char* caption;
        bool enabled;
        uint32_t ownFill, partnerFill;
        Requests click;
    } rows[] = {
        {"open", 0, 0, 0, "Lock", true, dark, dark, {"1f 02"}},
        {"the partner locked first", 0, 1, 0, "Lock", true, dark, green, {"1f 02"}},
        {"both locked", 1, 1, 0, "Accept", true, green, green, {"1f 03"}},
        {"accepted", 1, 1, 1, "Accept", false, green, green, {}},
        // Unlocked again: the button keeps what it showed.
        {"unlocked by the server", 0, 0, 0, "Accept", false, dark, dark, {}},
        {"locked, the partner not", 1, 0, 0, "Accept", false, green, dark, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.state);
        Dispatch(Update(row.ownLocked, row.partnerLocked, row.ownAccepted));
        GUIButton* button = Button(TradeWindow::kLockButtonId);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->caption, row.caption);
        EXPECT_EQ(!button->HasFlag(GUIControl::kDisabled), row.enabled);
        const GUIControl* w = Window();
        const auto log = Drawn();
        EXPECT_TRUE(Has(log, "RenderRectangle(" + Hex8(row.ownFill) + ", " + std::to_string(w->x + 21) + ", " +
                                 std::to_string(w->y + 51) + ", 358, 88)"));
        EXPECT_TRUE(Has(log, "RenderRectangle(" + Hex8(row.partnerFill) + ", " + std::to_string(w->x + 21) + ", " +
                                 std::to_string(w->y + 161) + ", 358, 88)"));
        Click(button);
        EXPECT_EQ(Sent(), row.click);
    }
    // Whatever the button shows, its action follows the lock.
    TradeWindow::OnLockOrAccept(trade());
    EXPECT_EQ(Sent(), Requests{"1f 03"});
    Dispatch(Update(0, 0, 0));
    TradeWindow::OnLockOrAccept(trade());
    EXPECT_EQ(Sent(), Requests{"1f 02"});
}

TEST_F(TradeWindowTest, CancelAndRightClicksSendTheirCommandsAndTheWindowStays) {
    Enter();
    Dispatch(TradeStart("Bob"));
    Dispatch(Update(0, 0, 0, {{kPictured, 1, 0}}, {{kPictured, 1, 0}}));
    Click(Button(TradeWindow::kCancelButtonId));
    EXPECT_EQ(Sent(), Requests{"1f 01"});
    DrawFrame();
    EXPECT_NE(Window(), nullptr) << "only the server ends the trade";

    const GUIControl* w = Window();
    const struct {
        const char* name;
        int dx, dy;
        Requests sent;
    } clicks[] = {
        {"the own item", 30, 60, {"1f 04 00 00"}},
        {"an empty part of the own box", 300, 130, {"1f 04 ff 00"}},
        {"the partner's item", 30, 170, {}},
        {"the dialog beside the box", 10, 60, {}},
    };
    for (const auto& c : clicks) {
        Event(InputEvent::RightDown, w->x + c.dx, w->y + c.dy);
        EXPECT_EQ(Sent(), c.sent) << c.name;
    }
}

// The own box reaches from X+20 to X+380 and from Y+50 to Y+140, the left
// and top edges outside; its items' hit rectangles are 40 wide and 50 high,
// so that rows overlap and the first item in the list wins.
TEST_F(TradeWindowTest, TheOwnBoxsAreaAndItsSlots) {
    Enter();
    Dispatch(TradeStart("Bob"));
    Dispatch(Update(0, 0, 0, {{kPictured, 1, 0}, {kPictured, 1, 3}, {kPictured, 1, 3}, {kPictured, 1, 0},
                              {kPictured, 1, 5}}));
    const GUIControl* w = Window();
    const int X = w->x;
    const int Y = w->y;
    const struct {
        const char* name;
        int x, y;
        bool over;
        int slot, index;
    } points[] = {
        {"item 0", X + 26, Y + 56, true, 0, 0},
        {"item 1", X + 66, Y + 56, true, 1, 1},
        {"item 2, same group", X + 106, Y + 56, true, 1, 2},
        {"item 3", X + 146, Y + 56, true, 2, 3},
        {"item 4", X + 186, Y + 56, true, 3, 4},
        {"the left edge of item 0's rectangle", X + 25, Y + 105, true, 0, 0},
        {"the bottom-right corner", X + 380, Y + 140, true, 255, 255},
        {"an empty part", X + 300, Y + 100, true, 255, 255},
        {"left of the box", X + 19, Y + 100, false, -1, -1},
        {"above the box", X + 100, Y + 49, false, -1, -1},
        {"below the box", X + 100, Y + 141, false, -1, -1},
        {"the partner's box", X + 30, Y + 170, false, -1, -1},
    };
    for (const auto& p : points) {
        SCOPED_TRACE(p.name);
        EXPECT_EQ(trade()->IsOverDropArea(p.x, p.y), p.over);
        EXPECT_EQ(trade()->HitTestSlot(p.x, p.y, 0), p.slot);
        EXPECT_EQ(trade()->HitTestSlot(p.x, p.y, 1), p.index);
    }
    // 17 items scrolled down one row: the second row (items 8 to 15) is at
    // the top; where its rectangles overlap the third row's, the earlier item
    // wins, and so does the scrolled-away first row in its last 10 pixels.
    std::vector<Item> many(17, Item{kPictured, 1, 0});
    Dispatch(Update(0, 0, 0, many));
    Bar(TradeWindow::kOwnScrollbarId)->SetPosition(1);
    EXPECT_EQ(trade()->HitTestSlot(X + 26, Y + 56, 1), 0);
    EXPECT_EQ(trade()->HitTestSlot(X + 26, Y + 66, 1), 8);
    EXPECT_EQ(trade()->HitTestSlot(X + 26, Y + 100, 1), 8);
    EXPECT_EQ(trade()->HitTestSlot(X + 26, Y + 106, 1), 16);
    // Without its dialog the trade has no area.
    gui().DeleteLater(TradeWindow::kDialogId);
    EXPECT_FALSE(trade()->IsOverDropArea(X + 26, Y + 56));
    EXPECT_EQ(trade()->HitTestSlot(X + 26, Y + 56, 0), -1);
}

TEST_F(TradeWindowTest, TheScrollBarsHaveOneRowPerStartedEightItems) {
    Enter();
    Dispatch(TradeStart("Bob"));
    const struct {
        size_t own, partner;
        int ownMaximum, ownTotal, partnerMaximum, partnerTotal;
    } cases[] = {
        {17, 8, 2, 4, 0, 2},
        {1, 9, 0, 2, 1, 3},
        {16, 24, 1, 3, 2, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.own) + " and " + std::to_string(c.partner));
        Dispatch(Update(0, 0, 0, std::vector<Item>(c.own, Item{kPictured, 1, 0}),
                        std::vector<Item>(c.partner, Item{kPictured, 1, 0})));
        const GUIScrollbar* own = Bar(TradeWindow::kOwnScrollbarId);
        const GUIScrollbar* partner = Bar(TradeWindow::kPartnerScrollbarId);
        EXPECT_EQ(own->GetMaximum(), c.ownMaximum);
        EXPECT_EQ(own->visibleAmount, 2);
        EXPECT_EQ(own->totalAmount, c.ownTotal);
        EXPECT_EQ(partner->GetMaximum(), c.partnerMaximum);
        EXPECT_EQ(partner->visibleAmount, 2);
        EXPECT_EQ(partner->totalAmount, c.partnerTotal);
    }
}

// Each item's cell: a box darkened by its group, its picture, its count
// when above 1; the box clipped to its inside. An id without a picture draws
// none.
TEST_F(TradeWindowTest, EachItemDrawsItsCellPictureAndCount) {
    Enter();
    Dispatch(TradeStart("Bob"));
    Dispatch(Update(0, 0, 0, {{kPictured, 1, 0}, {kPictured, 2, 8}, {kUnknown, 3, 9}, {kPictured, 1, 200}}));
    const GUIControl* w = Window();
    const int gx = w->x + 20;
    const int gy = w->y + 50;
    const auto log = Drawn();
    const struct {
        uint32_t fill;
        bool picture;
        const char* count;
    } cells[] = {
        {0x01000000, true, nullptr},
        {0xF1000000, true, "2"},
        {0xFF000000, false, "3"},
        {0xFF000000, true, nullptr},
    };
    std::vector<int> pictures;
    for (const RecordedCall* call : engine().Calls("RenderSprite"))
        if (call->sprite && call->sprite->width == 32 && call->sprite->height == 32 &&
            call->sprite != client->app->font->sheet)
            pictures.push_back(int(call->args[0]));
    const std::vector<DrawnText> texts = VisibleTexts(engine(), client->app->font->sheet);
    std::vector<int> expectedPictures;
    for (size_t i = 0; i < std::size(cells); ++i) {
        SCOPED_TRACE(i);
        const int cx = gx + 40 * int(i);
        const int cy = gy + 5;
        EXPECT_TRUE(Has(log, "RenderRectangle(" + Hex8(cells[i].fill) + ", " + std::to_string(cx + 6) + ", " +
                                 std::to_string(cy + 1) + ", 33, 33)"));
        if (cells[i].picture)
            expectedPictures.push_back(cx + 7);
        const std::string count = cells[i].count ? cells[i].count : "";
        const bool shown = std::any_of(texts.begin(), texts.end(), [&](const DrawnText& t) {
            return t.text == count && int(t.x) == cx + 39 - TextWidth(count) && int(t.y) == cy + 20;
        });
        EXPECT_EQ(shown, cells[i].count != nullptr);
    }
    EXPECT_EQ(pictures, expectedPictures);
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                            [&](const DrawnText& t) {
                                return t.text == "1" && t.x >= gx && t.x < gx + 360 && t.y >= gy && t.y < gy + 90;
                            }),
              0)
        << "a count of 1 shows no number";
    EXPECT_TRUE(Has(log, "EnableClipper(" + std::to_string(gx + 1) + ", " + std::to_string(gy + 1) + ", " +
                             std::to_string(gx + 358) + ", " + std::to_string(gy + 88) + ")"));
}

TEST_F(TradeWindowTest, OnlyTheEmptyOwnBoxShowsTheHintsAndTheLabelsName) {
    Enter();
    Dispatch(TradeStart("Bob"));
    Dispatch(Update(0, 0, 0, {}, {}));
    const GUIControl* w = Window();
    const int gx = w->x + 20;
    const int gy = w->y + 50;
    const std::string drag = "Drag and drop to add items here.";
    const std::string right = "Right click on them to remove.";
    auto spaceless = [](std::string text) {
        text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
        return text;
    };
    const std::vector<DrawnText> texts = Texts();
    auto at = [&](const std::string& text) {
        std::vector<std::pair<int, int>> places;
        for (const DrawnText& t : texts)
            if (t.text == spaceless(text))
                places.push_back({int(t.x), int(t.y)});
        return places;
    };
    EXPECT_EQ(at(drag), (std::vector<std::pair<int, int>>{{gx + 180 - TextWidth(drag) / 2, gy + 20}}));
    EXPECT_EQ(at(right), (std::vector<std::pair<int, int>>{{gx + 180 - TextWidth(right) / 2, gy + 35}}));
    EXPECT_EQ(at("You"), (std::vector<std::pair<int, int>>{{w->x + 23, w->y + 34}}));
    EXPECT_EQ(at("Bob"), (std::vector<std::pair<int, int>>{{w->x + 23, w->y + 144}}));
    // An item in the own box takes the hints away; the partner's box never has them.
    Dispatch(Update(0, 0, 0, {{kPictured, 1, 0}}, {}));
    const std::vector<DrawnText> after = Texts();
    EXPECT_FALSE(std::any_of(after.begin(), after.end(),
                             [&](const DrawnText& t) { return t.text == spaceless(drag); }));
}

// While a thing is dragged over the own box, its edges turn white.
TEST_F(TradeWindowTest, ADraggedThingOverTheOwnBoxHighlightsIt) {
    Enter();
    Dispatch(TradeStart("Bob"));
    const GUIControl* w = Window();
    const std::string white = "RenderRectangle(0xffffffff, " + std::to_string(w->x + 20) + ", " +
                              std::to_string(w->y + 50) + ", 360, 1)";
    const struct {
        int dx, dy;
        bool dragging, white;
    } cases[] = {
        {100, 100, true, true}, {380, 140, true, true}, {19, 100, true, false},
        {100, 49, true, false}, {100, 100, false, false},
    };
    for (const auto& c : cases) {
        trade()->SetDragState(w->x + c.dx, w->y + c.dy, c.dragging);
        EXPECT_EQ(Has(Drawn(), white), c.white) << c.dx << "," << c.dy << " " << c.dragging;
    }
}

// Close and rebuild in one frame: the old dialog waits for deletion and is
// no longer found, so the new trade gets a window of its own, which follows
// the new trade's state.
TEST_F(TradeWindowTest, AStartBehindAnEndOrAStartInOneFrameLeavesOneNewWindow) {
    const struct {
        const char* name;
        Bytes frame;
        std::vector<std::string> lives;  // of the trade objects
    } cases[] = {
        {"end and start", Join({TradeEnd(), TradeStart("Trader2")}), {"~TradeWindow", "TradeWindow"}},
        {"start and start", Join({TradeStart("Trader1"), TradeStart("Trader2")}),
         {"~TradeWindow", "TradeWindow", "~TradeWindow", "TradeWindow"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Enter();
        Dispatch(TradeStart("Bob"));
        Dispatch(Update(1, 1, 0, {{kPictured, 1, 0}}));
        ASSERT_EQ(Button(TradeWindow::kLockButtonId)->caption, "Accept");
        TakeEvents();
        Dispatch(c.frame);
        DrawFrame();
        ASSERT_NE(trade(), nullptr);
        EXPECT_EQ(trade()->partnerName, "Trader2");
        EXPECT_TRUE(trade()->ownItems.empty());
        EXPECT_EQ(trade()->ownLocked, 0);
        EXPECT_EQ(DialogsOnRoot(), 1u);
        EXPECT_EQ(Button(TradeWindow::kLockButtonId)->caption, "Lock");
        EXPECT_EQ(TakeEvents(), c.lives);
        Dispatch(Update(1, 1, 0));
        EXPECT_EQ(Button(TradeWindow::kLockButtonId)->caption, "Accept");
        fixture.client.reset();
    }
}

TEST_F(TradeWindowTest, TheEndClosesTheWindowAndGivesTheKeysBackToTheChat) {
    Enter();
    Dispatch(TradeStart("Bob"));
    gui().focus = Button(TradeWindow::kCancelButtonId);
    Dispatch(Join({TradeEnd(), TradeEnd()}));  // a second end finds no trade
    EXPECT_EQ(trade(), nullptr);
    EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput));
    DrawFrame();
    EXPECT_EQ(DialogsOnRoot(), 0u);
}

// Every message is read whole, with or without a trade, and the message
// behind it runs: the ping's answer shows.
TEST_F(TradeWindowTest, TheTradeMessagesAreReadWholeWhateverTheState) {
    Enter();
    const Requests pong{"19 07 00"};
    Dispatch(Join({Update(1, 1, 1, {{kPictured, 1, 0}}, {{kPictured, 2, 0}}), Ping(7)}));
    EXPECT_EQ(trade(), nullptr) << "an update makes no trade";
    EXPECT_EQ(Sent(), pong);
    Dispatch(Join({TradeEnd(), Ping(7)}));
    EXPECT_EQ(Sent(), pong);
    Dispatch(Join({Wire().U8(0x23).bytes, Ping(7)}));
    EXPECT_EQ(Sent(), pong) << "0x23 reads nothing";

    Dispatch(TradeStart("Bob"));
    // The partner's list may end with the frame.
    Dispatch(Update(0, 0, 0, {{kPictured, 1, 0}}, {{kPictured, 2, 0}}, true, false));
    EXPECT_EQ(trade()->ownItems.size(), 1u);
    ASSERT_EQ(trade()->partnerItems.size(), 1u);
    EXPECT_EQ(trade()->partnerItems[0]->count, 2u);
    // An own list without its end takes the rest of the frame, the ping
    // behind it included; the partner's list stays empty.
    Dispatch(Join({Update(0, 0, 0, {{kPictured, 1, 0}}, {}, false, false), Ping(7)}));
    EXPECT_TRUE(Sent().empty());
    ASSERT_EQ(trade()->ownItems.size(), 2u);
    EXPECT_EQ(trade()->ownItems[1]->itemId, 0x0719u);
    EXPECT_TRUE(trade()->partnerItems.empty());
}

// Before the game screen exists there is nothing to trade with: the start
// and the update are read and dropped.
TEST_F(TradeWindowTest, BeforeTheGameTheStartAndTheUpdateAreDropped) {
    client = &fixture.StartClient("[options]\nfpslimit=0\n");
    Dispatch(Join({TradeStart("Bob"), Update(1, 0, 0, {{kPictured, 1, 0}}), Ping(7)}));
    EXPECT_EQ(trade(), nullptr);
    EXPECT_EQ(gui().FindControl(TradeWindow::kDialogId), nullptr);
    EXPECT_EQ(Sent(), Requests{"19 07 00"});
}

}  // namespace
