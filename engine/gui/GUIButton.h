#pragma once

#include <string>

#include "engine/gui/GUIControl.h"

// A push button with a centred caption and/or icon. Its action fires on a
// completed click: a release after a press on the button while the mouse, at
// its last move, was inside it. Dragging off and releasing outside fires
// nothing; dragging back in and releasing fires.
class GUIButton : public GUIControl {
public:
    using Action = void (*)(void* context);

    GUIButton() = default;
    // The usual button of a dialog: its id, caption and action in one step.
    GUIButton(int32_t buttonId, const std::string& text, Action onClick, void* context)
        : action(onClick ? onClick : &NoAction), actionContext(context), caption(text) {
        id = buttonId;
    }

    void SetCaption(const std::string& text) { caption = text; }
    void SetIcon(int spriteId) { icon = spriteId; }
    // Non-zero draws the button pushed in for good (toggle and tab-like buttons).
    void SetStyle(uint8_t value) { style = value; }

    void Draw() override;
    void OnMouseDown(int x, int y) override;
    void OnMouseUp(int x, int y) override;
    void OnMouseMove(int x, int y) override;

    static void NoAction(void*) {}

    Action action = &NoAction;  // never null
    void* actionContext = nullptr;
    std::string caption;
    int icon = 0;
    bool pressed = false;
    bool pointerInside = false;
    uint8_t style = 0;
};
