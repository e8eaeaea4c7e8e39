#pragma once

#include <cstdint>
#include <string>

class KEngine2;
class FakeKeyState;

// Mouse and keyboard input for GUI tests, sent through the application object's
// window procedure (KEngine2::HandleMessage) the way the real window sends it:
// a key is WM_KEYDOWN, then WM_CHAR for a character, then WM_KEYUP; Ctrl and
// Shift are held in the fake key state while their combination is sent.
class GuiInput {
public:
    GuiInput(KEngine2& app, FakeKeyState& keys) : app_(app), keys_(keys) {}

    void Move(int x, int y);
    // Left button; Down and Up move the mouse to the point first.
    void Down(int x, int y);
    void Up(int x, int y);
    void Click(int x, int y);
    // Positive steps turn the wheel towards the user.
    void Wheel(int steps);
    // A key that types no character (arrows, Home, Delete, ...).
    void Key(int virtualKey, bool shift = false);
    // One character with its key; Enter is '\r', Backspace '\b', Tab '\t'.
    void Char(char character);
    void Type(const std::string& text);
    // Ctrl with a letter key: Ctrl+V sends the key 'V' and the character 22.
    void Ctrl(char letter);

private:
    void Send(uint32_t message, uint64_t wParam, int64_t lParam);

    KEngine2& app_;
    FakeKeyState& keys_;
};
