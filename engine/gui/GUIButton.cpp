#include "engine/gui/GUIButton.h"

#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"

void GUIButton::OnMouseDown(int, int) { pressed = true; }

void GUIButton::OnMouseMove(int px, int py) { pointerInside = Contains(px, py); }

void GUIButton::OnMouseUp(int, int) {
    if (!pressed)
        return;
    pressed = false;
    // The last move decides, not the release point: the window procedure
    // always sends a move before the release that matters.
    if (pointerInside)
        action(actionContext);
}

void GUIButton::Draw() {
    Graphics* graphics = GetGraphics();
    if (!graphics)
        return;
    const bool pushed = (pressed && pointerInside) || style != 0;
    const int d = pushed ? 1 : 0;
    if (skin > 0)
        graphics->RenderSkin(skin, x, y, width, height);
    graphics->RenderBox(x, y, width, height, pushed ? darkColor : lightColor, pushed ? lightColor : darkColor,
                        fillColor);
    if (!caption.empty()) {
        const int w = GetFont() ? GetFont()->GetTextWidth(caption) : 0;
        graphics->RenderText(caption, x + d + width / 2 - w / 2, y + d + height / 2 - 8, textColor,
                             textColor != 0xFF000000);
    }
    if (icon > 0 && owner && owner->sprites) {
        if (Sprite* sprite = owner->sprites->GetSprite(icon))
            graphics->RenderSprite(sprite, x + d + width / 2 - sprite->width / 2,
                                   y + d + height / 2 - sprite->height / 2);
    }
}
