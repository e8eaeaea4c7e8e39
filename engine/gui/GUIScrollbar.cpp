#include "engine/gui/GUIScrollbar.h"

#include <algorithm>

#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"

namespace {
constexpr int kShortestThumb = 6;
constexpr uint32_t kTrackShade = 0x1E000000;
}  // namespace

int GUIScrollbar::ThumbLength() const {
    const int track = TrackLength();
    const int total = totalAmount > 0 ? totalAmount : 1;
    // Single precision, as the rectangles it measures: 13 of 22 on a 22-px
    // track is 12 px, not 13.
    const int length = int(float(visibleAmount) / float(total) * float(track));
    if (length <= kShortestThumb)
        return kShortestThumb;
    return std::min(length, track);
}

void GUIScrollbar::UpdateThumb() {
    // A maximum of 0 leaves no thumb (and nothing to divide by). A negative
    // one, content shorter than the view, keeps the thumb at the top: the
    // position is then 0.
    hasThumb = maximum != 0;
    if (!hasThumb) {
        thumbOffset = 0;
        return;
    }
    // A track shorter than the thumb leaves it at the top.
    const int room = std::max(0, TrackLength() - ThumbLength());
    thumbOffset = int(float(position) * float(room) / float(maximum));
}

void GUIScrollbar::SetMaximum(int value) {
    maximum = value;
    if (value < position) {
        position = value > 0 ? value : 0;
        UpdateThumb();
    }
}

void GUIScrollbar::SetProportion(int visible, int total) {
    visibleAmount = visible;
    totalAmount = total;
}

void GUIScrollbar::SetPosition(int value) {
    position = std::min(value, maximum);
    if (position <= 0)
        position = 0;
    UpdateThumb();
}

void GUIScrollbar::Scroll(int delta) { SetPosition(position + delta); }

void GUIScrollbar::OnMouseDown(int, int py) {
    const int d = py - y;
    if (d <= width) {
        upPressed = true;
        Scroll(-1);
        return;
    }
    if (d >= height - width) {
        downPressed = true;
        Scroll(1);
        return;
    }
    if (!hasThumb)
        return;
    const int top = width + thumbOffset;
    if (top <= d && d <= top + ThumbLength()) {
        dragging = true;
        grabOffset = d - top;
    }
}

void GUIScrollbar::OnMouseMove(int, int py) {
    if (!dragging)
        return;
    const int room = TrackLength() - ThumbLength();
    int wanted = py - y - width - grabOffset;
    wanted = std::min(wanted, room);
    if (wanted <= 0)
        wanted = 0;
    // A thumb that fills its track has no room to move in: it stays at the
    // top, which is position 0.
    int value = room == 0 ? 0 : int(float(wanted) * float(maximum) / float(room));
    value = std::min(value, maximum);
    position = value > 0 ? value : 0;
    UpdateThumb();
}

void GUIScrollbar::OnMouseUp(int, int) {
    upPressed = false;
    downPressed = false;
    dragging = false;
}

void GUIScrollbar::DrawArrow(int ax, int ay, int w, int h, bool pressed, int spriteId) {
    Graphics* graphics = GetGraphics();
    if (!graphics)
        return;
    if (skin > 0)
        graphics->RenderSkin(skin, ax, ay, w, h);
    graphics->RenderBox(ax, ay, w, h, pressed ? darkColor : lightColor, pressed ? lightColor : darkColor,
                        fillColor);
    if (spriteId > 0 && owner && owner->sprites)
        if (Sprite* sprite = owner->sprites->GetSprite(spriteId))
            graphics->RenderSprite(sprite, ax + w / 2 - sprite->width / 2, ay + h / 2 - sprite->height / 2);
}

void GUIScrollbar::Draw() {
    Graphics* graphics = GetGraphics();
    if (!graphics)
        return;
    if (skin > 0)
        graphics->RenderRectangle(kTrackShade, x, y, width, height);
    DrawArrow(x, y, width, width, upPressed, arrowUpIcon);
    if (hasThumb) {
        const int top = y + width + thumbOffset;
        const int length = ThumbLength();
        if (skin > 0)
            graphics->RenderSkin(skin, x, top, width, length);
        graphics->RenderBox(x, top, width, length, lightColor, darkColor, fillColor);
    }
    DrawArrow(x, y + height - width, width, width, downPressed, arrowDownIcon);
}
