#include "sidewindows/CStatus.h"

#include "game/Lifecycle.h"

CStatus::CStatus() {
    windowId = kWindowId;
    lifecycle::Note("CStatus");
}

CStatus::~CStatus() { lifecycle::Note("~CStatus"); }
