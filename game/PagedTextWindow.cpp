#include "game/PagedTextWindow.h"

#include <algorithm>

#include "client/TextUtils.h"
#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITextbox.h"
#include "world/Map.h"

namespace {

constexpr int kHalfWidth = 250;
constexpr int kHalfHeight = 150;

// The page boxes draw no frame and no fill, only dark text on the book.
void ApplyPageStyle(GUITextbox* box) {
    box->skin = 0;
    box->lightColor = 0;
    box->darkColor = 0;
    box->fillColor = 0;
    box->textColor = PagedTextWindow::kPageTextColor;
}

}  // namespace

PagedTextWindow::PagedTextWindow(KEngine2* app, Map* map) : app(app), map(map) {
    GUIManager* gui = app ? app->gui : nullptr;
    if (!gui)
        return;
    for (int32_t id : {kLeftBoxId, kRightBoxId}) {
        GUITextbox* box = new GUITextbox();
        box->id = id;
        box->SetRect(0, 0, 110, 155);
        box->SetFlag(GUIControl::kHidden | GUIControl::kMultiLine | GUIControl::kReadOnly);
        gui->AddControl(box, true);
        ApplyPageStyle(box);
    }
}

GUITextbox* PagedTextWindow::Box(int32_t id) const {
    GUIManager* gui = app ? app->gui : nullptr;
    return gui ? dynamic_cast<GUITextbox*>(gui->FindControl(id)) : nullptr;
}

void PagedTextWindow::Centre(int& cx, int& cy) const {
    const int viewX = map ? map->viewX : 0;
    const int viewY = map ? map->viewY : 0;
    const int tileWidth = map ? map->tileWidth : 32;
    const int tileHeight = map ? map->tileHeight : 32;
    cx = viewX + (Map::kViewColumns * tileWidth) / 2;
    cy = viewY + (Map::kViewRows * tileHeight) / 2;
}

void PagedTextWindow::Show(const std::string& text) {
    pages.clear();
    pageIndex = 0;
    open = true;
    for (int32_t id : {kLeftBoxId, kRightBoxId})
        if (GUITextbox* box = Box(id))
            box->ClearFlag(GUIControl::kHidden);
    pages = SplitString(text, "|");
    RefreshBoxes();
}

void PagedTextWindow::RefreshBoxes() {
    const size_t left = size_t(pageIndex);
    if (GUITextbox* box = Box(kLeftBoxId))
        box->SetText(left < pages.size() ? pages[left] : std::string());
    if (GUITextbox* box = Box(kRightBoxId))
        box->SetText(left + 1 < pages.size() ? pages[left + 1] : std::string());
}

void PagedTextWindow::Draw() {
    if (!open || !app || !app->graphics)
        return;
    int cx = 0;
    int cy = 0;
    Centre(cx, cy);
    GUITextbox* leftBox = Box(kLeftBoxId);
    GUITextbox* rightBox = Box(kRightBoxId);
    if (leftBox)
        ApplyPageStyle(leftBox);
    if (rightBox)
        ApplyPageStyle(rightBox);

    Graphics* graphics = app->graphics;
    graphics->RenderSprite(app->sprites ? app->sprites->GetSprite(kBookSprite) : nullptr, cx - kHalfWidth,
                           cy - kHalfHeight);
    if (leftBox)
        leftBox->SetRect(cx - 230, cy - 135, 210, 230);
    if (rightBox)
        rightBox->SetRect(cx + 10, cy - 135, 210, 230);

    const std::string back = "< Page " + std::to_string(pageIndex + 1);
    const std::string forward = "Page " + std::to_string(pageIndex + 2) + " >";
    const int forwardWidth = app->TextWidth(forward);
    graphics->RenderText(back, cx - 155, cy + 105, kLabelColor);
    graphics->RenderText(forward, cx + 150 - forwardWidth, cy + 105, kLabelColor);
}

bool PagedTextWindow::OnMouse(int x, int y) {
    if (!open)
        return false;
    int cx = 0;
    int cy = 0;
    Centre(cx, cy);
    const bool labelRow = cy + 104 < y && y <= cy + kHalfHeight;
    if (labelRow && cx - kHalfWidth <= x && x <= cx - 25) {
        pageIndex = std::max(pageIndex - 2, 0);
        RefreshBoxes();
        return true;
    }
    if (labelRow && cx + 19 < x && x <= cx + kHalfWidth) {
        // No upper limit: the reader may turn to empty pages.
        if (pageIndex < INT32_MAX - 2)
            pageIndex += 2;
        RefreshBoxes();
        return true;
    }
    if (cx - kHalfWidth <= x && x <= cx + kHalfWidth && cy - kHalfHeight <= y && y <= cy + kHalfHeight)
        return true;
    Hide();
    return true;
}

void PagedTextWindow::Hide() {
    open = false;
    for (int32_t id : {kLeftBoxId, kRightBoxId}) {
        if (GUITextbox* box = Box(id)) {
            box->SetFlag(GUIControl::kHidden);
            box->SetRect(0, 0, 0, 0);
        }
    }
}

void PagedTextWindow::Reset() {
    if (GUIManager* gui = app ? app->gui : nullptr) {
        gui->DeleteLater(kLeftBoxId);
        gui->DeleteLater(kRightBoxId);
    }
    pages.clear();
    open = false;
}
