#include "game/WorldLink.h"

#include "client/Client.h"
#include "client/Settings.h"
#include "game/GameInterface.h"
#include "game/PagedTextWindow.h"
#include "game/StatusLine.h"
#include "game/ThingActions.h"
#include "game/TipMessages.h"
#include "protocol/Protocol.h"

namespace {

Settings* Options() { return Client::Instance()->settings; }

}  // namespace

void WorldLink::Send(const OutMessage& message) {
    if (Protocol* protocol = Client::Instance()->protocol)
        protocol->Send(message);
}

void WorldLink::SetStatusText(const std::string& text) { StatusLine::Instance()->SetText(text); }

void WorldLink::HidePagedText() {
    if (game->pagedText)
        game->pagedText->Hide();
}

void WorldLink::AddTip(int kind, const std::string& title, const std::string& text, const Position& at) {
    if (game->tipMessages)
        game->tipMessages->Add(kind, title, text, at.x, at.y, at.z);
}

void WorldLink::StopMouseWalk() {
    ThingActions* actions = game->thingActions;
    if (!actions)
        return;
    const Position goal = actions->GetWalkGoal();
    if (goal != Position{0, 0, 0} || actions->GetFollowedId() != 0 || actions->IsDragging())
        actions->StopWalk(false);
}

bool WorldLink::TimerMovement() { return !Options() || Options()->GetTimerMovement(); }

bool WorldLink::SmoothSidestep() { return !Options() || Options()->GetSmoothSidestep(); }

bool WorldLink::FloorFading() { return !Options() || Options()->GetFloorFading(); }

bool WorldLink::SeenEnraged() { return Options() && Options()->GetSeenEnraged(); }

void WorldLink::SetSeenEnraged() {
    if (Options())
        Options()->SetSeenEnraged(true);
}
