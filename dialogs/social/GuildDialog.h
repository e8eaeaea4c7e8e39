#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "game/GameControlIds.h"

class GUIManager;
class KEngine2;

struct GuildRank {
    uint32_t id = 0;     // sent back in rank requests, named by members
    int32_t level = 0;   // 0 member, 1 vice-leader, 2 leader
    int32_t order = 0;   // lower values come first
    std::string name;
};

struct GuildMember {
    std::string name;
    std::string title;     // empty for none
    std::string rankName;  // a copy of the rank's name, "(Invited)" without a rank
    uint32_t id = 0;       // sent back in kick and edit requests
    uint32_t rankId = 0;   // 0: invited, cannot be edited
    int32_t order = 0;     // a copy of the rank's order, 1000 without a rank
};

struct GuildWar {
    uint32_t id = 0;  // sent back in accept and cancel requests
    uint32_t lossFee = 0;
    bool loyalty = false;
    std::string text;
    std::string status;  // "Not accepted..." while the guild can still accept it
};

// What decides which of the guild window's action buttons may be pressed: the
// player's own level, the selected rows (null for none), the player's own
// member (null when the name is not in the list), a request waiting for the
// server's answer and the page shown (0 management, 1 wars).
struct GuildPermissionState {
    int32_t ownLevel = 0;
    const GuildMember* selected = nullptr;
    const GuildMember* own = nullptr;
    const GuildWar* war = nullptr;
    bool waiting = false;
    int32_t tab = 0;
};

// The guild of a player who belongs to one: what the server last sent (the
// guild's name and channel message, the player's level, the ranks, the members
// and the wars), the guild window built from it with its two pages, and the
// Edit Member, Create New War and Edit Ranks dialogs. Every request but the
// member's save sets `waiting`, which only the server's answer (0x39) clears;
// while it is set the action buttons are disabled, so a player cannot stack
// requests on one the server has not judged yet.
//
// The game screen makes the module when the game starts and frees it when the
// game ends; every guild data message shows the window, opening it again when
// the player had closed it. Closing the window keeps the data.
class GuildDialog {
public:
    static constexpr int32_t kDialogId = GameIds::kGuildDialog;
    static constexpr int32_t kWarListId = GameIds::kGuildWarList;
    static constexpr int32_t kCancelWarId = GameIds::kGuildCancelWar;
    static constexpr int32_t kNewWarId = GameIds::kGuildNewWar;
    static constexpr int32_t kCloseId = GameIds::kGuildClose;
    static constexpr int32_t kChannelMessageId = GameIds::kGuildChannelMessage;
    static constexpr int32_t kInviteNameId = GameIds::kGuildInviteName;
    static constexpr int32_t kAcceptWarId = GameIds::kGuildAcceptWar;
    static constexpr int32_t kMemberListId = GameIds::kGuildMemberList;
    static constexpr int32_t kEditMemberId = GameIds::kGuildEditMember;
    static constexpr int32_t kKickId = GameIds::kGuildKick;
    static constexpr int32_t kSetMessageId = GameIds::kGuildSetMessage;
    static constexpr int32_t kInviteId = GameIds::kGuildInvite;
    static constexpr int32_t kEditRanksId = GameIds::kGuildEditRanks;

    static constexpr int32_t kEditMemberDialogId = GameIds::kEditMemberDialog;
    static constexpr int32_t kSaveMemberId = GameIds::kEditMemberSave;
    static constexpr int32_t kCancelMemberId = GameIds::kEditMemberCancel;
    static constexpr int32_t kMemberTitleId = GameIds::kEditMemberTitle;
    static constexpr int32_t kMemberRanksId = GameIds::kEditMemberRanks;

    static constexpr int32_t kCreateWarDialogId = GameIds::kCreateWarDialog;
    static constexpr int32_t kCreateWarButtonId = GameIds::kCreateWarCreate;
    static constexpr int32_t kCancelCreateWarId = GameIds::kCreateWarCancel;
    static constexpr int32_t kOpponentId = GameIds::kCreateWarOpponent;
    static constexpr int32_t kDaysId = GameIds::kCreateWarDays;
    static constexpr int32_t kFeeId = GameIds::kCreateWarFee;
    static constexpr int32_t kLoyaltyId = GameIds::kCreateWarLoyalty;

    static constexpr int32_t kEditRanksDialogId = GameIds::kEditRanksDialog;
    static constexpr int32_t kCloseRanksId = GameIds::kEditRanksClose;
    static constexpr int32_t kRankNameId = GameIds::kEditRanksName;
    static constexpr int32_t kCreateRankId = GameIds::kEditRanksCreate;
    static constexpr int32_t kRankListId = GameIds::kEditRanksList;
    static constexpr int32_t kMoveUpId = GameIds::kEditRanksUp;
    static constexpr int32_t kMoveDownId = GameIds::kEditRanksDown;
    static constexpr int32_t kRemoveRankId = GameIds::kEditRanksRemove;
    static constexpr int32_t kLevelMemberId = GameIds::kRankLevelMember;
    static constexpr int32_t kLevelViceLeaderId = GameIds::kRankLevelViceLeader;
    static constexpr int32_t kLevelLeaderId = GameIds::kRankLevelLeader;

    static constexpr int32_t kInvitedOrder = 1000;

    GuildDialog();
    ~GuildDialog();
    GuildDialog(const GuildDialog&) = delete;
    GuildDialog& operator=(const GuildDialog&) = delete;

    // --- The guild data message, in this order: SetInfo, the ranks, the
    // members, the wars, Update. ---
    // Remembers the rank selected in the Edit Ranks list, stores the three
    // values and empties the three lists.
    void SetInfo(const std::string& name, const std::string& message, int32_t level);
    void AddRank(uint32_t id, int32_t level, int32_t order, const std::string& name);
    // The rank's name and order come from the first rank with the id, so the
    // ranks must come first.
    void AddMember(uint32_t id, const std::string& name, const std::string& title, uint32_t rankId);
    void AddWar(uint32_t id, const std::string& text, const std::string& status, bool loyalty, uint32_t lossFee);
    // Closes the no-guild dialog and shows the window: refreshed when open,
    // built on its management page otherwise.
    void Update();
    // Refills the member and war lists and, while Edit Ranks is open, the
    // rank list; members (and then ranks) are sorted by order, stably.
    void Refresh();
    // The first member with the player's name (exact bytes), or null.
    const GuildMember* FindOwnMember() const;
    // The game screen's end: closes every dialog of the module and frees the
    // records.
    void Close();

    // --- The guild window ---
    void Open();
    // Closes the window and gives the focus to the chat input; the data and
    // the small dialogs stay.
    void CloseWindow();
    void CloseButton() { CloseWindow(); }
    void ShowManagementTab();
    void ShowWarsTab();
    // The window's draw callback; it ends with UpdatePermissions.
    static void Draw(void* module);
    // Disables and enables the action buttons (and those of Edit Ranks while
    // it is open) as DisabledButtons says.
    void UpdatePermissions();
    // The ids of the buttons that may not be pressed in a state.
    static std::set<int32_t> DisabledButtons(const GuildPermissionState& state);
    // The records at the lists' selected rows, or null.
    const GuildMember* SelectedMember() const;
    const GuildWar* SelectedWar() const;

    // The buttons. The actions behind the confirmation boxes (Kick, AcceptWar,
    // CancelWar) read the selection when OK is pressed.
    void SetChannelMessage();
    void Invite();
    void AskKick();
    void Kick();
    void AskAcceptWar();
    void AcceptWar();
    void AskCancelWar();
    void CancelWar();
    void EditSelectedMember();

    // --- Edit Member, Create New War, Edit Ranks ---
    // Nothing while Edit Member is open, whichever member it shows.
    void OpenEditMember(const GuildMember& member);
    void OpenCreateWar();
    // Refreshes the rank list when open.
    void OpenEditRanks();
    // Cancel and Close leave the focus where it is.
    void CloseEditMember();
    void CloseCreateWar();
    void CloseEditRanks();
    static void DrawEditMember(void* module);
    static void DrawCreateWar(void* module);
    static void DrawEditRanks(void* module);
    void SaveMember();
    void CreateWar();
    // The level buttons' action; the context is the button pressed.
    static void SelectRankLevel(void* button);
    void CreateRank();
    void MoveRankUp();
    void MoveRankDown();
    void RemoveRank();

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    std::vector<GuildWar> wars;
    std::vector<GuildRank> ranks;
    std::vector<GuildMember> members;
    std::string guildName;
    std::string channelMessage;
    uint32_t rememberedRankId = 0;
    int32_t ownLevel = 0;
    int32_t tab = 0;
    uint32_t editedMemberId = 0;
    bool waiting = false;
    // The rank ids of Edit Member's rows as they were shown: new guild data
    // may re-sort the rank list while the dialog is open, and "Save" must
    // send the rank the player picked.
    std::vector<uint32_t> editMemberRankIds;

private:
    // The selected rank of the Edit Ranks list in the current rank order; 0
    // for none.
    uint32_t SelectedRankId() const;
};
