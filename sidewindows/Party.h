#pragma once

#include <string>
#include <vector>

#include "game/GameControlIds.h"
#include "sidewindows/SideWindow.h"

// One member row as the server sent it.
struct PartyRecord {
    std::string name;  // unique within the list
    int number = 0;    // drawn right-aligned
    int firstPercent = 0;   // red bar, 0..100 in normal use
    int secondPercent = 0;  // blue bar
};

// The party window: one row per member with a number and two bars. The
// server sends the whole list in one message (0x1b); the window is hidden
// while the list is empty. Its right-click menu messages, kicks, invites
// (through the "Invite To Party" dialog) and leaves.
class Party : public SideWindow {
public:
    static constexpr int kWindowId = GameIds::kPartyWindow;
    static constexpr int kScrollbarId = 94;
    static constexpr int kMenuId = 95;
    static constexpr int kInviteDialogId = 96;
    static constexpr int kInviteButtonId = 97;
    static constexpr int kCancelButtonId = 98;
    static constexpr int kNameBoxId = 99;
    // The menu's item ids.
    enum MenuItem { kMenuSpacer = 0, kMenuMessage = 1, kMenuKick = 2, kMenuInvite = 3, kMenuLeave = 4 };
    static constexpr int kRowHeight = 35;
    static constexpr int kMinHeight = 90;

    Party();
    ~Party() override;

    void Clear();
    // Overwrites the values of the member of that name and refits; a new name
    // is appended without refitting, so that a whole list refits once.
    void SetMember(const std::string& name, int number, int firstPercent, int secondPercent);
    // The frame may grow to show every member.
    void FitToMembers();
    // After a whole list: shown and refitted with members, hidden without.
    void ShowMembers();
    bool IsMember(const std::string& name) const;
    // The player's own creature heads the list: only the leader kicks and invites.
    bool PlayerIsFirstMember() const;
    // The member whose row holds the screen y, or a record with an empty name.
    PartyRecord MemberAt(int x, int y) const;

    // Right button: the menu of the member under the point.
    void ContextMenu(int x, int y);
    void OpenInviteDialog();
    static void OnMenuItem(int itemId, void* window);
    static void ConfirmInvite(void* window);
    static void CloseInviteDialog(void* window);
    static void DrawInviteDialog(void* window);

    void Update() override;
    void Draw() override;

    std::string selectedName;
    std::vector<PartyRecord> members;  // in the server's order
};
