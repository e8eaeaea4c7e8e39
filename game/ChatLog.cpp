#include "game/ChatLog.h"

#include "game/ChatPane.h"

ChatLog* ChatLog::Instance() {
    static ChatLog* instance = new ChatLog();
    return instance;
}

ChatLog::ChatLog() : localClock(nullptr) {}

bool ChatLog::AddChannelTab(int, const std::string&) { return true; }
bool ChatLog::CloseChannel(int, const std::string&) { return false; }
ChatPane* ChatLog::FindChannel(int, const std::string&) { return panes.empty() ? nullptr : panes.front(); }
ChatPane* ChatLog::ActivePane() { return nullptr; }
void ChatLog::AddMessage(const std::string&, const std::string&, int, const std::string&) {}
void ChatLog::OnResize(int) {}
void ChatLog::UpdatePanes() {}
void ChatLog::SelectNextTab() {}
void ChatLog::SelectPreviousTab() {}
void ChatLog::Clear() {}
std::string ChatLog::TimePrefix(const std::tm&) { return std::string(); }
