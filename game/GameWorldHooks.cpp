#include "game/GameWorldHooks.h"

#include "client/Client.h"
#include "client/Settings.h"
#include "game/GameInterface.h"
#include "game/PagedTextWindow.h"
#include "game/StatusLine.h"
#include "game/ThingActions.h"
#include "game/TipMessages.h"
#include "protocol/Protocol.h"
#include "sidewindows/Minimap.h"
#include "sidewindows/Party.h"

namespace {

// Null while the game screen is still being built or already going.
GameInterface* Game() { return Client::Instance()->game; }

Settings* Options() { return Client::Instance()->settings; }

}  // namespace

GameWorldHooks* GameWorldHooks::Instance() {
    static GameWorldHooks instance;
    return &instance;
}

void GameWorldHooks::Send(const OutMessage& message) { Client::Instance()->protocol->Send(message); }

void GameWorldHooks::SetStatusText(const std::string& text) { StatusLine::Instance()->SetText(text); }

void GameWorldHooks::HidePagedText() {
    if (GameInterface* game = Game(); game && game->pagedText)
        game->pagedText->Hide();
}

void GameWorldHooks::AddTip(int kind, const std::string& title, const std::string& text, const Position& at) {
    if (GameInterface* game = Game(); game && game->tipMessages)
        game->tipMessages->Add(kind, title, text, at.x, at.y, at.z);
}

void GameWorldHooks::SetMinimapTile(uint16_t x, uint16_t y, uint8_t z, uint8_t color, uint8_t speed) {
    if (GameInterface* game = Game(); game && game->minimap)
        game->minimap->SetTile(x, y, z, color, speed);
}

// Without a minimap every square counts as unexplored, at the default speed.
uint8_t GameWorldHooks::GetMinimapColor(uint16_t x, uint16_t y, uint8_t z) {
    GameInterface* game = Game();
    return game && game->minimap ? game->minimap->GetColor(x, y, z) : 0;
}

uint8_t GameWorldHooks::GetMinimapSpeed(uint16_t x, uint16_t y, uint8_t z) {
    GameInterface* game = Game();
    return game && game->minimap ? game->minimap->GetSpeed(x, y, z) : 100;
}

void GameWorldHooks::StopMouseWalk() {
    // Only a walk or follow of the mouse (or a drag) is cancelled: every
    // keyboard step comes here, and the server need not hear of nothing.
    ThingActions* actions = Game() ? Game()->thingActions : nullptr;
    if (actions && (!ThingActions::IsZero(actions->GetWalkGoal()) || actions->GetFollowedId() != 0 ||
                    actions->IsDragging()))
        actions->StopWalk(false);
}

// The party window knows the members; the map draws their icon.
bool GameWorldHooks::IsPartyMember(const std::string& name) {
    GameInterface* game = Game();
    return game && game->party && game->party->IsMember(name);
}

bool GameWorldHooks::TimerMovement() { return Options()->GetTimerMovement(); }

bool GameWorldHooks::SmoothSidestep() { return Options()->GetSmoothSidestep(); }

bool GameWorldHooks::FloorFading() { return Options()->GetFloorFading(); }

bool GameWorldHooks::SeenEnraged() { return Options()->GetSeenEnraged(); }

void GameWorldHooks::SetSeenEnraged() { Options()->SetSeenEnraged(true); }
