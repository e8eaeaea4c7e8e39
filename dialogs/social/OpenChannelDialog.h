#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/GameControlIds.h"

class GUIManager;
class KEngine2;

// The "Open Channel" dialog (Ctrl+P, the chat area's channel button): a
// public channel picked from the list the server offers, or a player's name
// typed for a private conversation. Opening it asks the server for the list
// (0x1C), whose answer fills the rows; "Open" (and Enter) sends the join and
// closes it. One instance, made on first use and kept for the run; it works
// on whichever client is current, and the game screen's teardown closes its
// dialog, which must not send a join on the login connection.
class OpenChannelDialog {
public:
    static constexpr int32_t kDialogId = GameIds::kOpenChannelDialog;
    static constexpr int32_t kOpenButtonId = GameIds::kOpenChannelOpen;
    static constexpr int32_t kCancelButtonId = GameIds::kOpenChannelCancel;
    static constexpr int32_t kNameBoxId = GameIds::kOpenChannelName;
    static constexpr int32_t kLabelId = GameIds::kOpenChannelLabel;
    static constexpr int32_t kListId = GameIds::kOpenChannelList;
    // The kinds of a join request.
    static constexpr int kPrivate = 1;
    static constexpr int kPublic = 2;

    static OpenChannelDialog* Instance();

    // Builds the dialog with the focus in the name box and "Open" as the
    // Enter button, and asks for the channel list; nothing while it is open.
    void Open();
    // Removes the dialog when it is open; nothing is sent.
    void Close();
    // The server's channel list, entry by entry; the rows change only while
    // the dialog is open.
    void ClearChannels();
    void AddChannel(const std::string& name);
    // "Open": a typed name wins (a private conversation), else the selected
    // channel, whose name may be empty; then the dialog closes.
    void Confirm();
    // The dialog's draw callback: its inner panel.
    static void Draw(void* module);

    // The last list the server sent, in its order.
    std::vector<std::string> channels;

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;

private:
    OpenChannelDialog();
    // Takes the current client's application and GUI.
    void Attach();
};
