#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

// One cell of a table row. Each setter fills exactly one field; what the cell
// shows is decided when it is drawn: a sprite, else a text, else an integer,
// else the number with two decimals.
struct GUITableCell {
    std::string text;
    int32_t spriteId = 0;
    int32_t integer = 0;
    double number = 0;
};

// A row of a GUITable, owned by the table; its cells by column index. A hidden
// row is neither drawn nor hit and takes no space.
class GUITableRow {
public:
    GUITableRow() = default;
    GUITableRow(const GUITableRow&) = delete;
    GUITableRow& operator=(const GUITableRow&) = delete;

    // Takes ownership, replacing the column's cell.
    void SetCell(uint32_t column, GUITableCell* cell);
    void SetCellText(uint32_t column, const std::string& text);
    void SetCellInt(uint32_t column, int32_t value);
    void SetCellNumber(uint32_t column, double value);
    void SetCellSprite(uint32_t column, int32_t spriteId);
    void SetVisible(bool value) { visible = value; }
    // The column's cell, or null.
    const GUITableCell* Cell(uint32_t column) const;

    std::map<uint32_t, std::unique_ptr<GUITableCell>> cells;
    bool visible = true;
};
