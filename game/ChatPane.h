#pragma once

#include <cstdint>
#include <string>
#include <vector>

class GUIManager;
class GUITab;
class GUITextbox;

// One chat tab: a channel (type and name), its tab in the chat tab group
// (control 26) and the text box that shows its lines, plus the lines the
// player sent in it, for recall with Shift+Up and Shift+Down.
//
// The tab belongs to the tab group and the box to the GUI root, not to the
// pane; the pane hands the box to GUIManager::DeleteLater when it goes. A tab
// that could not be placed in a group (no control 26) belongs to nobody else,
// so the pane deletes it itself.
//
// The tab's text colour is the pane's read state: grey when nothing is new,
// yellow when a highlighted line arrived while another tab was active,
// light grey while active (and after it has been seen).
class ChatPane {
public:
    // Tab caption colours, red in the lowest byte.
    static constexpr uint32_t kSeenColor = 0xFFC8C8C8;    // (200,200,200)
    static constexpr uint32_t kIdleColor = 0xFF808080;    // (128,128,128)
    static constexpr uint32_t kUnreadColor = 0xFF40FFFF;  // (255,255,64)
    static constexpr size_t kHistoryLimit = 30;
    static constexpr int kMinimumSize = 5;

    ChatPane(int type, const std::string& name, GUITab* tab, GUITextbox* box);
    ~ChatPane();
    ChatPane(const ChatPane&) = delete;
    ChatPane& operator=(const ChatPane&) = delete;

    std::string CopyName() const { return name; }
    // Once per frame and when the pane is selected: hides the box of an
    // inactive tab, shows (and scrolls down) the box of the active one.
    // Returns whether the tab is active.
    bool Refresh();
    // A new line in a colour; with highlight an inactive tab turns yellow.
    // The box refuses lines beyond its length limit; the highlight still applies.
    bool AppendText(const std::string& text, uint32_t color, bool highlight);
    // Places the box in the chat area for a client size and chat-area height.
    void Layout(int clientWidth, int clientHeight, int chatHeight);
    // A sent line goes first; the oldest beyond 30 is dropped; the cursor
    // goes back to the fresh input line.
    void AddToHistory(const std::string& line);
    // Shift+Down (towardNewer) or Shift+Up: the entry at the moved cursor, or
    // "" at the fresh input line and past the oldest entry.
    std::string RecallHistory(bool towardNewer);

    int type;
    std::string name;
    GUITab* tab;      // null when the pane has none
    GUITextbox* box;  // null when the pane has none
    std::vector<std::string> history;  // newest first
    int historyCursor = 0;             // 0 the fresh line, k the k-th newest entry
    bool ownsTab = false;              // the tab was never placed in a group

private:
    int32_t boxId_ = 0;
    GUIManager* gui_ = nullptr;
};
