#include "sidewindows/SideWindow.h"

#include <algorithm>

#include "client/Client.h"
#include "client/Settings.h"
#include "engine/Font.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIScrollbar.h"
#include "game/GameInterface.h"
#include "sidewindows/SidePanel.h"

namespace {

const int kCloseSprite = 169;
const int kMinimizeSprite = 891;
const int kRestoreSprite = 892;
const int kIconButtonSprite = 1734;

}  // namespace

SideWindow::SideWindow() {
    app = Client::Instance()->app;
    gui = app ? app->gui : nullptr;
}

SideWindow::~SideWindow() {
    // A click that arrives before the GUI tree lets go of the button reaches nothing.
    if (closeButton)
        closeButton->action = &GUIButton::NoAction;
    if (dialog && gui)
        gui->DeleteLater(windowId);
}

void SideWindow::Relayout() {}

void SideWindow::Update() {}

void SideWindow::SetMinimized(bool value) { minimized = value ? 1 : 0; }

void SideWindow::Draw() {}

void SideWindow::Create(const std::string& title, int width, int height) {
    dialog = new GUIDialog();
    dialog->id = windowId;
    width = std::clamp(width, kMinWidth, kMaxWidth);
    dialog->SetRect(0, 1000 + 100 * windowId, width, height);
    dialog->SetSizeLimits(float(kMinWidth), float(kMaxWidth), float(height), float(height));
    dialog->SetFlag(2 | 4);
    gui->AddControl(dialog);
    // The frame keeps its title bar for dragging; the window draws the title.
    fullTitle = title;
    shownTitle = title;
    dialog->SetTitle(" ");
    dialog->drawCallback = &SideWindow::DrawFrame;
    dialog->drawContext = this;
    lastWidth = kMinWidth;
    lastHeight = height;
    restoreHeight = height;
    Update();

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
    if (dialog->width != window->lastWidth || dialog->height != window->lastHeight) {
        window->lastWidth = dialog->width;
        window->lastHeight = dialog->height;
        window->Update();
    }
    window->Relayout();
    if (!window->minimized)
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
        window->restoreResizable = dialog->HasFlag(4) ? 1 : 0;
        dialog->ClearFlag(4);
        dialog->height = kMinimizedHeight;
        if (window->scrollbar)
            window->scrollbar->SetFlag(1);
    } else {
        if (window->minimizeButton)
            window->minimizeButton->SetIcon(kMinimizeSprite);
        window->SetMinimized(false);
        dialog->height = window->restoreHeight;
        if (window->scrollbar)
            window->scrollbar->ClearFlag(1);
        if (window->restoreResizable)
            dialog->SetFlag(4);
    }
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
    // The button may be the one whose click is being dispatched: the manager
    // keeps it alive until the dispatch returns.
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
    bool cut = false;
    while (font && !text.empty() && font->GetTextWidth(text) > room) {
        text.pop_back();
        cut = true;
    }
    if (cut)
        text += "...";
    // The frame keeps its title bar for dragging; the window draws the title.
    dialog->SetTitle(" ");
    shownTitle = text;
}
