#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "game/GameControlIds.h"
#include "sidewindows/SideWindow.h"

// One person of a list.
struct FriendEntry {
    bool online = false;
    std::string name;
};

// The friends window ("People"): three lists the server fills with message
// 0x18, "Allies", "Foes" and "Guild", one shown at a time behind three tab
// buttons. The shown rows are a sorted, filtered copy of the active list
// (`view`), which drawing and hit-testing read. A right click opens the menu
// to message or remove a person, add one through the "Add Person" dialog,
// and show or hide offline people ("hideoffline" in "windows").
class Friends : public SideWindow {
public:
    static constexpr int kWindowId = GameIds::kFriendsWindow;
    static constexpr int kScrollbarId = 65;
    static constexpr int kMenuId = 66;
    static constexpr int kAddDialogId = 67;
    static constexpr int kAddLabelId = 68;
    static constexpr int kNameBoxId = 69;
    static constexpr int kAddButtonId = 70;
    static constexpr int kCancelButtonId = 71;
    static constexpr int kListCount = 3;
    static constexpr int kGuildList = 2;
    // A record for this list only updates the online state of a known name.
    static constexpr int kAnyList = 10;
    enum MenuItem { kMenuSpacer = 0, kMenuMessage = 1, kMenuRemove = 2, kMenuAdd = 3, kMenuToggleOffline = 4 };
    static constexpr int kRowHeight = 15;
    static constexpr int kMinHeight = 107;

    Friends();
    ~Friends() override;

    // Empties the three lists.
    void Clear();
    // Adds or updates a person and rebuilds the view when something changed.
    void SetEntry(const std::string& name, bool online, int list);
    // SetEntry without the rebuild, for a whole message of records: true when
    // the view must be rebuilt. List numbers other than 0, 1, 2 and 10 name no
    // list and are ignored.
    // A list full at kMaxPerList takes no new names (its people stay).
    bool StoreEntry(const std::string& name, bool online, int list);
    static constexpr size_t kMaxPerList = 5000;
    // The view from the active list: online first, then by the first byte as
    // a signed 8-bit value, arrival order kept otherwise.
    void RebuildView();

    void Update() override;
    void SetMinimized(bool minimized) override;
    void Draw() override;
    // Adds the scroll bar and the tab buttons to the frame, once.
    void EnsureControls();

    // The row under the point (only y counts), or an offline entry without name.
    FriendEntry EntryAt(int x, int y) const;
    // Right button: the menu of the name under the point.
    void ContextMenu(int x, int y);
    static void OnMenuItem(int itemId, void* window);
    void ShowAddDialog();
    static void DrawAddDialog(void* window);
    static void ConfirmAdd(void* window);
    static void CancelAdd(void* window);
    void ToggleHideOffline();
    void SelectList(int list);
    static void OnAlliesTab(void* window);
    static void OnFoesTab(void* window);
    static void OnGuildTab(void* window);

    std::string menuTarget;
    std::vector<FriendEntry> view;
    // In arrival order; changed only through Clear and SetEntry/StoreEntry,
    // which keep the name positions.
    std::vector<FriendEntry> lists[kListCount];
    int activeList = 0;
    uint8_t hideOffline = 0;
    GUIButton* tabButtons[kListCount] = {};  // owned by the frame once made

private:
    FriendEntry* Find(int list, const std::string& name);

    // Where each name stands in its list. A message may carry 65 535 records:
    // a search of the list for each would make it quadratic.
    std::unordered_map<std::string, size_t> positions_[kListCount];
};
