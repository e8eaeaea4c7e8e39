#pragma once

#include <cstdint>
#include <vector>

#include "world/Position.h"

class GameInterface;
class Thing;
struct Sprite;

// The mouse on the game view and on item slots: dragging things, using,
// attacking, looking, walking by click and the right-click menu. It owns no
// window: it hit-tests the GUI and the side windows, turns screen points into
// positions and sends requests. One exists while the player is in the world.
//
// Besides map coordinates a Position here may name a slot or a drop area;
// these travel unchanged in the requests:
//   equipment slot n          (65535, 0, n - 1)
//   container window i slot s (65534, i, s + 1)
//   own side of the trade     (65535, 65534, slot)
//   market / brewing / NPC shop / hotkey editor drop area
//                             (65535, 65535 / 65533 / 65532 / 65531, 255)
//   nothing                   (0, 0, 0)
// x of at most 65533 is a map position.
class ThingActions {
public:
    static constexpr int32_t kSlotX = 65535;
    static constexpr int32_t kContainerX = 65534;
    static constexpr int32_t kTradeY = 65534;
    static constexpr int32_t kMarketY = 65535;
    static constexpr int32_t kBrewingY = 65533;
    static constexpr int32_t kNpcShopY = 65532;
    static constexpr int32_t kHotkeyEditorY = 65531;
    static constexpr int32_t kDropAreaZ = 255;
    static constexpr int kContainerWindows = 20;
    static constexpr int kGoalMarkEffect = 3428;
    static constexpr uint32_t kGoalMarkMs = 400;
    static constexpr int kMenuWidth = 150;
    static constexpr int kMenuRowHeight = 20;
    static constexpr int kFishingItem = 316;

    // One entry of the open context menu; a row's value is its index here
    // plus one, so that no creature id has to fit into a row value.
    struct MenuEntry {
        bool creature = false;
        int32_t itemId = 0;
        uint32_t creatureId = 0;
    };

    ThingActions();
    ~ThingActions();
    ThingActions(const ThingActions&) = delete;
    ThingActions& operator=(const ThingActions&) = delete;

    // The teardown's work: closes the menu and frees its icons.
    void Clear();

    // Whether a screen point is covered by a control that is not a place to
    // drop a thing on; strict counts the dialogs' drop areas as covered too.
    bool IsCoveredByControl(int x, int y, bool strict);
    // The same, but everything is covered while the "Move Items" dialog is open.
    bool IsOverControl(int x, int y, bool strict);
    // The slot, drop area or map square under a screen point; a map square
    // takes the camera's floor, or without useCameraFloor the topmost floor
    // with something on it.
    Position PositionAt(int x, int y, bool useCameraFloor);
    // The thing a position designates, or null. For slot positions
    // (IsSlotPosition) it is a new Thing the caller deletes; for map positions
    // the map owns it.
    Thing* ThingAt(const Position& position);

    // A left press: may start dragging the thing under the point.
    void BeginDrag(int x, int y);
    // A left release: drop, click, look, follow or walk.
    void OnClick(int x, int y);
    // A right press: use, open, attack, or the menu offering them.
    void ContextMenu(int x, int y);
    // The drag ends; the "Move Items" dialog calls it when it closes.
    void Reset();

    void MoveThing(const Position& from, const Position& to, int count);
    void Look(const Position& position);
    void UseAt(const Position& position, uint32_t value);
    // The player's own id asks for the outfit choices instead.
    void Attack(uint32_t creatureId);
    // Follows the first creature other than the player on the tile.
    void Follow(const Position& position);
    // The menu's select callback; context is the ThingActions.
    static void OnMenuItem(int value, void* context);
    void CloseMenu();

    // Searches a path from the player to the target on the player's floor and
    // sends it; far searches farther and through unexplored squares.
    void WalkTo(Position target, bool far);
    // Cancels the walk at the server; clearTargets drops the attack target too.
    void StopWalk(bool clearTargets);
    // The server interrupted the walk: search again from where the player stands.
    void ResumeWalk();

    // Something is being dragged.
    bool IsDragging() const { return !IsZero(dragSource); }
    // Keyboard walking asks whether a mouse walk or follow is going on.
    uint32_t GetFollowedId() const { return followedId; }
    void SetFollowed(uint32_t id) { followedId = id; }
    Position GetWalkGoal() const { return walkGoal; }
    void SetWalkGoal(const Position& goal) { walkGoal = goal; }

    static bool IsZero(const Position& p) { return p.x == 0 && p.y == 0 && p.z == 0; }
    static bool IsSlotPosition(const Position& p) { return p.x > 65533; }
    // The trade's own offer, the market, brewing, the NPC shop or the hotkey
    // editor.
    static bool IsDialogDropArea(const Position& p) { return p.x == kSlotX && p.y >= kHotkeyEditorY; }
    static Position Zero() { return Position{0, 0, 0}; }

    Position dragSource{0, 0, 0};    // where the drag began; zero for none
    Position dropTarget{0, 0, 0};    // where it was released; kept while "Move Items" asks
    Position walkGoal{0, 0, 0};      // the destination of the path being walked; zero for none
    Position menuPosition{0, 0, 7};  // what the context menu was opened on
    uint32_t followedId = 0;         // the creature followed by Shift-click; 0 for none
    std::vector<Sprite*> menuIcons;  // outfit pictures of the open menu's rows; owned
    std::vector<MenuEntry> menuEntries;

private:
    void ResetDrag();
    // Offers the entries: one acts at once, two or more open menu 188.
    void ShowMenu(int x, int y);
};
