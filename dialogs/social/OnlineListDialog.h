#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "game/GameControlIds.h"

class GUIManager;
class KEngine2;

// The game master's list of the players online: name and level, seconds idle
// and minutes online, asked for again every six seconds while it is open.
// "Teleport Next" sends the teleport command for the selected player and
// moves the selection one row down, so the players can be visited one after
// the other. One instance for the run, made on first use; the rows live only
// in the list control.
class OnlineListDialog {
public:
    static constexpr int32_t kDialogId = GameIds::kOnlineListDialog;
    static constexpr int32_t kListId = GameIds::kOnlineList;
    static constexpr int kRowHeight = 35;  // two lines a row
    static constexpr int64_t kRefreshSeconds = 6;

    static OnlineListDialog* Instance();

    // Builds the dialog with the list focused; nothing while it is open.
    void Open();
    void Close();

    // One list message: a new list begins with BeginUpdate (which keeps the
    // selected row number), each entry is appended, and EndUpdate puts the
    // row number back, whoever now stands there. Nothing while the dialog is closed.
    void BeginUpdate();
    // Past kMaxRows a list takes no more rows.
    void AddEntry(const std::string& name, int level, int idleSeconds, int onlineMinutes);
    static constexpr size_t kMaxRows = 5000;
    void EndUpdate();

    // The click of "Teleport Next" and the dialog's draw callback, with the module as context.
    static void TeleportNext(void* list);
    static void Draw(void* list);

    // Pure: whether a list request is due at `now` after one at `last`
    // (seconds). A clock set back counts as due too, or the list would stand
    // still until the clock caught up.
    static bool RefreshDue(int64_t now, int64_t last);

    // Seconds of the C runtime clock; tests install their own.
    std::function<int64_t()> clock;
    int64_t lastRequest = 0;  // 0: the first frame of the open dialog asks at once
    int savedIndex = 0;

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;

private:
    OnlineListDialog();
    // The client's application object and GUI, taken again at every entry:
    // the module outlives any one game screen, and tests make several clients.
    void Attach();
    int64_t Now() const;
};
