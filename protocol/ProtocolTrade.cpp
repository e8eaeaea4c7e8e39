// The trade family: the NPC trade amount question, the player-to-player
// trade, the NPC shop and the item market.
//
// The player trade hands what it reads to the TradeWindow the protocol owns,
// the NPC shop to the game screen's module, the amount question to its
// singleton and the market to the game screen's MarketDialog.
#include "protocol/Protocol.h"

#include <cstdint>
#include <string>

#include "client/Client.h"
#include "dialogs/trade/MarketDialog.h"
#include "dialogs/trade/NpcShopDialog.h"
#include "dialogs/trade/NpcTradeDialog.h"
#include "dialogs/trade/TradeWindow.h"
#include "game/GameInterface.h"
#include "net/InMessage.h"

namespace {

// Trade messages touch no window before the game screen exists: there is
// nothing to drag into a trade on the login screen.
bool InGame() { return Client::Instance()->game != nullptr; }

// The market module of the game screen, or null before the game: the
// market's messages are then read whole and dropped.
MarketDialog* Market() {
    GameInterface* game = Client::Instance()->game;
    return game ? game->market : nullptr;
}

}  // namespace

void Protocol::EndTrade() {
    if (!tradeWindow)
        return;
    tradeWindow->Reset();
    delete tradeWindow;
    tradeWindow = nullptr;
}

// The merchant asks how many pieces. Before the game there is no merchant
// to answer, and the window's "Trade" would go to the login server.
void Protocol::ParseNpcTrade(InMessage& message) {
    const std::string itemName = message.ReadString();
    const uint32_t itemId = message.ReadU32();
    const uint32_t price = message.ReadU32();
    const uint32_t carried = message.ReadU32();
    const bool buying = message.ReadU8() != 0;
    if (!InGame())
        return;
    NpcTradeDialog* trade = NpcTradeDialog::Instance();
    trade->itemName = itemName;
    trade->itemId = itemId;
    trade->price = price;
    trade->carried = carried;
    trade->buying = buying ? 1 : 0;
    trade->Show();
}

// A new trade replaces a running one whole; its window is built at once (a
// window of the ended trade still waiting for deletion is no longer found).
void Protocol::ParseTradeOpen(InMessage& message) {
    const std::string partner = message.ReadString();
    if (!InGame())
        return;
    EndTrade();
    tradeWindow = new TradeWindow(partner);
    tradeWindow->Show();
}

// The state and the two offers, the player's own first, each ended by the id
// 0xFFFF or by the end of the frame. Every update replaces both offers.
void Protocol::ParseTradeItems(InMessage& message) {
    const bool ownLocked = message.ReadU8() != 0;
    const bool partnerLocked = message.ReadU8() != 0;
    const bool ownAccepted = message.ReadU8() != 0;
    TradeWindow* trade = InGame() ? tradeWindow : nullptr;
    if (trade) {
        trade->SetAccepted(ownLocked, partnerLocked, ownAccepted);
        trade->ClearItems();
    }
    for (const bool own : {true, false}) {
        while (message.Remaining() > 0) {
            const uint16_t itemId = message.ReadU16();
            if (itemId == 0xFFFF)
                break;
            const uint8_t count = message.ReadU8();
            const uint8_t group = message.ReadU8();
            if (trade)
                trade->AddItem(itemId, count, group, own);
        }
    }
}

void Protocol::ParseTradeEnd(InMessage&) { EndTrade(); }

void Protocol::OnNoOperation(InMessage&) {}

// The shop's whole contents: the window opens (or refreshes, keeping its tab
// and row) with empty lists before the offers come in.
void Protocol::ParseNpcShopOffers(InMessage& message) {
    NpcShopDialog* shop = InGame() ? Client::Instance()->game->npcShop : nullptr;
    const int count = message.ReadU8();
    if (shop) {
        shop->ClearOffers();
        shop->Show();
    }
    for (int i = 0; i < count; ++i) {
        const std::string name = message.ReadString();
        const uint32_t itemId = message.ReadU32();
        const uint32_t price = message.ReadU32();
        const bool buy = message.ReadU8() != 0;  // the merchant sells it: "Buy from NPC"
        if (shop)
            shop->AddOffer(name, itemId, price, buy);
    }
    if (shop)
        shop->RefreshList();
}

// The talk with the merchant ends: the amount question, then the shop. Before
// the game neither can be open, and closing would move the login screen's
// focus.
void Protocol::OnNpcTalkEnd(InMessage&) {
    if (!InGame())
        return;
    NpcTradeDialog::Instance()->Close();
    Client::Instance()->game->npcShop->CloseWindow();
}

// A full listing replaces the offers and the history and opens the window
// (or only enables its Refresh again); one without the flag adds to the
// offers held. The offers end with the frame when the count is larger, and
// the rows are filtered once at the end.
void Protocol::ParseMarketOffers(InMessage& message) {
    MarketDialog* market = Market();
    const uint8_t full = message.ReadU8();
    if (full != 0) {
        const uint32_t balance = message.ReadU32();
        if (market) {
            market->ClearOffers();
            market->SetBalance(balance);
            market->Open();
        }
    }
    const int32_t count = int32_t(message.ReadU32());
    for (int32_t i = 0; i < count && message.Remaining() > 0; ++i) {
        const std::string itemName = message.ReadString();
        const uint8_t category = message.ReadU8();
        const std::string playerName = message.ReadString();
        const uint16_t itemId = message.ReadU16();
        const uint32_t offered = message.ReadU32();
        const float eachPrice = message.ReadFloat();
        const bool sell = message.ReadU8() != 0;
        if (market)
            market->InsertOffer(itemName, playerName, itemId, offered, eachPrice, category, sell);
    }
    if (market)
        market->RefreshRows();
}

// The player's past trades, kept for the history window; nothing is shown
// until it is opened. A count read as negative holds no records.
void Protocol::ParseMarketHistory(InMessage& message) {
    MarketDialog* market = Market();
    const int32_t count = int32_t(message.ReadU32());
    for (int32_t i = 0; i < count && message.Remaining() > 0; ++i) {
        const int32_t start = message.pos;
        const uint32_t time = message.ReadU32();
        const std::string itemName = message.ReadString();
        const std::string playerName = message.ReadString();
        const float eachPrice = message.ReadFloat();
        const uint32_t traded = message.ReadU32();
        // Fewer bytes left than any field needs: nothing was read, and
        // nothing would be for the rest of a count of up to two thousand
        // million records. That is no record.
        if (message.pos == start)
            break;
        if (market)
            market->AddHistoryRecord(time, itemName, playerName, eachPrice, traded);
    }
}

// The catalogue of tradeable items that the buy-offer search looks through.
void Protocol::ParseMarketItemNames(InMessage& message) {
    MarketDialog* market = Market();
    const int count = message.ReadU16();
    for (int i = 0; i < count && message.Remaining() > 0; ++i) {
        const int32_t start = message.pos;
        const uint16_t itemId = message.ReadU16();
        const std::string name = message.ReadString();
        if (message.pos == start)
            break;  // one byte left: no record, however many are announced
        if (market)
            market->AddItemName(itemId, name);
    }
}
