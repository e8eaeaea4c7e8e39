#include "game/HotkeyGeometry.h"

#include <algorithm>
#include <cmath>

namespace hotkeys {

Dock DockBar(int side, int thickness, int clientWidth, int clientHeight, int leftPanel, int rightPanel,
             int chatHeight) {
    Dock dock;
    if (leftPanel > 0) {
        dock.side = side == kBottom ? kBottom : kTop;
        dock.rect.x = float(leftPanel);
        dock.rect.y = dock.side == kTop ? 0.0f : float(clientHeight - chatHeight - thickness);
        dock.rect.width = float(std::max(5, clientWidth - leftPanel - rightPanel));
        dock.rect.height = float(thickness);
    } else {
        dock.side = side == kRight ? kRight : kLeft;
        dock.rect.x = dock.side == kLeft ? float(leftPanel) : float(clientWidth - rightPanel - thickness);
        dock.rect.y = 0;
        dock.rect.width = float(thickness);
        dock.rect.height = float(clientHeight - chatHeight);
    }
    return dock;
}

BarLayout LayoutBar(int side, const BarRect& bar, int thickness) {
    BarLayout layout;
    const bool horizontal = IsHorizontal(side);
    const int bx = int(bar.x);
    const int by = int(bar.y);
    const int bw = int(bar.width);
    const int bh = int(bar.height);
    const int length = horizontal ? bw : bh;

    int count = int(std::floor(double(length - kPageControl) / kSlotPitch));
    if (count > kSlotsPerRow - 1)
        count = kSlotsPerRow;
    layout.slotCount = count;

    // A two-row bar puts the fight row beside the main row; a thin bar long
    // enough for 24 slots puts it behind the main row in one line; a thin
    // short bar keeps it beside, where the clip cuts it.
    int dx = horizontal ? 0 : kRowPitch;
    int dy = horizontal ? kRowPitch : 0;
    int span = kSlotPitch * count;
    if (thickness < kTwoRows && length - kPageControl > kOneLine) {
        dx = horizontal ? kOneLine / 2 : 0;
        dy = horizontal ? 0 : kOneLine / 2;
        span = kOneLine;
    }

    const int offset = (length - span + 19) / 2 + 3;
    layout.firstOffset = offset;
    for (int i = 1; i <= kSlotsPerRow; ++i) {
        const int step = kSlotPitch * (i - 1);
        SlotCorner& main = layout.main[i];
        if (horizontal) {
            main.x = float(bx + offset + step);
            main.y = float(by + kRowInset);
        } else {
            main.x = float(bx + kRowInset);
            main.y = float(by + offset + step);
        }
        layout.fight[i].x = main.x + float(dx);
        layout.fight[i].y = main.y + float(dy);
    }

    if (horizontal) {
        layout.previous = {bx + offset - 19, by + 10, 14, 12, 5};
        layout.next = {bx + offset - 19, by + bh - 22, 14, 12, 6};
    } else {
        layout.previous = {bx + 10, by + offset - 19, 12, 14, 8};
        layout.next = {bx + bw - 22, by + offset - 19, 12, 14, 9};
    }
    return layout;
}

bool InsideBar(const BarRect& bar, int px, int py) {
    const float x = float(px);
    const float y = float(py);
    return bar.x <= x && x < bar.x + bar.width && bar.y <= y && y < bar.y + bar.height;
}

bool InsideSlot(const SlotCorner& corner, int px, int py) {
    const float x = float(px);
    const float y = float(py);
    return corner.x <= x && x <= corner.x + kSlotSize && corner.y <= y && y <= corner.y + kSlotSize;
}

int HitSlot(const BarLayout& layout, int px, int py, bool& fightRow) {
    const int count = std::min(layout.slotCount, kSlotsPerRow);
    for (int i = 1; i <= count; ++i) {
        if (InsideSlot(layout.main[i], px, py)) {
            fightRow = false;
            return i;
        }
        if (InsideSlot(layout.fight[i], px, py)) {
            fightRow = true;
            return i;
        }
    }
    return 0;
}

bool HitGrip(int side, const BarRect& bar, int px, int py) {
    const float x = float(px);
    const float y = float(py);
    const float right = bar.x + bar.width;
    const float bottom = bar.y + bar.height;
    switch (side) {
    case kLeft:
        return right - kGripWidth <= x && x < right && bar.y <= y && y < bottom;
    case kRight:
        return bar.x <= x && x < bar.x + kGripWidth && bar.y <= y && y < bottom;
    case kTop:
        return bar.x <= x && x < right && bottom - kGripWidth <= y && y < bottom;
    case kBottom:
        return bar.x <= x && x < right && bar.y <= y && y < bar.y + kGripWidth;
    default:
        return false;
    }
}

int DragSide(bool hasLeftPanel, int clientWidth, int clientHeight, int rightPanel, int chatHeight, int px, int py) {
    if (hasLeftPanel)
        return (clientHeight - chatHeight) / 2 > py ? kTop : kBottom;
    return (clientWidth - rightPanel) / 2 > px ? kLeft : kRight;
}

int DragThickness(int side, const BarRect& bar, int px, int py) {
    const int x = int(bar.x);
    const int y = int(bar.y);
    const int width = int(bar.width);
    const int height = int(bar.height);
    int distance = 0;
    switch (side) {
    case kLeft:
        distance = px - x;
        break;
    case kRight:
        distance = x + width - px;
        break;
    case kTop:
        distance = py - y;
        break;
    default:
        distance = y + height - py;
        break;
    }
    return distance > kMaxThickness - 1 ? kMaxThickness : std::max(kMinThickness, distance);
}

std::string SectionName(int page, bool fightRow) {
    return std::string(fightRow ? "fight" : "") + "spells" + std::to_string(page);
}

std::string SlotKey(int slot) { return "F" + std::to_string(slot); }

std::string SlotLabel(int slot, bool fightRow) {
    if (!fightRow)
        return "F" + std::to_string(slot);
    switch (slot) {
    case 10:
        return "0";
    case 11:
        return "M1";
    case 12:
        return "M2";
    default:
        return std::to_string(slot);
    }
}

bool Timer::Running(uint32_t now) const { return uint64_t(now - start) < uint64_t(seconds) * 1000u; }

int64_t Timer::SecondsLeft(uint32_t now) const {
    if (!Running(now))
        return 0;
    // The length less the whole seconds gone: a 10-second cooldown shows 10
    // for its first second and 1 for its last.
    return int64_t(seconds) - int64_t((now - start) / 1000u);
}

int Timer::ShadeHeight(uint32_t now) const {
    if (!Running(now))
        return 0;
    const double done = double(now - start) / (double(seconds) * 1000.0);
    return 32 - int(done * 100.0 * 0.32);
}

}  // namespace hotkeys
