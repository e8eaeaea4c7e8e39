#include "dialogs/trade/NpcTradeDialog.h"

#include <cmath>

#include "client/Client.h"
#include "client/TextUtils.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITextbox.h"
#include "protocol/Protocol.h"
#include "world/Thing.h"

namespace {

NpcTradeDialog* instance = nullptr;

NpcTradeDialog* Module(void* context) { return static_cast<NpcTradeDialog*>(context); }

// A 64-bit product cut to the 32 bits a signed field holds, wrapping as the
// server's arithmetic does.
int32_t Wrap32(int64_t value) { return int32_t(uint32_t(uint64_t(value))); }

std::string Signed(uint32_t value) { return std::to_string(int32_t(value)); }

}  // namespace

NpcTradeDialog* NpcTradeDialog::Instance() {
    // Never freed: it lives for the run, reachable from here.
    if (!instance)
        instance = new NpcTradeDialog();
    instance->Attach();
    return instance;
}

NpcTradeDialog* NpcTradeDialog::IfCreated() {
    if (instance)
        instance->Attach();
    return instance;
}

NpcTradeDialog::NpcTradeDialog() { Attach(); }

void NpcTradeDialog::Attach() {
    app = Client::Instance()->app;
    gui = app ? app->gui : nullptr;
}

void NpcTradeDialog::Show() {
    Attach();
    DialogHelper dialog(gui, kDialogId);
    GUIDialog* window = dialog.OpenFromCentre("Trade Item", -225, -117, 450, 235);
    if (!window)
        return;
    window->drawCallback = &NpcTradeDialog::Draw;
    window->drawContext = this;
    auto* amount = dialog.Add(new GUITextbox(), 88, 40, 341, 25);
    amount->id = kAmountBoxId;
    amount->SetText("1");
    dialog.Add(new GUILine(), 7, 190, 436, 1);
    dialog.AddButton(kTradeButtonId, "Trade", &NpcTradeDialog::OnTrade, this, 117, 200, 95, 25);
    dialog.AddButton(kCancelButtonId, "Cancel", &NpcTradeDialog::OnCancel, this, 238, 200, 95, 25);
    gui->focus = amount;
    gui->enterButtonId = kTradeButtonId;
}

void NpcTradeDialog::Close() {
    Attach();
    DialogHelper(gui, kDialogId).CloseAndFocus(GameIds::kChatInput);
}

int32_t NpcTradeDialog::Amount() const {
    const GUITextbox* box = DialogHelper(gui, kDialogId).Find<GUITextbox>(kAmountBoxId);
    return box ? ReadLeadingInt(box->GetText()) : 0;
}

int32_t NpcTradeDialog::Total(int32_t amount, uint32_t price) {
    return Wrap32(int64_t(amount) * int64_t(int32_t(price)));
}

uint32_t NpcTradeDialog::TotalColor(bool buying, int32_t amount, uint32_t price, uint32_t carried) {
    const int32_t have = int32_t(carried);
    const bool beyond = buying ? Total(amount, price) > have : amount > have;
    return beyond ? kRedColor : kGreyColor;
}

std::string NpcTradeDialog::TotalText(int32_t amount, uint32_t price) {
    return "Total price: " + std::to_string(Total(amount, price)) + " gold";
}

std::string NpcTradeDialog::Explanation(bool buying, const std::string& itemName, uint32_t price,
                                        uint32_t carried) {
    const int32_t have = int32_t(carried);
    std::string text = std::string(buying ? "You are buying " : "You are selling ") + itemName + " for " +
                       Signed(price) + " gold each.\n";
    if (buying) {
        text += "You are carrying " + Signed(carried) + " gold with you.\n";
        // A price of 0 divides to infinity or NaN, a negative one to a
        // negative count: neither is a number of pieces to buy.
        const double pieces = std::floor(double(have) / double(int32_t(price)));
        const int32_t n = FloatToInteger<int32_t>(pieces, 0);
        if (n > 0)
            text += "That means you can buy " + std::to_string(n) + " of them.";
        else
            text += "You can not afford to buy this item.";
    } else if (have == 1) {
        text += "You are carrying 1 piece of this item with you.\n";
    } else if (have <= 0) {
        text += "You are not carrying this item with you.";
    } else {
        text += "You are carrying " + Signed(carried) + " pieces of this item with you.\n";
        text += "That means you will get " + std::to_string(Total(have, price)) + " gold if you sell them all.";
    }
    return text;
}

void NpcTradeDialog::Draw(void* module) {
    NpcTradeDialog* self = Module(module);
    self->Attach();
    const DialogHelper dialog(self->gui, kDialogId);
    const GUIControl* window = dialog.Dialog();
    Graphics* graphics = self->app ? self->app->graphics : nullptr;
    if (!window || !graphics)
        return;
    const int X = window->x;
    const int Y = window->y;
    const int32_t amount = self->Amount();

    dialog.DrawPanel();
    dialog.DrawPanelBox(X + 20, Y + 40, 59, 59);
    // A stackable item shows the stack's picture for the amount typed; ids
    // the store cannot hold draw nothing.
    if (self->app->sprites)
        graphics->RenderSprite(self->app->sprites->GetSprite(GetItemDisplayId(int(self->itemId), amount)), X + 33,
                               Y + 53, 32, 32);
    dialog.DrawPanelBox(X + 88, Y + 73, 341, 25);
    graphics->RenderText(TotalText(amount, self->price), X + 94, Y + 77,
                         TotalColor(self->buying != 0, amount, self->price, self->carried), true);
    dialog.DrawPanelBox(X + 20, Y + 108, 409, 62);
    graphics->RenderText(Explanation(self->buying != 0, self->itemName, self->price, self->carried), X + 25, Y + 115,
                         kGreyColor, true);
}

void NpcTradeDialog::OnTrade(void* module) {
    NpcTradeDialog* self = Module(module);
    self->Attach();
    // Pressed twice before the GUI's update, the window is already gone:
    // one request.
    if (!DialogHelper(self->gui, kDialogId).IsOpen())
        return;
    // Negative amounts go out as typed, in two's complement.
    Protocol* protocol = Client::Instance()->protocol;
    if (protocol && Client::Instance()->game)
        protocol->SendOp14(self->itemId, uint32_t(self->Amount()), self->buying);
    self->Close();
}

void NpcTradeDialog::OnCancel(void* module) { Module(module)->Close(); }
