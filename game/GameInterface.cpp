#include "game/GameInterface.h"

#include <cstdlib>

#include "client/Client.h"
#include "client/Settings.h"
#include "engine/Clock.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "world/Creature.h"
#include "world/EffectList.h"
#include "world/FloatingTexts.h"
#include "world/LightMap.h"
#include "world/Map.h"

// The side windows, the chat area and the dialog modules are built here as
// the game screen grows; the map view is what the client core reads already.
GameInterface::GameInterface(bool)
    : map(new Map()), floatingTexts(new FloatingTexts()), effects(new EffectList()) {
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
}

void GameInterface::HandleEvent(const InputEvent&) {}

void GameInterface::Update() {}

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
