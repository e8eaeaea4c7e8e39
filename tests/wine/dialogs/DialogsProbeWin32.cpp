// The client as velmora.exe runs it (same start-up, same main-loop passes),
// which logs in by itself with the demo account and enters the game with the
// first character. Whenever what the GUI shows changes it prints one line
// "state <JSON>", generic by control id, so that every dialog's stage drives
// it without probe code of its own:
//   screen    "game", "menu" or "none"
//   focus     the focused control's id (null for none), enter: the GUI's Enter button id
//   dialogs   every top-level dialog in drawing order: id, title, rect [x, y, w, h],
//             side (a side window's frame), hidden, disabled, and its controls in
//             pre-order: id, parent, kind, rect, hidden, disabled and what the kind
//             shows (a button's caption, a text's or text box's text, a list's visible
//             rows and selection, a table's visible rows and selected row, a scroll
//             bar's position and maximum, a check box's label and state, a
//             selector's label and choice, a tab's caption and state)
//   menus     every open context menu: id, rect and rows (text, value, disabled, centre y)
//   containers every container window: index, rect, and its used cells (slot, the
//             cell's top-left x and y, item id and count)
// Controls waiting for deletion are gone from it, as they are for the player.
#include <iomanip>
#include <sstream>
#include <string>

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIMenu.h"
#include "engine/gui/GUIScrollbar.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUISelector.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITabgroup.h"
#include "engine/gui/GUITable.h"
#include "engine/gui/GUITableRow.h"
#include "engine/gui/GUIText.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameInterface.h"
#include "sidewindows/Container.h"
#include "sidewindows/SideWindow.h"
#include "tests/support/Json.h"
#include "tests/wine/support/Probe.h"

namespace {

Json Bool(bool value) {
    Json json;
    json.type = Json::kBool;
    json.flag = value;
    return json;
}

Json Int(long long value) { return Json::Number(double(value)); }

Json RectOf(const GUIControl* control) {
    return Json::Array({Int(control->x), Int(control->y), Int(control->width), Int(control->height)});
}

// What a table cell shows: its sprite, then its text, else its integer, else
// its number with two decimals.
std::string CellText(const GUITableCell* cell) {
    if (!cell)
        return "";
    std::string shown;
    if (cell->spriteId > 0)
        shown = "#" + std::to_string(cell->spriteId);
    std::string value;
    if (!cell->text.empty()) {
        value = cell->text;
    } else if (cell->integer != 0) {
        value = std::to_string(cell->integer);
    } else if (cell->spriteId <= 0) {
        std::ostringstream number;
        number << std::fixed << std::setprecision(2) << cell->number;
        value = number.str();
    }
    if (!shown.empty() && !value.empty())
        shown += ' ';
    return shown + value;
}

void SelectRows(Json& json, const GUISelect* list) {
    const GUIScrollbar* bar = list->Scrollbar();
    const int position = bar ? bar->GetPosition() : 0;
    Json rows = Json::Array();
    for (size_t i = 0; i < list->items.size(); ++i) {
        const int top = 1 - position + int(i) * list->rowHeight;
        if (top + list->rowHeight <= 1 || top >= list->height - 1)
            continue;
        const GUISelectItem& item = list->items[i];
        rows.Add(Json::Array({Int((long long)i), Json::Text(item.text), Json::Text(item.rightText)}));
    }
    json.Set("rows", rows).Set("selected", Int(list->selectedIndex)).Set("marked", Int(list->markedIndex));
}

// The shown rows, as the table's own hit test finds them row by row.
void TableRows(Json& json, const GUITable* table) {
    Json rows = Json::Array();
    const GUITableRow* last = nullptr;
    for (int y = table->y + 25; y < table->y + table->height; y += 5) {
        const GUITableRow* row = table->RowAt(table->x + 2, y);
        if (!row || row == last)
            continue;
        last = row;
        long long index = 0;
        while (index < (long long)table->rows.size() && table->rows[size_t(index)].get() != row)
            ++index;
        Json shown = Json::Array({Int(index)});
        for (size_t column = 0; column < table->columns.size(); ++column)
            shown.Add(Json::Text(CellText(row->Cell(uint32_t(column)))));
        rows.Add(shown);
    }
    long long selected = -1;
    for (size_t i = 0; i < table->rows.size(); ++i)
        if (table->rows[i].get() == table->selectedRow)
            selected = (long long)i;
    json.Set("rows", rows).Set("selected", Int(selected));
}

Json Control(const GUIControl* control, int32_t parent) {
    Json json = Json::Object();
    json.Set("id", Int(control->id)).Set("parent", Int(parent));
    json.Set("hidden", Bool(control->HasFlag(GUIControl::kHidden)));
    json.Set("disabled", Bool(control->HasFlag(GUIControl::kDisabled)));
    json.Set("rect", RectOf(control));
    if (const auto* button = dynamic_cast<const GUIButton*>(control)) {
        json.Set("kind", Json::Text("button")).Set("caption", Json::Text(button->caption));
        json.Set("icon", Int(button->icon));
    } else if (const auto* box = dynamic_cast<const GUITextbox*>(control)) {
        json.Set("kind", Json::Text("textbox")).Set("text", Json::Text(box->GetText()));
    } else if (const auto* text = dynamic_cast<const GUIText*>(control)) {
        json.Set("kind", Json::Text("text")).Set("text", Json::Text(text->text));
    } else if (const auto* list = dynamic_cast<const GUISelect*>(control)) {
        json.Set("kind", Json::Text("list"));
        SelectRows(json, list);
    } else if (const auto* table = dynamic_cast<const GUITable*>(control)) {
        json.Set("kind", Json::Text("table"));
        TableRows(json, table);
    } else if (const auto* bar = dynamic_cast<const GUIScrollbar*>(control)) {
        json.Set("kind", Json::Text("scrollbar")).Set("position", Int(bar->GetPosition()));
        json.Set("maximum", Int(bar->GetMaximum()));
    } else if (const auto* check = dynamic_cast<const GUICheckbox*>(control)) {
        json.Set("kind", Json::Text("checkbox")).Set("label", Json::Text(check->label));
        json.Set("checked", Bool(check->checked));
    } else if (const auto* selector = dynamic_cast<const GUISelector*>(control)) {
        json.Set("kind", Json::Text("selector")).Set("label", Json::Text(selector->label));
        json.Set("text", Json::Text(selector->currentText)).Set("selected", Int(selector->selectedIndex));
    } else if (const auto* tab = dynamic_cast<const GUITab*>(control)) {
        json.Set("kind", Json::Text("tab")).Set("caption", Json::Text(tab->caption)).Set("active", Bool(tab->active));
    } else if (dynamic_cast<const GUITabgroup*>(control)) {
        json.Set("kind", Json::Text("tabgroup"));
    } else if (dynamic_cast<const GUILine*>(control)) {
        json.Set("kind", Json::Text("line"));
    } else if (const auto* dialog = dynamic_cast<const GUIDialog*>(control)) {
        json.Set("kind", Json::Text("dialog")).Set("title", Json::Text(dialog->title));
    } else {
        json.Set("kind", Json::Text("control"));
    }
    return json;
}

void Controls(Json& list, GUIControl* parent) {
    for (GUIControl* child : parent->children) {
        if (child->IsPendingDeletion())
            continue;
        list.Add(Control(child, parent->id));
        Controls(list, child);
    }
}

bool IsSideWindow(const GameInterface* game, const GUIControl* dialog) {
    if (!game)
        return false;
    for (const SideWindow* window : game->sideWindows)
        if (window->dialog == dialog)
            return true;
    return false;
}

std::string State(Client& client) {
    GUIManager* gui = client.app->gui;
    GameInterface* game = client.game;
    Json state = Json::Object();
    state.Set("screen", Json::Text(client.game ? "game" : client.menu ? "menu" : "none"));
    GUIControl* focus = gui->focus;
    state.Set("focus", focus && !focus->IsPendingDeletion() ? Int(focus->id) : Json());
    state.Set("enter", Int(gui->enterButtonId));

    Json dialogs = Json::Array();
    Json menus = Json::Array();
    for (GUIControl* top : gui->root->children) {
        if (top->IsPendingDeletion())
            continue;
        if (auto* dialog = dynamic_cast<GUIDialog*>(top)) {
            Json controls = Json::Array();
            Controls(controls, dialog);
            Json entry = Json::Object();
            entry.Set("id", Int(dialog->id)).Set("title", Json::Text(dialog->title)).Set("rect", RectOf(dialog));
            entry.Set("side", Bool(IsSideWindow(game, dialog)));
            entry.Set("hidden", Bool(dialog->HasFlag(GUIControl::kHidden)));
            entry.Set("disabled", Bool(dialog->HasFlag(GUIControl::kDisabled)));
            dialogs.Add(entry.Set("controls", controls));
        } else if (const auto* menu = dynamic_cast<const GUIMenu*>(top)) {
            Json rows = Json::Array();
            for (size_t i = 0; i < menu->entries.size(); ++i) {
                const GUIMenu::Entry& row = menu->entries[i];
                Json shown = Json::Object();
                shown.Set("text", Json::Text(row.text)).Set("value", Int(row.value));
                shown.Set("disabled", Bool(row.disabled)).Set("y", Int(menu->y + 3 + 20 * int(i) + 10));
                rows.Add(shown);
            }
            menus.Add(Json::Object().Set("id", Int(menu->id)).Set("rect", RectOf(menu)).Set("rows", rows));
        }
    }
    state.Set("dialogs", dialogs).Set("menus", menus);

    Json containers = Json::Array();
    for (int index = 0; game && index < GameInterface::kContainerSlots; ++index) {
        Container* container = game->containers[index];
        if (!container || !container->dialog)
            continue;
        Json cells = Json::Array();
        for (int slot = 0; slot < container->usedCount && slot < Container::kSlots; ++slot) {
            const ContainerSlot* cell = container->slots[slot];
            int x = 0;
            int y = 0;
            container->CellPosition(slot, x, y);
            Json shown = Json::Object();
            shown.Set("slot", Int(slot)).Set("x", Int(x)).Set("y", Int(y));
            shown.Set("item", Int(cell ? cell->itemId : 0)).Set("count", Int(cell ? cell->count : 0));
            cells.Add(shown);
        }
        containers.Add(Json::Object()
                           .Set("index", Int(index))
                           .Set("rect", RectOf(container->dialog))
                           .Set("cells", cells));
    }
    state.Set("containers", containers);
    return "state " + state.Dump();
}

}  // namespace

int main() { return probe::Run(probe::InGameHooks(State)); }
