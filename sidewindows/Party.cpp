#include "sidewindows/Party.h"

#include "game/Lifecycle.h"

Party::Party() {
    windowId = kWindowId;
    lifecycle::Note("Party");
}

Party::~Party() { lifecycle::Note("~Party"); }

void Party::ContextMenu(int, int) {}

bool Party::IsMember(const std::string&) const { return false; }
