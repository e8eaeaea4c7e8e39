#pragma once

#include <cstdint>

#include "world/Position.h"

// The mouse on the game view and on item slots: dragging things, using,
// attacking, looking, walking by click and the right-click menu.
class ThingActions {
public:
    ThingActions();
    ~ThingActions();
    ThingActions(const ThingActions&) = delete;
    ThingActions& operator=(const ThingActions&) = delete;

    // Frees the menu entries and textures.
    void Clear();
    // A left press: may start dragging the thing under the point.
    void BeginDrag(int x, int y);
    // A left release: drop, use, attack, look or walk.
    void OnClick(int x, int y);
    void ContextMenu(int x, int y);
    // Searches a path to the tile and walks it; farther with longDistance.
    void WalkTo(Position target, bool longDistance);
    // Cancels the queued walk; tellServer sends the stop.
    void StopWalk(bool tellServer);
    // Something is being dragged.
    bool IsDragging() const { return dragThing || dragWindow || dragSlot; }
    // The server asks for the stored walk again.
    void ResumeWalk();
    // Keyboard walking asks whether a mouse walk or follow is going on.
    Position GetWalkGoal() const { return walkGoal; }
    uint32_t GetFollowedId() const { return followedId; }

    // The drag in progress; all null when nothing is dragged.
    void* dragThing = nullptr;
    void* dragWindow = nullptr;
    void* dragSlot = nullptr;
    Position walkGoal{0, 0, 0};  // the destination of the path being walked; zero for none
    uint32_t followedId = 0;     // the creature being followed; 0 for none
};
