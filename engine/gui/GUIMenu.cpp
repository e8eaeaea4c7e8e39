#include "engine/gui/GUIMenu.h"

#include <cstdio>

#include "engine/Font.h"
#include "engine/Graphics.h"

namespace {
constexpr int kRowHeight = 20;
constexpr int kInset = 3;
constexpr uint32_t kPanelFill = 0x1E000000;
constexpr uint32_t kHighlight = 0x60808080;

// Row i's band runs from top + 3 + 20i (exclusive) to top + 23 + 20i (inclusive).
bool InRow(int menuY, size_t row, int py) {
    const int top = menuY + kInset + kRowHeight * int(row);
    return top < py && py <= top + kRowHeight;
}
}  // namespace

void GUIMenu::DefaultCallback(int value, void*) { std::printf("Chose: %i\n", value); }

void GUIMenu::AddItem(int value, const std::string& text, bool enabled, Sprite* icon) {
    entries.push_back({value, !enabled, text, icon});
}

void GUIMenu::OnMouseUp(int px, int py) {
    const int rx = px - x;
    if (rx <= kInset || rx >= width - kInset)
        return;
    for (size_t i = 0; i < entries.size(); ++i) {
        const Entry& entry = entries[i];
        if (InRow(y, i, py) && entry.value > 0 && !entry.disabled) {
            // The callback may open another menu; the manager deletes this one
            // only after the release has been dispatched.
            selectCallback(entry.value, callbackContext);
            return;
        }
    }
}

void GUIMenu::OnMouseMove(int px, int py) {
    hoverX = px - x;
    hoverY = py;
}

void GUIMenu::Draw() {
    Graphics* graphics = GetGraphics();
    if (!graphics)
        return;
    if (skin > 0)
        graphics->RenderSkin(skin, x, y, width, height);
    graphics->RenderBox(x, y, width, height, lightColor, darkColor, fillColor);
    graphics->RenderBox(x + kInset, y + kInset, width - 6, height - 6, darkColor, lightColor, kPanelFill);
    const Font* font = GetFont();
    for (size_t i = 0; i < entries.size(); ++i) {
        const Entry& entry = entries[i];
        const int top = y + kInset + kRowHeight * int(i);
        if (entry.value <= 0) {
            graphics->RenderRectangle(darkColor, x + 10, top + 10, width - 20, 1);
            graphics->RenderRectangle(lightColor, x + 10, top + 11, width - 20, 1);
            continue;
        }
        if (kInset < hoverX && hoverX < width - kInset && InRow(y, i, hoverY))
            graphics->RenderRectangle(kHighlight, x + 4, top + 1, width - 8, 19);
        const int available = entry.icon ? width - 50 : width - 30;
        std::string shown = entry.text;
        bool cut = false;
        while (!shown.empty() && font && font->GetTextWidth(shown) > available) {
            shown.pop_back();
            cut = true;
        }
        if (cut)
            shown += "...";
        graphics->RenderText(shown, entry.icon ? x + 30 : x + 10, top + 2, textColor, true);
        if (entry.icon)
            graphics->RenderSprite(entry.icon, x + 10, top + 2, 16, 16);
    }
}
