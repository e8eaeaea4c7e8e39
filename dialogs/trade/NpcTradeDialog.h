#pragma once

#include <cstdint>
#include <string>

#include "game/GameControlIds.h"

class GUIManager;
class KEngine2;

// "Trade Item" (dialog 53): how many pieces to buy from or sell to a
// merchant. The server's 0x17 sends the item, its price, what the player
// carries (gold when buying, pieces when selling) and the direction, and
// opens the window; "Trade" sends the typed amount (0x14) as typed, the
// total shown in red being the only warning. 0x25 closes it.
//
// One instance for the run, made on first use: the values persist between
// questions. The game screen's teardown closes the window (IfCreated, so that
// it makes no instance), since the login screen has no merchant to answer.
class NpcTradeDialog {
public:
    static constexpr int32_t kDialogId = GameIds::kNpcTradeDialog;
    static constexpr int32_t kTradeButtonId = GameIds::kNpcTradeButton;
    static constexpr int32_t kCancelButtonId = GameIds::kNpcTradeCancel;
    static constexpr int32_t kAmountBoxId = GameIds::kNpcTradeAmount;
    static constexpr uint32_t kGreyColor = 0xFFC0C0C0;
    static constexpr uint32_t kRedColor = 0xFF1414DC;

    static NpcTradeDialog* Instance();
    // The instance when one was made, else null.
    static NpcTradeDialog* IfCreated();

    // Builds the window, the amount box holding "1" with the keys; nothing
    // while it is open (what was typed stays, the new values show from the
    // next frame).
    void Show();
    // Closes the window and gives the keys to the chat input.
    void Close();

    // What the window writes, for the values and the amount typed. Numbers
    // are signed 32-bit values; products are taken in 64 bits and wrapped to
    // 32, as the protocol's fields are.
    static int32_t Total(int32_t amount, uint32_t price);
    // Red when buying costs more than the gold carried, or when selling more
    // pieces than carried; grey otherwise.
    static uint32_t TotalColor(bool buying, int32_t amount, uint32_t price, uint32_t carried);
    static std::string TotalText(int32_t amount, uint32_t price);
    // Two or three lines: the deal, what is carried and what that allows.
    static std::string Explanation(bool buying, const std::string& itemName, uint32_t price, uint32_t carried);

    // The draw callback: panel, the item's picture for the amount typed, the
    // total and the explanation.
    static void Draw(void* module);
    static void OnTrade(void* module);
    static void OnCancel(void* module);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    std::string itemName = "a fish";
    uint32_t itemId = 605;
    uint32_t price = 10;    // used as signed
    uint32_t carried = 50;  // used as signed
    uint8_t buying = 1;

private:
    NpcTradeDialog();
    // The client's application object and GUI, taken again at every entry:
    // the module outlives any one game screen, and tests make several clients.
    void Attach();
    // The amount box's number, 0 without one.
    int32_t Amount() const;
};
