#include "game/GameInterface.h"

#include "engine/Clock.h"
#include "engine/KEngine2.h"
#include "game/ThingActions.h"
#include "game/WorldLink.h"
#include "platform/Platform.h"
#include "world/Camera.h"
#include "world/Map.h"

namespace {

// The arrow keys and the direction each walks.
const struct {
    int key;
    int direction;
} kWalkKeys[] = {
    {platform::kVkLeft, 2},
    {platform::kVkUp, 3},
    {platform::kVkRight, 4},
    {platform::kVkDown, 1},
};

}  // namespace

// The side windows, the chat area and the dialog modules are built here as
// the game screen grows; the map view is what the client core reads already.
GameInterface::GameInterface(bool)
    : thingActions(new ThingActions()),
      worldLink(new WorldLink(thingActions)),
      map(new Map(worldLink)) {}

GameInterface::~GameInterface() {
    delete map;
    delete worldLink;
    delete thingActions;
}

void GameInterface::HandleEvent(const InputEvent&) {}

void GameInterface::Update() {
    if (!g_app)
        return;
    map->UpdateCreatures(g_app->GetFps());
    // A held arrow key walks; the camera starts a step only from rest.
    for (const auto& walk : kWalkKeys) {
        if (g_app->IsKeyDown(walk.key)) {
            map->camera->Walk(walk.direction, false);
            break;
        }
    }
}

void GameInterface::Draw() {}

void GameInterface::LayoutChatArea() {}

void GameInterface::MarkStartTime() { startTime = GetTicks(); }
