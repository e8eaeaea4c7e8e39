#pragma once

#include <cstdint>

// One queued input record; the main loop drains them once a pass.
struct InputEvent {
    enum Type : int32_t {
        LeftDown = 1,      // a, b: mouse position; c: 1 when a menu was open as the button went down
        LeftUp = 2,
        RightDown = 3,
        RightUp = 4,
        Wheel = 5,         // a, b: mouse position; c: steps (positive towards the user)
        MouseMove = 7,
        MiddleDown = 8,
        MiddleUp = 9,
        KeyDown = 20,      // a: virtual-key code, or 0 for a character in b
        KeyUp = 21,        // a: virtual-key code
        Resize = 30,       // a, b: new client size; c: 1 when maximised
    };

    int32_t type = 0;
    int32_t a = 0;
    int32_t b = 0;
    int32_t c = 0;
    // The input it came from, numbered by the application object from 1 (0:
    // none, such as a resize). A left button's press and its release are one
    // input, and so are a key's key-down and its character: whatever the GUI
    // did with an input, the screens can ask about when they handle its
    // records (GUIManager::BeginEvent).
    uint32_t input = 0;
    // A key-down's modifiers as they were when the key went down (kCtrlHeld,
    // kShiftHeld): the screens may handle it after a quick tap has already
    // released them.
    static constexpr int32_t kCtrlHeld = 1;
    static constexpr int32_t kShiftHeld = 2;
    int32_t modifiers = 0;
};
