#include "engine/gui/GUICheckbox.h"

#include "engine/Graphics.h"

namespace {
constexpr uint32_t kCheckedFill = 0x80808080;
constexpr int kBoxSize = 15;
}  // namespace

void GUICheckbox::OnMouseDown(int px, int py) {
    // The box test includes its right and bottom edges: 16 by 16 pixels.
    if (framed || (x <= px && px <= x + kBoxSize && y <= py && py <= y + kBoxSize))
        checked = !checked;
}

void GUICheckbox::Draw() {
    Graphics* graphics = GetGraphics();
    if (!graphics)
        return;
    int boxX = x;
    int boxY = y;
    int labelX = x + 25;
    int labelY = y + 2;
    if (framed) {
        graphics->RenderBox(x, y, width, height, darkColor, lightColor, fillColor);
        boxX = x + 10;
        boxY = y + 5;
        labelX = x + 35;
        labelY = y + 5;
    }
    graphics->RenderBox(boxX, boxY, kBoxSize, kBoxSize, darkColor, lightColor, checked ? kCheckedFill : 0);
    graphics->RenderText(label, labelX, labelY, textColor, true);
}
