#include "game/GameInterface.h"

#include "engine/Clock.h"
#include "world/Map.h"

// The side windows, the chat area and the dialog modules are built here as
// the game screen grows; the map view is what the client core reads already.
GameInterface::GameInterface(bool) : map(new Map()) {}

GameInterface::~GameInterface() { delete map; }

void GameInterface::HandleEvent(const InputEvent&) {}

void GameInterface::Update() {}

void GameInterface::Draw() {}

void GameInterface::LayoutChatArea() {}

void GameInterface::MarkStartTime() { startTime = GetTicks(); }
