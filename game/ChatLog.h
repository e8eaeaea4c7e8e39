#pragma once

#include "game/GameControlIds.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

class ChatPane;
class GUIManager;
class GUITabgroup;
class KEngine2;

// The chat console: one tab (a ChatPane) per open channel, and the routing of
// every chat line and notice that reaches the client to a tab, the status
// line, or both. One instance for the whole run; it lives on across games, and
// the ids it gives its tabs and boxes keep growing so that a control waiting
// for deletion is never mistaken for a new one. They stay below the GUI's own
// ids (the message box's): at the end of their range they start again from
// the first pair no control holds.
//
// Control ids: 25 the chat input, 26 the tab group (both made by the game
// screen), 30000 + 2k the tab of the k-th channel opened, 30000 + 2k + 1 its
// message box.
class ChatLog {
public:
    enum ChannelType { kPrivate = 1, kPublic = 2 };
    enum Kind {
        kSay = 1,
        kBroadcast = 2,
        kStatus = 3,
        kPlain = 4,
        kPrivateMessage = 5,
        kNotice = 6,
        kScreenText = 7,
        kHighlighted = 8,
    };
    static constexpr int32_t kChatInputId = GameIds::kChatInput;
    static constexpr int32_t kTabGroupId = GameIds::kChatTabs;
    static constexpr int32_t kFirstControlId = GameIds::kFirstChannelTab;
    // The first id past the chat's range: the GUI's message box.
    static constexpr int32_t kEndControlId = 65536;
    // Private lines from others are shortened on screen (not in the tab).
    static constexpr size_t kScreenPrivateLength = 55;
    // Tabs a server can open: beyond them a channel's lines go to the first
    // tab, as when tabs are not opened by themselves.
    static constexpr size_t kMaxTabs = 64;
    // Chat-area height when there is no game screen.
    static constexpr int kDefaultChatHeight = 145;

    // Line colours, red in the lowest byte.
    static constexpr uint32_t kOwnSayColor = 0xFFAAD7BE;      // (190,215,170)
    static constexpr uint32_t kSayColor = 0xFFA0AFB4;         // (180,175,160)
    static constexpr uint32_t kBroadcastColor = 0xFF0080FF;   // (255,128,0)
    static constexpr uint32_t kPlainColor = 0xFFE6E6E6;       // (230,230,230)
    static constexpr uint32_t kPrivateColor = 0xFFFF7878;     // (120,120,255)
    static constexpr uint32_t kNoticeColor = 0xFF82FF82;      // (130,255,130)
    static constexpr uint32_t kHighlightColor = 0xFF008CFF;   // (255,140,0)
    static constexpr uint32_t kChannelRunColor = 0xFF46C8DC;  // (220,200,70)

    static ChatLog* Instance();

    // Opens the tab of a channel unless it is open; type 2 channels are
    // recorded in the section "channels". False, with nothing opened or
    // recorded, when kMaxTabs are open or every id of the chat's range is held.
    bool AddChannelTab(int type, const std::string& name);
    // Closes the first tab of that name (type 2 also forgets the channel) and
    // selects "Main"; false when no tab has that name.
    bool CloseChannel(int type, const std::string& name);
    // The pane of that type and name, else the first pane; null without panes.
    ChatPane* FindChannel(int type, const std::string& name);
    // The pane of the active tab, or null (no panes, or no tab active).
    ChatPane* ActivePane();
    // Shows one line of a kind 1..8 from a sender in a channel.
    void AddMessage(const std::string& sender, const std::string& channel, int kind, const std::string& text);
    // The chat area has a new height: every pane is laid out again.
    void OnResize(int chatHeight);
    // Once per frame.
    void UpdatePanes();
    // Tab: the next tab, after the last the first.
    void SelectNextTab();
    // Shift+Tab: the previous tab; the first stays.
    void SelectPreviousTab();
    // Removes every pane (the game screen is going).
    void Clear();

    const std::vector<ChatPane*>& Panes() const { return panes; }
    // The time prefix "[hh:mm:ss] " of a local time.
    static std::string TimePrefix(const std::tm& time);

    // The local wall clock; tests replace it. False when there is no time.
    using LocalClock = bool (*)(std::tm& out);
    LocalClock localClock;
    int32_t nextId = kFirstControlId;
    std::vector<ChatPane*> panes;  // owned, in the order the channels were opened

private:
    ChatLog();

    KEngine2* App() const;
    GUIManager* Gui() const;
    GUITabgroup* TabGroup() const;
    // The tab's id of the next pair that no control and no pane holds (the
    // box takes the one after it); 0 when every pair of the range is held.
    int32_t TakeControlIds();
    void Select(ChatPane* pane);
    void SelectBy(int step, bool wrap);
    void Route(ChatPane* pane, const std::string& sender, const std::string& channel, int kind,
               const std::string& prefix, const std::string& text);
};
