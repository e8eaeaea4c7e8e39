#include "tests/support/GuiInput.h"

#include <cctype>

#include "engine/KEngine2.h"
#include "engine/WindowMessages.h"
#include "tests/support/FakePlatform.h"

namespace {
int64_t Point(int x, int y) { return int64_t((uint32_t(uint16_t(y)) << 16) | uint16_t(x)); }

// The virtual key that types a character on a US keyboard, near enough for
// the GUI: letters and digits are their own keys.
int KeyOf(char character) {
    const unsigned char c = static_cast<unsigned char>(character);
    if (std::isalpha(c))
        return std::toupper(c);
    if (std::isdigit(c) || c == ' ' || c == '\r' || c == '\b' || c == '\t')
        return c;
    return 0xBA;  // an OEM punctuation key
}
}  // namespace

void GuiInput::Send(uint32_t message, uint64_t wParam, int64_t lParam) { app_.HandleMessage(message, wParam, lParam); }

void GuiInput::Move(int x, int y) { Send(wm::kMouseMove, 0, Point(x, y)); }

void GuiInput::Down(int x, int y) {
    Move(x, y);
    Send(wm::kLeftButtonDown, 1, Point(x, y));
}

void GuiInput::Up(int x, int y) {
    Move(x, y);
    Send(wm::kLeftButtonUp, 0, Point(x, y));
}

void GuiInput::Click(int x, int y) {
    Down(x, y);
    Send(wm::kLeftButtonUp, 0, Point(x, y));
}

void GuiInput::Wheel(int steps) {
    const int16_t delta = int16_t(-steps * 120);
    Send(wm::kMouseWheel, uint64_t(uint16_t(delta)) << 16, 0);
}

void GuiInput::Key(int virtualKey, bool shift) {
    if (shift)
        keys_.down.insert(0x10);
    Send(wm::kKeyDown, uint64_t(virtualKey), 0);
    Send(wm::kKeyUp, uint64_t(virtualKey), 0);
    if (shift)
        keys_.down.erase(0x10);
}

void GuiInput::Char(char character) {
    const int key = KeyOf(character);
    Send(wm::kKeyDown, uint64_t(key), 0);
    Send(wm::kChar, uint64_t(static_cast<unsigned char>(character)), 0);
    Send(wm::kKeyUp, uint64_t(key), 0);
}

void GuiInput::Type(const std::string& text) {
    for (char c : text)
        Char(c);
}

void GuiInput::Ctrl(char letter) {
    const int key = std::toupper(static_cast<unsigned char>(letter));
    keys_.down.insert(0x11);
    Send(wm::kKeyDown, uint64_t(key), 0);
    Send(wm::kChar, uint64_t(key - 'A' + 1), 0);
    Send(wm::kKeyUp, uint64_t(key), 0);
    keys_.down.erase(0x11);
}
