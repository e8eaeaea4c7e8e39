#include "sidewindows/SideWindow.h"

#include <algorithm>

#include "client/Client.h"
#include "client/Settings.h"
#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIScrollbar.h"
#include "game/GameInterface.h"
#include "sidewindows/SidePanel.h"

namespace {

// Frames start this far below the screen, 100 pixels apart by id, so that the
// panels' sort by y puts a new window last in its column.
const int kStartY = 1000;
const int kStartYPerId = 100;

const uint32_t kGripColor = 0x23000000;

}  // namespace

SideWindow::SideWindow() {
    app = Client::Instance()->app;
    gui = app ? app->gui : nullptr;
}

SideWindow::~SideWindow() {
    // A click that arrives before the GUI tree lets go of the button reaches nothing.
    if (closeButton)
        closeButton->action = &SideWindow::EmptyCallback;
    if (dialog && gui)
        gui->DeleteLater(windowId);
    if (scrollbar && !scrollbar->GetParent())
        delete scrollbar;
}

void SideWindow::MakeScrollbar(int id) {
    scrollbar = new GUIScrollbar();
    scrollbar->id = id;
}

void SideWindow::Relayout() {}

void SideWindow::Update() {}

void SideWindow::SetMinimized(bool value) { minimized = value ? 1 : 0; }

void SideWindow::Draw() {}

void SideWindow::Create(const std::string& title, int width, int height) {
    dialog = new GUIDialog();
    dialog->id = windowId;
    width = std::clamp(width, kMinWidth, kMaxWidth);
    dialog->SetRect(0, kStartY + kStartYPerId * windowId, width, height);
    dialog->SetSizeLimits(float(kMinWidth), float(kMaxWidth), float(height), float(height));
    dialog->SetFlag(GUIControl::kResizeWidth | GUIControl::kResizeHeight);
    gui->AddControl(dialog);
    TruncateWithEllipsis(title);
    dialog->drawCallback = &SideWindow::DrawFrame;
    dialog->drawContext = this;
    lastWidth = kMinWidth;
    lastHeight = height;
    restoreHeight = height;
    Update();

    // While the game screen is being built there is none yet, so only the
    // option decides; afterwards a hidden left panel sends windows right too.
    const Client* client = Client::Instance();
    const bool leftHidden = client->game && client->game->leftPanel && client->game->leftPanel->GetWidth() == 0;
    if (client->settings->GetForceWindowsRight() || leftHidden)
        dialog->MoveBy(app->clientWidth - kMinWidth - dialog->x, 0);
}

void SideWindow::AddCloseButton() {
    if (closeButton || !dialog)
        return;
    closeButton = new GUIButton();
    closeButton->SetIcon(kCloseSprite);
    dialog->AddChild(closeButton);
    PlaceControls();
}

void SideWindow::AddMinimizeButton() {
    if (minimizeButton || !dialog)
        return;
    minimizeButton = new GUIButton(0, "", &SideWindow::OnMinimizeButton, this);
    minimizeButton->SetIcon(kMinimizeSprite);
    minimizeButtonOffset = closeButton ? 30 : 16;
    dialog->AddChild(minimizeButton);
    PlaceControls();
}

void SideWindow::AddIconButton() {
    if (iconButton || !dialog)
        return;
    iconButton = new GUIButton();
    iconButton->SetIcon(kIconButtonSprite);
    dialog->AddChild(iconButton);
    PlaceControls();
}

void SideWindow::AddLootButton() {
    if (lootButton || !dialog)
        return;
    lootButton = new GUIButton(0, "Loot", nullptr, nullptr);
    dialog->AddChild(lootButton);
    PlaceControls();
}

void SideWindow::RemoveIconButton() {
    if (!iconButton)
        return;
    if (dialog)
        dialog->RemoveChild(iconButton, true);
    iconButton = nullptr;
}

void SideWindow::RemoveLootButton() {
    if (!lootButton)
        return;
    if (dialog)
        dialog->RemoveChild(lootButton, true);
    lootButton = nullptr;
}

void SideWindow::TruncateWithEllipsis(const std::string& title) {
    if (!dialog)
        return;
    int room = dialog->width - 55;
    if (closeButton && minimizeButton)
        room -= 16;
    if (iconButton)
        room -= 16;
    if (lootButton)
        room -= 38;
    fullTitle = title;
    std::string text = title;
    const Font* font = app ? app->font : nullptr;
    if (font && !text.empty()) {
        // The longest prefix that fits. Widths only grow with the prefix, so
        // doubling a probe until it is too wide and then halving the gap finds
        // the prefix a character-by-character cut would reach, with a few
        // measures of about the shown length: a title of 16 000 bytes from the
        // server costs what a short one does.
        const auto wide = [&](size_t length) { return font->GetTextWidth(text.substr(0, length)) > room; };
        size_t fits = 0;
        size_t tooLong = 1;
        while (tooLong < text.size() && !wide(tooLong)) {
            fits = tooLong;
            tooLong *= 2;
        }
        if (tooLong >= text.size())
            tooLong = text.size();
        if (tooLong > fits && wide(tooLong)) {
            while (tooLong - fits > 1) {
                const size_t middle = fits + (tooLong - fits) / 2;
                if (wide(middle))
                    tooLong = middle;
                else
                    fits = middle;
            }
            text.resize(fits);
            text += "...";
        }
    }
    // The frame keeps its title bar for dragging; the window draws the title.
    dialog->SetTitle(" ");
    shownTitle = text;
}

void SideWindow::ToggleMinimize(bool toggle) {
    if (toggle)
        OnMinimizeButton(this);
}

void SideWindow::PlaceControls() {
    if (!dialog)
        return;
    const int x = dialog->x;
    const int y = dialog->y;
    const int w = dialog->width;
    if (closeButton)
        closeButton->SetRect(x + w - 16, y + 4, 12, 12);
    if (minimizeButton)
        minimizeButton->SetRect(x + w - minimizeButtonOffset, y + 4, 12, 12);
    if (iconButton)
        iconButton->SetRect(x + w - 44, y + 4, 12, 12);
    if (lootButton)
        lootButton->SetRect(x + w - 70, y + 4, 38, 12);
    if (scrollbar)
        scrollbar->SetRect(x + w - 16, y + 19, 15, dialog->height - 30);
}

void SideWindow::DrawFrame(void* context) {
    SideWindow* window = static_cast<SideWindow*>(context);
    GUIDialog* dialog = window->dialog;
    if (!dialog)
        return;
    if (dialog->width != window->lastWidth || dialog->height != window->lastHeight) {
        window->lastWidth = dialog->width;
        window->lastHeight = dialog->height;
        window->Update();
    }
    window->Relayout();

    KEngine2* app = window->app;
    Graphics* graphics = app ? app->graphics : nullptr;
    if (!graphics)
        return;
    const int x = dialog->x;
    const int y = dialog->y;
    const int w = dialog->width;
    const int h = dialog->height;
    const int textWidth = app->TextWidth(window->shownTitle);
    const int titleX = window->titleIcon > 0 ? x + 26 : x + w / 2 - textWidth / 2;
    graphics->RenderText(window->shownTitle, titleX, y + 2, kTitleColor);
    if (window->titleIcon > 0 && app->sprites) {
        // Ids from the server outside the store's range give no sprite.
        if (Sprite* icon = app->sprites->GetSprite(window->titleIcon))
            graphics->RenderSprite(icon, x + 8, y + 3, 14, 14);
    }
    if (window->minimized)
        return;
    const GUIControl* root = window->gui ? window->gui->root : nullptr;
    const uint32_t light = root ? root->lightColor : 0xFFFFFFFF;
    const uint32_t dark = root ? root->darkColor : 0xFF000000;
    graphics->RenderRectangle(kGripColor, x + 2, y + h - 10, w - 4, 8);
    graphics->RenderRectangle(dark, x + 2, y + h - 12, w - 4, 1);
    graphics->RenderRectangle(light, x + 2, y + h - 11, w - 4, 1);
    window->Draw();
}

void SideWindow::OnMinimizeButton(void* context) {
    SideWindow* window = static_cast<SideWindow*>(context);
    GUIDialog* dialog = window->dialog;
    if (!dialog)
        return;
    if (!window->minimized) {
        if (window->minimizeButton)
            window->minimizeButton->SetIcon(kRestoreSprite);
        window->SetMinimized(true);
        window->restoreHeight = dialog->height;
        window->restoreResizable = dialog->HasFlag(GUIControl::kResizeHeight) ? 1 : 0;
        dialog->ClearFlag(GUIControl::kResizeHeight);
        dialog->height = kMinimizedHeight;
        if (window->scrollbar)
            window->scrollbar->SetFlag(GUIControl::kHidden);
    } else {
        if (window->minimizeButton)
            window->minimizeButton->SetIcon(kMinimizeSprite);
        window->SetMinimized(false);
        dialog->height = window->restoreHeight;
        if (window->scrollbar)
            window->scrollbar->ClearFlag(GUIControl::kHidden);
        if (window->restoreResizable)
            dialog->SetFlag(GUIControl::kResizeHeight);
    }
}

void SideWindow::SetScrollRange(int visible, int total) {
    if (!scrollbar)
        return;
    scrollbar->SetMaximum(std::max(0, total - visible));
    scrollbar->SetProportion(visible, total);
    scrollbar->UpdateThumb();
}

void SideWindow::SetListScrollRange(int top, int step) {
    if (!dialog)
        return;
    SetScrollRange((dialog->height - top) / step, (int(dialog->maxHeight) - top) / step);
}

void SideWindow::SetHidden(std::initializer_list<GUIControl*> controls, bool hidden) {
    for (GUIControl* control : controls) {
        if (!control)
            continue;
        if (hidden)
            control->SetFlag(GUIControl::kHidden);
        else
            control->ClearFlag(GUIControl::kHidden);
    }
}

bool SideWindow::InListArea(int x, int y) const {
    return dialog && x >= dialog->x + 5 && x <= dialog->x + dialog->width - 5 && y >= dialog->y + 20 &&
           y <= dialog->y + dialog->height - 12;
}
