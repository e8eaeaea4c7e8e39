#include "sidewindows/SidePanel.h"

#include <algorithm>

#include "client/Client.h"
#include "client/Settings.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "game/GameInterface.h"
#include "sidewindows/SideWindow.h"

SidePanel::SidePanel(bool left) : isLeft(left ? 1 : 0) {}

void SidePanel::Clear() { windows.clear(); }

void SidePanel::RemoveWindow(const SideWindow* window) {
    windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}

void SidePanel::SetWidth(int pixels) {
    if (pixels > kMaxWidth)
        pixels = kMaxWidth;
    if (pixels < kMinWidth && (!isLeft || pixels > 0))
        pixels = kMinWidth;
    // Any width of 0 or less hides the left panel; keep it at 0 so that
    // everything that asks for the hidden panel finds it so.
    if (pixels < 0)
        pixels = 0;
    // A client narrower than 200 pixels leaves no room for a column at all.
    const int cap = std::max(0, (Client::Instance()->app->clientWidth - 200) / 2);
    width = std::min(pixels, cap);
}

int SidePanel::Left() const { return isLeft ? 0 : Client::Instance()->app->clientWidth - width; }

void SidePanel::CollectWindows(bool takeUnplaced) {
    windows.clear();
    const GameInterface* game = Client::Instance()->game;
    if (!game)
        return;
    const int screenWidth = Client::Instance()->app->clientWidth;
    SideWindow* dragged = nullptr;
    for (SideWindow* window : game->sideWindows) {
        const GUIDialog* dialog = window->dialog;
        if (!dialog)
            continue;
        bool belongs = isLeft ? dialog->x < width : dialog->x + dialog->width > screenWidth - width;
        if (!belongs && takeUnplaced && dialog->x == 0 && !dialog->dragging)
            belongs = true;
        if (!belongs)
            continue;
        windows.push_back(window);
        if (dialog->dragging)
            dragged = window;
    }
    // The window on the move is drawn above every other one.
    if (dragged) {
        GUIManager* gui = Client::Instance()->app->gui;
        gui->RemoveControl(dragged->dialog, false);
        gui->AddControl(dragged->dialog);
    }
    // The resting windows keep the order of their y. The dragged window goes
    // in front of the first one whose middle lies below its top edge, so it
    // takes a neighbour's place as soon as it passes that middle. (Comparing it
    // against the middles inside the sort would not be a strict weak ordering
    // once frames overlap, and the sort's result would be unspecified.)
    if (dragged)
        windows.erase(std::find(windows.begin(), windows.end(), dragged));
    std::stable_sort(windows.begin(), windows.end(),
                     [](const SideWindow* a, const SideWindow* b) { return a->dialog->y < b->dialog->y; });
    if (dragged) {
        const int top = dragged->dialog->y;
        auto before = std::find_if(windows.begin(), windows.end(), [top](const SideWindow* b) {
            return top < b->dialog->y + b->dialog->height / 2;
        });
        windows.insert(before, dragged);
    }
}

int SidePanel::Layout() {
    const int x0 = Left();
    int total = 0;
    for (SideWindow* window : windows) {
        GUIDialog* dialog = window->dialog;
        if (dialog->width != width)
            dialog->width = width;
        if (dialog->x != x0)
            dialog->MoveBy(x0 - dialog->x, 0);
        if (!dialog->HasFlag(GUIControl::kHidden))
            total += dialog->height;
        // A hidden window takes no room and sits above the next one.
        if (!dialog->dragging)
            dialog->MoveBy(0, total - dialog->height - dialog->y);
    }
    return total;
}

void SidePanel::AlignToScreen(int screenWidth, int) {
    const int x0 = isLeft ? 0 : screenWidth - width;
    for (SideWindow* window : windows)
        if (window->dialog && window->dialog->x != x0)
            window->dialog->MoveBy(x0 - window->dialog->x, 0);
}

void SidePanel::Draw() {
    KEngine2* app = Client::Instance()->app;
    Graphics* graphics = app->graphics;
    const GUIControl* root = app->gui->root;
    const uint32_t light = root->lightColor;
    const uint32_t dark = root->darkColor;
    const int x0 = Left();
    const int top = Layout();
    const int screenHeight = app->clientHeight;

    graphics->RenderRectangle(0xFF000000, x0, 0, width, top);
    graphics->RenderSpriteTiled(app->sprites->GetSprite(Client::Instance()->settings->GetSkin()), x0, top, width,
                                screenHeight - top);
    graphics->RenderRectangle(light, x0, top, width - 1, 2);
    graphics->RenderRectangle(light, x0 + width - 1, top, 1, 1);
    graphics->RenderRectangle(light, x0, top + 2, 2, screenHeight - top - 4);
    graphics->RenderRectangle(light, x0, screenHeight - 2, 1, 1);
    graphics->RenderRectangle(dark, x0 + 1, screenHeight - 2, width - 1, 2);
    graphics->RenderRectangle(dark, x0, screenHeight - 1, 1, 1);
    graphics->RenderRectangle(dark, x0 + width - 2, top + 2, 2, screenHeight - top - 4);
    graphics->RenderRectangle(dark, x0 + width - 1, top + 1, 1, 1);
}
