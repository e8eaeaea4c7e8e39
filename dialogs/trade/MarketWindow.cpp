// The item market's window (dialog 196): tabs, categories, the offers table,
// accepting and withdrawing offers, Refresh, and the window as a place to
// drop an item for sale.
#include "client/Client.h"
#include "client/TextUtils.h"
#include "dialogs/trade/MarketDialog.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITable.h"
#include "engine/gui/GUITableRow.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameInterface.h"
#include "protocol/Protocol.h"

namespace {

// Refresh sits at the left on "My Offers", beside the back button otherwise.
constexpr int kOwnRefreshX = 22;
constexpr int kOwnRefreshWidth = 98;
constexpr int kBrowseRefreshX = 171;
constexpr int kBrowseRefreshWidth = 100;
constexpr int kToolbarY = 67;
constexpr int kToolbarHeight = 23;

Protocol* Requests() { return Client::Instance()->protocol; }

}  // namespace

void MarketDialog::SetShown(GUIControl* control, bool shown) {
    if (!control)
        return;
    if (shown)
        control->ClearFlag(GUIControl::kHidden);
    else
        control->SetFlag(GUIControl::kHidden);
}

GUITextbox* MarketDialog::AddTextBox(DialogHelper& dialog, int32_t id, const std::string& text, int dx, int dy,
                                     int width, int height) {
    GUITextbox* box = new GUITextbox();
    box->id = id;
    box->SetText(text);
    return dialog.Add(box, dx, dy, width, height);
}

std::string MarketDialog::BoxText(const DialogHelper& dialog, int32_t id) {
    const GUITextbox* box = dialog.Find<GUITextbox>(id);
    return box ? box->GetText() : std::string();
}

MarketDialog::View MarketDialog::ViewFor(uint32_t tab, int32_t category) {
    View view;
    if (tab == kOwnTab) {
        view.table = view.refresh = view.history = view.createBuy = true;
        view.refreshX = kOwnRefreshX;
        view.refreshWidth = kOwnRefreshWidth;
        return view;
    }
    const bool chosen = category != 0;
    view.table = view.refresh = view.back = view.search = chosen;
    view.refreshX = kBrowseRefreshX;
    view.refreshWidth = kBrowseRefreshWidth;
    return view;
}

void MarketDialog::Open() {
    DialogHelper dialog(gui, kDialogId);
    if (!dialog.IsOpen()) {
        currentTab = kSellTab;
        currentCategory = 0;
        // Rows of a table that went with an earlier window are gone.
        ForgetRows();
        GUIDialog* window = dialog.OpenFromCentre("Item Market", -300, -250, 600, 500);
        if (!window)
            return;
        window->drawCallback = &MarketDialog::DrawCallback;
        window->drawContext = this;
        dialog.AddTabStrip(0, 20, 38, 560, 20, 186,
                           {{0, "Sell Offers", &MarketDialog::OnSellTab},
                            {0, "Buy Offers", &MarketDialog::OnBuyTab},
                            {0, "My Offers", &MarketDialog::OnOwnTab}},
                           this);
        AddTextBox(dialog, kSearchBox, "", 440, 66, 140, 25);
        dialog.AddButton(kBackButton, "\xAB  Back to categories", &MarketDialog::OnBack, this, 21, 67, 150, 23);
        dialog.AddButton(kViewHistoryButton, "View history", &MarketDialog::OnViewHistory, this, 429, 67, 150, 23);
        dialog.AddButton(kCreateBuyOfferButton, "Create Buy Offer", &MarketDialog::OnCreateBuyOffer, this, 279, 67,
                         150, 23);
        dialog.AddButton(kRefreshButton, "Refresh", &MarketDialog::OnRefresh, this, 171, 67, 100, 23);
        GUITable* table = new GUITable();
        table->id = kOffersTable;
        table->AddColumn("", 30);
        table->AddColumn("Item Name", 200);
        table->AddColumn("Player", 160);
        table->AddColumn("Each Price", 90);
        table->AddColumn("Count", 100);
        dialog.Add(table, 21, 101, 558, 279);
        // The grid comes first: what a category and "My Offers" show waits.
        for (const int32_t id :
             {kSearchBox, kBackButton, kViewHistoryButton, kCreateBuyOfferButton, kRefreshButton, kOffersTable})
            SetShown(dialog.Find<GUIControl>(id), false);
        dialog.AddButton(kAcceptButton, "Accept", &MarketDialog::OnAccept, this, 410, 402, 160, 21);
        AddTextBox(dialog, kAmountBox, "1", 350, 402, 50, 21);
        dialog.Add(new GUILine(), 7, 455, 586, 1);
        dialog.AddButton(kCloseButton, "Close", &MarketDialog::OnClose, this, 240, 465, 120, 25);
    }
    if (GUIControl* refresh = dialog.Find<GUIButton>(kRefreshButton))
        refresh->ClearFlag(GUIControl::kDisabled);
}

void MarketDialog::SelectTab(uint32_t tab) {
    const DialogHelper dialog(gui, kDialogId);
    const GUIControl* window = dialog.Dialog();
    if (!window)
        return;
    currentTab = tab;
    const View view = ViewFor(currentTab, currentCategory);
    GUITable* table = dialog.Find<GUITable>(kOffersTable);
    SetShown(table, view.table);
    SetShown(dialog.Find<GUIButton>(kViewHistoryButton), view.history);
    SetShown(dialog.Find<GUIButton>(kCreateBuyOfferButton), view.createBuy);
    SetShown(dialog.Find<GUIButton>(kBackButton), view.back);
    SetShown(dialog.Find<GUITextbox>(kSearchBox), view.search);
    if (GUIButton* refresh = dialog.Find<GUIButton>(kRefreshButton)) {
        SetShown(refresh, view.refresh);
        refresh->SetRect(window->x + view.refreshX, window->y + kToolbarY, view.refreshWidth, kToolbarHeight);
    }
    if (table)
        ApplyFilter(table);
}

void MarketDialog::ShowCategory(int32_t categoryId) {
    currentCategory = categoryId;
    SelectTab(currentTab);
    if (GUITextbox* box = DialogHelper(gui, kDialogId).Find<GUITextbox>(kSearchBox))
        box->SetText("");
}

void MarketDialog::OnMouseDown(int x, int y) {
    const GUIControl* window = DialogHelper(gui, kDialogId).Dialog();
    if (!window || currentTab == kOwnTab || currentCategory != 0 || hoveredCategory == 0)
        return;
    // The hovered cell is drawn whatever lies over it; a press on another
    // window over the grid is that window's.
    if (gui->ControlAt(float(x), float(y)) != window)
        return;
    // A button may have shown the grid since the last frame (the back
    // button's click reaches the GUI before the game screen hears its
    // press): the press must land on the cell that was hovered.
    for (size_t i = 0; i < categories.size(); ++i) {
        if (categories[i].id != hoveredCategory)
            continue;
        const auto [gx, gy] = GridCell(window->x, window->y, i);
        if (gx <= x && x < gx + kCellWidth && gy <= y && y < gy + kCellHeight)
            ShowCategory(hoveredCategory);
        return;
    }
}

void MarketDialog::Refresh() {
    if (GUIButton* refresh = DialogHelper(gui, kDialogId).Find<GUIButton>(kRefreshButton))
        refresh->SetFlag(GUIControl::kDisabled);
    if (Protocol* protocol = Requests())
        protocol->SendMarketOpen();
}

MarketOffer* MarketDialog::ChosenOffer() {
    if (currentTab == kOwnTab || currentCategory == 0)
        return nullptr;
    const GUITable* table = OffersTable();
    if (!table || !table->selectedRow || !table->selectedRow->visible)
        return nullptr;
    return OfferAt(table->selectedRow);
}

void MarketDialog::Accept() {
    const MarketOffer* offer = ChosenOffer();
    if (!offer)
        return;
    const int32_t amount = ReadLeadingInt(BoxText(DialogHelper(gui, kDialogId), kAmountBox));
    if (Protocol* protocol = Requests())
        protocol->SendMarketAccept(offer->playerName, offer->itemId, uint32_t(amount), offer->eachPrice,
                                   currentTab == kSellTab ? 1 : 0);
}

void MarketDialog::OnRightClick(int x, int y) {
    const GUIControl* window = DialogHelper(gui, kDialogId).Dialog();
    GUITable* table = OffersTable();
    if (!window || !table || currentTab != kOwnTab)
        return;
    // A click on another window over the table is not the market's.
    if (gui->ControlAt(float(x), float(y)) != window)
        return;
    const MarketOffer* offer = OfferAt(table->RowAt(x, y));
    if (!offer || offer->playerName != GetLocalPlayerName())
        return;
    if (Protocol* protocol = Requests())
        protocol->SendMarketOfferAction(offer->itemId, offer->sell);
}

bool MarketDialog::HitTest(int x, int y) {
    const GUIDialog* window = DialogHelper(gui, kDialogId).Find<GUIDialog>(kDialogId);
    return window && window->x < x && x < window->x + window->width && window->y < y &&
           y < window->y + window->height;
}

// --- Callbacks ---

void MarketDialog::DrawCallback(void* self) { static_cast<MarketDialog*>(self)->Draw(); }

void MarketDialog::OnSellTab(void* self, int, int) { static_cast<MarketDialog*>(self)->SelectTab(kSellTab); }

void MarketDialog::OnBuyTab(void* self, int, int) { static_cast<MarketDialog*>(self)->SelectTab(kBuyTab); }

void MarketDialog::OnOwnTab(void* self, int, int) { static_cast<MarketDialog*>(self)->SelectTab(kOwnTab); }

void MarketDialog::OnBack(void* self) { static_cast<MarketDialog*>(self)->ShowCategory(0); }

void MarketDialog::OnRefresh(void* self) { static_cast<MarketDialog*>(self)->Refresh(); }

void MarketDialog::OnAccept(void* self) { static_cast<MarketDialog*>(self)->Accept(); }

void MarketDialog::OnClose(void* self) {
    auto* market = static_cast<MarketDialog*>(self);
    market->ForgetRows();
    DialogHelper(market->gui, kDialogId).CloseAndFocus(GameIds::kChatInput);
}

void MarketDialog::OnViewHistory(void* self) { static_cast<MarketDialog*>(self)->OpenHistory(); }

void MarketDialog::OnCreateBuyOffer(void* self) { static_cast<MarketDialog*>(self)->OpenBuyOffer(); }
