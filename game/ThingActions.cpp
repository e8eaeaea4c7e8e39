#include "game/ThingActions.h"

#include "game/Lifecycle.h"

ThingActions::ThingActions() { lifecycle::Note("ThingActions"); }

ThingActions::~ThingActions() { lifecycle::Note("~ThingActions"); }

void ThingActions::Clear() {
    lifecycle::Note("ThingActions::Clear");
    dragThing = dragWindow = dragSlot = nullptr;
}

void ThingActions::BeginDrag(int, int) {}

void ThingActions::OnClick(int, int) {}

void ThingActions::ContextMenu(int, int) {}

void ThingActions::WalkTo(Position, bool) {}

void ThingActions::StopWalk(bool) {}

void ThingActions::ResumeWalk() {}
