#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/gui/GUIControl.h"
#include "engine/gui/GUITableRow.h"

class GUIScrollbar;

// Rows of cells under a header of fixed-width columns. Every row is 20 px high;
// a header click sorts the rows by that column (a second click reverses them),
// a click selects a row and a Ctrl+click marks one for the owner instead. Rows
// can be hidden without being removed. An optional scroll bar (the table's
// only child) scrolls in steps of 3 px.
//
// Geometry: the header band is y to y + 24; the first visible row's top lies at
// offset 25 - 3 x scroll position from y, each visible row 20 below the last;
// a row at offset t is drawn and hit only when 5 < t < height.
class GUITable : public GUIControl {
public:
    struct Column {
        std::string title;
        int x = 0;  // from the table's left edge
        int width = 0;
        int titleWidth = 0;
    };

    GUITable() = default;

    void AddColumn(const std::string& title, int width);
    // A new empty visible row, owned by the table; the rows count as unsorted.
    GUITableRow* AddRow();
    // Deletes every row and forgets the selected and the marked row.
    void Clear();
    // Deletes one row (forgotten as the selected or the marked row).
    void RemoveRow(const GUITableRow* row);
    // Makes the scroll bar once, then sets its range for the visible rows.
    void EnableScrollbar();
    // The visible row under a point, or null.
    GUITableRow* RowAt(int px, int py) const;
    GUIScrollbar* Scrollbar() const;

    void Draw() override;
    void OnMouseDown(int x, int y) override;
    void OnMouseWheel(int steps) override;

    GUITableRow* markedRow = nullptr;  // read and reset by the owner
    std::vector<Column> columns;
    std::vector<std::unique_ptr<GUITableRow>> rows;
    std::string sortKey;  // title of the column sorted by; empty: unsorted
    bool descending = true;
    GUITableRow* selectedRow = nullptr;

private:
    void HeaderClick(int px);
    int FirstRowOffset() const;
};
