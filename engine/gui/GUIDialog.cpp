#include "engine/gui/GUIDialog.h"

#include <algorithm>
#include <cmath>

#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"

namespace {
constexpr int kTitleBarRows = 19;
constexpr int kGrip = 10;
constexpr uint32_t kTitleBand = 0x23000000;
constexpr uint32_t kTitleText = 0xFFDCDCDC;

int Round(float value) { return int(std::lround(value)); }
}  // namespace

void GUIDialog::SetSizeLimits(float minimumWidth, float maximumWidth, float minimumHeight, float maximumHeight) {
    minWidth = minimumWidth;
    maxWidth = maximumWidth;
    minHeight = minimumHeight;
    maxHeight = maximumHeight;
}

void GUIDialog::OnMouseDown(int px, int py) {
    const int ox = px - x;
    const int oy = py - y;
    grabX = float(ox);
    grabY = float(oy);
    if (title.empty() || oy < kTitleBarRows)
        dragging = true;
    else if (HasFlag(kResizeWidth) && ox >= width - kGrip && oy >= height - kGrip)
        resizeMode = 1;
    else if (HasFlag(kResizeHeight) && oy >= height - kGrip)
        resizeMode = 2;
}

void GUIDialog::OnMouseUp(int, int) {
    dragging = false;
    resizeMode = 0;
}

void GUIDialog::OnMouseMove(int px, int py) {
    if (dragging) {
        const int clientWidth = owner ? owner->clientWidth : 0;
        const int clientHeight = owner ? owner->clientHeight : 0;
        // Inside the client area; a dialog larger than the window sticks to the
        // left or top edge.
        int nx = std::min(clientWidth - width, px - Round(grabX));
        int ny = std::min(clientHeight - height, py - Round(grabY));
        nx = std::max(0, nx);
        ny = std::max(0, ny);
        MoveBy(nx - x, ny - y);
        return;
    }
    if (resizeMode <= 0)
        return;
    const int ox = px - x;
    const int oy = py - y;
    const float oldGrabX = grabX;
    const float oldGrabY = grabY;
    const int loWidth = Round(minWidth), hiWidth = Round(maxWidth);
    const int loHeight = Round(minHeight), hiHeight = Round(maxHeight);
    grabX = float(std::min(hiWidth, std::max(loWidth, ox)));
    grabY = float(std::min(hiHeight, std::max(loHeight, oy)));
    if (resizeMode == 1 && HasFlag(kResizeWidth))
        width += ox - Round(oldGrabX);
    if (resizeMode == 2 && HasFlag(kResizeHeight))
        height += oy - Round(oldGrabY);
    // The module that owns a resizable dialog lays its controls out itself.
    width = std::min(hiWidth, std::max(loWidth, width));
    height = std::min(hiHeight, std::max(loHeight, height));
}

void GUIDialog::Draw() {
    Graphics* graphics = GetGraphics();
    if (!graphics)
        return;
    if (skin > 0)
        graphics->RenderSkin(skin, x, y, width, height);
    graphics->RenderBox(x, y, width, height, lightColor, darkColor, 0);
    graphics->RenderBox(x + 1, y + 1, width - 2, height - 2, lightColor, darkColor, fillColor);
    if (title.empty())
        return;
    graphics->RenderRectangle(darkColor, x, y + 18, width, 1);
    if (height > kTitleBarRows)
        graphics->RenderRectangle(lightColor, x + 2, y + 19, width - 4, 1);
    graphics->RenderRectangle(kTitleBand, x + 2, y + 2, width - 4, 16);
    const int w = GetFont() ? GetFont()->GetTextWidth(title) : 0;
    graphics->RenderText(title, x + width / 2 - w / 2, y + 2, kTitleText, true);
}
