#include "game/StatusLine.h"

#include "engine/Clock.h"

StatusLine* StatusLine::Instance() {
    static StatusLine* instance = new StatusLine();
    return instance;
}

void StatusLine::SetText(const std::string& text) {
    statusText = text;
    statusTime = GetTicks();
}

void StatusLine::SetTimedText(const std::string& text) { centreLines = {text}; }

void StatusLine::AddTimedLines(const std::string& text) { timedLines.push_back({text}); }

void StatusLine::DrawMessages() {}
