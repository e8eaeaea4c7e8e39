#include "engine/gui/GUIText.h"

#include "engine/Graphics.h"

void GUIText::Draw() {
    // The colour is read at every draw, so dialogs may change it at any time.
    if (Graphics* graphics = GetGraphics())
        graphics->RenderText(text, x, y, textColor, true);
}
