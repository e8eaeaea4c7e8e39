// The house bidding as the server feeds it (0x29) and the player uses it:
// the order of the houses, the time left counted down from the arrival, the
// rows, the bid byte for byte, and messages that hold fewer houses than
// they announce.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "dialogs/trade/HouseBiddingDialog.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameControlIds.h"
#include "game/GameInterface.h"
#include "tests/support/GuiInput.h"
#include "tests/support/ServerDialogFixture.h"

namespace {

using namespace GameIds;

// The client is 1000 x 700: the dialog stands at (275, 169), 450 x 363.
constexpr int kX = 275;
constexpr int kY = 169;

struct House {
    uint32_t id;
    std::string name;
    std::string bidder;
    uint32_t highestBid;
    uint32_t secondsLeft;
    uint32_t rent;
};

Bytes Bidding(bool canBid, const std::vector<House>& houses, int extraCount = 0) {
    Wire wire;
    wire.U8(canBid ? 1 : 0).U16(uint32_t(int(houses.size()) + extraCount));
    for (const House& house : houses)
        wire.U32(house.id).Str(house.name).Str(house.bidder).U32(house.highestBid).U32(house.secondsLeft).U32(
            house.rent);
    return Join({{0x29}, wire.bytes});
}

class HouseBiddingTest : public ServerDialogTest {
protected:
    void Enter() {
        ServerDialogTest::Enter();
        bidding().clock = [this] { return now; };
    }
    HouseBiddingDialog& bidding() { return *game().houseBidding; }
    void Open(bool canBid, const std::vector<House>& houses) {
        Dispatch(Bidding(canBid, houses));
        gui().Update();
    }
    std::vector<uint32_t> Ids() {
        std::vector<uint32_t> ids;
        for (const HouseBidEntry& house : bidding().houses)
            ids.push_back(house.houseId);
        return ids;
    }
    // The rows of list 165, each as its four texts joined by "|".
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (const GUISelectItem& item : Find<GUISelect>(kHouseBiddingList)->items)
            rows.push_back(item.text + "|" + item.rightText + "|" + item.subText + "|" + item.subRightText);
        return rows;
    }
    void ClickRow(int row) {
        const GUISelect* list = Find<GUISelect>(kHouseBiddingList);
        Click(list->x + 20, list->y + 1 + row * list->rowHeight + list->rowHeight / 2);
    }
    bool BidDisabled() { return Find<GUIControl>(kHouseBid)->HasFlag(GUIControl::kDisabled); }

    int64_t now = 1700000000;
};

// secondsLeft counts when positive; 0 and below count as 0, in their order of arrival.
TEST_F(HouseBiddingTest, HousesStandBySecondsLeftLargestFirst) {
    Enter();
    Open(true, {{1, "A", "x", 0, 100, 0}, {2, "B", "x", 0, 0, 0}, {3, "C", "x", 0, 300, 0},
                {4, "D", "x", 0, 0xFFFFFFFB, 0}, {5, "E", "x", 0, 0, 0}, {6, "F", "x", 0, 100, 0}});
    EXPECT_EQ(Ids(), (std::vector<uint32_t>{3, 1, 6, 2, 4, 5}));

    const auto entry = [](uint32_t seconds) {
        HouseBidEntry house;
        house.secondsLeft = seconds;
        return house;
    };
    const std::vector<std::tuple<uint32_t, uint32_t, bool>> before = {
        {300, 100, true}, {100, 300, false}, {100, 100, false}, {1, 0, true},
        {0, 0xFFFFFFFB, false}, {0xFFFFFFFB, 0, false}, {0x7FFFFFFF, 0x80000000, true},
    };
    for (const auto& [a, b, expected] : before)
        EXPECT_EQ(HouseBiddingDialog::ComesBefore(entry(a), entry(b)), expected) << a << " before " << b;
}

TEST_F(HouseBiddingTest, TheTimeLeftCountsDownFromTheArrival) {
    const int64_t at = 1700000000;
    const struct {
        const char* bidder;
        uint32_t secondsLeft;
        int64_t receivedAt, now;
        const char* text;
    } cases[] = {
        {"", 7260, at, at, "-"},
        {"", 0, at, at, "-"},
        {"Ann", 7260, at, at, "2 hour(s) left"},
        {"Ann", 7260, at, at + 61, "1 hour(s) left"},
        {"Ann", 3600, at, at, "1 hour(s) left"},
        {"Ann", 3599, at, at, "59 minutes(s) left"},
        {"Ann", 60, at, at, "1 minutes(s) left"},
        {"Ann", 59, at, at, "59 second(s) left"},
        {"Ann", 100, at, at + 99, "1 second(s) left"},
        {"Ann", 100, at, at + 100, "Over"},
        {"Ann", 0, at, at, "Over"},
        {"Ann", 0xFFFFFFFB, at, at, "Over"},
        // Past 2038 the 32-bit sum would wrap to a negative time.
        {"Ann", 7200, 2147483000, 2147483000, "2 hour(s) left"},
        {"Ann", 0x7FFFFFFF, at, at, "596523 hour(s) left"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HouseBiddingDialog::TimeLeftText(c.bidder, c.secondsLeft, c.receivedAt, c.now), c.text)
            << c.bidder << " " << c.secondsLeft << " at " << c.now - c.receivedAt;
}

TEST_F(HouseBiddingTest, TheWindowListsEveryHouseBehindThePlaceholder) {
    Enter();
    GUIControl* chat = Find<GUIControl>(kChatInput);
    gui().focus = chat;
    const int32_t enterButton = gui().enterButtonId;
    Open(true, {{7, "Mill Road 1", "Ann", 5, 3599, 300}, {8, "Mill Road 2", "", 0, 7260, 0x80000000},
                {9, "Mill Road 3", "Bob", 0xFFFFFFFF, 0, 1}});
    const GUIDialog* dialog = Find<GUIDialog>(HouseBiddingDialog::kDialogId);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->title, "House Bidding");
    EXPECT_EQ(std::make_tuple(dialog->x, dialog->y, dialog->width, dialog->height), std::make_tuple(kX, kY, 450, 363));
    const std::vector<std::tuple<int32_t, int, int, int, int>> children = {
        {kHouseBiddingList, 17, 35, 416, 202}, {kHouseBidAmount, 17, 242, 416, 25}, {kHouseBid, 17, 272, 416, 25},
        {0, 7, 318, 436, 1},                   {kHouseBiddingClose, 165, 328, 120, 25},
    };
    ASSERT_EQ(dialog->children.size(), children.size());
    for (size_t i = 0; i < children.size(); ++i) {
        const GUIControl* child = dialog->children[i];
        EXPECT_EQ(std::make_tuple(child->id, child->x - kX, child->y - kY, child->width, child->height), children[i]);
    }
    EXPECT_EQ(Find<GUIButton>(kHouseBid)->caption, "Bid Premium Cards");
    EXPECT_EQ(Find<GUIButton>(kHouseBiddingClose)->caption, "Close");
    EXPECT_EQ(Find<GUISelect>(kHouseBiddingList)->rowHeight, 35);
    EXPECT_EQ(gui().focus, chat);
    EXPECT_EQ(gui().enterButtonId, enterButton) << "no Enter button";
    EXPECT_EQ(Rows(), (std::vector<std::string>{
                          "-- Select House --|||",
                          "Mill Road 2|-|Rent -2147483648 gold|No bid yet",
                          "Mill Road 1|59 minutes(s) left|Rent 300 gold|Highest bid 5 cards by Ann",
                          "Mill Road 3|Over|Rent 1 gold|Highest bid -1 cards by Bob",
                      }));
    // The texts are fixed when the list is filled; a new message refills it.
    now += 3600;
    Redraw();
    EXPECT_EQ(Rows()[2], "Mill Road 1|59 minutes(s) left|Rent 300 gold|Highest bid 5 cards by Ann");
    Dispatch(Bidding(true, {{7, "Mill Road 1", "Ann", 5, 3599, 300}}));
    EXPECT_EQ(Rows()[1], "Mill Road 1|59 minutes(s) left|Rent 300 gold|Highest bid 5 cards by Ann");
    Redraw();
    uint32_t fill = 0;
    EXPECT_EQ(BoxAt(kX + 7, kY + 25, 436, 283, &fill), 1);
    EXPECT_EQ(fill, 0x1E000000u);
}

TEST_F(HouseBiddingTest, ABidSendsTheHouseOfTheRowAndTheTypedAmount) {
    const struct {
        int row;
        const char* amount;
        std::vector<Bytes> sent;
    } cases[] = {
        {1, "5", {Wire().U8(0x26).U32(8).U32(5).bytes}},
        {2, "1200", {Wire().U8(0x26).U32(7).U32(1200).bytes}},
        {2, "-5", {Wire().U8(0x26).U32(7).U32(0xFFFFFFFB).bytes}},
        {2, "cards", {Wire().U8(0x26).U32(7).U32(0).bytes}},
        {0, "5", {}},  // "-- Select House --"
    };
    for (const auto& c : cases) {
        Enter();
        Open(true, {{7, "Mill Road 1", "Ann", 5, 100, 300}, {8, "Mill Road 2", "Bob", 12, 300, 450}});
        ClickRow(c.row);
        Find<GUITextbox>(kHouseBidAmount)->SetText(c.amount);
        Requests();
        Click(Find<GUIControl>(kHouseBid));
        EXPECT_EQ(Requests(), c.sent) << c.row << " " << c.amount;
        EXPECT_EQ(Find<GUIControl>(HouseBiddingDialog::kDialogId), nullptr) << "closed in every case";
        EXPECT_EQ(gui().focus, Find<GUIControl>(kChatInput));
        EXPECT_EQ(bidding().houses.size(), 2u) << "the houses stay";
    }
}

// Two clicks within one frame: the second finds no window.
TEST_F(HouseBiddingTest, TwoClicksInOneFrameSendOneBid) {
    Enter();
    Open(true, {{7, "Mill Road 1", "Ann", 5, 100, 300}});
    ClickRow(1);
    Find<GUITextbox>(kHouseBidAmount)->SetText("5");
    const GUIControl* bid = Find<GUIControl>(kHouseBid);
    const int x = bid->x + bid->width / 2;
    const int y = bid->y + bid->height / 2;
    Requests();
    GuiInput input(*client->app, fixture.platform.keys);
    input.Click(x, y);
    input.Click(x, y);
    DeliverEvents();
    gui().Update();
    EXPECT_EQ(Requests(), std::vector<Bytes>{Wire().U8(0x26).U32(7).U32(5).bytes});
}

// canBid counts when the window is built: a message for the open window
// leaves the button as it was.
TEST_F(HouseBiddingTest, CanBidIsAppliedOnlyWhenTheWindowIsBuilt) {
    Enter();
    Open(false, {{7, "Mill Road 1", "Ann", 5, 100, 300}});
    EXPECT_TRUE(BidDisabled());
    Open(true, {{7, "Mill Road 1", "Ann", 5, 100, 300}});
    EXPECT_TRUE(BidDisabled());
    // "Close" and the list still work.
    ClickRow(1);
    EXPECT_EQ(Find<GUISelect>(kHouseBiddingList)->selectedIndex, 1);
    Click(Find<GUIControl>(kHouseBiddingClose));
    EXPECT_EQ(Find<GUIControl>(HouseBiddingDialog::kDialogId), nullptr);
    EXPECT_EQ(bidding().houses.size(), 1u);
    Open(true, {{7, "Mill Road 1", "Ann", 5, 100, 300}});
    EXPECT_FALSE(BidDisabled());
}

// A message without houses empties the module but not the open window: a bid
// from the rows left standing sends nothing.
TEST_F(HouseBiddingTest, AMessageWithoutHousesLeavesTheRowsButNothingToBidFor) {
    Enter();
    Open(true, {{7, "Mill Road 1", "Ann", 5, 100, 300}});
    ClickRow(1);
    Open(true, {});
    EXPECT_TRUE(bidding().houses.empty());
    EXPECT_EQ(Rows().size(), 2u);
    Requests();
    Click(Find<GUIControl>(kHouseBid));
    EXPECT_EQ(Requests(), std::vector<Bytes>{});
    EXPECT_EQ(Find<GUIControl>(HouseBiddingDialog::kDialogId), nullptr);
}

// The list ends with its frame: a count above the houses that follow, and a
// byte or three left behind the last house, make no empty houses beyond a
// record cut in its middle.
TEST_F(HouseBiddingTest, HousesEndWithTheFrameWhateverTheCount) {
    const Bytes house = Bidding(true, {{7, "Mill Road 1", "Ann", 5, 100, 300}});
    const Bytes whole(house.begin() + 4, house.end());  // one record, without opcode, flag and count
    const struct {
        const char* name;
        Bytes payload;
        std::vector<uint32_t> ids;
    } cases[] = {
        {"a count of 60 000 over one house", Bidding(true, {{7, "Mill Road 1", "Ann", 5, 100, 300}}, 59999), {7}},
        // The byte left over is the next message: no operation (0x23).
        {"one byte left", Join({Wire().U8(0x29).U8(1).U16(60000).bytes, whole, {0x23}}), {7}},
        {"two bytes left: a record cut short, its fields zero", Join({Wire().U8(0x29).U8(1).U16(60000).bytes, whole,
                                                                      {0x05, 0x00}}),
         {7, 0}},
        {"the house's id only", Join({Wire().U8(0x29).U8(1).U16(3).bytes, whole, Wire().U32(9).bytes}), {7, 9}},
    };
    for (const auto& c : cases) {
        Enter();
        Dispatch(c.payload);
        EXPECT_EQ(Ids(), c.ids) << c.name;
        EXPECT_NE(Find<GUIControl>(HouseBiddingDialog::kDialogId), nullptr) << c.name;
        EXPECT_EQ(Rows().size(), c.ids.size() + 1) << c.name;
    }
}

}  // namespace
