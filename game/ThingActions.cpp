#include "game/ThingActions.h"

#include <list>
#include <string>

#include "client/Client.h"
#include "client/Settings.h"
#include "dialogs/character/BrewingDialog.h"
#include "dialogs/character/HotkeyDialog.h"
#include "dialogs/trade/MarketDialog.h"
#include "dialogs/trade/MoveItemsDialog.h"
#include "dialogs/trade/NpcShopDialog.h"
#include "dialogs/trade/TradeWindow.h"
#include "engine/KEngine2.h"
#include "engine/Sprite.h"
#include "engine/SpriteStore.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIMenu.h"
#include "game/GameControlIds.h"
#include "game/GameInterface.h"
#include "game/Lifecycle.h"
#include "game/StatusLine.h"
#include "platform/Platform.h"
#include "protocol/Protocol.h"
#include "sidewindows/Container.h"
#include "sidewindows/Inventory.h"
#include "world/Creature.h"
#include "world/EffectList.h"
#include "world/ItemsCache.h"
#include "world/Map.h"
#include "world/Thing.h"
#include "world/Tile.h"

namespace {

const int kNormalCursor = 1;
const int kDragCursor = 2;
const int kMenuBaseHeight = 6;
const char kNoPathText[] = "No path found or target too far away.";

// The game screen, null while it is being built or torn down.
GameInterface* Game() { return Client::Instance()->game; }

Protocol* Requests() { return Client::Instance()->protocol; }

GUIManager* Gui() {
    KEngine2* app = Client::Instance()->app;
    return app ? app->gui : nullptr;
}

bool KeyHeld(int key) {
    KEngine2* app = Client::Instance()->app;
    return app && app->IsKeyDown(key);
}

void SetCursor(int kind) { Client::Instance()->SetCursor(kind); }

bool MoveItemsOpen() {
    GUIManager* gui = Gui();
    return gui && gui->FindControl(GameIds::kMoveItemsDialog);
}

// The player's own creature, followed by the camera.
Creature* Player(Map* map) { return map && map->camera ? map->camera->creature : nullptr; }

uint32_t PlayerId(Map* map) {
    const Creature* player = Player(map);
    return player ? uint32_t(player->id) : (map ? map->playerId : 0);
}

}  // namespace

ThingActions::ThingActions() { lifecycle::Note("ThingActions"); }

ThingActions::~ThingActions() {
    lifecycle::Note("~ThingActions");
    // Teardown calls Clear first; this only makes sure no icon leaks.
    for (Sprite* icon : menuIcons)
        delete icon;
    menuIcons.clear();
}

void ThingActions::Clear() {
    lifecycle::Note("ThingActions::Clear");
    CloseMenu();
}

// --- Where a point falls ---

bool ThingActions::IsCoveredByControl(int x, int y, bool strict) {
    GUIManager* gui = Gui();
    GameInterface* game = Game();
    if (!gui || !game)
        return false;
    const GUIControl* control = gui->ControlAt(float(x), float(y));
    if (!control)
        return false;
    const int id = control->id;
    if (id == GameIds::kInventoryWindow)
        return !(game->inventory && game->inventory->HitSlot(x, y));
    if (id >= GameIds::kFirstContainerWindow && id <= GameIds::kFirstContainerWindow + 100) {
        const int index = (id - GameIds::kFirstContainerWindow) / 2;
        Container* container = index < kContainerWindows ? game->containers[index] : nullptr;
        return !(container && container->HitSlot(x, y));
    }
    TradeWindow* trade = game->protocol ? game->protocol->tradeWindow : nullptr;
    if (id == GameIds::kTradeWindow && trade && trade->IsOverDropArea(x, y))
        return false;
    if (strict)
        return true;
    // The shop takes a drop only where it is the topmost window: a dialog
    // over it (its own amount question) keeps the drop from selling.
    if (id == GameIds::kNpcShopDialog && game->npcShop->ContainsPoint(x, y))
        return false;
    if (game->market->HitTest(x, y) || game->brewing->DropTarget(x, y) || game->hotkeyDialog->DropTarget(x, y))
        return false;
    return true;
}

bool ThingActions::IsOverControl(int x, int y, bool strict) {
    return MoveItemsOpen() || IsCoveredByControl(x, y, strict);
}

Position ThingActions::PositionAt(int x, int y, bool useCameraFloor) {
    GameInterface* game = Game();
    if (!game)
        return Zero();
    if (game->inventory)
        if (const InventorySlot* slot = game->inventory->HitSlot(x, y))
            return Position{kSlotX, 0, slot->slotId - 1};
    for (int index = 0; index < kContainerWindows; ++index)
        if (Container* container = game->containers[index])
            if (const ContainerSlot* slot = container->HitSlot(x, y))
                return Position{kContainerX, index, slot->index + 1};
    if (TradeWindow* trade = game->protocol ? game->protocol->tradeWindow : nullptr) {
        const int slot = trade->HitTestSlot(x, y, 1);
        if (slot >= 0)
            return Position{kSlotX, kTradeY, slot};
    }
    if (game->market->HitTest(x, y))
        return Position{kSlotX, kMarketY, kDropAreaZ};
    if (game->brewing->DropTarget(x, y))
        return Position{kSlotX, kBrewingY, kDropAreaZ};
    if (game->npcShop->ContainsPoint(x, y))
        return Position{kSlotX, kNpcShopY, kDropAreaZ};
    if (game->hotkeyDialog->DropTarget(x, y))
        return Position{kSlotX, kHotkeyEditorY, kDropAreaZ};

    Map* map = game->map;
    if (!map)
        return Zero();
    const int vx = map->viewX;
    const int vy = map->viewY;
    const int tw = map->tileWidth;
    const int th = map->tileHeight;
    if (x < vx || x > vx + Map::kViewColumns * tw || y < vy || y > vy + Map::kViewRows * th || tw <= 0 || th <= 0)
        return Zero();
    const int column = (game->viewOffsetX + x - vx) / tw;
    const int row = (y - vy + game->viewOffsetY) / th;
    Position at;
    at.x = column + map->camera->GetX();
    at.y = row + map->camera->GetY();
    at.z = useCameraFloor ? map->camera->GetZ() : map->TopFloorAt(uint16_t(at.x), uint16_t(at.y));
    return at;
}

Thing* ThingActions::ThingAt(const Position& position) {
    GameInterface* game = Game();
    if (!game)
        return nullptr;
    if (position.x == kSlotX) {
        if (position.y == kMarketY || position.y == kTradeY || !game->inventory)
            return nullptr;
        // Only the cells of the current mode: the compact row hides the others.
        const InventorySlot* slot = game->inventory->FindSlot(position.z + 1, false);
        return slot ? new Thing(slot->itemId, slot->count) : nullptr;
    }
    if (position.x == kContainerX) {
        // Slot numbers count from 1 here: a z of 0 names no slot at all.
        if (position.y < 0 || position.y >= kContainerWindows || position.z < 1)
            return nullptr;
        Container* container = game->containers[position.y];
        const ContainerSlot* slot = container ? container->GetSlot(position.z - 1) : nullptr;
        return slot ? new Thing(slot->itemId, slot->count) : nullptr;
    }
    if (!game->map || IsSlotPosition(position))
        return nullptr;
    const Tile* tile = game->map->GetTile(position.x, position.y, position.z);
    return tile ? tile->QueryForAction() : nullptr;
}

// --- Dragging and clicking ---

void ThingActions::BeginDrag(int x, int y) {
    if (MoveItemsOpen() || IsCoveredByControl(x, y, true))
        return;
    dragSource = PositionAt(x, y, true);
    if (!IsZero(dragSource))
        SetCursor(kDragCursor);
}

void ThingActions::ResetDrag() {
    dragSource = Zero();
    dropTarget = Zero();
    SetCursor(kNormalCursor);
}

void ThingActions::Reset() { ResetDrag(); }

void ThingActions::OnClick(int x, int y) {
    if (IsZero(dragSource))
        return;
    if (MoveItemsOpen() || IsCoveredByControl(x, y, false)) {
        // While "Move Items" asks, the drag it was opened for stays.
        if (IsZero(dropTarget))
            ResetDrag();
        return;
    }
    GameInterface* game = Game();
    const bool ctrl = KeyHeld(platform::kVkControl);
    const bool shift = KeyHeld(platform::kVkShift);
    dropTarget = PositionAt(x, y, false);
    if (IsZero(dropTarget) || !game) {
        ResetDrag();
        return;
    }
    const Position source = dragSource;
    const Position target = dropTarget;
    const bool sameXY = source.x == target.x && source.y == target.y;
    const bool samePlace = sameXY && (target.x <= 65533 || source.z == target.z);

    if (ctrl && samePlace) {
        Look(target);
    } else if (shift && sameXY) {
        Follow(source);
    } else if (!ctrl && !shift && sameXY && !IsSlotPosition(target)) {
        WalkTo(source, false);
    } else if (!ctrl && !shift && samePlace) {
        // A slot clicked without moving.
    } else {
        Thing* thing = ThingAt(source);
        if (!thing) {
            ResetDrag();
            return;
        }
        const int32_t id = thing->GetId();
        const int32_t count = thing->GetCount();
        if (IsSlotPosition(source))
            delete thing;
        if (id != 0) {
            if (target.x == kSlotX && target.y == kMarketY) {
                game->market->OpenSellOffer(uint32_t(id));
            } else if (target.x == kSlotX && target.y == kNpcShopY) {
                game->npcShop->OnItemDropped(uint32_t(id));
            } else if (target.x == kSlotX && target.y == kHotkeyEditorY) {
                game->hotkeyDialog->SetItemAction(id);
            } else if (ctrl || count == 1) {
                MoveThing(source, target, count);
            } else if (shift) {
                MoveThing(source, target, 1);
            } else if (game->moveItems->Show(uint32_t(id), uint32_t(count))) {
                // The dialog moves the amount chosen from the positions kept
                // here and calls Reset when it closes.
                SetCursor(kNormalCursor);
                return;
            }
        }
    }
    ResetDrag();
}

// --- Requests ---

void ThingActions::MoveThing(const Position& from, const Position& to, int count) {
    Requests()->SendMoveThing(from, to, count);
}

void ThingActions::Look(const Position& position) { Requests()->SendLook(position); }

void ThingActions::UseAt(const Position& position, uint32_t value) { Requests()->SendUseAt(position, value); }

void ThingActions::Attack(uint32_t creatureId) {
    GameInterface* game = Game();
    Map* map = game ? game->map : nullptr;
    if (creatureId == PlayerId(map) && creatureId != 0) {
        Requests()->SendOp32();
        return;
    }
    uint32_t follow = 1;  // 1 leaves the follow target as it is
    if (Client::Instance()->settings->GetAutoFollow()) {
        const bool same = creatureId == 1 || (map && creatureId == map->followTargetId);
        follow = same ? 1 : creatureId;
        walkGoal = Zero();
    }
    Requests()->SendTargets(creatureId, follow);
}

void ThingActions::Follow(const Position& position) {
    GameInterface* game = Game();
    Map* map = game ? game->map : nullptr;
    if (!map || IsSlotPosition(position))
        return;
    const Tile* tile = map->GetTile(position.x, position.y, position.z);
    if (!tile)
        return;
    const Creature* player = Player(map);
    const std::vector<Thing*> creatures = tile->creatures;
    for (Thing* thing : creatures) {
        Creature* creature = thing->AsCreature();
        if (!creature || creature == player)
            continue;
        walkGoal = Zero();
        Requests()->SendTargets(1, uint32_t(creature->id));
        followedId = uint32_t(creature->id);
        return;
    }
}

// --- The context menu ---

void ThingActions::ContextMenu(int x, int y) {
    if (MoveItemsOpen() || IsCoveredByControl(x, y, false))
        return;
    GameInterface* game = Game();
    Map* map = game ? game->map : nullptr;
    if (!map)
        return;
    // A dialog's drop area is no place to use a thing at: the right click is
    // that dialog's alone (the trade takes an own item back with it).
    const Position at = PositionAt(x, y, false);
    if (IsDialogDropArea(at))
        return;
    CloseMenu();
    menuPosition = at;
    const bool ctrl = KeyHeld(platform::kVkControl);
    const bool shift = KeyHeld(platform::kVkShift);
    const bool showMenu = Client::Instance()->settings->GetDisableMenu() ? ctrl : !ctrl;

    if (IsSlotPosition(menuPosition)) {
        UseAt(menuPosition, 0);
        return;
    }
    const uint32_t ownId = PlayerId(map);
    std::vector<MenuEntry> creatures;
    for (Creature* creature : map->GetCreaturesAt(x, y, true, game->viewOffsetX, game->viewOffsetY)) {
        const uint32_t id = uint32_t(creature->id);
        if (id == ownId && !shift)
            continue;
        if (!showMenu) {
            Attack(id);
            return;
        }
        MenuEntry entry;
        entry.creature = true;
        entry.creatureId = id;
        creatures.push_back(entry);
    }

    std::vector<MenuEntry> entries;
    if (!IsZero(menuPosition)) {
        if (!showMenu) {
            UseAt(menuPosition, 0);
            return;
        }
        if (const Tile* tile = map->GetTile(menuPosition.x, menuPosition.y, menuPosition.z)) {
            for (Thing* thing : tile->GetAllThings()) {
                if (thing->IsCreature())
                    continue;
                const ItemRecord* record = ItemsCache::Instance()->Get(unsigned(thing->GetId()));
                if (record && (record->Has(kItemUsable) || record->Has(kItemOpenable))) {
                    MenuEntry entry;
                    entry.itemId = thing->GetId();
                    entries.push_back(entry);
                }
            }
        }
    }
    entries.insert(entries.end(), creatures.begin(), creatures.end());
    if (entries.empty())
        return;
    if (entries.size() == 1) {
        if (entries[0].creature)
            Attack(entries[0].creatureId);
        else
            UseAt(menuPosition, uint32_t(entries[0].itemId));
        return;
    }
    menuEntries = entries;
    ShowMenu(x, y);
}

void ThingActions::ShowMenu(int x, int y) {
    GameInterface* game = Game();
    KEngine2* app = Client::Instance()->app;
    Map* map = game->map;
    const uint32_t ownId = PlayerId(map);
    GUIMenu* menu = new GUIMenu();
    menu->id = GameIds::kContextMenu;
    menu->selectCallback = &ThingActions::OnMenuItem;
    menu->callbackContext = this;
    int height = kMenuBaseHeight;
    bool dividerAdded = false;
    for (size_t index = 0; index < menuEntries.size(); ++index) {
        const MenuEntry& entry = menuEntries[index];
        const int value = int(index) + 1;
        if (!entry.creature) {
            const ItemRecord* record = ItemsCache::Instance()->Get(unsigned(entry.itemId));
            const std::string name = ItemsCache::Instance()->GetName(unsigned(entry.itemId));
            std::string text;
            if (entry.itemId == kFishingItem)
                text = "Start Fishing";
            else if (record && record->Has(kItemOpenable))
                text = "Open " + name;
            else
                text = "Use " + name;
            Sprite* icon = app && app->sprites ? app->sprites->GetSprite(entry.itemId) : nullptr;
            menu->AddItem(value, text, true, icon);
            height += kMenuRowHeight;
            continue;
        }
        if (!dividerAdded) {
            // Value 0 is a separator the menu never selects.
            menu->AddItem(0, "", true, nullptr);
            height += kMenuRowHeight;
            dividerAdded = true;
        }
        Creature* creature = map->FindCreature(entry.creatureId);
        Sprite* icon = creature ? creature->GetOutfitSprite() : nullptr;
        if (icon)
            menuIcons.push_back(icon);
        std::string text;
        if (entry.creatureId == ownId)
            text = "Change Outfit";
        else
            text = "Attack " + (creature ? creature->name : std::string());
        menu->AddItem(value, text, true, icon);
        height += kMenuRowHeight;
    }
    menu->SetRect(x, y, kMenuWidth, height);
    Gui()->AddControl(menu);
}

void ThingActions::OnMenuItem(int value, void* context) {
    ThingActions* actions = static_cast<ThingActions*>(context);
    if (!actions || value < 1 || size_t(value) > actions->menuEntries.size())
        return;
    const MenuEntry entry = actions->menuEntries[size_t(value) - 1];
    if (entry.creature)
        actions->Attack(entry.creatureId);
    else
        actions->UseAt(actions->menuPosition, uint32_t(entry.itemId));
}

void ThingActions::CloseMenu() {
    GUIManager* gui = Gui();
    if (gui)
        if (GUIControl* menu = gui->FindControl(GameIds::kContextMenu))
            gui->RemoveControl(menu, true);
    // The menu is gone before its icons are: it drew with them.
    for (Sprite* icon : menuIcons)
        delete icon;
    menuIcons.clear();
    menuEntries.clear();
}

// --- Walking ---

void ThingActions::WalkTo(Position target, bool far) {
    GameInterface* game = Game();
    Map* map = game ? game->map : nullptr;
    const Creature* player = Player(map);
    if (!player)
        return;
    const Position from = player->position;
    if (target.z > 0 && target.z != from.z) {
        walkGoal = Zero();
        return;
    }
    target.z = from.z;
    std::list<int> path;
    if (!far) {
        map->FindPath(from, target, 0, 500, &path);
    } else if (!map->FindPath(from, target, 0, 3000, &path)) {
        map->FindPath(from, target, 1, 5000, &path);
    }
    if (path.empty()) {
        StatusLine::Instance()->SetText(kNoPathText);
        walkGoal = Zero();
        return;
    }
    StopWalk(false);
    Requests()->SendWalkPath(std::vector<int>(path.begin(), path.end()), target.x, target.y, from.z);
    if (game->effects)
        game->effects->AddEffect(target.x, target.y, from.z, kGoalMarkEffect, kGoalMarkMs);
    walkGoal = Position{target.x, target.y, from.z};
}

void ThingActions::StopWalk(bool clearTargets) {
    walkGoal = Zero();
    Requests()->SendWalkPath({}, 0, 0, 0);
    followedId = 0;
    Requests()->SendTargets(clearTargets ? 0 : 1, 0);
}

void ThingActions::ResumeWalk() {
    if (!IsZero(walkGoal))
        WalkTo(walkGoal, true);
}
