#pragma once

#include <cstdint>
#include <string>

#include "game/GameControlIds.h"

class GUIManager;
class KEngine2;

// The game master's ban dialog ("Banish Player"), which the server opens: it
// looks the typed name up while the game master types, shows whether that
// player is banned, and bans or warns under one of nine rules, or lifts a
// ban. The server answers every lookup with the ban information, which this
// module keeps whether or not the dialog is open. One instance for the run,
// made on first use; the lookup memory lasts the run, across reopening.
class GMBanDialog {
public:
    static constexpr int32_t kDialogId = GameIds::kBanDialog;
    static constexpr int32_t kActionButtonId = GameIds::kBanButton;
    static constexpr int32_t kCloseButtonId = GameIds::kBanClose;
    static constexpr int32_t kNameBoxId = GameIds::kBanName;
    static constexpr int32_t kRuleListId = GameIds::kBanRules;
    static constexpr int32_t kDaysBoxId = GameIds::kBanDays;
    static constexpr int32_t kCommentBoxId = GameIds::kBanComment;
    static constexpr int32_t kWarningBoxId = GameIds::kBanWarning;
    // A name is looked up again only when this much time has passed since
    // the last lookup (strictly more), however fast the game master types.
    static constexpr uint32_t kLookupIntervalMs = 500;

    static GMBanDialog* Instance();

    // Forgets the last answer, then builds the dialog; nothing while it is open.
    void Open();
    void Close();
    // The ban information of the last answer; the dialog shows it from its next frame.
    void SetBanInfo(const std::string& comment, const std::string& time, const std::string& info, bool isBanned);

    // The dialog's draw callback: frames, the answer, the lookup while
    // typing and the form's mode.
    static void Draw(void* dialog);
    // The click of "Ban/warn" or "Unban".
    static void BanOrUnban(void* dialog);

    // Pure: whether the name in the box is looked up at `now`. The tick
    // difference is unsigned, so a wrapped tick counter still allows a lookup.
    static bool LookupDue(const std::string& name, const std::string& lastName, uint32_t now, uint32_t lastTime);
    // What the form does this frame for the last answer and the action
    // button's caption: switch to lifting the shown ban, back to banning, or
    // nothing (what the game master typed stays).
    enum class FormChange { Keep, ShowBan, ClearBan };
    static FormChange ModeChange(bool isBanned, const std::string& caption);
    // The number of days as the request carries it: the leading number of the
    // text, its low 16 bits ("70000" gives 4464, no digits give 0).
    static uint16_t DaysValue(const std::string& text);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    std::string banComment;
    std::string banTime;
    std::string infoLine;  // empty: no answer since the last lookup
    uint8_t banned = 0;
    std::string lastLookupName;
    uint32_t lastLookupTime = 0;

private:
    GMBanDialog();
    // The client's application object and GUI, taken again at every entry:
    // the module outlives any one game screen, and tests make several clients.
    void Attach();
    void ApplyMode();
};
