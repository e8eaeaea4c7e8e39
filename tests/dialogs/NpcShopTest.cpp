// The NPC shop ("Shop List", dialog 125) as the server fills it (0x24) and
// ends the talk (0x25), and as the player uses it: the two lists, "Choose",
// the Ctrl-click, a thing dropped on the window, and what its edges and the
// windows above it keep out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/trade/NpcShopDialog.h"
#include "dialogs/trade/NpcTradeDialog.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITabgroup.h"
#include "engine/gui/GUITextbox.h"
#include "game/ChatLog.h"
#include "game/ChatPane.h"
#include "game/GameControlIds.h"
#include "game/GameInterface.h"
#include "game/ThingActions.h"
#include "net/Connection.h"
#include "net/InMessage.h"
#include "platform/Platform.h"
#include "protocol/Protocol.h"
#include "tests/dialogs/MerchantWire.h"
#include "tests/support/GuiInput.h"
#include "tests/support/ServerDialogFixture.h"
#include "world/ItemsCache.h"
#include "world/Map.h"
#include "world/Thing.h"
#include "world/Tile.h"

namespace {

using merchant::Offer;

// The client is 1000 x 700: the window stands at (300, 142), 400 x 417.
constexpr int kX = 300;
constexpr int kY = 142;
constexpr int kFlower = 120;
constexpr int kTorch = 130;

// What the fake world's merchant sells and buys.
const std::vector<Offer> kWares = {
    {"flower", kFlower, 5, 1}, {"torch", kTorch, 8, 1}, {"torch", kTorch, 3, 0}};

const char kUseSellTab[] = "Choose the Sell to NPC tab if you want to sell items.";
const char kCannotSell[] = "You can not sell this item here.";

Bytes Sell(uint32_t item, uint8_t sell) {
    return Bytes{0x21, uint8_t(item), uint8_t(item >> 8), uint8_t(item >> 16), uint8_t(item >> 24), sell};
}
Bytes Select(uint32_t item) {
    return Bytes{0x35, uint8_t(item), uint8_t(item >> 8), uint8_t(item >> 16), uint8_t(item >> 24)};
}

class NpcShopTest : public ServerDialogTest {
protected:
    ~NpcShopTest() override { ItemsCache::Instance()->Set(nullptr, uint16_t(kTorch)); }

    NpcShopDialog& shop() { return *game().npcShop; }
    GUISelect* List() { return Find<GUISelect>(NpcShopDialog::kListId); }
    // The list's rows as "name|price".
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        if (GUISelect* list = List())
            for (const GUISelectItem& item : list->items)
                rows.push_back(item.text + "|" + item.rightText);
        return rows;
    }
    // A click on row r of the list, with Ctrl held when asked; a frame is
    // drawn first, as before any click of a player (it lays the tabs out).
    void ClickRow(int r, bool ctrl = false) {
        DrawFrame();
        if (ctrl)
            fixture.platform.keys.down.insert(platform::kVkControl);
        Click(kX + 40, kY + 65 + 1 + 50 * r + 25);
        fixture.platform.keys.down.erase(platform::kVkControl);
    }
    void ClickControl(int32_t id) {
        DrawFrame();
        Click(Find<GUIControl>(id));
    }
    bool SellTabShown() {
        const GUITab* sell = Find<GUITab>(NpcShopDialog::kSellTabId);
        return sell && sell->active && shop().buyTab == 0;
    }
    // The lines of the main chat tab.
    std::string Chat() {
        ChatPane* pane = ChatLog::Instance()->FindChannel(ChatLog::kPublic, "Main");
        return pane && pane->box ? pane->box->GetText() : std::string();
    }
    bool Said(const std::string& text) { return Chat().find(text) != std::string::npos; }
    // A torch on a square of the view that the shop does not cover; its
    // screen point.
    std::pair<int, int> TorchBesideTheShop() {
        StandOnGround();
        auto* record = new ItemRecord();
        record->name = "torch";
        record->flags = kItemClickTarget;
        ItemsCache::Instance()->Set(record, uint16_t(kTorch));
        for (int x = 92; x <= 108; ++x) {
            const int sx = ScreenX(x);
            if (sx < kX - 10) {
                game().map->GetOrCreateTile(Position{x, 100, 7})->AddThing(new Thing(kTorch, 1));
                return {sx, ScreenY(100)};
            }
        }
        ADD_FAILURE() << "every square of the view lies under the shop";
        return {0, 0};
    }
    // The mouse pressed at one point and released at another, as the game
    // screen gets them.
    void DragTo(std::pair<int, int> from, int x, int y) {
        Event(InputEvent::LeftDown, from.first, from.second);
        Event(InputEvent::LeftUp, x, y);
    }
};

TEST_F(NpcShopTest, AnEmptyShopOpensOnBuyFromNpcAndChoosesNothing) {
    Enter();
    Dispatch(merchant::ShopOffers({}));
    const GUIDialog* window = Find<GUIDialog>(NpcShopDialog::kDialogId);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->title, "Shop List");
    const struct {
        int32_t id;
        std::vector<int> rect;
    } layout[] = {
        {NpcShopDialog::kDialogId, {kX, kY, 400, 417}},
        {NpcShopDialog::kTabsId, {kX + 20, kY + 38, 360, 20}},
        {NpcShopDialog::kListId, {kX + 20, kY + 65, 360, 252}},
        {NpcShopDialog::kChooseButtonId, {kX + 92, kY + 382, 95, 25}},
        {NpcShopDialog::kCloseButtonId, {kX + 213, kY + 382, 95, 25}},
    };
    for (const auto& row : layout) {
        const GUIControl* control = Find<GUIControl>(row.id);
        ASSERT_NE(control, nullptr) << row.id;
        EXPECT_EQ(std::vector<int>({control->x, control->y, control->width, control->height}), row.rect) << row.id;
    }
    EXPECT_EQ(Find<GUITabgroup>(NpcShopDialog::kTabsId)->tabWidth, 179);
    EXPECT_EQ(Find<GUITabgroup>(NpcShopDialog::kTabsId)->fillColor, 0x32000000u);
    EXPECT_EQ(Find<GUITab>(NpcShopDialog::kBuyTabId)->caption, "Buy from NPC");
    EXPECT_TRUE(Find<GUITab>(NpcShopDialog::kBuyTabId)->active);
    EXPECT_EQ(Find<GUITab>(NpcShopDialog::kSellTabId)->caption, "Sell to NPC");
    EXPECT_EQ(List()->rowHeight, 50);
    EXPECT_EQ(List()->fillColor, 0x1E000000u);
    EXPECT_EQ(Find<GUIButton>(NpcShopDialog::kChooseButtonId)->caption, "Choose");
    EXPECT_EQ(Find<GUIButton>(NpcShopDialog::kCloseButtonId)->caption, "Close");
    EXPECT_EQ(gui().enterButtonId, NpcShopDialog::kChooseButtonId);
    int lines = 0;
    for (const GUIControl* child : window->children)
        if (dynamic_cast<const GUILine*>(child)) {
            ++lines;
            EXPECT_EQ(std::vector<int>({child->x, child->y, child->width, child->height}),
                      std::vector<int>({kX + 7, kY + 372, 386, 1}));
        }
    EXPECT_EQ(lines, 1);
    EXPECT_TRUE(Rows().empty());

    Redraw();
    EXPECT_TRUE(Drawn("ChooseanitemfromthelisttobuyfromtheNPC."));
    EXPECT_EQ(BoxAt(kX + 10, kY + 30, 380, 332), 1) << "the panel";
    uint32_t fill = 1;
    EXPECT_EQ(BoxAt(kX + 20, kY + 326, 360, 25, &fill), 1) << "the hint's box";
    EXPECT_EQ(fill, 0u);

    ClickControl(NpcShopDialog::kChooseButtonId);
    ClickRow(2);
    ClickControl(NpcShopDialog::kChooseButtonId);
    ClickControl(NpcShopDialog::kSellTabId);
    ClickControl(NpcShopDialog::kChooseButtonId);
    EXPECT_TRUE(Requests().empty());
}

TEST_F(NpcShopTest, EachOfferIsListedUnderItsTabOnly) {
    Enter();
    Dispatch(merchant::ShopOffers({{"Sword", 2376, 85, 1},
                                   {"Odd", 0xFFFFFFFF, 0xFFFFFFFF, 0},
                                   {"Shield", 2510, 150, 2},
                                   {"", 1, 0, 0}}));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Sword|85 gold", "Shield|150 gold"}));
    ClickControl(NpcShopDialog::kSellTabId);
    EXPECT_TRUE(SellTabShown());
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Odd|-1 gold", "|0 gold"}));
    Redraw();
    EXPECT_TRUE(Drawn("ChooseanitemordropanitemheretosellittotheNPC."));
    ClickControl(NpcShopDialog::kBuyTabId);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Sword|85 gold", "Shield|150 gold"}));
    EXPECT_EQ(shop().offers[NpcShopDialog::kSells].size(), 2u);
    EXPECT_EQ(shop().offers[NpcShopDialog::kBuys].size(), 2u);
}

TEST_F(NpcShopTest, ChooseSendsTheChosenRowOfTheShownTab) {
    const std::vector<Offer> five = {{"a", 11, 1, 1}, {"b", 12, 1, 1}, {"c", 13, 1, 1}, {"d", 14, 1, 1},
                                     {"e", 15, 1, 1}, {"x", 21, 1, 0}, {"y", 22, 1, 0}};
    const struct {
        const char* name;
        int buyRow;   // clicked on "Buy from NPC" first; -1 for none
        bool toSell;  // then "Sell to NPC"
        int sellRow;  // clicked there; -1 for none
        bool enter;   // Enter instead of a click on "Choose"
        std::vector<Bytes> sent;
    } cases[] = {
        {"no row clicked is the first", -1, false, -1, false, {Sell(11, 0)}},
        {"the third row", 2, false, -1, false, {Sell(13, 0)}},
        {"Enter acts as Choose", 4, false, -1, true, {Sell(15, 0)}},
        {"the sell tab sends 1", -1, true, 1, false, {Sell(22, 1)}},
        {"a row past the shorter list sends nothing", 3, true, -1, false, {}},
        {"a row of the other tab that exists here", 1, true, -1, false, {Sell(22, 1)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Enter();
        Dispatch(merchant::ShopOffers(five));
        if (c.buyRow >= 0)
            ClickRow(c.buyRow);
        if (c.toSell)
            ClickControl(NpcShopDialog::kSellTabId);
        if (c.sellRow >= 0)
            ClickRow(c.sellRow);
        Requests();
        if (c.enter) {
            PressEnter();
            DeliverEvents();
        } else {
            ClickControl(NpcShopDialog::kChooseButtonId);
        }
        EXPECT_EQ(Requests(), c.sent);
        EXPECT_NE(Find<GUIControl>(NpcShopDialog::kDialogId), nullptr) << "Choose keeps the window";
        fixture.client.reset();
    }
}

TEST_F(NpcShopTest, ACtrlClickedRowIsAskedAboutOnceAndChoosesNothing) {
    Enter();
    Dispatch(merchant::ShopOffers(kWares));
    ClickRow(0);
    ClickRow(1, true);
    EXPECT_EQ(List()->selectedIndex, 0) << "a Ctrl-click chooses nothing";
    Redraw();
    EXPECT_EQ(Requests(), std::vector<Bytes>{Select(kTorch)});
    EXPECT_EQ(List()->markedIndex, -1);
    Redraw();
    EXPECT_TRUE(Requests().empty()) << "once";

    // On the one-row sell list a click below the rows marks its last row; on
    // an empty list there is no row to ask about.
    ClickControl(NpcShopDialog::kSellTabId);
    ClickRow(3, true);
    Redraw();
    EXPECT_EQ(Requests(), std::vector<Bytes>{Select(kTorch)});
    Dispatch(merchant::ShopOffers({}));
    ClickRow(0, true);
    Redraw();
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(List()->markedIndex, -1);
}

TEST_F(NpcShopTest, AThingDroppedOnTheShopIsSoldOnlyFromTheSellTab) {
    const struct {
        const char* name;
        bool sellTab;
        uint32_t item;
        std::vector<Bytes> sent;
        const char* said;
    } cases[] = {
        {"the buy tab refuses even what the merchant buys", false, kTorch, {}, kUseSellTab},
        {"the buy tab refuses anything", false, 999, {}, kUseSellTab},
        {"the sell tab sells what the merchant buys", true, kTorch, {Sell(kTorch, 1)}, nullptr},
        {"the sell tab refuses what it only sells", true, kFlower, {}, kCannotSell},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Enter();
        Dispatch(merchant::ShopOffers(kWares));
        if (c.sellTab)
            ClickControl(NpcShopDialog::kSellTabId);
        Requests();
        shop().OnItemDropped(c.item);
        EXPECT_EQ(Requests(), c.sent);
        for (const char* text : {kUseSellTab, kCannotSell})
            EXPECT_EQ(Said(text), c.said == text) << text;
        fixture.client.reset();
    }
}

TEST_F(NpcShopTest, TheMouseSellsADraggedThingAndUsesNothingThere) {
    Enter();
    const auto torch = TorchBesideTheShop();
    Dispatch(merchant::ShopOffers(kWares));
    ClickControl(NpcShopDialog::kSellTabId);
    ClickRow(2);  // the selection does not matter
    Requests();

    DragTo(torch, kX + 200, kY + 200);
    EXPECT_EQ(Requests(), std::vector<Bytes>{Sell(kTorch, 1)}) << "sold, not moved";
    EXPECT_FALSE(game().thingActions->IsDragging());

    // A right click on the window is the window's: no use, no menu.
    Event(InputEvent::RightDown, kX + 200, kY + 200);
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(Find<GUIControl>(GameIds::kContextMenu), nullptr);

    // The amount question stands over the shop: a drop there is no sale.
    Dispatch(merchant::Question("a torch", kTorch, 3, 1, 0));
    const GUIControl* question = Find<GUIControl>(NpcTradeDialog::kDialogId);
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(shop().ContainsPoint(question->x + 40, question->y + 150));
    DragTo(torch, question->x + 40, question->y + 150);
    EXPECT_TRUE(Requests().empty());
    EXPECT_FALSE(game().thingActions->IsDragging());
    NpcTradeDialog::Instance()->Close();
}

TEST_F(NpcShopTest, OnlyPointsStrictlyInsideAnOpenShopAreOnIt) {
    Enter();
    EXPECT_FALSE(shop().ContainsPoint(kX + 200, kY + 200)) << "closed";
    Dispatch(merchant::ShopOffers(kWares));
    const struct {
        int x, y;
        bool inside;
    } cases[] = {{kX, kY + 200, false},       {kX + 200, kY, false},       {kX + 1, kY + 1, true},
                 {kX + 399, kY + 416, true},  {kX + 400, kY + 200, false}, {kX + 200, kY + 417, false},
                 {kX + 200, kY + 200, true},  {kX - 1, kY - 1, false}};
    for (const auto& c : cases)
        EXPECT_EQ(shop().ContainsPoint(c.x, c.y), c.inside) << c.x << "," << c.y;
    shop().CloseWindow();
    EXPECT_FALSE(shop().ContainsPoint(kX + 200, kY + 200)) << "closed again";
}

TEST_F(NpcShopTest, ARefreshKeepsTabAndRowAndANewWindowStartsOnBuy) {
    Enter();
    Dispatch(merchant::ShopOffers(kWares));
    ClickControl(NpcShopDialog::kSellTabId);
    Dispatch(merchant::ShopOffers({{"torch", kTorch, 3, 0}, {"flower", kFlower, 2, 0}, {"sword", 7, 9, 1}}));
    ClickRow(1);
    Dispatch(merchant::ShopOffers({{"torch", kTorch, 4, 0}, {"flower", kFlower, 1, 0}}));
    EXPECT_TRUE(SellTabShown());
    EXPECT_EQ(List()->selectedIndex, 1);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"torch|4 gold", "flower|1 gold"}));

    // "Close" keeps the lists; the next build starts on "Buy from NPC".
    ClickControl(NpcShopDialog::kCloseButtonId);
    EXPECT_EQ(Find<GUIControl>(NpcShopDialog::kDialogId), nullptr);
    EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput));
    EXPECT_EQ(shop().offers[NpcShopDialog::kBuys].size(), 2u);
    shop().RefreshList();  // nothing to refill
    Dispatch(merchant::ShopOffers(kWares));
    EXPECT_EQ(shop().buyTab, 1);
    EXPECT_TRUE(Find<GUITab>(NpcShopDialog::kBuyTabId)->active);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"flower|5 gold", "torch|8 gold"}));

    // The game's end frees the lists too.
    shop().Close();
    EXPECT_EQ(Find<GUIControl>(NpcShopDialog::kDialogId), nullptr);
    EXPECT_TRUE(shop().offers[NpcShopDialog::kBuys].empty());
    EXPECT_TRUE(shop().offers[NpcShopDialog::kSells].empty());
}

TEST_F(NpcShopTest, TheEndOfTheTalkAndANewStartInOneFrameLeaveOneShop) {
    Enter();
    Dispatch(merchant::ShopOffers(kWares));
    ClickControl(NpcShopDialog::kSellTabId);
    Dispatch(Join({merchant::TalkEnd(), merchant::ShopOffers({{"torch", kTorch, 3, 0}, {"rope", 50, 2, 1}})}));
    gui().Update();
    int shops = 0;
    for (const GUIControl* top : gui().root->children)
        shops += top->id == NpcShopDialog::kDialogId ? 1 : 0;
    EXPECT_EQ(shops, 1);
    ASSERT_NE(Find<GUIControl>(NpcShopDialog::kDialogId), nullptr) << "open after the update";
    EXPECT_EQ(Rows(), (std::vector<std::string>{"rope|2 gold"})) << "a new window, on Buy from NPC";
    ClickControl(NpcShopDialog::kChooseButtonId);
    EXPECT_EQ(Requests(), std::vector<Bytes>{Sell(50, 0)});

    // The end alone closes the shop and the amount question.
    Dispatch(merchant::Question("a rope", 50, 2, 100, 1));
    Dispatch(merchant::TalkEnd());
    EXPECT_EQ(Find<GUIControl>(NpcShopDialog::kDialogId), nullptr);
    EXPECT_EQ(Find<GUIControl>(NpcTradeDialog::kDialogId), nullptr);
    EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput));
    EXPECT_EQ(shop().offers[NpcShopDialog::kSells].size(), 1u) << "the lists stay";
}

// Before the game the talk's messages are read whole and change nothing:
// there is no merchant, and the amount question's "Trade" would go to the
// login server.
TEST(NpcShopBeforeTheGame, TheTalksMessagesAreReadAndDropped) {
    ClientFixture fixture;
    Client& client = fixture.StartClient("[options]\nfpslimit=0\n");
    client.app->gui->Update();
    NpcTradeDialog* trade = NpcTradeDialog::Instance();
    trade->itemName = "a fish";
    trade->itemId = 605;
    trade->price = 10;
    GUIControl* focus = client.app->gui->focus;
    const size_t controls = client.app->gui->root->children.size();

    const Bytes frame = Frame(Join({merchant::Question("a torch", kTorch, 8, 50, 1), merchant::ShopOffers(kWares),
                                    merchant::TalkEnd(), Wire().U8(0x19).U16(7).bytes}));
    InMessage message(frame.data(), int(frame.size()));
    client.protocol->Dispatch(message);
    EXPECT_EQ(message.Remaining(), 0);
    EXPECT_EQ(client.app->gui->FindControl(NpcTradeDialog::kDialogId), nullptr);
    EXPECT_EQ(client.app->gui->FindControl(NpcShopDialog::kDialogId), nullptr);
    EXPECT_EQ(trade->itemName, "a fish");
    EXPECT_EQ(trade->itemId, 605u);
    EXPECT_EQ(trade->price, 10u);
    EXPECT_EQ(client.app->gui->focus, focus);
    EXPECT_EQ(client.app->gui->root->children.size(), controls);
    // The ping behind them was answered: the frame was read to its end.
    bool pong = false;
    for (const auto& queued : client.protocol->connection->QueuedFrames())
        pong = pong || (queued.size() > 2 && queued[2] == 0x19);
    EXPECT_TRUE(pong);
}

}  // namespace
