#pragma once

#include <cstdint>
#include <functional>

// The pure rules behind the game screen's keys: the hotkey mode with its chat
// line, and which held key walks where.

// Hotkey mode (Ctrl+F): digit keys trigger the fight-set hotkeys and letter
// keys walk, while the chat input stays closed until Enter opens it for one
// line.
struct HotkeyModeState {
    bool hotkeyMode = false;
    bool chatLineOpen = false;

    // Enter: true when the chat line's text is to be sent now (and the line
    // closes); false when Enter only opened the line.
    bool PressEnter();
    // Ctrl+F: the mode flips and the line closes.
    void Toggle();
    // Digits trigger hotkeys, letters walk, the chat input is disabled.
    bool KeysAreHotkeys() const { return hotkeyMode && !chatLineOpen; }
};

// The walk the held keys ask for this frame: direction 1 .. 8 (1 south,
// 2 west, 3 north, 4 east, 5 south-west, 6 north-west, 7 north-east,
// 8 south-east), or 0 for none. held: the flags of Down, Left, Up, Right, End,
// Home, Page Up and Page Down. letters: hotkey mode walks with S, A, W, D and,
// without Control, Z, Q, E, C; isDown asks for a letter's key. turnOnly: the
// walk only turns the character (Control held; the diagonal letters never turn).
int HeldKeyDirection(const uint8_t held[8], bool shift, bool ctrl, bool letters,
                     const std::function<bool(int)>& isDown, bool& turnOnly);
