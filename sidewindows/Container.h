#pragma once

#include "sidewindows/SideWindow.h"

// One cell of a container window. The records live as long as their window
// and never move, so the mouse actions may keep a pointer during a drag.
struct ContainerSlot {
    int index = 0;   // 0 .. 99
    int itemId = 0;  // 0 = empty
    int count = 0;
};

// An open container (backpack, depot, corpse) in a side window; the server
// numbers them 0 .. 19. Its cells form a grid of 40-pixel cells that scrolls
// inside the frame; the title-bar buttons send requests that carry the index.
class Container : public SideWindow {
public:
    static constexpr int kSlots = 100;
    static constexpr int kCellPitch = 40;
    static constexpr int kDefaultHeight = 88;
    static constexpr int kFirstWindowId = 20000;

    // window id 20000 + 2 x index; the scroll bar takes the id after it.
    Container(int id, int index);
    ~Container() override;

    // Empties every cell; the capacity is the number of cells shown.
    void Reset(int capacity);
    // Indices outside 0 .. 99 change nothing; one past the shown cells shows
    // cells up to it.
    void SetItem(int slot, int itemId, int count);
    // The mouse position, and whether an item is being dragged over the slots.
    void SetMouse(int x, int y, bool dragging);
    // The slot of an index 0 .. 99, otherwise null.
    ContainerSlot* GetSlot(int slot);
    // The slot whose cell lies under a screen point, or null (also while
    // minimised, and for the empty cells past the hundredth).
    ContainerSlot* HitSlot(int x, int y);
    // The top-left corner of a cell on the screen, for drawing and hitting
    // alike (and for the tests that click it); cells are kCellPitch apart.
    void CellPosition(int slot, int& x, int& y) const;

    void Relayout() override;
    void Update() override;
    void Draw() override;
    void DrawSlot(int x, int y, int slot);

    // The title-bar buttons' actions; the argument is the address of `index`.
    static void OnCloseButton(void* index);
    static void OnIconButton(void* index);
    static void OnLootButton(void* index);
    // Gives the optional buttons their actions; a button added after the
    // first draw gets its action at once.
    void InstallButtonActions();

    ContainerSlot* slots[kSlots] = {};  // owned
    int index = 0;
    int usedCount = 0;
    int pointerX = 0;
    int pointerY = 0;
    int gridMargin = 16;
    int columns = 3;
    bool dragging = false;

private:
    int Rows() const;
};
