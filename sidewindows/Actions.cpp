#include "sidewindows/Actions.h"

#include "game/Lifecycle.h"

Actions::Actions() {
    windowId = kWindowId;
    lifecycle::Note("Actions");
}

Actions::~Actions() { lifecycle::Note("~Actions"); }
