#include "engine/gui/GUITab.h"

#include "engine/Font.h"
#include "engine/Graphics.h"

void GUITab::Draw() {
    Graphics* graphics = GetGraphics();
    if (!graphics)
        return;
    const uint32_t light = active ? darkColor : lightColor;
    const uint32_t dark = active ? lightColor : darkColor;
    if (skin > 0)
        graphics->RenderSkin(skin, x, y, width, height);
    graphics->RenderBox(x, y, width, height, light, dark, fillColor);
    const Font* font = GetFont();
    auto measure = [font](const std::string& s) { return font ? font->GetTextWidth(s) : 0; };
    std::string shown = caption;
    bool cut = false;
    while (!shown.empty() && measure(shown) >= width - 14) {
        shown.pop_back();
        cut = true;
    }
    if (cut)
        shown += "...";
    graphics->RenderText(shown, x + width / 2 - measure(shown) / 2, y + height / 2 - 8, textColor, true);
}
