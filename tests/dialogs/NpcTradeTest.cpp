// The merchant's amount question ("Trade Item", dialog 53): what it writes
// for the values the server sends and the amount typed (pure), how it draws
// them, the request "Trade" sends, and the one instance kept for the run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/Client.h"
#include "dialogs/trade/NpcTradeDialog.h"
#include "engine/Font.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameControlIds.h"
#include "net/Connection.h"
#include "tests/dialogs/MerchantWire.h"
#include "tests/support/DrawnText.h"
#include "tests/support/GuiInput.h"
#include "tests/support/ServerDialogFixture.h"
#include "world/ItemsCache.h"

namespace {

// The client is 1000 x 700: the window stands at (275, 233), 450 x 235.
constexpr int kX = 275;
constexpr int kY = 233;
constexpr uint32_t kGrey = NpcTradeDialog::kGreyColor;
constexpr uint32_t kRed = NpcTradeDialog::kRedColor;
// A stackable item: its pictures for 1, 2, 3, 4, 5..19 and 20 or more pieces
// are the ids from here on.
constexpr int kCoins = 110;

const char kCannotAfford[] = "You can not afford to buy this item.";

TEST(NpcTradeAmount, TotalColourAndExplanationFollowTheValues) {
    const struct {
        const char* name;
        bool buying;
        uint32_t price;
        uint32_t carried;
        int32_t amount;
        std::string total;
        uint32_t color;
        std::string explanation;
    } cases[] = {
        {"5 of 50 gold at 10", true, 10, 50, 5, "Total price: 50 gold", kGrey,
         "You are buying a torch for 10 gold each.\nYou are carrying 50 gold with you.\n"
         "That means you can buy 5 of them."},
        {"6 cost more than carried", true, 10, 50, 6, "Total price: 60 gold", kRed,
         "You are buying a torch for 10 gold each.\nYou are carrying 50 gold with you.\n"
         "That means you can buy 5 of them."},
        {"9 gold at 10", true, 10, 9, 1, "Total price: 10 gold", kRed,
         std::string("You are buying a torch for 10 gold each.\nYou are carrying 9 gold with you.\n") +
             kCannotAfford},
        {"a price of 0 buys no number of pieces", true, 0, 50, 3, "Total price: 0 gold", kGrey,
         std::string("You are buying a torch for 0 gold each.\nYou are carrying 50 gold with you.\n") +
             kCannotAfford},
        {"0 gold at a price of 0", true, 0, 0, 1, "Total price: 0 gold", kGrey,
         std::string("You are buying a torch for 0 gold each.\nYou are carrying 0 gold with you.\n") +
             kCannotAfford},
        {"carried with the top bit set at a price of 0", true, 0, 0x80000000, 1, "Total price: 0 gold", kRed,
         std::string("You are buying a torch for 0 gold each.\nYou are carrying -2147483648 gold with you.\n") +
             kCannotAfford},
        {"carried with the top bit set", true, 10, 0x80000001, 0, "Total price: 0 gold", kRed,
         std::string("You are buying a torch for 10 gold each.\nYou are carrying -2147483647 gold with you.\n") +
             kCannotAfford},
        {"a negative price", true, 0xFFFFFFFF, 50, 2, "Total price: -2 gold", kGrey,
         std::string("You are buying a torch for -1 gold each.\nYou are carrying 50 gold with you.\n") +
             kCannotAfford},
        {"a count beyond 32 bits", true, 0xFFFFFFFF, 0x80000000, 1, "Total price: -1 gold", kRed,
         std::string("You are buying a torch for -1 gold each.\nYou are carrying -2147483648 gold with you.\n") +
             kCannotAfford},
        {"300000 x 10000 wraps to 32 bits", true, 300000, 50, 10000, "Total price: -1294967296 gold", kGrey,
         "You are buying a torch for 300000 gold each.\nYou are carrying 50 gold with you.\n" +
             std::string(kCannotAfford)},
        {"nothing typed", true, 10, 50, 0, "Total price: 0 gold", kGrey,
         "You are buying a torch for 10 gold each.\nYou are carrying 50 gold with you.\n"
         "That means you can buy 5 of them."},
        {"one piece carried", false, 7, 1, 1, "Total price: 7 gold", kGrey,
         "You are selling a torch for 7 gold each.\nYou are carrying 1 piece of this item with you.\n"},
        {"two of one piece", false, 7, 1, 2, "Total price: 14 gold", kRed,
         "You are selling a torch for 7 gold each.\nYou are carrying 1 piece of this item with you.\n"},
        {"none carried", false, 7, 0, 1, "Total price: 7 gold", kRed,
         "You are selling a torch for 7 gold each.\nYou are not carrying this item with you."},
        {"none of none", false, 7, 0, 0, "Total price: 0 gold", kGrey,
         "You are selling a torch for 7 gold each.\nYou are not carrying this item with you."},
        {"a negative count carried", false, 7, 0xFFFFFFFF, -3, "Total price: -21 gold", kGrey,
         "You are selling a torch for 7 gold each.\nYou are not carrying this item with you."},
        {"3 at 7 make 21 whatever is typed", false, 7, 3, 2, "Total price: 14 gold", kGrey,
         "You are selling a torch for 7 gold each.\nYou are carrying 3 pieces of this item with you.\n"
         "That means you will get 21 gold if you sell them all."},
        {"more than carried", false, 7, 3, 4, "Total price: 28 gold", kRed,
         "You are selling a torch for 7 gold each.\nYou are carrying 3 pieces of this item with you.\n"
         "That means you will get 21 gold if you sell them all."},
        {"the sum of all wraps to 32 bits", false, 300000, 10000, 1, "Total price: 300000 gold", kGrey,
         "You are selling a torch for 300000 gold each.\nYou are carrying 10000 pieces of this item with you.\n"
         "That means you will get -1294967296 gold if you sell them all."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(NpcTradeDialog::TotalText(c.amount, c.price), c.total);
        EXPECT_EQ(NpcTradeDialog::TotalColor(c.buying, c.amount, c.price, c.carried), c.color);
        EXPECT_EQ(NpcTradeDialog::Explanation(c.buying, "a torch", c.price, c.carried), c.explanation);
    }
}

class NpcTradeTest : public ServerDialogTest {
protected:
    ~NpcTradeTest() override { ItemsCache::Instance()->Set(nullptr, uint16_t(kCoins)); }

    // In the game, with the coins' pictures in the graphics file.
    void EnterWithCoins() {
        client = &fixture.StartClient("[options]\nfpslimit=0\n",
                                      {{110, 32, 32}, {111, 32, 32}, {112, 32, 32}, {113, 32, 32}, {114, 32, 32},
                                       {115, 32, 32}});
        auto* record = new ItemRecord();
        record->name = "gold coin";
        record->flags = kItemStackable;
        ItemsCache::Instance()->Set(record, uint16_t(kCoins));
        client->StartGame(false);
        ASSERT_NE(client->game, nullptr);
        connection().SetState(Connection::kConnected);
        connection().ClearQueues();
    }
    GUITextbox* Amount() { return Find<GUITextbox>(NpcTradeDialog::kAmountBoxId); }
    GuiInput input() { return GuiInput(*client->app, fixture.platform.keys); }
    // The colour of the last frame's text, or 0 when it was not drawn. The
    // lines of a text drawn with its shadow come in black first.
    uint32_t ColorOf(const std::string& textWithoutBlanks) {
        for (const DrawnText& text : VisibleTexts(engine(), client->app->font->sheet))
            if (text.text == textWithoutBlanks && (text.color & 0xFFFFFF) != 0)
                return text.color;
        return 0;
    }
};

Bytes Trade(uint32_t item, uint32_t amount, uint8_t buying) {
    return Bytes{0x14,
                 uint8_t(item),
                 uint8_t(item >> 8),
                 uint8_t(item >> 16),
                 uint8_t(item >> 24),
                 uint8_t(amount),
                 uint8_t(amount >> 8),
                 uint8_t(amount >> 16),
                 uint8_t(amount >> 24),
                 buying};
}

TEST_F(NpcTradeTest, TheQuestionOpensTheWindowWithOneTyped) {
    EnterWithCoins();
    Dispatch(merchant::Question("a torch", 130, 8, 50, 1));
    const GUIDialog* window = Find<GUIDialog>(NpcTradeDialog::kDialogId);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->title, "Trade Item");
    const struct {
        int32_t id;
        std::vector<int> rect;
    } layout[] = {
        {NpcTradeDialog::kDialogId, {kX, kY, 450, 235}},
        {NpcTradeDialog::kAmountBoxId, {kX + 88, kY + 40, 341, 25}},
        {NpcTradeDialog::kTradeButtonId, {kX + 117, kY + 200, 95, 25}},
        {NpcTradeDialog::kCancelButtonId, {kX + 238, kY + 200, 95, 25}},
    };
    for (const auto& row : layout) {
        const GUIControl* control = Find<GUIControl>(row.id);
        ASSERT_NE(control, nullptr) << row.id;
        EXPECT_EQ(std::vector<int>({control->x, control->y, control->width, control->height}), row.rect) << row.id;
    }
    EXPECT_EQ(Find<GUIButton>(NpcTradeDialog::kTradeButtonId)->caption, "Trade");
    EXPECT_EQ(Find<GUIButton>(NpcTradeDialog::kCancelButtonId)->caption, "Cancel");
    EXPECT_EQ(Amount()->GetText(), "1");
    EXPECT_EQ(gui().focus, Amount());
    EXPECT_EQ(gui().enterButtonId, NpcTradeDialog::kTradeButtonId);
    int lines = 0;
    for (const GUIControl* child : window->children)
        if (dynamic_cast<const GUILine*>(child)) {
            ++lines;
            EXPECT_EQ(std::vector<int>({child->x, child->y, child->width, child->height}),
                      std::vector<int>({kX + 7, kY + 190, 436, 1}));
        }
    EXPECT_EQ(lines, 1);
    const NpcTradeDialog* trade = NpcTradeDialog::Instance();
    EXPECT_EQ(trade->itemName, "a torch");
    EXPECT_EQ(trade->itemId, 130u);
    EXPECT_EQ(trade->price, 8u);
    EXPECT_EQ(trade->carried, 50u);
    EXPECT_EQ(trade->buying, 1);
}

TEST_F(NpcTradeTest, TheWindowDrawsTheTypedAmountsPictureAndTotal) {
    EnterWithCoins();
    Dispatch(merchant::Question("a gold coin", kCoins, 10, 50, 1));
    Amount()->SetText("5");
    Redraw();
    EXPECT_EQ(BoxAt(kX + 10, kY + 30, 430, 150), 1) << "the panel";
    uint32_t fill = 0;
    EXPECT_EQ(BoxAt(kX + 20, kY + 40, 59, 59, &fill), 1) << "the item's box";
    EXPECT_EQ(fill, 0x1E000000u);
    EXPECT_EQ(BoxAt(kX + 88, kY + 73, 341, 25), 1) << "the total's box";
    EXPECT_EQ(BoxAt(kX + 20, kY + 108, 409, 62), 1) << "the explanation's box";
    EXPECT_EQ(SpriteAt(114), (std::vector<std::pair<int, int>>{{kX + 33, kY + 53}})) << "five coins";
    EXPECT_EQ(ColorOf("Totalprice:50gold"), kGrey);
    EXPECT_EQ(ColorOf("Youarebuyingagoldcoinfor10goldeach."), kGrey);
    EXPECT_EQ(ColorOf("Thatmeansyoucanbuy5ofthem."), kGrey);

    Amount()->SetText("6");
    Redraw();
    EXPECT_EQ(ColorOf("Totalprice:60gold"), 0xFF1414DCu);
    EXPECT_EQ(SpriteAt(114).size(), 1u);
    Amount()->SetText("2");
    Redraw();
    EXPECT_EQ(SpriteAt(111), (std::vector<std::pair<int, int>>{{kX + 33, kY + 53}})) << "two coins";
}

TEST_F(NpcTradeTest, TradeSendsTheAmountAsTyped) {
    const struct {
        const char* typed;
        uint32_t sent;
    } cases[] = {{"5", 5},   {"", 0},   {"abc", 0}, {" 7x", 7}, {"-5", 0xFFFFFFFB}, {"99999999999", 0x7FFFFFFF},
                 {"+12", 12}, {"0", 0}};
    EnterWithCoins();
    for (const auto& c : cases) {
        Dispatch(merchant::Question("a torch", 130, 8, 50, 0));
        Amount()->SetText(c.typed);
        Click(Find<GUIControl>(NpcTradeDialog::kTradeButtonId));
        EXPECT_EQ(Requests(), std::vector<Bytes>{Trade(130, c.sent, 0)}) << '"' << c.typed << '"';
        EXPECT_EQ(Find<GUIControl>(NpcTradeDialog::kDialogId), nullptr);
        EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput));
    }
    // Typed into the box with the keys, and Enter.
    Dispatch(merchant::Question("a torch", 130, 8, 50, 1));
    input().Char('\b');
    input().Type("12");
    input().Char('\r');
    DeliverEvents();
    EXPECT_EQ(Requests(), std::vector<Bytes>{Trade(130, 12, 1)});
    // "Cancel" sends nothing.
    Dispatch(merchant::Question("a torch", 130, 8, 50, 1));
    Click(Find<GUIControl>(NpcTradeDialog::kCancelButtonId));
    EXPECT_EQ(Find<GUIControl>(NpcTradeDialog::kDialogId), nullptr);
    EXPECT_TRUE(Requests().empty());
}

TEST_F(NpcTradeTest, EnterTwiceBeforeTheUpdateTradesOnce) {
    EnterWithCoins();
    Dispatch(merchant::Question("a torch", 130, 8, 50, 1));
    input().Char('\r');
    input().Char('\r');
    DeliverEvents();
    EXPECT_EQ(Requests(), std::vector<Bytes>{Trade(130, 1, 1)});
    gui().Update();
    EXPECT_EQ(Find<GUIControl>(NpcTradeDialog::kDialogId), nullptr);
}

TEST_F(NpcTradeTest, ASecondQuestionKeepsTheTypedAmountAndTheValuesLast) {
    EnterWithCoins();
    Dispatch(merchant::Question("a torch", 130, 8, 50, 1));
    Amount()->SetText("3");
    Dispatch(merchant::Question("a flower", 120, 5, 2, 0));
    EXPECT_EQ(Amount()->GetText(), "3");
    Redraw();
    EXPECT_TRUE(Drawn("Youaresellingaflowerfor5goldeach."));
    EXPECT_EQ(ColorOf("Totalprice:15gold"), kRed) << "3 of 2 carried";

    // The end of the talk and a new question in one frame: the window stands.
    Dispatch(Join({merchant::TalkEnd(), merchant::Question("a rope", 50, 2, 100, 1)}));
    gui().Update();
    ASSERT_NE(Find<GUIControl>(NpcTradeDialog::kDialogId), nullptr);
    EXPECT_EQ(Amount()->GetText(), "1") << "a new window";
    EXPECT_EQ(gui().focus, Amount());

    // Closed, the values stay for the run.
    Dispatch(merchant::TalkEnd());
    EXPECT_EQ(Find<GUIControl>(NpcTradeDialog::kDialogId), nullptr);
    EXPECT_EQ(NpcTradeDialog::Instance()->itemName, "a rope");
    EXPECT_EQ(NpcTradeDialog::Instance()->price, 2u);
    EXPECT_EQ(NpcTradeDialog::Instance()->buying, 1);
}

}  // namespace
