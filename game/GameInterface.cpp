#include "game/GameInterface.h"

#include "client/Client.h"
#include "dialogs/character/TalentsDialog.h"
#include "dialogs/social/IgnoreList.h"
#include "dialogs/social/TutorialDialog.h"
#include "engine/Clock.h"
#include "game/ChatLog.h"
#include "game/PagedTextWindow.h"
#include "game/TipMessages.h"
#include "world/Map.h"

// The side windows, the chat area and the dialog modules are built here as
// the game screen grows; the map view is what the client core reads already.
GameInterface::GameInterface(bool) : map(new Map()) {
    pagedText = new PagedTextWindow(Client::Instance()->app, map);
    tipMessages = new TipMessages();
    ignoreList = new IgnoreList();
    talents = new TalentsDialog();
    tutorial = new TutorialDialog();
}

GameInterface::~GameInterface() {
    pagedText->Reset();
    delete pagedText;
    tipMessages->Clear();
    delete tipMessages;
    delete ignoreList;
    delete talents;
    delete tutorial;
    delete map;
}

void GameInterface::HandleEvent(const InputEvent&) {}

void GameInterface::Update() { ChatLog::Instance()->UpdatePanes(); }

void GameInterface::Draw() {
    tipMessages->Draw();
    pagedText->Draw();
}

void GameInterface::LayoutChatArea() {}

void GameInterface::MarkStartTime() { startTime = GetTicks(); }
