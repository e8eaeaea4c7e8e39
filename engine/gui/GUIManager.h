#pragma once

#include <cstdint>

#include "engine/Block.h"

// The root of the control tree. The window procedure hands it the left button,
// the mouse position, the wheel and the keys.
class GUIManager : public Block {
public:
    GUIManager() = default;

    void OnMouseDown(int x, int y);
    void OnMouseUp(int x, int y);
    void OnMouseMove(int x, int y);
    void OnMouseWheel(int steps);
    void OnKey(uint16_t virtualKey, uint16_t character, bool ctrl, bool shift);
    void Update();
    // The skin's sprite id: the first word of the root control's style.
    int GetSkin() const { return skin; }

    float mouseX = 0;
    float mouseY = 0;
    int skin = 0;
};
