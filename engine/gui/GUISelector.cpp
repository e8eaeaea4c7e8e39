#include "engine/gui/GUISelector.h"

#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/gui/GUIButton.h"

void GUISelector::SetItems(const std::vector<std::string>& list) {
    items = list;
    selectedIndex = 0;
    currentText = items.empty() ? std::string() : items.front();
}

void GUISelector::SetSelected(int index) {
    selectedIndex = 0;
    currentText.clear();
    if (index >= 0 && index < int(items.size())) {
        currentText = items[size_t(index)];
        selectedIndex = index;
    }
}

void GUISelector::Step(int delta) {
    const int last = int(items.size()) - 1;
    if (delta < 0)
        SetSelected(selectedIndex == 0 ? last : selectedIndex - 1);
    else
        SetSelected(selectedIndex == last ? 0 : selectedIndex + 1);
    if (changeCallback)
        changeCallback(selectedIndex, callbackContext);
}

void GUISelector::SelectPrevious(void* context) { static_cast<GUISelector*>(context)->Step(-1); }
void GUISelector::SelectNext(void* context) { static_cast<GUISelector*>(context)->Step(1); }

void GUISelector::Draw() {
    if (children.empty()) {
        GUIButton* previous = new GUIButton();
        previous->SetRect(x + 1, y + 1, height - 2, height - 2);
        previous->SetIcon(arrowLeftIcon);
        previous->action = &GUISelector::SelectPrevious;
        previous->actionContext = this;
        AddChild(previous, true);
        GUIButton* next = new GUIButton();
        next->SetRect(x + width - 24, y + 1, height - 2, height - 2);
        next->SetIcon(arrowRightIcon);
        next->action = &GUISelector::SelectNext;
        next->actionContext = this;
        AddChild(next, true);
    }
    Graphics* graphics = GetGraphics();
    if (!graphics)
        return;
    if (skin > 0)
        graphics->RenderSkin(skin, x, y, width, height);
    graphics->RenderBox(x, y, width, height, darkColor, lightColor, fillColor);
    const std::string shown = label + ": " + currentText;
    const int w = GetFont() ? GetFont()->GetTextWidth(shown) : 0;
    graphics->RenderText(shown, x + width / 2 - w / 2, y + height / 2 - 7, textColor, textColor != 0xFF000000);
}
