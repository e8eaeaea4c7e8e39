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
#include <cstdio>
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
#include "tests/wine/support/Probe.h"

namespace {

// A JSON text written as it goes; strings are bytes of Windows-1252, written
// as the characters of the same codes.
class Json {
public:
    Json& Raw(const std::string& text) {
        Comma();
        out_ += text;
        return *this;
    }
    Json& Int(long long value) { return Raw(std::to_string(value)); }
    Json& Bool(bool value) { return Raw(value ? "true" : "false"); }
    Json& Str(const std::string& text) {
        Comma();
        out_ += '"';
        for (const unsigned char c : text) {
            if (c == '"' || c == '\\') {
                out_ += '\\';
                out_ += char(c);
            } else if (c < 0x20 || c >= 0x7F) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", c);
                out_ += escape;
            } else {
                out_ += char(c);
            }
        }
        out_ += '"';
        return *this;
    }
    Json& Key(const std::string& name) {
        Str(name);
        out_ += ':';
        fresh_ = true;
        return *this;
    }
    Json& Open(char bracket) {
        Comma();
        out_ += bracket;
        fresh_ = true;
        return *this;
    }
    Json& Close(char bracket) {
        out_ += bracket;
        fresh_ = false;
        return *this;
    }
    Json& Rect(const GUIControl* control) {
        Key("rect").Open('[');
        Int(control->x).Int(control->y).Int(control->width).Int(control->height);
        return Close(']');
    }
    const std::string& Text() const { return out_; }

private:
    void Comma() {
        if (!fresh_ && !out_.empty())
            out_ += ',';
        fresh_ = false;
    }

    std::string out_;
    bool fresh_ = true;
};

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
    json.Key("rows").Open('[');
    for (size_t i = 0; i < list->items.size(); ++i) {
        const int top = 1 - position + int(i) * list->rowHeight;
        if (top + list->rowHeight <= 1 || top >= list->height - 1)
            continue;
        const GUISelectItem& item = list->items[i];
        json.Open('[').Int((long long)i).Str(item.text).Str(item.rightText).Close(']');
    }
    json.Close(']');
    json.Key("selected").Int(list->selectedIndex).Key("marked").Int(list->markedIndex);
}

// The shown rows, as the table's own hit test finds them row by row.
void TableRows(Json& json, const GUITable* table) {
    json.Key("rows").Open('[');
    const GUITableRow* last = nullptr;
    for (int y = table->y + 25; y < table->y + table->height; y += 5) {
        const GUITableRow* row = table->RowAt(table->x + 2, y);
        if (!row || row == last)
            continue;
        last = row;
        long long index = 0;
        while (index < (long long)table->rows.size() && table->rows[size_t(index)].get() != row)
            ++index;
        json.Open('[').Int(index);
        for (size_t column = 0; column < table->columns.size(); ++column)
            json.Str(CellText(row->Cell(uint32_t(column))));
        json.Close(']');
    }
    json.Close(']');
    long long selected = -1;
    for (size_t i = 0; i < table->rows.size(); ++i)
        if (table->rows[i].get() == table->selectedRow)
            selected = (long long)i;
    json.Key("selected").Int(selected);
}

void Control(Json& json, const GUIControl* control, int32_t parent) {
    json.Open('{');
    json.Key("id").Int(control->id).Key("parent").Int(parent);
    json.Key("hidden").Bool(control->HasFlag(GUIControl::kHidden));
    json.Key("disabled").Bool(control->HasFlag(GUIControl::kDisabled));
    json.Rect(control);
    if (const auto* button = dynamic_cast<const GUIButton*>(control)) {
        json.Key("kind").Str("button").Key("caption").Str(button->caption).Key("icon").Int(button->icon);
    } else if (const auto* box = dynamic_cast<const GUITextbox*>(control)) {
        json.Key("kind").Str("textbox").Key("text").Str(box->GetText());
    } else if (const auto* text = dynamic_cast<const GUIText*>(control)) {
        json.Key("kind").Str("text").Key("text").Str(text->text);
    } else if (const auto* list = dynamic_cast<const GUISelect*>(control)) {
        json.Key("kind").Str("list");
        SelectRows(json, list);
    } else if (const auto* table = dynamic_cast<const GUITable*>(control)) {
        json.Key("kind").Str("table");
        TableRows(json, table);
    } else if (const auto* bar = dynamic_cast<const GUIScrollbar*>(control)) {
        json.Key("kind").Str("scrollbar").Key("position").Int(bar->GetPosition()).Key("maximum").Int(
            bar->GetMaximum());
    } else if (const auto* check = dynamic_cast<const GUICheckbox*>(control)) {
        json.Key("kind").Str("checkbox").Key("label").Str(check->label).Key("checked").Bool(check->checked);
    } else if (const auto* selector = dynamic_cast<const GUISelector*>(control)) {
        json.Key("kind").Str("selector").Key("label").Str(selector->label).Key("text").Str(selector->currentText);
        json.Key("selected").Int(selector->selectedIndex);
    } else if (const auto* tab = dynamic_cast<const GUITab*>(control)) {
        json.Key("kind").Str("tab").Key("caption").Str(tab->caption).Key("active").Bool(tab->active);
    } else if (dynamic_cast<const GUITabgroup*>(control)) {
        json.Key("kind").Str("tabgroup");
    } else if (dynamic_cast<const GUILine*>(control)) {
        json.Key("kind").Str("line");
    } else if (const auto* dialog = dynamic_cast<const GUIDialog*>(control)) {
        json.Key("kind").Str("dialog").Key("title").Str(dialog->title);
    } else {
        json.Key("kind").Str("control");
    }
    json.Close('}');
}

void Controls(Json& json, GUIControl* parent) {
    for (GUIControl* child : parent->children) {
        if (child->IsPendingDeletion())
            continue;
        Control(json, child, parent->id);
        Controls(json, child);
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
    Json json;
    json.Open('{');
    json.Key("screen").Str(client.game ? "game" : client.menu ? "menu" : "none");
    json.Key("focus");
    if (GUIControl* focus = gui->focus; focus && !focus->IsPendingDeletion())
        json.Int(focus->id);
    else
        json.Raw("null");
    json.Key("enter").Int(gui->enterButtonId);

    json.Key("dialogs").Open('[');
    for (GUIControl* top : gui->root->children) {
        auto* dialog = dynamic_cast<GUIDialog*>(top);
        if (!dialog || dialog->IsPendingDeletion())
            continue;
        json.Open('{');
        json.Key("id").Int(dialog->id).Key("title").Str(dialog->title);
        json.Rect(dialog);
        json.Key("side").Bool(IsSideWindow(game, dialog));
        json.Key("hidden").Bool(dialog->HasFlag(GUIControl::kHidden));
        json.Key("disabled").Bool(dialog->HasFlag(GUIControl::kDisabled));
        json.Key("controls").Open('[');
        Controls(json, dialog);
        json.Close(']');
        json.Close('}');
    }
    json.Close(']');

    json.Key("menus").Open('[');
    for (GUIControl* top : gui->root->children) {
        const auto* menu = dynamic_cast<const GUIMenu*>(top);
        if (!menu || menu->IsPendingDeletion())
            continue;
        json.Open('{').Key("id").Int(menu->id);
        json.Rect(menu);
        json.Key("rows").Open('[');
        for (size_t i = 0; i < menu->entries.size(); ++i) {
            const GUIMenu::Entry& entry = menu->entries[i];
            json.Open('{').Key("text").Str(entry.text).Key("value").Int(entry.value);
            json.Key("disabled").Bool(entry.disabled).Key("y").Int(menu->y + 3 + 20 * int(i) + 10).Close('}');
        }
        json.Close(']').Close('}');
    }
    json.Close(']');

    json.Key("containers").Open('[');
    for (int index = 0; game && index < GameInterface::kContainerSlots; ++index) {
        Container* container = game->containers[index];
        if (!container || !container->dialog)
            continue;
        json.Open('{').Key("index").Int(index);
        json.Rect(container->dialog);
        json.Key("cells").Open('[');
        for (int slot = 0; slot < container->usedCount && slot < Container::kSlots; ++slot) {
            const ContainerSlot* cell = container->slots[slot];
            int x = 0;
            int y = 0;
            container->CellPosition(slot, x, y);
            json.Open('{').Key("slot").Int(slot).Key("x").Int(x).Key("y").Int(y);
            json.Key("item").Int(cell ? cell->itemId : 0).Key("count").Int(cell ? cell->count : 0).Close('}');
        }
        json.Close(']').Close('}');
    }
    json.Close(']');
    json.Close('}');
    return "state " + json.Text();
}

}  // namespace

int main() {
    probe::AutoEnter enter;
    std::string screen;
    std::string state;
    probe::Hooks hooks;
    hooks.started = probe::LogInDemo;
    hooks.pass = [&](Client& client) {
        enter.Step(client);
        probe::Report(screen, probe::ScreenLine(client));
        if (client.game)
            probe::Report(state, State(client));
    };
    return probe::Run(hooks);
}
