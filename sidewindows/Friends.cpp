#include "sidewindows/Friends.h"

#include "game/Lifecycle.h"

Friends::Friends() {
    windowId = kWindowId;
    lifecycle::Note("Friends");
}

Friends::~Friends() { lifecycle::Note("~Friends"); }

void Friends::ContextMenu(int, int) {}
