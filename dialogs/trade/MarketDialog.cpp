// The item market's data and what the server's listings feed into it.
#include "dialogs/trade/MarketDialog.h"

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITable.h"
#include "engine/gui/GUITableRow.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameInterface.h"
#include "game/Lifecycle.h"
#include "world/Thing.h"

namespace {

// The grid's categories in their order, "All Items" first.
const MarketCategory kCategories[] = {
    {-1, 0, "All Items"},       {1, 1390, "Valuables"}, {2, 2497, "Food"},     {3, 1731, "Other"},
    {4, 1662, "Melee Weapons"}, {5, 2739, "Ranged Weapons"}, {6, 1687, "Wands"}, {7, 567, "Shields"},
    {8, 574, "Helmets"},        {9, 582, "Armors"},     {10, 1647, "Legs"},    {11, 1653, "Boots"},
    {12, 1617, "Necklaces"},    {13, 3065, "Rings"},    {14, 1644, "Bracers"}, {15, 1570, "Gauntlets"},
};

}  // namespace

MarketDialog::MarketDialog() {
    app = Client::Instance()->app;
    gui = app ? app->gui : nullptr;
    categories.assign(std::begin(kCategories), std::end(kCategories));
    lifecycle::Note("MarketDialog");
}

MarketDialog::~MarketDialog() {
    lifecycle::Note("~MarketDialog");
    CloseWindows();
    offers.clear();
    history.clear();
    itemNames.clear();
    categories.clear();
}

void MarketDialog::Close() {
    lifecycle::Note("MarketDialog::Close");
    CloseWindows();
}

void MarketDialog::CloseWindows() {
    ForgetRows();
    for (const int32_t id : {kDialogId, kSellDialogId, kBuyDialogId})
        DialogHelper(gui, id).CloseAndFocus(GameIds::kChatInput);
    DialogHelper(gui, kHistoryDialogId).Close();
}

void MarketDialog::ForgetRows() {
    for (const auto& offer : offers)
        offer->row = nullptr;
}

GUITable* MarketDialog::OffersTable() { return DialogHelper(gui, kDialogId).Find<GUITable>(kOffersTable); }

MarketOffer* MarketDialog::OfferAt(const GUITableRow* row) {
    if (!row)
        return nullptr;
    for (const auto& offer : offers)
        if (offer->row == row)
            return offer.get();
    return nullptr;
}

void MarketDialog::InsertOffer(const std::string& itemName, const std::string& playerName, uint32_t itemId,
                               uint32_t count, float eachPrice, uint32_t category, bool sell) {
    if (int32_t(count) <= 0)
        return;
    if (offers.size() >= kMaxOffers) {
        if (GUITable* table = OffersTable())
            table->RemoveRow(offers.front()->row);
        offers.pop_front();
    }
    auto offer = std::make_unique<MarketOffer>();
    offer->itemName = itemName;
    offer->playerName = playerName;
    offer->itemId = itemId;
    offer->count = count;
    offer->category = category;
    offer->eachPrice = eachPrice;
    offer->sell = sell ? 1 : 0;
    MarketOffer& added = *offer;
    offers.push_back(std::move(offer));
    GUITable* table = OffersTable();
    if (!table)
        return;
    GUITableRow* row = table->AddRow();
    row->SetCellSprite(0, GetItemDisplayId(int(itemId), kIconCount));
    row->SetCellText(1, itemName);
    row->SetCellText(2, playerName == GetLocalPlayerName() ? (sell ? "You (Sell Offer)" : "You (Buy Offer)")
                                                           : playerName);
    row->SetCellNumber(3, eachPrice);
    row->SetCellInt(4, int32_t(count));
    added.row = row;
}

void MarketDialog::AddHistoryRecord(uint32_t time, const std::string& itemName, const std::string& playerName,
                                    float eachPrice, uint32_t count) {
    if (int32_t(time) < 0)
        return;
    MarketHistoryRecord record;
    record.itemName = itemName;
    record.playerName = playerName;
    record.time = time;
    record.count = count;
    record.eachPrice = eachPrice;
    if (history.size() >= kMaxHistory)
        history.pop_front();
    history.push_back(std::move(record));
}

void MarketDialog::AddItemName(uint32_t itemId, const std::string& itemName) {
    if (itemNames.size() >= kMaxItemNames)
        itemNames.pop_front();
    itemNames.push_back(MarketItemName{itemId, itemName.substr(0, kMaxItemNameLength)});
}

void MarketDialog::ClearOffers() {
    // The rows go first: an offer never outlives the row it points to.
    if (GUITable* table = OffersTable())
        table->Clear();
    offers.clear();
    history.clear();
}

bool MarketDialog::IsOfferVisible(uint32_t tab, const std::string& search, int32_t category,
                                  const std::string& localName, const MarketOffer& offer) {
    if (tab == kOwnTab)
        return offer.playerName == localName;
    if (!search.empty() && offer.itemName.find(search) == std::string::npos)
        return false;
    if ((tab == kSellTab) != (offer.sell != 0))
        return false;
    return category <= 0 || offer.category == uint32_t(category);
}

bool MarketDialog::IsOfferVisible(const MarketOffer& offer) {
    return IsOfferVisible(currentTab, BoxText(DialogHelper(gui, kDialogId), kSearchBox), currentCategory,
                          GetLocalPlayerName(), offer);
}

void MarketDialog::ApplyFilter(GUITable* table) {
    // The search text and the name once for the whole list.
    const std::string search = BoxText(DialogHelper(gui, kDialogId), kSearchBox);
    const std::string localName = GetLocalPlayerName();
    for (const auto& offer : offers)
        if (offer->row)
            offer->row->SetVisible(IsOfferVisible(currentTab, search, currentCategory, localName, *offer));
    table->EnableScrollbar();
}

void MarketDialog::RefreshRows() {
    if (GUITable* table = OffersTable())
        ApplyFilter(table);
}
