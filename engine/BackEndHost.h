#pragma once

#include <cstdint>

// All a drawing back end may ask of the application: the window it draws into
// and its client size, the facade's current colour (Direct3D tints sprites
// with it), and the GUI skin in use with a way to tile a skin sprite
// (DirectDraw, which cannot blend, shades with a tile instead). The
// application object implements it and hands it to each back end it makes,
// so a back end sees nothing else of the program.
class BackEndHost {
public:
    // The main window (an HWND), or null.
    virtual void* WindowHandle() const = 0;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    // The colour sprites are multiplied by, as the facade keeps it.
    virtual uint32_t CurrentColor() const = 0;
    // The skin sprite id of the GUI's root control.
    virtual int GuiSkin() const = 0;
    // Covers the rectangle with copies of a sprite of the sprite store.
    virtual void RenderSkin(int spriteId, int x, int y, int w, int h) = 0;

protected:
    ~BackEndHost() = default;
};
