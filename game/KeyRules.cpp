#include "game/KeyRules.h"

bool HotkeyModeState::PressEnter() {
    if (hotkeyMode && !chatLineOpen) {
        chatLineOpen = true;
        return false;
    }
    chatLineOpen = false;
    return true;
}

void HotkeyModeState::Toggle() {
    hotkeyMode = !hotkeyMode;
    chatLineOpen = false;
}

int HeldKeyDirection(const uint8_t held[8], bool shift, bool ctrl, bool letters,
                     const std::function<bool(int)>& isDown, bool& turnOnly) {
    turnOnly = ctrl;
    if (!shift) {
        for (int k = 0; k < 8; ++k)
            if (held[k])
                return k + 1;
    } else {
        // With Shift (which recalls chat history on Up and Down) only the
        // diagonal keys walk.
        for (int k = 5; k < 8; ++k)
            if (held[k])
                return k + 1;
        return 0;
    }
    if (!letters)
        return 0;
    static const char kStraight[] = {'S', 'A', 'W', 'D'};
    for (int k = 0; k < 4; ++k)
        if (isDown(kStraight[k]))
            return k + 1;
    if (ctrl)
        return 0;
    static const char kDiagonal[] = {'Z', 'Q', 'E', 'C'};
    for (int k = 0; k < 4; ++k)
        if (isDown(kDiagonal[k])) {
            turnOnly = false;
            return k + 5;
        }
    return 0;
}
