#include "game/GameInterface.h"

#include "client/Client.h"
#include "dialogs/character/TalentsDialog.h"
#include "dialogs/social/IgnoreList.h"
#include "dialogs/social/TutorialDialog.h"
#include "engine/Clock.h"
#include "engine/KEngine2.h"
#include "game/ChatLog.h"
#include "game/PagedTextWindow.h"
#include "game/ThingActions.h"
#include "game/TipMessages.h"
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
    : thingActions(new ThingActions()), worldLink(new WorldLink(this)), map(new Map(worldLink)) {
    pagedText = new PagedTextWindow(Client::Instance()->app, map);
    tipMessages = new TipMessages();
    ignoreList = new IgnoreList();
    talents = new TalentsDialog();
    tutorial = new TutorialDialog();
}

GameInterface::~GameInterface() {
    // The chat panes hold controls of this game's GUI: the next game would
    // update them after they are gone.
    ChatLog::Instance()->Clear();
    pagedText->Reset();
    delete pagedText;
    tipMessages->Clear();
    delete tipMessages;
    delete ignoreList;
    delete talents;
    delete tutorial;
    delete map;
    delete worldLink;
    delete thingActions;
}

void GameInterface::HandleEvent(const InputEvent&) {}

void GameInterface::Update() {
    ChatLog::Instance()->UpdatePanes();
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

void GameInterface::Draw() {
    tipMessages->Draw();
    pagedText->Draw();
}

void GameInterface::LayoutChatArea() {}

void GameInterface::MarkStartTime() { startTime = GetTicks(); }
