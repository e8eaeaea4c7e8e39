#include "engine/gui/GUISelect.h"

#include <algorithm>

#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/GUIScrollbar.h"
#include "platform/Platform.h"

namespace {
constexpr uint32_t kSelectedShade = 0x80808080;
constexpr uint32_t kSubTextColor = 0xFF808080;
constexpr int kScrollbarMargin = 16;
constexpr int kWheelPixels = 15;
constexpr int kIconShift = 45;
}  // namespace

GUIScrollbar* GUISelect::Scrollbar() const {
    return children.empty() ? nullptr : dynamic_cast<GUIScrollbar*>(children.front());
}

void GUISelect::AddItem(const std::string& text, const std::string& rightText, int iconId,
                        const std::string& subText, const std::string& subRightText, Sprite* icon) {
    items.push_back({text, rightText, subText, subRightText, iconId, icon});
    const int fitting = rowHeight > 0 ? (height - 2) / rowHeight : 0;
    if (int(items.size()) <= fitting)
        return;
    if (children.empty()) {
        GUIScrollbar* bar = new GUIScrollbar();
        AddChild(bar, true);
        bar->fillColor = 0;
    }
    UpdateScrollbar();
}

void GUISelect::Clear() {
    items.clear();
    if (GUIScrollbar* bar = Scrollbar())
        DestroyChild(bar);
}

std::string GUISelect::GetSelectedText() const {
    if (selectedIndex < 0 || selectedIndex >= int(items.size()))
        return std::string();
    return items[size_t(selectedIndex)].text;
}

void GUISelect::UpdateScrollbar() {
    GUIScrollbar* bar = Scrollbar();
    if (!bar)
        return;
    bar->SetRect(x + width - 16, y + 1, 15, height - 2);
    const int maximum = rowHeight * int(items.size()) - (height - 2);
    bar->SetMaximum(maximum);
    bar->SetPosition(bar->GetPosition());
    bar->SetProportion(height - 2, maximum + height - 2);
}

void GUISelect::SyncScroll() {
    GUIScrollbar* bar = Scrollbar();
    if (!bar)
        return;
    const int position = bar->GetPosition();
    const int top = selectedIndex * rowHeight;
    const int bottom = top + rowHeight;
    if (top < position)
        bar->SetPosition(top);
    else if (bottom > position + height - 2)
        bar->SetPosition(bottom - height + 2);
}

void GUISelect::SelectNext() {
    if (selectedIndex < int(items.size()) - 1) {
        ++selectedIndex;
        SyncScroll();
    }
}

void GUISelect::SelectPrevious() {
    if (selectedIndex > 0) {
        --selectedIndex;
        SyncScroll();
    }
}

void GUISelect::OnMouseDown(int px, int py) {
    if (!children.empty() && px - x >= width - kScrollbarMargin)
        return;  // the scroll bar's
    const GUIScrollbar* bar = Scrollbar();
    const int position = bar ? bar->GetPosition() : 0;
    int row = rowHeight > 0 ? (py - (y + 1 - position)) / rowHeight : 0;
    // Below the last row selects the last row; an empty list gives row 0.
    row = std::min(row, int(items.size()) - 1);
    row = std::max(row, 0);
    const bool ctrl = owner ? owner->IsKeyDown(platform::kVkControl)
                            : platform::GetKeyState().IsAsyncKeyDown(platform::kVkControl);
    if (ctrl)
        markedIndex = row;
    else
        selectedIndex = row;
}

void GUISelect::OnMouseWheel(int steps) {
    if (GUIScrollbar* bar = Scrollbar())
        bar->Scroll(steps * kWheelPixels);
}

void GUISelect::Draw() {
    Graphics* graphics = GetGraphics();
    if (!graphics)
        return;
    if (skin > 0)
        graphics->RenderSkin(skin, x, y, width, height);
    graphics->RenderBox(x, y, width, height, darkColor, lightColor, fillColor);
    const GUIScrollbar* bar = Scrollbar();
    int position = 0;
    int margin = 0;
    if (bar) {
        position = bar->GetPosition();
        margin = kScrollbarMargin;
        graphics->RenderRectangle(darkColor, x + width - 17, y + 1, 1, height - 2);
    }
    ClipRect clip;
    clip.left = float(x + 1);
    clip.top = float(y + 1);
    clip.right = float(x + width - 2);
    clip.bottom = float(y + height - 2);
    graphics->EnableClipper(clip);

    const Font* font = GetFont();
    auto textWidth = [font](const std::string& s) { return font ? font->GetTextWidth(s) : 0; };
    const bool outline = textColor != 0xFF000000;
    // Every row is drawn and the clip cuts it: a row's icon and frame may
    // reach past its own height into the view.
    for (size_t i = 0; i < items.size(); ++i) {
        const GUISelectItem& item = items[i];
        const int r = y + 1 - position + int(i) * rowHeight;
        Sprite* icon = item.icon;
        if (!icon && item.iconId > 0 && owner && owner->sprites)
            icon = owner->sprites->GetSprite(item.iconId);
        const int shift = icon ? kIconShift : 0;
        // Where the icon goes: 16 x 16 in short rows; in tall ones 40 x 40, or a
        // large sprite at its own size ending at the bottom-right of that cell.
        int ix = x + 3, iy = r + 2, dw = 16, dh = 16;
        if (icon && rowHeight > 20) {
            const bool fitted = HasFlag(kFramedIcons) || icon->width <= 32;
            dw = fitted ? 40 : icon->width;
            dh = fitted ? 40 : icon->height;
            ix = x + 6 + 40 - dw;
            iy = r + 5 + 40 - dh;
            if (icon->width == 128) {
                ix += 10;
                iy += 26;
            }
        }
        if (int(i) == selectedIndex)
            graphics->RenderRectangle(kSelectedShade, x + 1, r, width - 2 - margin, rowHeight);
        if (icon) {
            graphics->RenderSprite(icon, ix, iy, dw, dh);
            if (rowHeight > 20 && HasFlag(kFramedIcons))
                graphics->RenderBox(x + 5, r + 4, 42, 42, darkColor, lightColor, 0);
        }
        graphics->RenderText(item.text, x + 6 + shift, r + 2, textColor, outline);
        if (!item.rightText.empty())
            graphics->RenderText(item.rightText, x + 1 + width - (textWidth(item.rightText) + 7) - margin, r + 2,
                                 textColor, true);
        if (!item.subText.empty())
            graphics->RenderText(item.subText, x + 6 + shift, r + 17, kSubTextColor, true);
        if (!item.subRightText.empty())
            graphics->RenderText(item.subRightText, x + 1 + width - (textWidth(item.subRightText) + 7) - margin,
                                 r + 17, kSubTextColor, true);
    }
    graphics->DisableClipper();
}
