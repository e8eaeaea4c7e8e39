// The item market on the real game screen, fed by the market messages as a
// server packs them (0x2F listings, 0x30 history, 0x36 catalogue) and used
// through the GUI as a player uses it: the row filter, the window's tabs,
// categories and requests, the drawing (grid, captions, previews, search,
// offer query), the two offer dialogs and the history window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "client/TextUtils.h"
#include "dialogs/trade/MarketDialog.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITable.h"
#include "engine/gui/GUITableRow.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameControlIds.h"
#include "game/GameInterface.h"
#include "net/Connection.h"
#include "net/InMessage.h"
#include "platform/Platform.h"
#include "protocol/Protocol.h"
#include "tests/support/GuiInput.h"
#include "tests/support/ServerDialogFixture.h"

namespace {

using M = MarketDialog;

// The client is 1000 x 700: the market stands at (200, 100), 600 x 500; the
// sell offer at (315, 220) and the buy offer at (315, 170), both 370 wide.
constexpr int kX = 200;
constexpr int kY = 100;
constexpr int kFood = 2;
constexpr int kArmors = 9;
constexpr uint16_t kTorch = 130;
constexpr int kValuablesIcon = 1390;

uint32_t Bits(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

struct WireOffer {
    std::string item;
    uint32_t category;
    std::string player;
    uint32_t itemId;
    uint32_t count;
    float price;
    uint32_t sell;
};

// An offer listing (0x2F); count, when given, replaces the number of offers.
Bytes Listing(bool full, const std::vector<WireOffer>& offers, uint32_t balance = 0,
              std::optional<uint32_t> count = std::nullopt) {
    Wire wire;
    wire.U8(0x2F).U8(full ? 1 : 0);
    if (full)
        wire.U32(balance);
    wire.U32(count ? *count : uint32_t(offers.size()));
    for (const WireOffer& o : offers)
        wire.Str(o.item).U8(o.category).Str(o.player).U16(o.itemId).U32(o.count).U32(Bits(o.price)).U8(o.sell);
    return wire.bytes;
}

struct WireRecord {
    uint32_t time;
    std::string item;
    std::string player;
    float price;
    uint32_t count;
};

Bytes History(const std::vector<WireRecord>& records) {
    Wire wire;
    wire.U8(0x30).U32(uint32_t(records.size()));
    for (const WireRecord& r : records)
        wire.U32(r.time).Str(r.item).Str(r.player).U32(Bits(r.price)).U32(r.count);
    return wire.bytes;
}

Bytes ItemNames(const std::vector<std::pair<uint16_t, std::string>>& names) {
    Wire wire;
    wire.U8(0x36).U16(uint32_t(names.size()));
    for (const auto& [id, name] : names)
        wire.U16(id).Str(name);
    return wire.bytes;
}

Bytes Ping(uint16_t value) { return Wire().U8(0x19).U16(value).bytes; }

// Food and Armors offers of three players; the player is Aldric.
const std::vector<WireOffer> kOffers = {
    {"Flower", kFood, "Brenna", 120, 5, 2.5f, 1},  {"Torch", kFood, "Cedric", kTorch, 3, 0.5f, 0},
    {"Torch", kFood, "Aldric", kTorch, 1, 4.0f, 1}, {"Plate Armor", kArmors, "Brenna", 2463, 1, 1250.5f, 1},
    {"Sword", kArmors, "Aldric", 300, 2, 9.0f, 0},
};

class MarketTest : public ServerDialogTest {
protected:
    M& market() { return *game().market; }
    // In the game as Aldric, the market opened by a full listing of kOffers
    // with a balance of 1234, one frame drawn, nothing queued.
    void EnterMarket() {
        // The flower and the icon of "Valuables" have pictures.
        client = &fixture.StartClient("[options]\nfpslimit=0\n", {{kFlower, 32, 32}, {kValuablesIcon, 32, 32}});
        client->StartGame(false);
        ASSERT_NE(client->game, nullptr);
        connection().SetState(Connection::kConnected);
        StandOnGround();
        Dispatch(Listing(true, kOffers, 1234));
        Redraw();
        Requests();
    }
    GUITable* Table() { return Find<GUITable>(M::kOffersTable); }
    bool Hidden(int32_t id) {
        const GUIControl* control = Find<GUIControl>(id);
        return !control || control->HasFlag(GUIControl::kHidden);
    }
    // "item/player" of each shown row, in table order.
    std::vector<std::string> Shown() {
        std::vector<std::string> shown;
        for (const auto& row : Table()->rows)
            if (row->visible)
                shown.push_back(row->Cell(1)->text + "/" + row->Cell(2)->text);
        return shown;
    }
    const MarketOffer* Offer(const std::string& item, const std::string& player) {
        for (const auto& offer : market().offers)
            if (offer->itemName == item && offer->playerName == player)
                return offer.get();
        return nullptr;
    }
    // Where a shown row lies on screen (the table is not scrolled).
    std::pair<int, int> RowPoint(const GUITableRow* row) {
        const GUITable* table = Table();
        int top = table->y + 25;
        for (const auto& each : table->rows) {
            if (!each->visible)
                continue;
            if (each.get() == row)
                return {table->x + 100, top + 10};
            top += 20;
        }
        ADD_FAILURE() << "the row is not shown";
        return {0, 0};
    }
    void ClickRow(const std::string& item, const std::string& player, bool ctrl = false) {
        const MarketOffer* offer = Offer(item, player);
        ASSERT_NE(offer, nullptr);
        const auto [x, y] = RowPoint(offer->row);
        if (ctrl)
            fixture.platform.keys.down.insert(platform::kVkControl);
        Click(x, y);
        fixture.platform.keys.down.erase(platform::kVkControl);
    }
    void RightClick(int x, int y) {
        Event(InputEvent::RightDown, x, y);
        Event(InputEvent::RightUp, x, y);
    }
    void SetText(int32_t id, const std::string& text) {
        GUITextbox* box = Find<GUITextbox>(id);
        ASSERT_NE(box, nullptr) << "box " << id;
        box->SetText(text);
    }
    // The category grid's cell i, its top-left corner.
    static std::pair<int, int> Cell(int i) { return {kX + 30 + 137 * (i % 4), kY + 76 + 76 * (i / 4)}; }
    // The pointer over grid cell i for a frame, then a press there.
    void ChooseCategory(int i) {
        const auto [x, y] = Cell(i);
        MoveMouse(x + 5, y + 5);
        Redraw();
        Click(x + 5, y + 5);
    }
    std::vector<int> Opcodes() {
        std::vector<int> opcodes;
        for (const Bytes& request : Requests())
            opcodes.push_back(request[0]);
        return opcodes;
    }
};

// --- The row filter ---

TEST(MarketFilterTest, EachTabShowsItsOffers) {
    const auto offer = [](const char* item, const char* player, uint32_t category, bool sell) {
        MarketOffer o;
        o.itemName = item;
        o.playerName = player;
        o.category = category;
        o.sell = sell ? 1 : 0;
        return o;
    };
    const struct {
        const char* name;
        uint32_t tab;
        const char* search;
        int32_t category;
        MarketOffer offer;
        bool shown;
    } cases[] = {
        {"a sell offer of the category on the sell tab", 0, "", 2, offer("Torch", "Bob", 2, true), true},
        {"not on the buy tab", 1, "", 2, offer("Torch", "Bob", 2, true), false},
        {"a buy offer on the buy tab", 1, "", 2, offer("Torch", "Bob", 2, false), true},
        {"another category", 0, "", 3, offer("Torch", "Bob", 2, true), false},
        {"All Items matches every category", 0, "", -1, offer("Torch", "Bob", 14, true), true},
        {"no category chosen matches too", 1, "", 0, offer("Torch", "Bob", 7, false), true},
        {"the search occurs in the name", 0, "orc", 2, offer("Torch", "Bob", 2, true), true},
        {"the search is case-sensitive", 0, "torch", 2, offer("Torch", "Bob", 2, true), false},
        {"a search that does not occur", 1, "sw", -1, offer("Shield", "Bob", 7, false), false},
        {"the player's own sell offer on My Offers", 2, "", 0, offer("Torch", "Aldric", 2, true), true},
        {"and own buy offer, whatever the search and category", 2, "zzz", 5, offer("Torch", "Aldric", 2, false),
         true},
        {"another player's offer is not on My Offers", 2, "", 0, offer("Torch", "Bob", 2, true), false},
        {"a name differing only in case is not the player's", 2, "", 0, offer("Torch", "aldric", 2, true), false},
        {"the player's own offer on the sell tab", 0, "", 2, offer("Torch", "Aldric", 2, true), true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(M::IsOfferVisible(c.tab, c.search, c.category, "Aldric", c.offer), c.shown) << c.name;
}

// --- The server's feed ---

TEST_F(MarketTest, AFullListingOpensTheWindowOnTheSellTabWithTheGrid) {
    EnterMarket();
    const GUIDialog* window = Find<GUIDialog>(M::kDialogId);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->title, "Item Market");
    EXPECT_EQ(std::vector<int>({window->x, window->y, window->width, window->height}),
              std::vector<int>({kX, kY, 600, 500}));
    EXPECT_EQ(market().currentTab, M::kSellTab);
    EXPECT_EQ(market().currentCategory, 0);
    EXPECT_EQ(market().bankBalance, 1234u);
    ASSERT_EQ(market().offers.size(), kOffers.size());
    // Rows are made while the table exists; the own offers' players read "You".
    ASSERT_EQ(Table()->rows.size(), kOffers.size());
    EXPECT_EQ(Table()->rows[2]->Cell(2)->text, "You (Sell Offer)");
    EXPECT_EQ(Table()->rows[4]->Cell(2)->text, "You (Buy Offer)");
    EXPECT_EQ(Table()->rows[1]->Cell(2)->text, "Cedric");
    EXPECT_EQ(Table()->rows[0]->Cell(0)->spriteId, 120);
    EXPECT_EQ(Table()->rows[0]->Cell(4)->integer, 5);
    EXPECT_FLOAT_EQ(float(Table()->rows[0]->Cell(3)->number), 2.5f);
    for (const int32_t id : {M::kOffersTable, M::kSearchBox, M::kBackButton, M::kViewHistoryButton,
                             M::kCreateBuyOfferButton, M::kRefreshButton})
        EXPECT_TRUE(Hidden(id)) << id;
    EXPECT_EQ(Find<GUITextbox>(M::kAmountBox)->GetText(), "1");
    EXPECT_TRUE(Drawn("Youhave1234goldavailableonyourbankbalance."));
    EXPECT_TRUE(Drawn("Selectacategorytoviewavailableselloffers.Tocreateoffers,gototheMyOfferstab."));
}

TEST_F(MarketTest, TheListingsFeedTheOffersAndTheHistory) {
    EnterMarket();
    Dispatch(History({{1000, "Torch", "Brenna", 1.0f, 2}}));
    ASSERT_EQ(market().history.size(), 1u);

    // A full listing without offers empties the table and the history.
    Dispatch(Join({Listing(true, {}, 77), Ping(1)}));
    EXPECT_TRUE(market().offers.empty());
    EXPECT_TRUE(Table()->rows.empty());
    EXPECT_TRUE(market().history.empty());
    EXPECT_EQ(market().bankBalance, 77u);
    EXPECT_NE(Find<GUIDialog>(M::kDialogId), nullptr);
    EXPECT_EQ(Opcodes(), std::vector<int>{0x19}) << "the ping behind is answered";

    // Counts of 0 and of 2^31 and more are dropped, and so are history times
    // of 2^31 and more.
    Dispatch(Listing(false, {{"None", 2, "Bob", 1, 0, 1, 1}, {"Negative", 2, "Bob", 1, 0x80000000u, 1, 1},
                             {"Max", 2, "Bob", 1, 0x7FFFFFFF, 1, 1}}));
    ASSERT_EQ(market().offers.size(), 1u);
    EXPECT_EQ(market().offers[0]->itemName, "Max");
    Dispatch(History({{0x80000000u, "Late", "", 1, 1}, {0x7FFFFFFF, "Last", "", 1, 1}}));
    ASSERT_EQ(market().history.size(), 1u);
    EXPECT_EQ(market().history[0].itemName, "Last");

    // The history refreshes nothing: a row keeps whatever tag it has.
    market().ShowCategory(-1);
    ASSERT_TRUE(Table()->rows[0]->visible);
    Table()->rows[0]->SetVisible(false);
    Dispatch(History({{5, "Torch", "", 1, 1}}));
    EXPECT_FALSE(Table()->rows[0]->visible);
    EXPECT_EQ(market().history.size(), 2u);
}

TEST_F(MarketTest, ACountAboveTheRecordsStopsAtTheFrameAndStillFilters) {
    EnterMarket();
    ChooseCategory(kFood);  // the third cell
    ASSERT_EQ(market().currentCategory, kFood);
    // Nine offers announced, two present: a sell offer of Food and a buy
    // offer, which the sell tab hides at once.
    Dispatch(Listing(false, {{"Bread", kFood, "Bob", 5, 1, 1, 1}, {"Milk", kFood, "Bob", 6, 1, 1, 0}}, 0, 9));
    ASSERT_EQ(market().offers.size(), kOffers.size() + 2);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Flower/Brenna", "Torch/You (Sell Offer)", "Bread/Bob"}));
}

TEST_F(MarketTest, OffersOfAListingWhileClosedGetNoRows) {
    EnterMarket();
    Click(Find<GUIButton>(M::kCloseButton));
    ASSERT_EQ(Find<GUIDialog>(M::kDialogId), nullptr);
    for (const auto& offer : market().offers)
        EXPECT_EQ(offer->row, nullptr) << "rows go with the window";
    Dispatch(Listing(false, {{"Bread", kFood, "Bob", 5, 1, 1, 1}}));
    EXPECT_EQ(Find<GUIDialog>(M::kDialogId), nullptr) << "only a full listing opens the window";
    ASSERT_EQ(market().offers.size(), kOffers.size() + 1);
    EXPECT_EQ(market().offers.back()->row, nullptr);
    // The next full listing opens a new table with rows of its own.
    Dispatch(Listing(true, kOffers));
    ASSERT_NE(Table(), nullptr);
    for (const auto& offer : market().offers)
        EXPECT_NE(offer->row, nullptr);
    // A window that went some other way: the builder forgets the dead rows
    // before it makes a new table.
    gui().RemoveControl(Find<GUIDialog>(M::kDialogId), true);
    market().Open();
    for (const auto& offer : market().offers)
        EXPECT_EQ(offer->row, nullptr);
    market().SelectTab(M::kOwnTab);
    Redraw();
    EXPECT_TRUE(Table()->rows.empty());
}

TEST_F(MarketTest, TheCatalogueOnlyGrows) {
    EnterMarket();
    const Bytes names = ItemNames({{120, "Flower"}, {kTorch, "Torch"}});
    Dispatch(Join({names, names, Ping(2)}));
    ASSERT_EQ(market().itemNames.size(), 4u);
    EXPECT_EQ(market().itemNames[2].itemName, "Flower");
    EXPECT_EQ(market().itemNames[3].itemId, kTorch);
    // A full listing leaves it.
    Dispatch(Listing(true, {}));
    EXPECT_EQ(market().itemNames.size(), 4u);
    EXPECT_EQ(Opcodes(), std::vector<int>{0x19});
}

TEST_F(MarketTest, ListingsThatOnlyAddKeepTheNewestUpToTheirCaps) {
    EnterMarket();
    ASSERT_EQ(Table()->rows.size(), kOffers.size());
    // The oldest offer is the selected one when the cap pushes it out.
    Table()->selectedRow = market().offers.front()->row;
    const size_t more = 10;
    const size_t added = M::kMaxOffers + more - kOffers.size();
    for (size_t i = 0; i < added; ++i)
        market().InsertOffer("Offer " + std::to_string(i), "Brenna", 120, 1, 1.0f, kFood, true);
    EXPECT_EQ(market().offers.size(), M::kMaxOffers);
    EXPECT_EQ(Table()->rows.size(), M::kMaxOffers);
    EXPECT_EQ(Table()->selectedRow, nullptr);
    EXPECT_EQ(market().offers.front()->itemName, "Offer " + std::to_string(more - kOffers.size()));
    EXPECT_EQ(market().offers.back()->itemName, "Offer " + std::to_string(added - 1));
    for (const auto& offer : market().offers)
        ASSERT_NE(offer->row, nullptr);
    // Each offer still has its own row.
    EXPECT_EQ(Table()->rows.front().get(), market().offers.front()->row);

    const struct {
        const char* list;
        size_t cap;
    } lists[] = {{"history", M::kMaxHistory}, {"catalogue", M::kMaxItemNames}};
    for (const auto& c : lists) {
        SCOPED_TRACE(c.list);
        const bool history = std::string(c.list) == "history";
        for (size_t i = 0; i < c.cap + more; ++i) {
            if (history)
                market().AddHistoryRecord(uint32_t(i), "Torch", "Cedric", 1.0f, 1);
            else
                market().AddItemName(uint32_t(i), std::string(i % 2 ? 300 : 5, 'n'));
        }
        const size_t size = history ? market().history.size() : market().itemNames.size();
        EXPECT_EQ(size, c.cap);
        const uint32_t oldest = history ? market().history.front().time : market().itemNames.front().itemId;
        EXPECT_EQ(oldest, more);
    }
    EXPECT_EQ(market().itemNames.back().itemName.size(), M::kMaxItemNameLength);
}

// Reads past the end return defaults and move nothing: one to three bytes
// behind a huge count hold at most one record, never two thousand million.
TEST_F(MarketTest, BytesTooFewForARecordEndTheLists) {
    EnterMarket();
    for (const Bytes& tail : {Bytes{0x00}, Bytes{0x00, 0x00}, Bytes{0x00, 0x00, 0x00}}) {
        SCOPED_TRACE(tail.size());
        market().history.clear();
        const Bytes frame = Frame(Wire().U8(0x30).U32(0x7FFFFFFF).Raw(tail).bytes);
        InMessage message(frame.data(), int(frame.size()));
        client->protocol->Dispatch(message);
        EXPECT_LE(market().history.size(), 1u);
        connection().SetState(Connection::kConnected);
    }
    const size_t names = market().itemNames.size();
    const Bytes frame = Frame(Wire().U8(0x36).U16(0xFFFF).U8(7).bytes);
    InMessage message(frame.data(), int(frame.size()));
    client->protocol->Dispatch(message);
    EXPECT_EQ(market().itemNames.size(), names);
}

// --- The window ---

TEST(MarketViewTest, EachStateShowsItsControls) {
    const struct {
        const char* name;
        uint32_t tab;
        int32_t category;
        bool table, refresh, back, search, history, createBuy;
        int refreshX, refreshWidth;
    } cases[] = {
        {"grid on the sell side", 0, 0, false, false, false, false, false, false, 171, 100},
        {"grid on the buy side", 1, 0, false, false, false, false, false, false, 171, 100},
        {"a category on the sell side", 0, 4, true, true, true, true, false, false, 171, 100},
        {"All Items on the buy side", 1, -1, true, true, true, true, false, false, 171, 100},
        {"own offers, no category", 2, 0, true, true, false, false, true, true, 22, 98},
        {"own offers over a category", 2, 9, true, true, false, false, true, true, 22, 98},
    };
    for (const auto& c : cases) {
        const M::View v = M::ViewFor(c.tab, c.category);
        EXPECT_EQ(std::vector<bool>({v.table, v.refresh, v.back, v.search, v.history, v.createBuy}),
                  std::vector<bool>({c.table, c.refresh, c.back, c.search, c.history, c.createBuy}))
            << c.name;
        EXPECT_EQ(std::make_pair(v.refreshX, v.refreshWidth), std::make_pair(c.refreshX, c.refreshWidth)) << c.name;
    }
}

TEST_F(MarketTest, TabsAndCategoriesSwitchTheWindow) {
    EnterMarket();
    ChooseCategory(kFood);
    EXPECT_EQ(market().currentCategory, kFood);
    EXPECT_FALSE(Hidden(M::kOffersTable));
    EXPECT_FALSE(Hidden(M::kBackButton));
    EXPECT_FALSE(Hidden(M::kSearchBox));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Flower/Brenna", "Torch/You (Sell Offer)"}));
    const GUIControl* refresh = Find<GUIControl>(M::kRefreshButton);
    EXPECT_EQ(std::vector<int>({refresh->x, refresh->y, refresh->width}), std::vector<int>({kX + 171, kY + 67, 100}));

    market().SelectTab(M::kBuyTab);
    EXPECT_EQ(Shown(), std::vector<std::string>{"Torch/Cedric"});
    market().SelectTab(M::kOwnTab);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Torch/You (Sell Offer)", "Sword/You (Buy Offer)"}));
    EXPECT_TRUE(Hidden(M::kBackButton));
    EXPECT_FALSE(Hidden(M::kViewHistoryButton));
    EXPECT_EQ(std::vector<int>({refresh->x, refresh->width}), std::vector<int>({kX + 22, 98}));
    // Back on a browsing tab the category chosen before is still chosen.
    market().SelectTab(M::kSellTab);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Flower/Brenna", "Torch/You (Sell Offer)"}));

    // A category clears the search box; the back button shows the grid.
    SetText(M::kSearchBox, "Flo");
    Redraw();
    EXPECT_EQ(Shown(), std::vector<std::string>{"Flower/Brenna"});
    Click(Find<GUIButton>(M::kBackButton));
    EXPECT_EQ(market().currentCategory, 0);
    EXPECT_EQ(Find<GUITextbox>(M::kSearchBox)->GetText(), "");
    EXPECT_TRUE(Hidden(M::kOffersTable));
    ChooseCategory(0);  // All Items, the first cell
    EXPECT_EQ(market().currentCategory, -1);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Flower/Brenna", "Torch/You (Sell Offer)", "Plate Armor/Brenna"}));
}

TEST_F(MarketTest, AGridCellUnderAnotherWindowIsNotChosen) {
    EnterMarket();
    market().SelectTab(M::kOwnTab);
    market().OpenHistory();
    market().SelectTab(M::kSellTab);
    // The history window covers the grid's second row.
    const auto [x, y] = Cell(5);
    MoveMouse(x + 5, y + 5);
    Redraw();
    EXPECT_EQ(market().hoveredCategory, 5);
    Click(x + 5, y + 5);
    EXPECT_EQ(market().currentCategory, 0);
    market().Close();
}

TEST_F(MarketTest, OpeningWhileOpenOnlyEnablesRefresh) {
    EnterMarket();
    ChooseCategory(kFood);
    SetText(M::kSearchBox, "Tor");
    Find<GUIDialog>(M::kDialogId)->MoveBy(10, 20);
    Click(Find<GUIButton>(M::kRefreshButton));
    Click(Find<GUIButton>(M::kRefreshButton));
    EXPECT_EQ(Requests(), std::vector<Bytes>{{0x2A}}) << "the first press disables the button";
    EXPECT_TRUE(Find<GUIControl>(M::kRefreshButton)->HasFlag(GUIControl::kDisabled));

    Dispatch(Listing(true, kOffers));
    EXPECT_FALSE(Find<GUIControl>(M::kRefreshButton)->HasFlag(GUIControl::kDisabled));
    EXPECT_EQ(market().currentCategory, kFood);
    EXPECT_EQ(Find<GUITextbox>(M::kSearchBox)->GetText(), "Tor");
    EXPECT_EQ(Find<GUIDialog>(M::kDialogId)->x, kX + 10);
    EXPECT_EQ(Shown(), std::vector<std::string>{"Torch/You (Sell Offer)"});
}

TEST_F(MarketTest, AcceptSendsTheChosenOfferWithTheTypedAmount) {
    EnterMarket();
    ChooseCategory(kFood);
    // Without a row nothing is sent.
    market().Accept();
    EXPECT_TRUE(Requests().empty());
    ClickRow("Flower", "Brenna");
    Redraw();
    EXPECT_FALSE(Hidden(M::kAcceptButton));
    EXPECT_TRUE(Drawn("5xFlower"));
    const auto flowers = SpriteAt(kFlower);
    EXPECT_NE(std::find(flowers.begin(), flowers.end(), std::make_pair(kX + 32, kY + 500 - 103)), flowers.end());
    const struct {
        const char* typed;
        Bytes amount;
    } cases[] = {{"3", {3, 0, 0, 0}}, {"12abc", {12, 0, 0, 0}}, {"abc", {0, 0, 0, 0}},
                 {"-5", {0xFB, 0xFF, 0xFF, 0xFF}}, {" +7", {7, 0, 0, 0}}};
    for (const auto& c : cases) {
        SetText(M::kAmountBox, c.typed);
        Click(Find<GUIButton>(M::kAcceptButton));
        const Bytes expected = Join({{0x2B, 6, 0}, Bytes{'B', 'r', 'e', 'n', 'n', 'a'}, {120, 0, 0, 0}, c.amount,
                                     {0x00, 0x00, 0x20, 0x40}, {1}});
        EXPECT_EQ(Requests(), std::vector<Bytes>{expected}) << c.typed;
    }
    // The buy tab accepts a buy offer with side 0.
    market().SelectTab(M::kBuyTab);
    ClickRow("Torch", "Cedric");
    SetText(M::kAmountBox, "2");
    market().Accept();
    EXPECT_EQ(Requests(), (std::vector<Bytes>{Join({{0x2B, 6, 0}, Bytes{'C', 'e', 'd', 'r', 'i', 'c'},
                                                     {kTorch, 0, 0, 0}, {2, 0, 0, 0}, {0, 0, 0, 0x3F}, {0}})}));
    // A selected row the search hides, and My Offers, send nothing.
    SetText(M::kSearchBox, "Flower");
    Redraw();
    market().Accept();
    market().SelectTab(M::kOwnTab);
    market().Accept();
    EXPECT_TRUE(Requests().empty());
}

TEST_F(MarketTest, ARightClickWithdrawsOnlyTheOwnOfferOnMyOffers) {
    EnterMarket();
    ChooseCategory(kFood);
    std::pair<int, int> own = RowPoint(Offer("Torch", "Aldric")->row);
    RightClick(own.first, own.second);
    EXPECT_TRUE(Requests().empty()) << "not on the sell tab";

    market().SelectTab(M::kOwnTab);
    // Another player's offer shows there only when the filter fails; a
    // shown row of Brenna's is not withdrawn.
    Offer("Flower", "Brenna")->row->SetVisible(true);
    const std::pair<int, int> other = RowPoint(Offer("Flower", "Brenna")->row);
    RightClick(other.first, other.second);
    EXPECT_TRUE(Requests().empty());
    market().RefreshRows();
    own = RowPoint(Offer("Torch", "Aldric")->row);
    RightClick(own.first, own.second);
    const std::pair<int, int> sword = RowPoint(Offer("Sword", "Aldric")->row);
    RightClick(sword.first, sword.second);
    // Withdrawn by item id and side, and nothing is used at the market's place.
    EXPECT_EQ(Requests(), (std::vector<Bytes>{{0x2E, kTorch, 0, 0, 0, 1}, {0x2E, 44, 1, 0, 0, 0}}));
}

TEST_F(MarketTest, TheWindowTakesDropsStrictlyInside) {
    EnterMarket();
    const struct {
        int x, y;
        bool inside;
    } cases[] = {{kX, kY + 10, false},        {kX + 1, kY + 10, true},         {kX + 10, kY, false},
                 {kX + 599, kY + 499, true},  {kX + 600, kY + 10, false},      {kX + 10, kY + 500, false},
                 {kX + 300, kY + 250, true}};
    for (const auto& c : cases)
        EXPECT_EQ(market().HitTest(c.x, c.y), c.inside) << c.x << ", " << c.y;
    market().Close();
    EXPECT_FALSE(market().HitTest(kX + 300, kY + 250));
}

// The game screen's teardown and the destructor close every window of the
// market, the history without moving the focus; a second Close finds nothing.
TEST_F(MarketTest, CloseRemovesEveryWindowAndKeepsTheLists) {
    EnterMarket();
    Dispatch(History({{5, "Torch", "", 1, 1}}));
    market().SelectTab(M::kOwnTab);
    market().OpenSellOffer(120);
    market().OpenBuyOffer();
    market().OpenHistory();
    market().Close();
    for (const int32_t id : {M::kDialogId, M::kSellDialogId, M::kBuyDialogId, M::kHistoryDialogId})
        EXPECT_EQ(Find<GUIControl>(id), nullptr) << id;
    EXPECT_EQ(gui().focus, Find<GUIControl>(GameIds::kChatInput));
    EXPECT_EQ(market().offers.size(), kOffers.size());
    EXPECT_EQ(market().history.size(), 1u);
    for (const auto& offer : market().offers)
        EXPECT_EQ(offer->row, nullptr);
    market().Close();
    Redraw();
    EXPECT_TRUE(Requests().empty());
}

// --- Drawing ---

TEST_F(MarketTest, TheGridMarksTheCellUnderThePointer) {
    EnterMarket();
    const auto [x, y] = Cell(0);
    const struct {
        int px, py;
        int32_t hovered;
    } cases[] = {{x, y, -1},
                 {x + 126, y + 65, -1},
                 {x + 127, y + 10, 0},
                 {x + 10, y + 66, 0},
                 {Cell(6).first + 1, Cell(6).second + 1, 6},
                 {Cell(15).first, Cell(15).second, 15}};
    for (const auto& c : cases) {
        MoveMouse(c.px, c.py);
        Redraw();
        EXPECT_EQ(market().hoveredCategory, c.hovered) << c.px << ", " << c.py;
    }
    MoveMouse(x + 5, y + 5);
    Redraw();
    uint32_t fill = 0;
    int hovered = 0;
    int plain = 0;
    for (const RecordedCall* call : engine().Calls("RenderRectangle")) {
        // The top and bottom edges of each cell.
        if (call->args[3] == M::kCellWidth && call->args[4] == 1) {
            if (call->args[1] == x && call->args[2] == y)
                hovered = int(uint32_t(call->args[0]) == 0x3CFFFFFF);
            else if (uint32_t(call->args[0]) == 0x96000000)
                ++plain;
        }
        if (call->args[1] == x + 1 && call->args[2] == y + 1 && call->args[3] == M::kCellWidth - 2)
            fill = uint32_t(call->args[0]);
    }
    EXPECT_EQ(hovered, 1);
    EXPECT_EQ(plain, 2 * 15);
    EXPECT_EQ(fill, 0x1E000000u);
    // Names are centred under the icons; "All Items" has no icon.
    EXPECT_TRUE(Drawn("AllItems"));
    EXPECT_TRUE(Drawn("Gauntlets"));
    EXPECT_EQ(SpriteAt(kValuablesIcon), (std::vector<std::pair<int, int>>{{Cell(1).first + 47, Cell(1).second + 10}}));
    for (const RecordedCall* call : engine().Calls("RenderSprite"))
        EXPECT_FALSE(call->args[0] == x + 47 && call->args[1] == y + 10) << "an icon for All Items";
}

TEST_F(MarketTest, TheChosenOfferShowsItsAcceptCaption) {
    EnterMarket();
    ChooseCategory(kFood);
    market().SelectTab(M::kBuyTab);
    ClickRow("Torch", "Cedric");
    const struct {
        const char* typed;
        const char* caption;
    } cases[] = {{"3", "Sell (2 gold)"}, {"0", "Sell"}, {"abc", "Sell"}, {"", "Sell"}, {"10", "Sell (5 gold)"}};
    for (const auto& c : cases) {
        SetText(M::kAmountBox, c.typed);
        Redraw();
        EXPECT_EQ(Find<GUIButton>(M::kAcceptButton)->caption, c.caption) << c.typed;
    }
    EXPECT_TRUE(Drawn("3xTorch"));
    EXPECT_TRUE(Drawn("Amount:"));
    EXPECT_EQ(SpriteAt(kTorch).size(), 0u) << "no torch picture in this graphics file";
    // Without a chosen offer the balance line is back and Accept is hidden,
    // keeping its last caption.
    Table()->selectedRow = nullptr;
    Redraw();
    EXPECT_TRUE(Hidden(M::kAcceptButton));
    EXPECT_TRUE(Drawn("Tosellitem(s),chooseanofferfromthelist.Tocreateoffers,gototheMyOfferstab."));
    EXPECT_EQ(Find<GUIButton>(M::kAcceptButton)->caption, "Sell (5 gold)");
}

TEST_F(MarketTest, ACtrlClickAsksAboutASellOfferOnce) {
    EnterMarket();
    ChooseCategory(kFood);
    ClickRow("Flower", "Brenna", true);
    EXPECT_EQ(Table()->selectedRow, nullptr) << "a Ctrl-click only marks";
    Redraw();
    Redraw();
    EXPECT_EQ(Requests(), (std::vector<Bytes>{{0x2D, 120, 0, 0, 0, 6, 0, 'B', 'r', 'e', 'n', 'n', 'a'}}));
    // A buy offer is not asked about.
    market().SelectTab(M::kBuyTab);
    ClickRow("Torch", "Cedric", true);
    Redraw();
    EXPECT_TRUE(Requests().empty());
    // On My Offers too.
    market().SelectTab(M::kOwnTab);
    ClickRow("Torch", "Aldric", true);
    Redraw();
    EXPECT_EQ(Requests(), (std::vector<Bytes>{{0x2D, kTorch, 0, 0, 0, 6, 0, 'A', 'l', 'd', 'r', 'i', 'c'}}));
}

// The search filters at the next frame after each change of the text, and
// never in a frame where it did not change.
TEST_F(MarketTest, TheSearchFiltersOncePerChange) {
    EnterMarket();
    ChooseCategory(0);  // All Items
    SetText(M::kSearchBox, "Fl");
    EXPECT_EQ(Shown().size(), 3u) << "not before the frame";
    Redraw();
    EXPECT_EQ(Shown(), std::vector<std::string>{"Flower/Brenna"});
    // A frame with the same text leaves the tags alone.
    Table()->rows[1]->SetVisible(true);
    Redraw();
    EXPECT_TRUE(Table()->rows[1]->visible);
    SetText(M::kSearchBox, "");
    Redraw();
    EXPECT_EQ(Shown().size(), 3u);

    // The stored text outlives the window: reopened with an empty box after
    // a search, the first frame filters again.
    SetText(M::kSearchBox, "Plate");
    Redraw();
    market().Close();
    Dispatch(Listing(true, kOffers));
    market().ShowCategory(-1);
    EXPECT_EQ(market().marketSearch, "Plate");
    for (const auto& row : Table()->rows)
        row->SetVisible(false);
    Redraw();
    EXPECT_EQ(market().marketSearch, "");
    EXPECT_EQ(Shown().size(), 3u);
}

TEST_F(MarketTest, MyOffersExplainsDropsAndHidesAccept) {
    EnterMarket();
    market().SelectTab(M::kOwnTab);
    Redraw();
    EXPECT_TRUE(Drawn("Draganddropanitemherefromyourinventorytocreateaselloffer."));
    EXPECT_TRUE(Drawn("Rightclickonanofferabovetoremoveitfromthemarket."));
    EXPECT_TRUE(Hidden(M::kAcceptButton));
    EXPECT_TRUE(Hidden(M::kAmountBox));
    EXPECT_EQ(BoxAt(kX + 600 - 322, kY + 66, 302, 25), 1);
    EXPECT_EQ(BoxAt(kX + 21, kY + 66, 100, 25), 1);
}

// --- Prices ---

TEST(MarketPriceTest, ThePreviewsAndTheCaptionCheckEveryConversion) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const int32_t most = std::numeric_limits<int32_t>::max();
    const std::string invalid = "The total offer price is invalid.\n";
    auto total = [](long long n) { return "Total offer price is " + std::to_string(n) + " gold.\n"; };
    // The typed price as the dialogs read it ("inf" and "nan" read as 0).
    const struct {
        const char* price;
        int32_t amount;
        std::string sell;
        std::string buy;
    } previews[] = {
        {"1.239", 3, total(4), total(3)},
        {"1000", 2000000, invalid, total(2000000000)},
        {"", 3, total(0), total(0)},
        {"1.9", 3, total(6), total(5)},
        {"-1", 0, invalid, total(0)},
        {"-1", -5, invalid, total(5)},
        {"-1", most, invalid, total(-2147483648LL)},
        {"inf", 0, total(0), total(0)},
        {"inf", -5, total(0), total(0)},
        {"nan", most, total(0), total(0)},
        {"1e40", 0, invalid, invalid},
        {"1e40", -5, invalid, invalid},
        {"1e40", most, invalid, invalid},
        {"3.4e38", 0, invalid, total(0)},
        {"3.4e38", -5, invalid, invalid},
        {"3.4e38", most, invalid, invalid},
        {"1", most, invalid, invalid},
        {"1", -5, invalid, total(-5)},
        {"0.5", 2000000000, total(1000000000), total(1000000000)},
        {"2.5", 4, total(10), total(10)},
    };
    for (const auto& c : previews) {
        SCOPED_TRACE(std::string(c.price) + " x " + std::to_string(c.amount));
        const float price = ReadLeadingFloat(c.price);
        EXPECT_EQ(M::SellOfferTotalText(c.amount, price), c.sell);
        EXPECT_EQ(M::BuyOfferTotalText(c.amount, price), c.buy);
    }
    const struct {
        uint32_t tab;
        int32_t amount;
        float price;
        const char* caption;
    } captions[] = {
        {0, 3, 0.5f, "Buy (2 gold)"}, {0, 3, 50.0f, "Buy (150 gold)"}, {1, 0, 50.0f, "Sell"},
        {1, -5, 50.0f, "Sell"},       {0, 1, nan, "Buy"},             {0, 1, inf, "Buy"},
        {1, 1, -inf, "Sell"},         {0, 1, 3e38f, "Buy"},            {0, most, 1.0f, "Buy"},
        {0, 1, -2.5f, "Buy (-2 gold)"},
    };
    for (const auto& c : captions)
        EXPECT_EQ(M::AcceptCaption(c.tab, c.amount, c.price), c.caption) << c.amount << " x " << c.price;
}

// --- The offer dialogs ---

TEST_F(MarketTest, ADropOpensTheSellOfferOnMyOffersOnly) {
    EnterMarket();
    market().OpenSellOffer(120);
    EXPECT_EQ(Find<GUIDialog>(M::kSellDialogId), nullptr) << "not on the sell tab";
    EXPECT_EQ(market().sellOfferItem, 0u);

    market().SelectTab(M::kOwnTab);
    market().OpenSellOffer(120);
    const GUIDialog* dialog = Find<GUIDialog>(M::kSellDialogId);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->title, "Create Sell Offer");
    EXPECT_EQ(std::vector<int>({dialog->x, dialog->y, dialog->width, dialog->height}),
              std::vector<int>({315, 220, 370, 210}));
    EXPECT_EQ(gui().focus, Find<GUIControl>(M::kSellAmountBox));
    EXPECT_EQ(gui().enterButtonId, M::kSellCreateButton);
    EXPECT_EQ(Find<GUITextbox>(M::kSellAmountBox)->GetText(), "1");
    SetText(M::kSellAmountBox, "2");
    SetText(M::kSellPriceBox, "1.5");
    // A second drop keeps the dialog and what was typed; the offer is now
    // for the second item.
    market().OpenSellOffer(kTorch);
    EXPECT_EQ(Find<GUIDialog>(M::kSellDialogId), dialog);
    EXPECT_EQ(Find<GUITextbox>(M::kSellAmountBox)->GetText(), "2");
    Redraw();
    EXPECT_TRUE(Drawn("Totalofferpriceis3gold."));
    EXPECT_TRUE(Drawn("Addingthisselloffercosts50gold."));
    // Enter twice in one frame: the first press closes the dialog.
    PressEnter();
    PressEnter();
    EXPECT_EQ(Requests(), (std::vector<Bytes>{{0x2C, kTorch, 0, 0, 0, 2, 0, 0, 0, 0x00, 0x00, 0xC0, 0x3F, 1}}));
    EXPECT_EQ(Find<GUIDialog>(M::kSellDialogId), nullptr);
    EXPECT_EQ(gui().focus, Find<GUIControl>(GameIds::kChatInput));
}

TEST_F(MarketTest, TheOfferDialogsSendWhatWasTypedUnchecked) {
    EnterMarket();
    market().SelectTab(M::kOwnTab);
    const struct {
        const char* amount;
        const char* price;
        Bytes fields;  // amount and price
    } cases[] = {
        {"1", "1,5", {1, 0, 0, 0, 0x00, 0x00, 0x80, 0x3F}},
        {"0", "", {0, 0, 0, 0, 0, 0, 0, 0}},
        {"-3", "-2", {0xFD, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0xC0}},
        {"4x", "0.1", {4, 0, 0, 0, 0xCD, 0xCC, 0xCC, 0x3D}},
    };
    for (const auto& c : cases) {
        market().OpenSellOffer(120);
        SetText(M::kSellAmountBox, c.amount);
        SetText(M::kSellPriceBox, c.price);
        Click(Find<GUIButton>(M::kSellCreateButton));
        EXPECT_EQ(Requests(), std::vector<Bytes>{Join({{0x2C, 120, 0, 0, 0}, c.fields, {1}})}) << c.price;
        EXPECT_EQ(Find<GUIDialog>(M::kSellDialogId), nullptr);
    }
    market().OpenSellOffer(120);
    Click(Find<GUIButton>(M::kSellCancelButton));
    EXPECT_EQ(Find<GUIDialog>(M::kSellDialogId), nullptr);
    // The buy offer with the placeholder chosen asks for item 0.
    market().OpenBuyOffer();
    SetText(M::kBuyPriceBox, "1.5");
    Click(Find<GUIButton>(M::kBuyCreateButton));
    EXPECT_EQ(Requests(), (std::vector<Bytes>{{0x2C, 0, 0, 0, 0, 1, 0, 0, 0, 0x00, 0x00, 0xC0, 0x3F, 0}}));
    EXPECT_TRUE(Requests().empty());
}

TEST_F(MarketTest, TheBuyOfferSearchesTheCatalogue) {
    EnterMarket();
    Dispatch(ItemNames({{120, "Flower"}, {kTorch, "Torch"}, {110, "Gold Coin"}, {kTorch, "Torch"}}));
    market().OpenBuyOffer();
    EXPECT_EQ(Find<GUIDialog>(M::kBuyDialogId), nullptr) << "only on My Offers";
    market().SelectTab(M::kOwnTab);
    market().OpenBuyOffer();
    const GUIDialog* dialog = Find<GUIDialog>(M::kBuyDialogId);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->title, "Create Buy Offer");
    EXPECT_EQ(std::vector<int>({dialog->x, dialog->y, dialog->width, dialog->height}),
              std::vector<int>({315, 170, 370, 350}));
    EXPECT_EQ(gui().focus, Find<GUIControl>(M::kBuyAmountBox));
    EXPECT_EQ(gui().enterButtonId, M::kBuyCreateButton);
    GUISelect* list = Find<GUISelect>(M::kBuyItemList);
    const auto texts = [list] {
        std::vector<std::string> shown;
        for (const GUISelectItem& item : list->items)
            shown.push_back(item.text);
        return shown;
    };
    EXPECT_EQ(texts(), (std::vector<std::string>{"-- select item --", "Flower", "Torch", "Gold Coin", "Torch"}));
    EXPECT_EQ(list->selectedIndex, 0);
    EXPECT_EQ(market().SelectedBuyItemId(), 0u);

    // The third entry chosen, then a search: position 3 now names the third match.
    list->selectedIndex = 3;
    EXPECT_EQ(market().SelectedBuyItemId(), 110u);
    SetText(M::kBuySearchBox, "o");
    Redraw();
    EXPECT_EQ(texts(), (std::vector<std::string>{"-- select item --", "Flower", "Torch", "Gold Coin", "Torch"}));
    SetText(M::kBuySearchBox, "T");
    Redraw();
    EXPECT_EQ(texts(), (std::vector<std::string>{"-- select item --", "Torch", "Torch"}));
    EXPECT_EQ(list->selectedIndex, 3);
    EXPECT_EQ(market().SelectedBuyItemId(), 0u) << "past the list";
    list->selectedIndex = 2;
    EXPECT_EQ(market().SelectedBuyItemId(), kTorch);
    SetText(M::kBuyPriceBox, "1.9");
    SetText(M::kBuyAmountBox, "3");
    Redraw();
    EXPECT_TRUE(Drawn("Totalofferpriceis5gold."));
    EXPECT_TRUE(Drawn("Addingthisbuyoffercosts50gold."));

    // A search typed and sent before the next frame refills the list: the
    // offer is for the entry shown, not for the new search's second match.
    SetText(M::kBuySearchBox, "");
    Redraw();
    list->selectedIndex = 1;
    SetText(M::kBuySearchBox, "Gold");
    PressEnter();
    EXPECT_EQ(Requests(), (std::vector<Bytes>{{0x2C, 120, 0, 0, 0, 3, 0, 0, 0, 0x33, 0x33, 0xF3, 0x3F, 0}}));
}

// Both offer dialogs may be open: Enter presses the Create Offer of the one
// the player is typing in.
TEST_F(MarketTest, EnterBelongsToTheOfferDialogWithTheFocus) {
    EnterMarket();
    Dispatch(ItemNames({{120, "Flower"}}));
    market().SelectTab(M::kOwnTab);
    market().OpenSellOffer(120);
    market().OpenBuyOffer();
    ASSERT_EQ(gui().enterButtonId, M::kBuyCreateButton);
    gui().focus = Find<GUIControl>(M::kSellPriceBox);
    SetText(M::kSellPriceBox, "2");
    Redraw();
    EXPECT_EQ(gui().enterButtonId, M::kSellCreateButton);
    PressEnter();
    EXPECT_EQ(Opcodes(), std::vector<int>{0x2C});
    EXPECT_EQ(Find<GUIDialog>(M::kSellDialogId), nullptr);
    ASSERT_NE(Find<GUIDialog>(M::kBuyDialogId), nullptr);
    gui().focus = Find<GUIControl>(M::kBuySearchBox);
    Redraw();
    PressEnter();
    EXPECT_EQ(Opcodes(), std::vector<int>{0x2C});
    EXPECT_EQ(Find<GUIDialog>(M::kBuyDialogId), nullptr);
}

// --- The history window ---

// The local time zone is UTC while it lives.
class UtcZone {
public:
    UtcZone() {
        const char* zone = std::getenv("TZ");
        had_ = zone != nullptr;
        if (had_)
            old_ = zone;
        Set("UTC0");
    }
    ~UtcZone() { Set(had_ ? old_ : std::string()); }

private:
    static void Set(const std::string& zone) {
#ifdef _WIN32
        _putenv_s("TZ", zone.c_str());
        _tzset();
#else
        if (zone.empty())
            unsetenv("TZ");
        else
            setenv("TZ", zone.c_str(), 1);
        tzset();
#endif
    }
    bool had_ = false;
    std::string old_;
};

TEST(MarketHistoryDateTest, MonthDayYearSince2000HourMinute) {
    const auto at = [](int year, int month, int day, int hour, int minute) {
        std::tm local{};
        local.tm_year = year - 1900;
        local.tm_mon = month - 1;
        local.tm_mday = day;
        local.tm_hour = hour;
        local.tm_min = minute;
        return local;
    };
    const struct {
        std::tm local;
        const char* text;
    } cases[] = {
        {at(2016, 6, 28, 9, 5), "06/28/16 09:05"}, {at(2009, 1, 3, 17, 30), "01/03/9 17:30"},
        {at(2010, 5, 5, 0, 0), "05/05/10 00:00"},  {at(2005, 12, 31, 23, 59), "12/31/5 23:59"},
        {at(1999, 7, 4, 12, 0), "07/04/-1 12:00"}, {at(1970, 1, 1, 0, 0), "01/01/-30 00:00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(M::HistoryDate(c.local), c.text);

    const UtcZone utc;
    const struct {
        uint32_t time;
        const char* text;
    } times[] = {{1467104700, "06/28/16 09:05"}, {1231003800, "01/03/9 17:30"}, {1273017600, "05/05/10 00:00"},
                 {1136073540, "12/31/5 23:59"},  {0, "01/01/-30 00:00"},        {0x7FFFFFFF, "01/19/38 03:14"}};
    for (const auto& c : times)
        EXPECT_EQ(M::HistoryDate(c.time), c.text) << c.time;
}

TEST_F(MarketTest, TheHistoryWindowShowsTheRecordsAsTheyCame) {
    const UtcZone utc;
    EnterMarket();
    Dispatch(History({{1467104700, "Torch", "Brenna", 2.5f, 3}, {1231003800, "Flower", "Cedric", 1, 7},
                      {1231003800, "Gold Coin", "Brenna", 0.25f, 100}}));
    market().OpenHistory();
    EXPECT_EQ(Find<GUIDialog>(M::kHistoryDialogId), nullptr) << "only on My Offers";
    market().SelectTab(M::kOwnTab);
    Click(Find<GUIButton>(M::kViewHistoryButton));
    GUIDialog* dialog = Find<GUIDialog>(M::kHistoryDialogId);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->title, "My Market History");
    EXPECT_EQ(std::vector<int>({dialog->x, dialog->y, dialog->width, dialog->height}),
              std::vector<int>({190, 170, 620, 350}));
    const auto rows = [this] {
        std::vector<std::string> shown;
        for (const auto& row : Find<GUITable>(M::kHistoryTable)->rows)
            shown.push_back(row->Cell(0)->text + " " + row->Cell(1)->text + " " + row->Cell(2)->text + " " +
                            std::to_string(row->Cell(4)->integer));
        return shown;
    };
    // Equal times keep their order.
    EXPECT_EQ(rows(), (std::vector<std::string>{"06/28/16 09:05 Torch Brenna 3", "01/03/9 17:30 Flower Cedric 7",
                                                "01/03/9 17:30 Gold Coin Brenna 100"}));
    EXPECT_FLOAT_EQ(float(Find<GUITable>(M::kHistoryTable)->rows[2]->Cell(3)->number), 0.25f);
    Redraw();
    EXPECT_EQ(BoxAt(dialog->x + 20, dialog->y + 39, 580, 246), 1);

    // A full listing empties the history but not the open table; the next
    // press refills the window where the player left it.
    dialog->MoveBy(-30, 10);
    Dispatch(Listing(true, kOffers));
    EXPECT_TRUE(market().history.empty());
    EXPECT_EQ(rows().size(), 3u);
    market().SelectTab(M::kOwnTab);
    Click(Find<GUIButton>(M::kViewHistoryButton));
    EXPECT_EQ(Find<GUIDialog>(M::kHistoryDialogId), dialog);
    EXPECT_EQ(dialog->x, 160);
    EXPECT_TRUE(rows().empty());

    // Its Close leaves the focus where it was.
    market().SelectTab(M::kSellTab);
    ChooseCategory(kFood);
    GUIControl* focus = Find<GUIControl>(M::kSearchBox);
    gui().focus = focus;
    Click(Find<GUIButton>(M::kHistoryCloseButton));
    EXPECT_EQ(Find<GUIDialog>(M::kHistoryDialogId), nullptr);
    EXPECT_EQ(gui().focus, focus);
}

// --- One frame ---

TEST_F(MarketTest, CloseAndAFullListingInOneFrameLeaveTheMarketOpen) {
    EnterMarket();
    GuiInput(*client->app, fixture.platform.keys).Click(kX + 300, kY + 477);  // Close
    ASSERT_EQ(Find<GUIDialog>(M::kDialogId), nullptr);
    Dispatch(Listing(true, kOffers));
    DeliverEvents();
    Redraw();
    ASSERT_NE(Find<GUIDialog>(M::kDialogId), nullptr);
    for (const auto& offer : market().offers)
        EXPECT_NE(offer->row, nullptr);
    EXPECT_EQ(Table()->rows.size(), kOffers.size());
}

TEST_F(MarketTest, ACtrlClickThenAFullListingAsksNothing) {
    EnterMarket();
    ChooseCategory(kFood);
    // The click and the listing before the next frame.
    const auto [x, y] = RowPoint(Offer("Flower", "Brenna")->row);
    fixture.platform.keys.down.insert(platform::kVkControl);
    GuiInput(*client->app, fixture.platform.keys).Click(x, y);
    fixture.platform.keys.down.clear();
    DeliverEvents();
    ASSERT_NE(Table()->markedRow, nullptr);
    Dispatch(Listing(true, kOffers));
    Redraw();
    EXPECT_TRUE(Requests().empty());
}

}  // namespace
