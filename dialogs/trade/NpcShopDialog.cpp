#include "dialogs/trade/NpcShopDialog.h"

#include <string>

#include "client/Client.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "game/ChatLog.h"
#include "game/Lifecycle.h"
#include "protocol/Protocol.h"

namespace {

const uint32_t kListFill = 0x1E000000;  // black at alpha 30
const uint32_t kHintColor = 0xFFC0C0C0;
const int kRowHeight = 50;
const char kBuyHint[] = "Choose an item from the list to buy from the NPC.";
const char kSellHint[] = "Choose an item or drop an item here to sell it to the NPC.";
const char kUseSellTab[] = "Choose the Sell to NPC tab if you want to sell items.";
const char kCannotSell[] = "You can not sell this item here.";
// The merchant's answers in the chat: from "Server" in the main channel.
const char kChatSender[] = "Server";
const char kChatChannel[] = "Main";
const int kChatKind = 6;

NpcShopDialog* Module(void* context) { return static_cast<NpcShopDialog*>(context); }

Protocol* Requests() { return Client::Instance()->protocol; }

}  // namespace

NpcShopDialog::NpcShopDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("NpcShopDialog");
}

NpcShopDialog::~NpcShopDialog() { lifecycle::Note("~NpcShopDialog"); }

void NpcShopDialog::Close() {
    lifecycle::Note("NpcShopDialog::Close");
    CloseWindow();
    ClearOffers();
}

void NpcShopDialog::ClearOffers() {
    offers[kBuys].clear();
    offers[kSells].clear();
}

void NpcShopDialog::AddOffer(const std::string& name, uint32_t itemId, uint32_t price, bool buy) {
    auto offer = std::make_unique<NpcShopOffer>();
    offer->name = name;
    offer->itemId = itemId;
    offer->price = price;
    offers[buy ? kSells : kBuys].push_back(std::move(offer));
}

void NpcShopDialog::Show() {
    DialogHelper dialog(gui, kDialogId);
    if (dialog.IsOpen()) {
        RefreshList();
        return;
    }
    buyTab = 1;
    GUIDialog* window = dialog.OpenFromCentre("Shop List", -200, -208, 400, 417);
    if (!window)
        return;
    window->drawCallback = &NpcShopDialog::Draw;
    window->drawContext = this;
    dialog.AddTabStrip(kTabsId, 20, 38, 360, 20, 179,
                       {{kBuyTabId, "Buy from NPC", &NpcShopDialog::OnBuyTab},
                        {kSellTabId, "Sell to NPC", &NpcShopDialog::OnSellTab}},
                       this);
    GUISelect* list = dialog.Add(new GUISelect(), 20, 65, 360, 252);
    list->id = kListId;
    list->rowHeight = kRowHeight;
    list->fillColor = kListFill;  // after adding, which copies the dialog's colours
    dialog.Add(new GUILine(), 7, 372, 386, 1);
    dialog.AddButton(kChooseButtonId, "Choose", &NpcShopDialog::OnChoose, this, 92, 382, 95, 25);
    dialog.AddButton(kCloseButtonId, "Close", &NpcShopDialog::OnClose, this, 213, 382, 95, 25);
    gui->enterButtonId = kChooseButtonId;
    RefreshList();
}

void NpcShopDialog::RefreshList() {
    GUISelect* list = DialogHelper(gui, kDialogId).Find<GUISelect>(kListId);
    if (!list)
        return;
    list->Clear();
    for (const auto& offer : offers[buyTab ? kSells : kBuys])
        list->AddItem(offer->name, std::to_string(int32_t(offer->price)) + " gold");
}

void NpcShopDialog::CloseWindow() { DialogHelper(gui, kDialogId).CloseAndFocus(GameIds::kChatInput); }

bool NpcShopDialog::ContainsPoint(int x, int y) {
    const GUIControl* dialog = DialogHelper(gui, kDialogId).Dialog();
    return dialog && dialog->x < x && x < dialog->x + dialog->width && dialog->y < y &&
           y < dialog->y + dialog->height;
}

const NpcShopOffer* NpcShopDialog::ShownOffer(int k) const {
    const auto& shown = offers[buyTab ? kSells : kBuys];
    return k >= 0 && size_t(k) < shown.size() ? shown[size_t(k)].get() : nullptr;
}

void NpcShopDialog::OnItemDropped(uint32_t itemId) {
    // Only an open window is a drop target; a stale drop sells nothing.
    if (!DialogHelper(gui, kDialogId).IsOpen())
        return;
    if (buyTab) {
        ChatLog::Instance()->AddMessage(kChatSender, kChatChannel, kChatKind, kUseSellTab);
        return;
    }
    for (const auto& offer : offers[kBuys]) {
        if (offer->itemId == itemId) {
            Requests()->SendOp21(itemId, 1);
            return;
        }
    }
    ChatLog::Instance()->AddMessage(kChatSender, kChatChannel, kChatKind, kCannotSell);
}

void NpcShopDialog::Draw(void* module) {
    NpcShopDialog* self = Module(module);
    const DialogHelper dialog(self->gui, kDialogId);
    const GUIControl* window = dialog.Dialog();
    Graphics* graphics = self->app->graphics;
    if (!window || !graphics)
        return;
    const int X = window->x;
    const int Y = window->y;
    const int W = window->width;
    dialog.DrawPanel();
    dialog.DrawFrameBox(X + 20, Y + 326, W - 40, 25);
    graphics->RenderText(self->buyTab ? kBuyHint : kSellHint, X + 25, Y + 331, kHintColor, true);

    // A Ctrl-click marks a row without choosing it; it is asked about once.
    if (GUISelect* list = dialog.Find<GUISelect>(kListId)) {
        if (list->markedIndex >= 0) {
            if (const NpcShopOffer* offer = self->ShownOffer(list->markedIndex))
                Requests()->SendNpcShopSelect(offer->itemId);
            list->markedIndex = -1;
        }
    }
}

void NpcShopDialog::OnChoose(void* module) {
    NpcShopDialog* self = Module(module);
    const DialogHelper dialog(self->gui, kDialogId);
    const GUISelect* list = dialog.Find<GUISelect>(kListId);
    if (!list)
        return;
    // The flag names the list the row was taken from: "Sell to NPC" sells.
    if (const NpcShopOffer* offer = self->ShownOffer(list->selectedIndex))
        Requests()->SendOp21(offer->itemId, self->buyTab ? 0 : 1);
}

void NpcShopDialog::OnClose(void* module) { Module(module)->CloseWindow(); }

void NpcShopDialog::OnBuyTab(void* module, int, int) {
    Module(module)->buyTab = 1;
    Module(module)->RefreshList();
}

void NpcShopDialog::OnSellTab(void* module, int, int) {
    Module(module)->buyTab = 0;
    Module(module)->RefreshList();
}
