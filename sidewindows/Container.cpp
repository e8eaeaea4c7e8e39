#include "sidewindows/Container.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "client/Client.h"
#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIScrollbar.h"
#include "game/GameInterface.h"
#include "game/Lifecycle.h"
#include "protocol/Protocol.h"
#include "world/Thing.h"

namespace {

const uint32_t kCellFill = 0x1E000000;
const uint32_t kDropTargetEdge = 0xFFFFFFFF;
const uint32_t kCountColor = 0xFFC8C8C8;
const int kCellSize = 36;
const int kItemSize = 32;
// A cell is hit up to 6 pixels before its corner; neighbours overlap there.
const int kHitSlack = 6;
const int kGridTop = 30;

}  // namespace

Container::Container(int id, int slot) : index(slot) {
    windowId = id;
    for (int i = 0; i < kSlots; ++i) {
        slots[i] = new ContainerSlot();
        slots[i]->index = i;
    }
    MakeScrollbar(id + 1);
    lifecycle::Note("Container");
}

Container::~Container() {
    for (ContainerSlot*& slot : slots) {
        delete slot;
        slot = nullptr;
    }
    lifecycle::Note("~Container");
}

void Container::Reset(int capacity) {
    for (ContainerSlot* slot : slots) {
        slot->itemId = 0;
        slot->count = 0;
    }
    usedCount = std::max(0, capacity);
}

void Container::SetItem(int slot, int itemId, int count) {
    if (slot < 0 || slot >= kSlots)
        return;
    slots[slot]->itemId = itemId;
    slots[slot]->count = count;
    if (slot >= usedCount)
        usedCount = slot + 1;
}

void Container::SetMouse(int x, int y, bool drag) {
    pointerX = x;
    pointerY = y;
    dragging = drag;
}

ContainerSlot* Container::GetSlot(int slot) {
    if (slot < 0 || slot >= kSlots)
        return nullptr;
    return slots[slot];
}

int Container::Rows() const {
    const int perRow = std::max(1, columns);
    return (usedCount + perRow - 1) / perRow;
}

void Container::CellPosition(int slot, int& x, int& y) const {
    const int perRow = std::max(1, columns);
    const int position = scrollbar ? scrollbar->GetPosition() : 0;
    x = dialog->x + gridMargin + (slot % perRow) * kCellPitch;
    y = dialog->y + kGridTop - position * perRow + (slot / perRow) * kCellPitch;
}

ContainerSlot* Container::HitSlot(int x, int y) {
    if (minimized || !dialog || dialog->width <= 0)
        return nullptr;
    const int fx = dialog->x;
    const int fy = dialog->y;
    if (x < fx || x > fx + dialog->width || y < fy + 20 || y > fy + dialog->height - 18)
        return nullptr;
    for (int i = 0; i < usedCount; ++i) {
        int cx = 0;
        int cy = 0;
        CellPosition(i, cx, cy);
        if (cx - kHitSlack <= x && x <= cx + kCellPitch && cy - kHitSlack <= y && y <= cy + kCellPitch)
            return i < kSlots ? slots[i] : nullptr;
    }
    return nullptr;
}

void Container::Relayout() {
    if (!dialog || !scrollbar)
        return;
    // Frames narrower than one cell (a panel squeezed on a tiny screen) still
    // count one column: the range divides by it.
    const int perRow = std::max(1, columns);
    const int visible = (dialog->height - 34) / perRow;
    const int total = (Rows() * kCellPitch + 50 - 34) / perRow;
    SetScrollRange(visible, total);
}

void Container::Update() {
    if (!dialog)
        return;
    const int fw = dialog->width;
    columns = std::max(1, (fw - 41) / kCellPitch);
    gridMargin = int((fw - 33 - kCellPitch * columns) * 0.5 + 10);
    dialog->SetSizeLimits(float(kMinWidth), float(kMaxWidth), float(kDefaultHeight),
                          float(Rows() * kCellPitch + 50));
    TruncateWithEllipsis(fullTitle);
}

void Container::InstallButtonActions() {
    if (closeButton) {
        closeButton->action = &Container::OnCloseButton;
        closeButton->actionContext = &index;
    }
    if (iconButton) {
        iconButton->action = &Container::OnIconButton;
        iconButton->actionContext = &index;
    }
    if (lootButton) {
        lootButton->action = &Container::OnLootButton;
        lootButton->actionContext = &index;
    }
}

void Container::Draw() {
    if (!dialog || !app || !gui)
        return;
    if (!initialized) {
        initialized = 1;
        if (scrollbar && !scrollbar->GetParent()) {
            dialog->AddChild(scrollbar);
            PlaceControls();
        }
        InstallButtonActions();
    }
    const int fx = dialog->x;
    const int fy = dialog->y;
    const int fw = dialog->width;
    const int fh = dialog->height;
    if (fw <= 0)
        return;
    Graphics* graphics = app->graphics;
    const uint32_t color1 = gui->root->lightColor;
    const uint32_t color2 = gui->root->darkColor;
    graphics->RenderBox(fx + 8, fy + 25, fw - 31, fh - 42, color2, color1, kCellFill);
    graphics->RenderRectangle(color2, fx + fw - 17, fy + 20, 1, fh - 32);
    ClipRect clip;
    clip.left = float(fx + 8);
    clip.top = float(fy + 26);
    clip.right = float(fx + fw - 31);
    clip.bottom = float(fy + fh - 18);
    graphics->EnableClipper(clip);
    for (int i = 0; i < usedCount; ++i) {
        int cx = 0;
        int cy = 0;
        CellPosition(i, cx, cy);
        DrawSlot(cx, cy, i);
    }
    graphics->DisableClipper();
}

void Container::DrawSlot(int x, int y, int slot) {
    Graphics* graphics = app->graphics;
    const ContainerSlot* record = slot >= 0 && slot < kSlots ? slots[slot] : nullptr;
    uint32_t topLeft = gui->root->darkColor;
    uint32_t bottomRight = gui->root->lightColor;
    if (dragging && x <= pointerX && pointerX <= x + 34 && y <= pointerY && pointerY <= y + 34)
        topLeft = bottomRight = kDropTargetEdge;
    graphics->RenderBox(x, y, kCellSize, kCellSize, topLeft, bottomRight, kCellFill);
    if (!record || record->itemId <= 0)
        return;
    // Ids from the server outside the sprite range have no sprite: nothing is drawn.
    if (app->sprites)
        graphics->RenderSprite(app->sprites->GetSprite(GetItemDisplayId(record->itemId, record->count)), x + 1,
                               y + 1, kItemSize, kItemSize);
    if (record->count > 1 && app->font) {
        const std::string text = std::to_string(record->count);
        graphics->RenderText(text, x + 32 - app->TextWidth(text), y + 21, kCountColor, true);
    }
}

void Container::OnCloseButton(void* context) {
    // The removal below destroys this window, and with it the index the
    // argument points to: read it first.
    const int container = *static_cast<const int*>(context);
    Client* client = Client::Instance();
    client->protocol->SendContainerClose(container);
    if (client->game)
        client->game->RemoveSideWindow(container);
}

void Container::OnIconButton(void* context) {
    Client::Instance()->protocol->SendOp27(*static_cast<const int*>(context));
}

void Container::OnLootButton(void* context) {
    // Sends the close request behind the loot request; the window stays
    // until the server closes it.
    Client::Instance()->protocol->SendOp4A(*static_cast<const int*>(context));
}
