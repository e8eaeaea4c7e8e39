// The market's history window (dialog 272): the player's past trades as the
// server last sent them. It sends nothing and changes no data.
#include <cstdio>

#include "dialogs/trade/MarketDialog.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITable.h"
#include "engine/gui/GUITableRow.h"
#include "platform/Platform.h"

void MarketDialog::OpenHistory() {
    if (currentTab != kOwnTab)
        return;
    DialogHelper dialog(gui, kHistoryDialogId);
    // An open window is brought up to date where the player left it.
    if (GUIDialog* window = dialog.OpenFromCentre("My Market History", -310, -180, 620, 350)) {
        window->drawCallback = &MarketDialog::DrawHistoryCallback;
        window->drawContext = this;
        GUITable* table = new GUITable();
        table->id = kHistoryTable;
        table->AddColumn("Date", 110);
        table->AddColumn("Item Name", 140);
        table->AddColumn("Seller", 140);
        table->AddColumn("Each Price", 90);
        table->AddColumn("Count", 100);
        dialog.Add(table, 21, 40, 578, 244);
        dialog.Add(new GUILine(), 7, 305, 606, 1);
        dialog.AddButton(kHistoryCloseButton, "Close", &MarketDialog::OnHistoryClose, this, 250, 315, 120, 25);
    }
    FillHistory();
}

void MarketDialog::FillHistory() {
    GUITable* table = DialogHelper(gui, kHistoryDialogId).Find<GUITable>(kHistoryTable);
    if (!table)
        return;
    table->Clear();
    for (const MarketHistoryRecord& record : history) {
        GUITableRow* row = table->AddRow();
        row->SetCellText(0, HistoryDate(record.time));
        row->SetCellText(1, record.itemName);
        row->SetCellText(2, record.playerName);
        row->SetCellNumber(3, record.eachPrice);
        row->SetCellInt(4, int32_t(record.count));
    }
    table->EnableScrollbar();
}

void MarketDialog::DrawHistory() {
    const DialogHelper dialog(gui, kHistoryDialogId);
    const GUIControl* window = dialog.Dialog();
    if (!window)
        return;
    dialog.DrawPanel();
    dialog.DrawPanelBox(window->x + 20, window->y + 39, window->width - 40, window->height - 104);
}

std::string MarketDialog::HistoryDate(const std::tm& local) {
    char text[64];
    std::snprintf(text, sizeof text, "%02d/%02d/%d %02d:%02d", local.tm_mon + 1, local.tm_mday,
                  local.tm_year + 1900 - 2000, local.tm_hour, local.tm_min);
    return text;
}

std::string MarketDialog::HistoryDate(uint32_t time) {
    // Through a 64-bit time: the wire's unsigned seconds never wrap.
    std::tm local{};
    if (!platform::LocalTime(std::time_t(int64_t(time)), local))
        return std::string();
    return HistoryDate(local);
}

void MarketDialog::DrawHistoryCallback(void* self) { static_cast<MarketDialog*>(self)->DrawHistory(); }

// Unlike the other windows' closing, the focus stays where it is.
void MarketDialog::OnHistoryClose(void* self) {
    DialogHelper(static_cast<MarketDialog*>(self)->gui, kHistoryDialogId).Close();
}
