#include "engine/gui/GUITable.h"

#include <algorithm>
#include <iomanip>
#include <sstream>

#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIScrollbar.h"
#include "engine/gui/StableSort.h"
#include "platform/Platform.h"

namespace {

constexpr int kHeaderBottom = 24;
constexpr int kFirstRow = 25;
constexpr int kRowHeight = 20;
constexpr int kScrollUnit = 3;  // pixels per scroll-bar position
constexpr int kScrollbarZone = 14;
constexpr uint32_t kSortedTitle = 0xFF005AFA;
constexpr uint32_t kTitle = 0xFF969696;
constexpr uint32_t kRowShade = 0x1EFFFFFF;
constexpr uint32_t kCellText = 0xFFDCDCDC;

// Texts compare byte by byte as signed characters; a prefix goes first.
bool TextBefore(const std::string& a, const std::string& b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const signed char ca = static_cast<signed char>(a[i]);
        const signed char cb = static_cast<signed char>(b[i]);
        if (ca != cb)
            return ca < cb;
    }
    return a.size() < b.size();
}

// Whether row a goes before row b when sorting by a column. A row without a
// cell there goes neither before nor after any other.
bool RowBefore(const GUITableRow& a, const GUITableRow& b, uint32_t column) {
    const GUITableCell* ca = a.Cell(column);
    const GUITableCell* cb = b.Cell(column);
    if (!ca || !cb)
        return false;
    if (!ca->text.empty() || !cb->text.empty()) {
        if (ca->text.empty() || cb->text.empty())
            return ca->text.empty();
        return TextBefore(ca->text, cb->text);
    }
    if (ca->spriteId > 0 || cb->spriteId > 0)
        return ca->spriteId < cb->spriteId;
    if (ca->integer != 0 || cb->integer != 0)
        return ca->integer < cb->integer;
    return ca->number < cb->number;
}

}  // namespace

GUIScrollbar* GUITable::Scrollbar() const {
    return children.empty() ? nullptr : dynamic_cast<GUIScrollbar*>(children.front());
}

void GUITable::AddColumn(const std::string& title, int columnWidth) {
    Column column;
    column.title = title;
    column.x = 5;
    for (const Column& before : columns)
        column.x += before.width;
    column.width = columnWidth;
    // The application's font, not the owner's: columns are usually added
    // before the table joins the tree.
    Font* font = g_app && g_app->font ? g_app->font : GetFont();
    column.titleWidth = font ? font->GetTextWidth(title) : 0;
    columns.push_back(column);
}

GUITableRow* GUITable::AddRow() {
    rows.emplace_back(new GUITableRow());
    sortKey.clear();
    return rows.back().get();
}

void GUITable::Clear() {
    rows.clear();
    sortKey.clear();
    selectedRow = nullptr;
    // The marked row would point at a deleted row.
    markedRow = nullptr;
}

void GUITable::RemoveRow(const GUITableRow* row) {
    for (auto it = rows.begin(); it != rows.end(); ++it) {
        if (it->get() != row)
            continue;
        if (selectedRow == row)
            selectedRow = nullptr;
        if (markedRow == row)
            markedRow = nullptr;
        rows.erase(it);
        return;
    }
}

void GUITable::EnableScrollbar() {
    if (children.empty()) {
        GUIScrollbar* bar = new GUIScrollbar();
        AddChild(bar, true);
        bar->fillColor = 0;
    }
    GUIScrollbar* bar = Scrollbar();
    if (!bar)
        return;
    const int shown = int(std::count_if(rows.begin(), rows.end(), [](const auto& row) { return row->visible; }));
    const int visibleUnits = (height - 2) / kScrollUnit;
    bar->SetRect(x + width - 15, y, 15, height);
    // The content height of the header and the rows in 3 px units, in single
    // precision like the rectangles: 20 / 3 is 6.6666665, and for 2, 5, 8 ...
    // rows the product rounds up to the whole number.
    const int content = int(6.6666665f * float(shown + 1) + 1.0f);
    const int maximum = content - visibleUnits;
    bar->SetMaximum(maximum);
    bar->SetProportion(visibleUnits, maximum + visibleUnits);
    bar->SetPosition(bar->GetPosition());
}

int GUITable::FirstRowOffset() const {
    const GUIScrollbar* bar = Scrollbar();
    return kFirstRow - (bar ? kScrollUnit * bar->GetPosition() : 0);
}

GUITableRow* GUITable::RowAt(int px, int py) const {
    if (px < x || px >= x + width)
        return nullptr;
    int top = FirstRowOffset();
    for (const auto& row : rows) {
        if (!row->visible)
            continue;
        if (top > 5 && top < height && y + top <= py && py <= y + top + kRowHeight - 1)
            return row.get();
        top += kRowHeight;
    }
    return nullptr;
}

void GUITable::HeaderClick(int px) {
    const Column* clicked = nullptr;
    uint32_t index = 0;
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i].x <= px) {
            clicked = &columns[i];
            index = uint32_t(i);
        }
    if (!clicked)
        return;
    if (sortKey != clicked->title) {
        sortKey = clicked->title;
        descending = false;
        StableMergeSort(rows, [index](const std::unique_ptr<GUITableRow>& a, const std::unique_ptr<GUITableRow>& b) {
            return RowBefore(*a, *b, index);
        });
    } else {
        // The sort state is remembered by title: a second click reverses.
        descending = !descending;
        std::reverse(rows.begin(), rows.end());
    }
}

void GUITable::OnMouseDown(int px, int py) {
    if (!children.empty()) {
        if (px - x >= width - kScrollbarZone)
            return;  // the scroll bar's
    }
    if (py <= y + kHeaderBottom) {
        HeaderClick(px - x);
        return;
    }
    GUITableRow* row = RowAt(px, py);
    if (!row)
        return;
    const bool ctrl = owner ? owner->IsKeyDown(platform::kVkControl)
                            : platform::GetKeyState().IsAsyncKeyDown(platform::kVkControl);
    if (ctrl)
        markedRow = row;
    else
        selectedRow = row;
}

void GUITable::OnMouseWheel(int steps) {
    if (GUIScrollbar* bar = Scrollbar())
        bar->Scroll(15 * steps);
}

void GUITable::Draw() {
    Graphics* graphics = GetGraphics();
    if (!graphics)
        return;
    if (Scrollbar())
        graphics->RenderRectangle(darkColor, x + width - 16, y, 1, height);
    const bool sorted = !sortKey.empty();
    for (const Column& column : columns) {
        const bool isSorted = sorted && column.title == sortKey;
        graphics->RenderText(column.title, x + column.x, y + 5, isSorted ? kSortedTitle : kTitle, true);
        if (isSorted && owner && owner->sprites)
            if (Sprite* arrow = owner->sprites->GetSprite(descending ? arrowDownIcon : arrowUpIcon))
                graphics->RenderSprite(arrow, x + column.x + column.titleWidth, y + 10);
    }
    ClipRect clip;
    clip.left = float(x);
    clip.top = float(y + kFirstRow);
    clip.right = float(x + width - 16);
    clip.bottom = float(y + height);
    graphics->EnableClipper(clip);

    const GUIManager* manager = GetManager();
    const float mx = manager ? manager->mouseX : -1e9f;
    const float my = manager ? manager->mouseY : -1e9f;
    const Font* font = GetFont();
    auto measure = [font](const std::string& s) { return font ? font->GetTextWidth(s) : 0; };
    int top = FirstRowOffset();
    for (const auto& rowPtr : rows) {
        const GUITableRow& row = *rowPtr;
        if (!row.visible)
            continue;
        if (top > 5 && top < height) {
            const bool hovered = float(x) <= mx && mx < float(x + width - kScrollbarZone) && float(y + top) <= my &&
                                 my <= float(y + top + kRowHeight - 1);
            if (&row == selectedRow || hovered)
                graphics->RenderRectangle(kRowShade, x, y + top, width, kRowHeight);
            for (size_t i = 0; i < columns.size(); ++i) {
                const GUITableCell* cell = row.Cell(uint32_t(i));
                if (!cell)
                    continue;
                const int cx = x + columns[i].x;
                if (cell->spriteId > 0) {
                    if (owner && owner->sprites)
                        if (Sprite* sprite = owner->sprites->GetSprite(cell->spriteId))
                            graphics->RenderSprite(sprite, cx, y + top, 20, 20);
                    continue;
                }
                std::string shown;
                if (!cell->text.empty()) {
                    shown = cell->text;
                    bool cut = false;
                    while (shown.size() > 1 && measure(shown) >= columns[i].width - 19) {
                        shown.pop_back();
                        cut = true;
                    }
                    if (cut)
                        shown += "...";
                } else if (cell->integer != 0) {
                    shown = std::to_string(cell->integer);
                } else {
                    std::ostringstream number;
                    number << std::fixed << std::setprecision(2) << cell->number;
                    shown = number.str();
                }
                graphics->RenderText(shown, cx, y + top + 2, kCellText, true);
            }
        }
        top += kRowHeight;
    }
    graphics->DisableClipper();
}
