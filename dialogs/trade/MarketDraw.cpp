// What the market's three draw callbacks paint and do every frame: the
// market window's panels, category grid, balance or chosen offer, Accept
// caption, the search filter and the query of a Ctrl-clicked offer; and the
// previews of the two offer dialogs.
#include <cmath>
#include <string>

#include "client/Client.h"
#include "client/TextUtils.h"
#include "dialogs/trade/MarketDialog.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITable.h"
#include "engine/gui/GUITableRow.h"
#include "engine/gui/GUITextbox.h"
#include "protocol/Protocol.h"
#include "world/Thing.h"

namespace {

constexpr uint32_t kLabelColor = 0xFFC8C8C8;
constexpr uint32_t kHoveredEdges = 0x3CFFFFFF;
constexpr uint32_t kHoveredFill = 0x1E000000;
constexpr uint32_t kCellEdges = 0x96000000;
constexpr uint32_t kCellFill = 0x32000000;
constexpr int kIconSize = 32;
// The highest total the sell offer's preview calls valid, and the highest
// price each.
constexpr int64_t kMaxSellTotal = 1000000000;
constexpr float kMaxSellPrice = 1000000000.0f;

// A float truncated into Int, or nothing where Int does not hold it (the
// two fall-backs differ exactly when the conversion fails).
template <class Int>
std::optional<Int> Checked(double value) {
    const Int low = FloatToInteger<Int>(value, Int(0));
    const Int high = FloatToInteger<Int>(value, Int(1));
    if (low != high)
        return std::nullopt;
    return low;
}

}  // namespace

// --- The three prices ---

std::string MarketDialog::AcceptCaption(uint32_t tab, int32_t amount, float eachPrice) {
    std::string caption = tab == kSellTab ? "Buy" : "Sell";
    if (amount <= 0)
        return caption;
    // A total no integer holds (an infinite or huge price from the server)
    // leaves the plain caption.
    if (const std::optional<int32_t> total = Checked<int32_t>(std::ceil(float(amount) * eachPrice)))
        caption += " (" + std::to_string(*total) + " gold)";
    return caption;
}

std::optional<int64_t> MarketDialog::SellOfferTotal(int32_t amount, float price) {
    // Cut to whole hundredths. A negative or non-finite price has no
    // hundredths at all and counts as invalid.
    const std::optional<uint64_t> cents = Checked<uint64_t>(price * 100.0f);
    if (!cents)
        return std::nullopt;
    const float cut = float(*cents) / 100.0f;
    if (!(cut >= 0 && cut <= kMaxSellPrice))
        return std::nullopt;
    const std::optional<int64_t> total = Checked<int64_t>(std::ceil(cut * float(amount)));
    if (!total || *total < 0 || *total > kMaxSellTotal)
        return std::nullopt;
    return total;
}

std::optional<int32_t> MarketDialog::BuyOfferTotal(int32_t amount, float price) {
    return Checked<int32_t>(price * float(amount));
}

std::string MarketDialog::SellOfferTotalText(int32_t amount, float price) {
    const std::optional<int64_t> total = SellOfferTotal(amount, price);
    if (!total)
        return "The total offer price is invalid.\n";
    return "Total offer price is " + std::to_string(*total) + " gold.\n";
}

std::string MarketDialog::BuyOfferTotalText(int32_t amount, float price) {
    const std::optional<int32_t> total = BuyOfferTotal(amount, price);
    if (!total)
        return "The total offer price is invalid.\n";
    return "Total offer price is " + std::to_string(*total) + " gold.\n";
}

// --- Helpers ---

void MarketDialog::DrawLabel(const std::string& text, int x, int y) {
    if (Graphics* graphics = app ? app->graphics : nullptr)
        graphics->RenderText(text, x, y, kLabelColor, true);
}

void MarketDialog::DrawItemIcon(uint32_t itemId, int x, int y) {
    Graphics* graphics = app ? app->graphics : nullptr;
    // Ids come from the server: the store has no sprite beyond its range.
    Sprite* sprite = graphics && app->sprites ? app->sprites->GetSprite(GetItemDisplayId(int(itemId), kIconCount))
                                              : nullptr;
    if (sprite)
        graphics->RenderSprite(sprite, x, y, kIconSize, kIconSize);
}

bool MarketDialog::FocusInside(int32_t dialogId) {
    const GUIControl* dialog = DialogHelper(gui, dialogId).Dialog();
    for (const GUIControl* control = gui ? gui->focus : nullptr; control; control = control->GetParent())
        if (control == dialog)
            return dialog != nullptr;
    return false;
}

// --- The market window ---

void MarketDialog::Draw() {
    const DialogHelper dialog(gui, kDialogId);
    const GUIControl* window = dialog.Dialog();
    if (!window)
        return;
    GUITable* table = dialog.Find<GUITable>(kOffersTable);
    const int x = window->x;
    const int y = window->y;
    const int w = window->width;
    const int h = window->height;
    GUIControl* accept = dialog.Find<GUIButton>(kAcceptButton);
    GUIControl* amountBox = dialog.Find<GUITextbox>(kAmountBox);
    dialog.DrawPanel();
    dialog.DrawPanelBox(x + 20, y + h - 110, w - 40, 45);

    if (currentTab == kOwnTab) {
        DrawLabel("Drag and drop an item here from your inventory to create a sell offer.\n"
                  "Right click on an offer above to remove it from the market.",
                  x + 27, y + h - 103);
        dialog.DrawPanelBox(x + w - 322, y + 66, 302, 25);
        dialog.DrawPanelBox(x + 21, y + 66, 100, 25);
        dialog.DrawPanelBox(x + 20, y + 100, w - 40, h - 219);
        SetShown(accept, false);
        SetShown(amountBox, false);
        DrawOfferQuery(table);
        return;
    }

    if (const MarketOffer* offer = ChosenOffer()) {
        DrawItemIcon(offer->itemId, x + 32, y + h - 103);
        DrawLabel(std::to_string(offer->count) + "x " + offer->itemName, x + 75, y + h - 95);
        SetShown(accept, true);
        SetShown(amountBox, true);
        DrawLabel("Amount:", x + w - 315, y + h - 95);
        if (auto* button = dynamic_cast<GUIButton*>(accept))
            button->SetCaption(
                AcceptCaption(currentTab, ReadLeadingInt(BoxText(dialog, kAmountBox)), offer->eachPrice));
    } else {
        const bool sellTab = currentTab == kSellTab;
        const char* hint;
        if (currentCategory == 0)
            hint = sellTab ? "Select a category to view available sell offers. To create offers, go to the My "
                             "Offers tab."
                           : "Select a category to view available buy offers. To create offers, go to the My "
                             "Offers tab.";
        else
            hint = sellTab ? "To buy item(s), choose an offer from the list. To create offers, go to the My Offers "
                             "tab."
                           : "To sell item(s), choose an offer from the list. To create offers, go to the My "
                             "Offers tab.";
        DrawLabel("You have " + std::to_string(int32_t(bankBalance)) + " gold available on your bank balance.\n" +
                      hint,
                  x + 27, y + h - 103);
        SetShown(accept, false);
        SetShown(amountBox, false);
    }

    if (currentCategory == 0) {
        dialog.DrawPanelBox(x + 20, y + 66, w - 40, h - 185);
        DrawGrid(x, y);
    } else {
        dialog.DrawPanelBox(x + 20, y + 66, 252, 25);
        dialog.DrawPanelBox(x + 20, y + 100, w - 40, h - 219);
        DrawLabel("Search:", x + w - 210, y + 70);
        // Filtering runs once per change of the search text, not per frame.
        const std::string search = BoxText(dialog, kSearchBox);
        if (search != marketSearch) {
            marketSearch = search;
            if (table)
                ApplyFilter(table);
        }
    }
    DrawOfferQuery(table);
}

std::pair<int, int> MarketDialog::GridCell(int x, int y, size_t i) {
    return {x + 30 + 137 * int(i % 4), y + 76 + 76 * int(i / 4)};
}

void MarketDialog::DrawGrid(int x, int y) {
    Graphics* graphics = app ? app->graphics : nullptr;
    const float px = gui->mouseX;
    const float py = gui->mouseY;
    hoveredCategory = 0;
    for (size_t i = 0; i < categories.size(); ++i) {
        const MarketCategory& category = categories[i];
        const auto [gx, gy] = GridCell(x, y, i);
        const bool over = float(gx) <= px && px < float(gx + kCellWidth) && float(gy) <= py &&
                          py < float(gy + kCellHeight);
        if (over)
            hoveredCategory = category.id;
        if (graphics) {
            const uint32_t edges = over ? kHoveredEdges : kCellEdges;
            graphics->RenderBox(gx, gy, kCellWidth, kCellHeight, edges, edges, over ? kHoveredFill : kCellFill);
        }
        DrawLabel(category.name, gx + 62 - app->TextWidth(category.name) / 2, gy + 45);
        Sprite* icon = category.iconSpriteId > 0 && app->sprites ? app->sprites->GetSprite(category.iconSpriteId)
                                                                 : nullptr;
        if (graphics && icon)
            graphics->RenderSprite(icon, gx + 47, gy + 10, kIconSize, kIconSize);
    }
}

void MarketDialog::DrawOfferQuery(GUITable* table) {
    if (!table || !table->markedRow)
        return;
    const MarketOffer* offer = OfferAt(table->markedRow);
    // One Ctrl-click asks at most once, and only about a sell offer.
    table->markedRow = nullptr;
    if (!offer || !offer->sell)
        return;
    if (Protocol* protocol = Client::Instance()->protocol)
        protocol->SendMarketQuery(offer->itemId, offer->playerName);
}

// --- The offer dialogs ---

const GUIControl* MarketDialog::BeginOfferDraw(int32_t dialogId, int32_t createButton) {
    const DialogHelper dialog(gui, dialogId);
    const GUIControl* window = dialog.Dialog();
    if (!window)
        return nullptr;
    // Both offer dialogs may be open; Enter belongs to the one being typed in.
    if (FocusInside(dialogId))
        gui->enterButtonId = createButton;
    dialog.DrawPanel();
    return window;
}

void MarketDialog::DrawSellOffer() {
    const GUIControl* window = BeginOfferDraw(kSellDialogId, kSellCreateButton);
    if (!window)
        return;
    const DialogHelper dialog(gui, kSellDialogId);
    const int x = window->x;
    const int y = window->y;
    DrawLabel("Amount:", x + 20, y + 45);
    DrawLabel("Price each:", x + 20, y + 80);
    const int32_t amount = ReadLeadingInt(BoxText(dialog, kSellAmountBox));
    const float price = ReadLeadingFloat(BoxText(dialog, kSellPriceBox));
    DrawItemIcon(sellOfferItem, x + 20, y + 112);
    DrawLabel(SellOfferTotalText(amount, price) + "Adding this sell offer costs 50 gold.", x + 60, y + 112);
}

void MarketDialog::DrawBuyOffer() {
    const GUIControl* window = BeginOfferDraw(kBuyDialogId, kBuyCreateButton);
    if (!window)
        return;
    const DialogHelper dialog(gui, kBuyDialogId);
    const std::string search = BoxText(dialog, kBuySearchBox);
    if (search != buyOfferSearch) {
        buyOfferSearch = search;
        FillBuyItemList();
    }
    const int x = window->x;
    const int y = window->y;
    DrawLabel("Search:", x + 20, y + 45);
    DrawLabel("Amount:", x + 20, y + 185);
    DrawLabel("Price each:", x + 20, y + 220);
    const int32_t amount = ReadLeadingInt(BoxText(dialog, kBuyAmountBox));
    const float price = ReadLeadingFloat(BoxText(dialog, kBuyPriceBox));
    DrawItemIcon(SelectedBuyItemId(), x + 20, y + 252);
    DrawLabel(BuyOfferTotalText(amount, price) + "Adding this buy offer costs 50 gold.", x + 60, y + 252);
}
