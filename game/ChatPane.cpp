#include "game/ChatPane.h"

ChatPane::ChatPane(int type, const std::string& name, GUITab* tab, GUITextbox* box)
    : type(type), name(name), tab(tab), box(box) {}

ChatPane::~ChatPane() {}

bool ChatPane::Refresh() { return false; }

bool ChatPane::AppendText(const std::string&, uint32_t, bool) { return true; }

void ChatPane::Layout(int, int, int) {}

void ChatPane::AddToHistory(const std::string&) {}

std::string ChatPane::RecallHistory(bool) { return std::string(); }
