#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/GameControlIds.h"

class GUIManager;
class KEngine2;

// The players whose chat the client drops, kept in velmora.ini ("other",
// "ignorelist": the names joined by "|"). The game screen makes the module
// when the game starts, which loads the list, and frees it when the game
// ends, which closes it; the "Ignore List" dialog is built each time it opens
// and shows the list as it is.
//
// Every change is written into the options in memory at once, so that the
// next save of the options (closing the options dialog, leaving the game,
// shutdown) takes it to the disk; the dialog's own Close button saves
// nothing. A name holding "|" would come back from the file as two names, so
// it is not taken.
class IgnoreList {
public:
    static constexpr int32_t kDialogId = GameIds::kIgnoreListDialog;
    static constexpr int32_t kCloseButtonId = GameIds::kIgnoreListClose;
    static constexpr int32_t kListId = GameIds::kIgnoreListNames;
    static constexpr int32_t kNameBoxId = GameIds::kIgnoreListName;
    static constexpr int32_t kAddButtonId = GameIds::kIgnoreListAdd;
    static constexpr int32_t kRemoveButtonId = GameIds::kIgnoreListRemove;

    IgnoreList();
    // Closes the module unless it was closed already.
    ~IgnoreList();
    IgnoreList(const IgnoreList&) = delete;
    IgnoreList& operator=(const IgnoreList&) = delete;

    // The names of the options, in their stored order; empty pieces dropped.
    void Load();
    // Writes the names into the options in memory.
    void Save();
    // The game screen's teardown: removes the dialog when it is open, gives
    // the focus back to the chat input and saves. A second call changes
    // nothing more.
    void Close();
    // Builds the dialog, or only refreshes its rows when it is open.
    void Open();
    void Refresh();
    // The "Add" and "Remove" buttons.
    void OnAdd();
    void OnRemove();
    // True when the name is on the list, compared without regard to case
    // (A to Z only, whatever the byte values).
    bool IsIgnored(const std::string& name) const;
    // The dialog's draw callback: its inner panel.
    static void Draw(void* module);

    std::vector<std::string> names;

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;

private:
    bool closed_ = false;
};
