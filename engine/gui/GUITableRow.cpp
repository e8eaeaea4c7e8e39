#include "engine/gui/GUITableRow.h"

void GUITableRow::SetCell(uint32_t column, GUITableCell* cell) { cells[column].reset(cell); }

void GUITableRow::SetCellText(uint32_t column, const std::string& text) {
    GUITableCell* cell = new GUITableCell();
    cell->text = text;
    SetCell(column, cell);
}

void GUITableRow::SetCellInt(uint32_t column, int32_t value) {
    GUITableCell* cell = new GUITableCell();
    cell->integer = value;
    SetCell(column, cell);
}

void GUITableRow::SetCellNumber(uint32_t column, double value) {
    GUITableCell* cell = new GUITableCell();
    cell->number = value;
    SetCell(column, cell);
}

void GUITableRow::SetCellSprite(uint32_t column, int32_t spriteId) {
    GUITableCell* cell = new GUITableCell();
    cell->spriteId = spriteId;
    SetCell(column, cell);
}

const GUITableCell* GUITableRow::Cell(uint32_t column) const {
    auto it = cells.find(column);
    return it == cells.end() ? nullptr : it->second.get();
}
