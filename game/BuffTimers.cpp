#include "game/BuffTimers.h"

#include "game/Lifecycle.h"

BuffTimers::BuffTimers() { lifecycle::Note("BuffTimers"); }

BuffTimers::~BuffTimers() { lifecycle::Note("~BuffTimers"); }

void BuffTimers::Clear() { lifecycle::Note("BuffTimers::Clear"); }

void BuffTimers::RemoveAll() {}

void BuffTimers::Add(const std::string&, int64_t, int64_t, int) {}

void BuffTimers::Remove(const std::string&) {}

void BuffTimers::Draw() {}
