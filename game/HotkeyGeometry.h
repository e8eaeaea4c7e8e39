#pragma once

#include <cstdint>
#include <string>

// The hotkey bar's arithmetic, kept apart from its drawing and its GUI so it
// can be checked on its own: where the bar docks, where its 24 slots and two
// page buttons lie, what a point hits, and how a drag changes its side or
// thickness. Coordinates are client pixels.

namespace hotkeys {

constexpr int kLeft = 0;
constexpr int kRight = 1;
constexpr int kTop = 2;
constexpr int kBottom = 3;

constexpr int kMinThickness = 52;
constexpr int kMaxThickness = 94;
constexpr int kSlotsPerRow = 12;
constexpr int kSlotSize = 34;    // a slot's box
constexpr int kSlotPitch = 40;   // from one slot to the next along the bar
constexpr int kRowPitch = 42;    // from the main row to the fight row across the bar
constexpr int kRowInset = 9;     // the main row's distance from the bar's top or left edge
constexpr int kPageControl = 28; // of the bar's length, kept for the page control
constexpr int kOneLine = 960;    // 24 slots end to end
constexpr int kTwoRows = 90;     // the thickness from which both rows lie side by side
constexpr int kGripWidth = 5;

inline bool IsHorizontal(int side) { return side == kTop || side == kBottom; }

struct BarRect {
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
};

struct SlotCorner {
    float x = 0;
    float y = 0;
};

struct ButtonRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int icon = 0;
};

// Everything Layout places. Index 0 of the rows is unused, 1 .. 12 are the
// slots; all 12 are placed whatever the slot count, only the first
// `slotCount` are drawn and hit.
struct BarLayout {
    int slotCount = 0;    // 0 or less when no slot fits
    int firstOffset = 0;  // from the bar's leading edge to the first slot
    SlotCorner main[kSlotsPerRow + 1];
    SlotCorner fight[kSlotsPerRow + 1];
    ButtonRect previous;
    ButtonRect next;
};

// The bar's side and rectangle for the window, the side panels and the chat
// area. With a left panel the bar lies across the top or bottom, without one
// down the left or right; a side of the wrong kind is moved.
struct Dock {
    int side = kLeft;
    BarRect rect;
};
Dock DockBar(int side, int thickness, int clientWidth, int clientHeight, int leftPanel, int rightPanel,
             int chatHeight);

BarLayout LayoutBar(int side, const BarRect& bar, int thickness);

// Half-open on both axes.
bool InsideBar(const BarRect& bar, int px, int py);
// From the corner to corner + 34, inclusive on both axes.
bool InsideSlot(const SlotCorner& corner, int px, int py);
// The first slot hit, main row before fight row for each number: the slot
// number 1 .. 12, or 0 for none.
int HitSlot(const BarLayout& layout, int px, int py, bool& fightRow);
// The 5-pixel band along the edge that faces the game view.
bool HitGrip(int side, const BarRect& bar, int px, int py);

// The side a dragged bar goes to, for the pointer at (px, py).
int DragSide(bool hasLeftPanel, int clientWidth, int clientHeight, int rightPanel, int chatHeight, int px, int py);
// The thickness a dragged grip gives: the distance from the outer edge,
// 52 .. 94.
int DragThickness(int side, const BarRect& bar, int px, int py);

// Section and key names of the stored assignments.
std::string SectionName(int page, bool fightRow);
std::string SlotKey(int slot);
// The key label of an empty slot: F1 .. F12; 1 .. 9, 0, M1, M2.
std::string SlotLabel(int slot, bool fightRow);

// A timer of `seconds` started at tick `start` (milliseconds that wrap at
// 32 bits). The length is counted in 64 bits, since a server's u32 seconds
// times 1000 would wrap.
struct Timer {
    uint32_t start = 0;
    uint32_t seconds = 0;

    bool Running(uint32_t now) const;
    // While running: the length less the whole seconds elapsed.
    int64_t SecondsLeft(uint32_t now) const;
    // The height of the shade over a 32-pixel icon while running: all of it at
    // the start, none at the end.
    int ShadeHeight(uint32_t now) const;
};

}  // namespace hotkeys
