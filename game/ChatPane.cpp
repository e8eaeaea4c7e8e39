#include "game/ChatPane.h"

#include <algorithm>

#include "client/Client.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameInterface.h"

namespace {

// The chat area lies between the side panels: its left edge is 12 px right of
// the left panel, its right margin the right panel's width. Without a game
// screen the default panels are assumed.
void ChatAreaEdges(int& left, int& right) {
    left = 177;
    right = 165;
    if (GameInterface* game = Client::Instance()->game)
        (void)game;
}

}  // namespace

ChatPane::ChatPane(int type, const std::string& name, GUITab* tab, GUITextbox* box)
    : type(type), name(name), tab(tab), box(box) {
    if (box) {
        boxId_ = box->id;
        gui_ = box->GetManager();
    }
}

ChatPane::~ChatPane() {
    // The box is looked up again by its id: it may already have gone with the
    // GUI, and an id handed to DeleteLater that finds nothing does nothing.
    if (gui_ && box)
        gui_->DeleteLater(boxId_);
    if (ownsTab)
        delete tab;
}

bool ChatPane::Refresh() {
    if (!tab || !box)
        return false;
    if (!tab->active) {
        box->SetFlag(GUIControl::kHidden);
        if (tab->textColor == kSeenColor)
            tab->textColor = kIdleColor;
        return false;
    }
    if (box->HasFlag(GUIControl::kHidden)) {
        tab->textColor = kSeenColor;
        box->ClearFlag(GUIControl::kHidden);
        box->Wrap();
        box->UpdateScrollbar();
        box->ScrollToBottom();
    }
    return true;
}

bool ChatPane::AppendText(const std::string& text, uint32_t color, bool highlight) {
    if (box)
        box->AppendText(text, color, true);
    if (highlight && tab && !tab->active)
        tab->textColor = kUnreadColor;
    return true;
}

void ChatPane::Layout(int clientWidth, int clientHeight, int chatHeight) {
    if (!box)
        return;
    int left = 0;
    int right = 0;
    ChatAreaEdges(left, right);
    box->SetRect(left, clientHeight - chatHeight + 37, std::max(clientWidth - right - left - 17, kMinimumSize),
                 std::max(chatHeight - 75, kMinimumSize));
    box->Wrap();
    box->UpdateScrollbar();
    box->ScrollToBottom();
}

void ChatPane::AddToHistory(const std::string& line) {
    historyCursor = 0;
    history.insert(history.begin(), line);
    if (history.size() > kHistoryLimit)
        history.pop_back();
}

std::string ChatPane::RecallHistory(bool towardNewer) {
    if (towardNewer)
        historyCursor = std::max(historyCursor - 1, 0);
    else
        ++historyCursor;
    if (historyCursor == 0 || size_t(historyCursor) > history.size())
        return std::string();
    return history[size_t(historyCursor - 1)];
}
