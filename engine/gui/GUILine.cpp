#include "engine/gui/GUILine.h"

#include "engine/Graphics.h"

void GUILine::Draw() {
    Graphics* graphics = GetGraphics();
    if (!graphics)
        return;
    graphics->RenderRectangle(darkColor, x, y, width, 1);
    graphics->RenderRectangle(lightColor, x, y + 1, width, 1);
}
