#include "dialogs/trade/HouseBiddingDialog.h"

#include <algorithm>
#include <ctime>

#include "client/Client.h"
#include "client/TextUtils.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITextbox.h"
#include "game/Lifecycle.h"
#include "protocol/Protocol.h"

namespace {

HouseBiddingDialog* Module(void* self) { return static_cast<HouseBiddingDialog*>(self); }

// Seconds left as the list compares them.
int32_t SortKey(uint32_t secondsLeft) { return std::max<int32_t>(int32_t(secondsLeft), 0); }

}  // namespace

HouseBiddingDialog::HouseBiddingDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("HouseBiddingDialog");
}

HouseBiddingDialog::~HouseBiddingDialog() { lifecycle::Note("~HouseBiddingDialog"); }

int64_t HouseBiddingDialog::Now() const { return clock ? clock() : int64_t(std::time(nullptr)); }

bool HouseBiddingDialog::ComesBefore(const HouseBidEntry& a, const HouseBidEntry& b) {
    return SortKey(a.secondsLeft) > SortKey(b.secondsLeft);
}

std::string HouseBiddingDialog::TimeLeftText(const std::string& bidder, uint32_t secondsLeft, int64_t receivedAt,
                                             int64_t now) {
    // The countdown shows only once somebody has bid.
    if (bidder.empty())
        return "-";
    // In 64 bits: a 32-bit sum of the seconds left and a clock reading
    // overflows.
    const int64_t left = int64_t(int32_t(secondsLeft)) + receivedAt - now;
    if (left / 3600 >= 1)
        return std::to_string(left / 3600) + " hour(s) left";
    if (left / 60 >= 1)
        return std::to_string(left / 60) + " minutes(s) left";
    if (left > 0)
        return std::to_string(left) + " second(s) left";
    return "Over";
}

void HouseBiddingDialog::ClearHouses() { houses.clear(); }

void HouseBiddingDialog::AddHouse(uint32_t houseId, const std::string& houseName, const std::string& bidder,
                                  uint32_t highestBid, uint32_t secondsLeft, uint32_t rent) {
    HouseBidEntry entry;
    entry.houseId = houseId;
    entry.highestBid = highestBid;
    entry.secondsLeft = secondsLeft;
    entry.rent = rent;
    entry.receivedAt = Now();
    entry.name = houseName;
    entry.bidder = bidder;
    houses.push_back(std::move(entry));
    // Equal keys keep their order of arrival.
    std::stable_sort(houses.begin(), houses.end(), &HouseBiddingDialog::ComesBefore);
    RefreshList();
}

void HouseBiddingDialog::Open(bool canBid) {
    DialogHelper dialog(gui, kDialogId);
    GUIDialog* frame = dialog.OpenFromCentre("House Bidding", -225, -181, 450, 363);
    if (!frame)
        return;
    frame->drawCallback = &HouseBiddingDialog::DrawCallback;
    frame->drawContext = this;
    GUISelect* list = new GUISelect();
    list->id = GameIds::kHouseBiddingList;
    list->rowHeight = 35;
    if (dialog.Add(list, 17, 35, 416, 202))
        list->fillColor = DialogHelper::kPanelFill;
    GUITextbox* amount = new GUITextbox();
    amount->id = GameIds::kHouseBidAmount;
    dialog.Add(amount, 17, 242, 416, 25);
    GUIButton* bid =
        dialog.AddButton(GameIds::kHouseBid, "Bid Premium Cards", &HouseBiddingDialog::OnBidClick, this, 17, 272, 416, 25);
    if (bid && !canBid)
        bid->SetFlag(GUIControl::kDisabled);
    dialog.Add(new GUILine(), 7, 318, 436, 1);
    dialog.AddButton(GameIds::kHouseBiddingClose, "Close", &HouseBiddingDialog::OnClose, this, 165, 328, 120, 25);
    RefreshList();
}

void HouseBiddingDialog::RefreshList() {
    GUISelect* list = DialogHelper(gui, kDialogId).Find<GUISelect>(GameIds::kHouseBiddingList);
    if (!list)
        return;
    list->Clear();
    list->AddItem("-- Select House --");
    const int64_t now = Now();
    for (const HouseBidEntry& house : houses) {
        const std::string rent = "Rent " + std::to_string(int32_t(house.rent)) + " gold";
        const std::string bid = house.bidder.empty() ? "No bid yet"
                                                     : "Highest bid " + std::to_string(int32_t(house.highestBid)) +
                                                           " cards by " + house.bidder;
        list->AddItem(house.name, TimeLeftText(house.bidder, house.secondsLeft, house.receivedAt, now), 0, rent, bid);
    }
}

void HouseBiddingDialog::Bid() {
    DialogHelper dialog(gui, kDialogId);
    const GUISelect* list = dialog.Find<GUISelect>(GameIds::kHouseBiddingList);
    const GUITextbox* amount = dialog.Find<GUITextbox>(GameIds::kHouseBidAmount);
    if (!list || !amount)
        return;
    // Row 0 is "-- Select House --"; rows left standing by a message without
    // houses have no house behind them.
    const int row = list->selectedIndex;
    if (row < 1 || size_t(row) > houses.size())
        return;
    Client::Instance()->protocol->SendHouseBid(houses[size_t(row) - 1].houseId,
                                               uint32_t(ReadLeadingInt(amount->GetText())));
}

void HouseBiddingDialog::CloseWindow() { DialogHelper(gui, kDialogId).CloseAndFocus(GameIds::kChatInput); }

void HouseBiddingDialog::Close() {
    lifecycle::Note("HouseBiddingDialog::Close");
    CloseWindow();
    houses = std::vector<HouseBidEntry>();
}

void HouseBiddingDialog::Draw() {
    DialogHelper dialog(gui, kDialogId);
    if (const GUIControl* frame = dialog.Dialog())
        dialog.DrawPanelBox(frame->x + 7, frame->y + 25, frame->width - 14, frame->height - 80);
}

void HouseBiddingDialog::DrawCallback(void* self) { Module(self)->Draw(); }

void HouseBiddingDialog::OnBidClick(void* self) {
    Module(self)->Bid();
    Module(self)->CloseWindow();
}

void HouseBiddingDialog::OnClose(void* self) { Module(self)->CloseWindow(); }
