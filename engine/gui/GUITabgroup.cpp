#include "engine/gui/GUITabgroup.h"

#include <algorithm>

#include "engine/Graphics.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/StableSort.h"

namespace {
constexpr int kButtonWidth = 15;
}  // namespace

int GUITabgroup::TabCount() const {
    int count = 0;
    for (GUIControl* child : children)
        if (dynamic_cast<GUITab*>(child))
            ++count;
    return count;
}

std::vector<GUITab*> GUITabgroup::GetTabs() const {
    std::vector<GUITab*> tabs;
    for (GUIControl* child : children)
        if (GUITab* tab = dynamic_cast<GUITab*>(child))
            tabs.push_back(tab);
    return tabs;
}

void GUITabgroup::AddTab(GUITab* tab) {
    if (!tab)
        return;
    // Right of every existing tab, so the next draw sorts it last.
    const int n = int(children.size());
    tab->SetRect(x + (n + 1) * tabWidth, y + 1, tabWidth, height - 2);
    AddChild(tab, true);
    if (!activeTab) {
        activeTab = tab;
        tab->active = true;
    }
    if (alwaysScroll || width - 2 - rightMargin < TabCount() * tabWidth)
        CreateScrollButtons();
}

void GUITabgroup::CreateScrollButtons() {
    if (scrollButtons)
        return;
    scrollButtons = true;
    leftButton = new GUIButton();
    leftButton->SetRect(x + 1, y + 1, kButtonWidth, height - 2);
    leftButton->SetIcon(arrowLeftIcon);
    rightButton = new GUIButton();
    rightButton->SetRect(x + width - 16, y + 1, kButtonWidth, height - 2);
    rightButton->SetIcon(arrowRightIcon);
    AddChild(leftButton, true);
    AddChild(rightButton, true);
    leftButton->fillColor = 0;
    rightButton->fillColor = 0;
    leftButton->action = &GUITabgroup::ScrollLeft;
    leftButton->actionContext = this;
    rightButton->action = &GUITabgroup::ScrollRight;
    rightButton->actionContext = this;
}

void GUITabgroup::Scroll(int delta) {
    firstVisibleTab = std::max(0, std::min(firstVisibleTab + delta, TabCount() - 1));
}

void GUITabgroup::ScrollLeft(void* context) { static_cast<GUITabgroup*>(context)->Scroll(-1); }
void GUITabgroup::ScrollRight(void* context) { static_cast<GUITabgroup*>(context)->Scroll(1); }

void GUITabgroup::RemoveTab(GUITab* tab) {
    if (!tab || tab->GetParent() != this)
        return;
    if (tab == activeTab) {
        tab->active = false;
        activeTab = nullptr;
    }
    DestroyChild(tab);
    if (!alwaysScroll && TabCount() * tabWidth <= width - 2 - rightMargin && scrollButtons) {
        firstVisibleTab = 0;
        scrollButtons = false;
        DestroyChild(leftButton);
        DestroyChild(rightButton);
        leftButton = nullptr;
        rightButton = nullptr;
    }
}

void GUITabgroup::SetActiveTab(GUITab* tab) {
    if (activeTab)
        activeTab->active = false;
    activeTab = tab;
    if (tab)
        tab->active = true;
}

void GUITabgroup::OnMouseDown(int px, int py) {
    for (GUIControl* child : children) {
        GUITab* tab = dynamic_cast<GUITab*>(child);
        if (!tab || tab->HasFlag(kHidden) || !tab->Contains(px, py))
            continue;
        SetActiveTab(tab);
        dragging = true;
        grabOffset = px - tab->x;
        return;
    }
    grabOffset = activeTab ? px - activeTab->x : px;
}

void GUITabgroup::OnMouseUp(int, int) { dragging = false; }

void GUITabgroup::OnMouseMove(int px, int) {
    if (!dragging || !activeTab)
        return;
    int nx = px - grabOffset;
    const int left = x + (scrollButtons ? kButtonWidth : 0);
    const int right = x + width - 1 - rightMargin - (scrollButtons ? kButtonWidth : 0);
    if (nx < left)
        nx = left;
    else if (nx + tabWidth > right)
        nx = right - tabWidth;
    activeTab->SetRect(nx, y + 1, tabWidth, height - 2);
}

void GUITabgroup::Draw() {
    if (scrollButtons) {
        leftButton->SetRect(x + 1, y + 1, kButtonWidth, height - 2);
        rightButton->SetRect(x + width - 16, y + 1, kButtonWidth, height - 2);
    }
    if (Graphics* graphics = GetGraphics()) {
        if (skin > 0)
            graphics->RenderSkin(skin, x, y, width, height);
        graphics->RenderBox(x, y, width, height, darkColor, lightColor, fillColor);
    }
    // A control stays before the next one while its left edge lies left of
    // that one's middle: a tab dragged right moves behind its neighbour once
    // its left edge reaches the neighbour's middle.
    auto precedes = [](const GUIControl* a, const GUIControl* b) {
        return a->x < int(float(b->x) + float(b->width) / 2.0f);
    };
    StableMergeSort(children, [&](const GUIControl* later, const GUIControl* earlier) {
        return !precedes(earlier, later);
    });
    int pos = scrollButtons ? 16 : 1;
    int index = 0;
    const int n = int(children.size());
    const int limit = width - 1 - rightMargin - (scrollButtons ? kButtonWidth : 0);
    for (GUIControl* child : children) {
        GUITab* tab = dynamic_cast<GUITab*>(child);
        if (!tab)
            continue;
        if (index < firstVisibleTab) {
            // Left of the screen, in order, so they stay first at the next sort.
            tab->SetFlag(kHidden);
            tab->SetRect((index - n - 1) * tabWidth, y + 1, tabWidth, height - 2);
        } else {
            if (pos + tabWidth > limit)
                tab->SetFlag(kHidden);
            else
                tab->ClearFlag(kHidden);
            const bool held = !tab->HasFlag(kHidden) && tab == activeTab && dragging;
            if (!held)
                tab->SetRect(x + pos, y + 1, tabWidth, height - 2);
            pos += tabWidth;
        }
        ++index;
    }
}
