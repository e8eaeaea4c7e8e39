#pragma once

#include "sidewindows/SideWindow.h"

// An open container (backpack, depot, corpse) in a side window; the server
// numbers them 0 .. 19.
class Container : public SideWindow {
public:
    // window id 20000 + 2 x index.
    Container(int id, int index);
    ~Container() override;

    // The mouse position, and whether an item is being dragged over the slots.
    void SetMouse(int x, int y, bool dragging);

    int index = 0;
};
