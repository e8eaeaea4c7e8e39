#include "game/GameInterface.h"

#include <cstdlib>

#include "client/Client.h"
#include "client/Settings.h"
#include "engine/Clock.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "game/ThingActions.h"
#include "game/WorldLink.h"
#include "platform/Platform.h"
#include "world/Camera.h"
#include "world/Creature.h"
#include "world/EffectList.h"
#include "world/FloatingTexts.h"
#include "world/LightMap.h"
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
      map(new Map(worldLink)),
      floatingTexts(new FloatingTexts()),
      effects(new EffectList()) {
    map->effects = effects;
    map->random = [] { return std::rand(); };
    effects->map = map;
    floatingTexts->map = map;
    LightMap::Instance()->map = map;
}

GameInterface::~GameInterface() {
    effects->Clear();
    floatingTexts->Clear();
    delete effects;
    delete floatingTexts;
    if (LightMap::Instance()->map == map)
        LightMap::Instance()->map = nullptr;
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

// The map view's share of the frame: the view follows the player's step, the
// floors and the light go into the 544 x 416 buffer when the view is
// stretched (and are scaled onto the window), the labels and texts are drawn
// at the window's scale over them.
void GameInterface::Draw() {
    KEngine2* app = g_app;
    if (!app || !app->graphics)
        return;
    Graphics* graphics = app->graphics;
    if (!map->camera->creature) {
        if (Creature* player = map->FindCreature(map->playerId)) {
            map->camera->SetCreature(player);
            map->CollectLightSources();
        }
    }
    viewOffsetX = 0;
    viewOffsetY = 0;
    map->camera->GetFollowedOffset(&viewOffsetX, &viewOffsetY, 32);
    map->viewOffsetX = viewOffsetX;
    map->viewOffsetY = viewOffsetY;

    const bool stretched = map->tileWidth != 32 || map->tileHeight != 32;
    const int width = Map::kViewColumns * map->tileWidth;
    const int height = Map::kViewRows * map->tileHeight;
    if (stretched) {
        graphics->BeginBuffer();
    } else {
        // The floors reach a tile or more beyond the view on every side.
        ClipRect clip;
        clip.left = float(map->viewX);
        clip.top = float(map->viewY);
        clip.right = float(map->viewX + width - 1);
        clip.bottom = float(map->viewY + height - 1);
        graphics->EnableClipper(clip);
    }
    map->Draw();
    LightMap::Instance()->Update();
    if (stretched) {
        graphics->EndBuffer();
        graphics->RenderBuffer(map->viewX, map->viewY, width, height, 544, 416);
    } else {
        graphics->DisableClipper();
    }
    map->DrawCreatures();
    floatingTexts->Draw();
}

void GameInterface::LayoutChatArea() {
    KEngine2* app = g_app;
    if (!app)
        return;
    ViewSurround surround;
    if (const Settings* settings = Client::Instance()->settings) {
        surround.statBarPosition = settings->GetStatBarPosition();
        surround.stretching = settings->GetFieldStretching();
    }
    map->LayoutView(app->clientWidth, app->clientHeight, chatHeight, surround);
}

void GameInterface::MarkStartTime() { startTime = GetTicks(); }
