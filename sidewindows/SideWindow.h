#pragma once

#include <cstdint>

// The base of the windows in the side panels. Each window class supplies its
// own drawing, update and layout; the base does nothing.
class SideWindow {
public:
    SideWindow() = default;
    virtual ~SideWindow();
    SideWindow(const SideWindow&) = delete;
    SideWindow& operator=(const SideWindow&) = delete;

    // Called before every draw of the content.
    virtual void Relayout();
    virtual void Update();
    virtual void Draw();
    // Only records the state; the window classes lay themselves out anew.
    virtual void SetMinimized(bool minimized);

    uint8_t minimized = 0;
};
