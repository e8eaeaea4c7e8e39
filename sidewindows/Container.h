#pragma once

#include "sidewindows/SideWindow.h"

// One cell of a container window.
struct ContainerSlot {
    int index = 0;   // 0 .. 99
    int itemId = 0;  // 0 = empty
    int count = 0;
};

// An open container (backpack, depot, corpse) in a side window; the server
// numbers them 0 .. 19.
class Container : public SideWindow {
public:
    // window id 20000 + 2 x index.
    Container(int id, int index);
    ~Container() override;

    // The mouse position, and whether an item is being dragged over the slots.
    void SetMouse(int x, int y, bool dragging);
    // The slot of an index 0 .. 99, otherwise null.
    ContainerSlot* GetSlot(int index);
    // The slot whose cell lies under a screen point, or null (also while minimised).
    ContainerSlot* HitSlot(int x, int y);

    int index = 0;
};
