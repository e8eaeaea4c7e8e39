#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/GameControlIds.h"

class GUIManager;
class KEngine2;

// A guild that invited the player.
struct GuildInvite {
    uint32_t guildId = 0;  // sent back unchanged in the join request
    std::string guildName;
};

// Founding a guild and the invitations of a player without one. The server's
// invitation list (0x3A) replaces the records and opens the dialog, which
// closes the guild window; the guild data closes this dialog in turn. The
// game screen makes the module when the game starts and frees it when the
// game ends; the dialog is built each time it opens, from the kept list.
class NoGuildDialog {
public:
    static constexpr int32_t kDialogId = GameIds::kNoGuildDialog;
    static constexpr int32_t kCloseId = GameIds::kNoGuildClose;
    static constexpr int32_t kNameId = GameIds::kNoGuildName;
    static constexpr int32_t kCreateId = GameIds::kNoGuildCreate;
    static constexpr int32_t kInvitesId = GameIds::kNoGuildInvites;
    static constexpr int32_t kJoinId = GameIds::kNoGuildJoin;

    NoGuildDialog();
    ~NoGuildDialog();
    NoGuildDialog(const NoGuildDialog&) = delete;
    NoGuildDialog& operator=(const NoGuildDialog&) = delete;

    void ClearInvites();
    void AddInvite(uint32_t guildId, const std::string& name);
    // Closes the guild window, then builds the dialog; an open one stays as
    // it is, its rows included.
    void Open();
    // Removes the dialog and gives the focus back to the chat input; the
    // invitations stay.
    void CloseWindow();
    // The game screen's end: CloseWindow, then the records go.
    void Close();

    // "Create": the typed name, unless empty.
    void Create();
    // "Join Selected": the guild of the row selected, as that row was shown.
    void Join();
    // The dialog's draw callback.
    static void Draw(void* module);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    std::vector<GuildInvite> invites;
    // The guild ids of the rows as shown: a later invitation list replaces
    // the records but not the open dialog's rows, and the player joins the
    // guild whose name is highlighted.
    std::vector<uint32_t> shownGuildIds;
};
