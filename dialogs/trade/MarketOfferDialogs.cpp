// The two dialogs that post a market offer: "Create Sell Offer" (dialog 256)
// for an item dropped on the market, "Create Buy Offer" (dialog 267) for an
// item picked from the server's catalogue. Neither checks what is typed: the
// server decides.
#include "client/Client.h"
#include "client/TextUtils.h"
#include "dialogs/trade/MarketDialog.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITextbox.h"
#include "protocol/Protocol.h"

namespace {

const char kPlaceholder[] = "-- select item --";

bool Matches(const std::string& search, const std::string& name) {
    return search.empty() || name.find(search) != std::string::npos;
}

}  // namespace

void MarketDialog::OpenSellOffer(uint32_t itemId) {
    if (currentTab != kOwnTab)
        return;
    // An open dialog keeps its typed values; the offer is now for this item.
    sellOfferItem = itemId;
    DialogHelper dialog(gui, kSellDialogId);
    GUIDialog* window = dialog.OpenFromCentre("Create Sell Offer", -185, -130, 370, 210);
    if (!window)
        return;
    window->drawCallback = &MarketDialog::DrawSellCallback;
    window->drawContext = this;
    GUITextbox* amount = AddTextBox(dialog, kSellAmountBox, "1", 90, 40, 260, 25);
    AddTextBox(dialog, kSellPriceBox, "", 90, 75, 260, 25);
    dialog.Add(new GUILine(), 7, 165, 356, 1);
    dialog.AddButton(kSellCreateButton, "Create Offer", &MarketDialog::OnCreateSellOffer, this, 77, 175, 95, 25);
    dialog.AddButton(kSellCancelButton, "Cancel", &MarketDialog::OnSellCancel, this, 198, 175, 95, 25);
    gui->enterButtonId = kSellCreateButton;
    gui->focus = amount;
}

void MarketDialog::OpenBuyOffer() {
    if (currentTab != kOwnTab)
        return;
    DialogHelper dialog(gui, kBuyDialogId);
    GUIDialog* window = dialog.OpenFromCentre("Create Buy Offer", -185, -180, 370, 350);
    if (window) {
        window->drawCallback = &MarketDialog::DrawBuyCallback;
        window->drawContext = this;
        AddTextBox(dialog, kBuySearchBox, "", 90, 40, 260, 25);
        GUISelect* list = new GUISelect();
        list->id = kBuyItemList;
        list->rowHeight = 20;
        dialog.Add(list, 20, 70, 330, 102);
        GUITextbox* amount = AddTextBox(dialog, kBuyAmountBox, "1", 90, 180, 260, 25);
        AddTextBox(dialog, kBuyPriceBox, "", 90, 215, 260, 25);
        dialog.Add(new GUILine(), 7, 305, 356, 1);
        dialog.AddButton(kBuyCreateButton, "Create Offer", &MarketDialog::OnCreateBuyOfferConfirm, this, 77, 315,
                         95, 25);
        dialog.AddButton(kBuyCancelButton, "Cancel", &MarketDialog::OnBuyCancel, this, 198, 315, 95, 25);
        gui->enterButtonId = kBuyCreateButton;
        gui->focus = amount;
    }
    FillBuyItemList();
}

void MarketDialog::FillBuyItemList() {
    const DialogHelper dialog(gui, kBuyDialogId);
    GUISelect* list = dialog.Find<GUISelect>(kBuyItemList);
    if (!list)
        return;
    const std::string search = BoxText(dialog, kBuySearchBox);
    // The list keeps its selected position: the choice now names the entry
    // at that place of the new list.
    list->Clear();
    buyItemIds.clear();
    list->AddItem(kPlaceholder);
    buyItemIds.push_back(0);
    for (const MarketItemName& entry : itemNames)
        if (Matches(search, entry.itemName)) {
            list->AddItem(entry.itemName);
            buyItemIds.push_back(entry.itemId);
        }
}

uint32_t MarketDialog::SelectedBuyItemId() {
    const GUISelect* list = DialogHelper(gui, kBuyDialogId).Find<GUISelect>(kBuyItemList);
    if (!list || list->selectedIndex < 0 || size_t(list->selectedIndex) >= buyItemIds.size())
        return 0;
    return buyItemIds[size_t(list->selectedIndex)];
}

void MarketDialog::CreateOffer(bool sell) {
    const DialogHelper dialog(gui, sell ? kSellDialogId : kBuyDialogId);
    if (!dialog.IsOpen())
        return;
    const int32_t amount = ReadLeadingInt(BoxText(dialog, sell ? kSellAmountBox : kBuyAmountBox));
    const float price = ReadLeadingFloat(BoxText(dialog, sell ? kSellPriceBox : kBuyPriceBox));
    const uint32_t itemId = sell ? sellOfferItem : SelectedBuyItemId();
    if (Protocol* protocol = Client::Instance()->protocol)
        protocol->SendMarketCreateOffer(itemId, uint32_t(amount), price, sell ? 1 : 0);
    dialog.CloseAndFocus(GameIds::kChatInput);
}

// --- Callbacks ---

void MarketDialog::DrawSellCallback(void* self) { static_cast<MarketDialog*>(self)->DrawSellOffer(); }

void MarketDialog::DrawBuyCallback(void* self) { static_cast<MarketDialog*>(self)->DrawBuyOffer(); }

void MarketDialog::OnCreateSellOffer(void* self) { static_cast<MarketDialog*>(self)->CreateOffer(true); }

void MarketDialog::OnCreateBuyOfferConfirm(void* self) { static_cast<MarketDialog*>(self)->CreateOffer(false); }

void MarketDialog::OnSellCancel(void* self) {
    DialogHelper(static_cast<MarketDialog*>(self)->gui, kSellDialogId).CloseAndFocus(GameIds::kChatInput);
}

void MarketDialog::OnBuyCancel(void* self) {
    DialogHelper(static_cast<MarketDialog*>(self)->gui, kBuyDialogId).CloseAndFocus(GameIds::kChatInput);
}
