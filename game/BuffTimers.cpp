#include "game/BuffTimers.h"

#include "game/Lifecycle.h"

BuffTimers::BuffTimers() { lifecycle::Note("BuffTimers"); }

BuffTimers::~BuffTimers() { lifecycle::Note("~BuffTimers"); }

void BuffTimers::Clear() { lifecycle::Note("BuffTimers::Clear"); }

void BuffTimers::Draw() {}
