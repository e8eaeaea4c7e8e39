#pragma once

#include <cstdint>

// The GUI as the application object sees it. The toolkit (engine/gui) sits
// above the engine, so the engine knows its manager only through this: it
// hands it the left button, the mouse position, the wheel and the keys after
// queueing them as events, and asks it for the pointer position and the skin.
class GuiLayer {
public:
    virtual ~GuiLayer() = default;

    // The input (InputEvent::input) that the calls which follow belong to.
    virtual void SetInput(uint32_t input) = 0;

    virtual void OnMouseDown(int x, int y) = 0;
    virtual void OnMouseUp(int x, int y) = 0;
    virtual void OnMouseMove(int x, int y) = 0;
    // Positive steps: the wheel turned towards the user.
    virtual void OnMouseWheel(int steps) = 0;
    virtual void OnKey(uint16_t virtualKey, uint16_t character, bool ctrl, bool shift) = 0;

    // A pop-up menu is open (it takes the next click).
    virtual bool HasOpenMenu() const = 0;
    // Where the GUI last saw the mouse.
    virtual float PointerX() const = 0;
    virtual float PointerY() const = 0;
    // The skin's sprite id (0 while none is set).
    virtual int GetSkin() const = 0;
};
