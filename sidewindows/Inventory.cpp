#include "sidewindows/Inventory.h"

#include <string>

#include "client/Client.h"
#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "game/GameInterface.h"
#include "game/Lifecycle.h"
#include "world/Camera.h"
#include "world/Map.h"
#include "world/Thing.h"

namespace {

const uint32_t kCellFill = 0x1E000000;
const uint32_t kOpaqueWhite = 0xFFFFFFFF;
const int kCellHit = 42;
const int kIconSize = 11;

struct CellLayout {
    int slotId;
    int x;
    int y;
    int placeholder;
};

// Slot ids run 1 to 13; the server's slot 11 has no cell.
const CellLayout kCellLayout[Inventory::kCells] = {
    {8, 0, 45, 1558},  {1, 45, 45, 388},   {7, 90, 45, 392},   {5, 0, 90, 393},
    {2, 45, 90, 389},  {6, 90, 90, 394},   {9, 0, 135, 1559},  {3, 45, 135, 390},
    {10, 90, 135, 1561}, {12, 0, 180, 1560}, {4, 45, 180, 391}, {13, 90, 180, 1560},
};

// The compact row: slots 5, 6 and 7 side by side.
const int kCompactSlots[] = {5, 6, 7};

const struct {
    int id;
    const char* text;
} kConditionTexts[] = {
    {1104, "Recently in combat, logout disabled."},
    {1115, "Unjustified PVP combat, logout and protection areas forbidden."},
    {1535, "Drunk, walking is harder and speech is slurred."},
    {1668, "Justified PVP combat, logout and protection areas forbidden."},
    {5913, "Blessed, no item drop at next death."},
    {Inventory::kProtectionArea, "Inside a protection area, safe from all attacks."},
};

}  // namespace

Inventory::Inventory() {
    windowId = kWindowId;
    for (const auto& entry : kConditionTexts)
        conditionTexts[entry.id] = entry.text;
    for (const CellLayout& cell : kCellLayout) {
        InventorySlot* slot = new InventorySlot();
        slot->slotId = cell.slotId;
        slot->x = slot->layoutX = cell.x;
        slot->y = slot->layoutY = cell.y;
        slot->placeholder = cell.placeholder;
        slots.push_back(slot);
    }
    lifecycle::Note("Inventory");
}

Inventory::~Inventory() {
    for (InventorySlot* slot : slots)
        delete slot;
    slots.clear();
    // The button goes with the frame, which the base queues for deletion.
    expandButton = nullptr;
    lifecycle::Note("~Inventory");
}

bool Inventory::HasCondition(int id) const { return conditions.count(id) != 0; }

void Inventory::ClearConditions() { conditions.clear(); }

void Inventory::SetCondition(int id) { conditions[id] = true; }

void Inventory::SetExpanded(bool full) {
    expanded = full;
    if (!dialog)
        return;
    if (GUIButton* button = dynamic_cast<GUIButton*>(gui ? gui->FindControl(kExpandButtonId) : nullptr))
        button->SetIcon(full ? kMinimizeSprite : kRestoreSprite);
    const int height = full ? kFullHeight : kCompactHeight;
    // A minimised frame keeps its title-bar height and opens at the new one.
    if (minimized)
        restoreHeight = height;
    else
        dialog->height = height;
    dialog->SetSizeLimits(float(kMinWidth), float(kMaxWidth), float(height), float(height));
}

void Inventory::ToggleExpanded(void* context) {
    Inventory* inventory = static_cast<Inventory*>(context);
    inventory->SetExpanded(!inventory->expanded);
}

void Inventory::SetMouse(int x, int y, bool drag) {
    pointerX = x;
    pointerY = y;
    dragging = drag;
}

InventorySlot* Inventory::FindSlot(int slotId, bool all) {
    if (all) {
        for (InventorySlot* slot : slots)
            if (slot->slotId == slotId)
                return slot;
        return nullptr;
    }
    for (InventorySlot* slot : VisibleSlots())
        if (slot->slotId == slotId)
            return slot;
    return nullptr;
}

std::vector<InventorySlot*> Inventory::VisibleSlots() {
    const int width = dialog ? dialog->width : kMinWidth;
    const int x0 = int((width - 149) * 0.5) + 8;
    std::vector<InventorySlot*> shown;
    if (expanded) {
        for (InventorySlot* slot : slots) {
            slot->x = slot->layoutX + x0;
            slot->y = slot->layoutY;
            shown.push_back(slot);
        }
        return shown;
    }
    int column = 0;
    for (int id : kCompactSlots) {
        for (InventorySlot* slot : slots) {
            if (slot->slotId != id)
                continue;
            slot->x = x0 + 45 * column;
            slot->y = 45;
            shown.push_back(slot);
        }
        ++column;
    }
    return shown;
}

InventorySlot* Inventory::HitSlot(int x, int y) {
    if (minimized || !dialog)
        return nullptr;
    for (InventorySlot* slot : VisibleSlots()) {
        const int sx = dialog->x + slot->x;
        const int sy = dialog->y + slot->y;
        if (sx <= x && x < sx + kCellHit && sy <= y && y < sy + kCellHit)
            return slot;
    }
    return nullptr;
}

void Inventory::Update() {
    if (!dialog)
        return;
    if (!expandButton) {
        expandButton = new GUIButton(kExpandButtonId, "", &Inventory::ToggleExpanded, this);
        expandButton->SetIcon(expanded ? kMinimizeSprite : kRestoreSprite);
        dialog->AddChild(expandButton);
        initialized = 1;
        if (minimized)
            expandButton->SetFlag(GUIControl::kHidden);
    }
    expandButton->SetRect(dialog->x + dialog->width - 31, dialog->y + 26, 13, 13);
}

void Inventory::SetMinimized(bool value) {
    SideWindow::SetMinimized(value);
    SetHidden({expandButton}, value);
}

void Inventory::Draw() {
    if (!dialog || !app || !gui)
        return;
    Graphics* graphics = app->graphics;
    const int fx = dialog->x;
    const int fy = dialog->y;
    const int fw = dialog->width;
    const uint32_t color1 = gui->root->lightColor;
    const uint32_t color2 = gui->root->darkColor;
    graphics->RenderBox(fx + 17, fy + 25, fw - 54, 15, color2, color1, kCellFill);
    graphics->RenderBox(fx + fw - 32, fy + 25, 15, 15, color2, color1, 0);

    // Shown exactly while the player stands in a protection area.
    const GameInterface* game = Client::Instance()->game;
    const bool protectedArea = game && game->map && game->map->camera && game->map->camera->protectionArea;
    conditions[kProtectionArea] = protectedArea;

    for (int key = kFirstTooltipKey; key < kFirstTooltipKey + kTooltips; ++key)
        gui->RemoveTooltip(key);
    int drawn = 0;
    int tooltips = 0;
    for (const auto& [id, active] : conditions) {
        if (!active)
            continue;
        const int x = fx + 22 + 14 * drawn;
        const int y = fy + 27;
        // Ids from the server outside the sprite range have no sprite: nothing is drawn.
        if (app->sprites)
            graphics->RenderSprite(app->sprites->GetSprite(id), x, y, kIconSize, kIconSize);
        ++drawn;
        const auto text = conditionTexts.find(id);
        // Only the first twenty get a tooltip: the keys of more would never be removed.
        if (text != conditionTexts.end() && tooltips < kTooltips) {
            gui->AddTooltip(kFirstTooltipKey + tooltips, float(x), float(y), float(kIconSize), float(kIconSize),
                            {text->second});
            ++tooltips;
        }
    }

    for (InventorySlot* slot : VisibleSlots()) {
        if (slot->itemId > 0)
            DrawSlot(fx + slot->x, fy + slot->y, slot->itemId, slot->count);
        else
            DrawSlot(fx + slot->x, fy + slot->y, slot->placeholder, 0);
    }
}

void Inventory::DrawSlot(int x, int y, int id, int count) {
    Graphics* graphics = app->graphics;
    uint32_t topLeft = gui->root->darkColor;
    uint32_t bottomRight = gui->root->lightColor;
    if (dragging && x <= pointerX && pointerX <= x + 42 && y <= pointerY && pointerY <= y + 42)
        topLeft = bottomRight = kOpaqueWhite;
    graphics->RenderRectangle(topLeft, x, y, 40, 1);
    graphics->RenderRectangle(topLeft, x, y + 1, 1, 39);
    graphics->RenderRectangle(bottomRight, x, y + 40, 41, 1);
    graphics->RenderRectangle(bottomRight, x + 40, y, 1, 40);
    graphics->RenderRectangle(kCellFill, x + 1, y + 1, 39, 39);
    if (id == 0)
        return;
    if (app->sprites)
        graphics->RenderSprite(app->sprites->GetSprite(GetItemDisplayId(id, count)), x + 5, y + 5, 32, 32);
    if (count > 1 && app->font) {
        const std::string text = std::to_string(count);
        graphics->RenderText(text, x + 37 - app->TextWidth(text), y + 26, kOpaqueWhite, true);
    }
}
