#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/GameControlIds.h"

class GUIManager;
class KEngine2;

// One started quest: its name, its notes (one a line) and its progress in
// percent; above 100 the list shows "-".
struct QuestRecord {
    std::string name;
    std::vector<std::string> lines;
    int32_t progress = 0;
};

// One achievement: 100 % shows "Completed"; level 0 recommends none.
struct AchievementRecord {
    std::string name;
    std::string description;
    int32_t level = 0;
    int32_t points = 0;
    int32_t progress = 0;
};

// The quest and achievement log. The player asks for it (Ctrl+Q, the actions
// window's "Quests"); the server answers with one message per quest and per
// batch of achievements. The first message makes the log and opens its
// dialog, the protocol keeps it (Protocol::questLog), and each further
// message adds records, after emptying the lists when the server says so.
//
// Closing ends the log: Close clears the protocol's pointer and closes the
// dialog at once, and hands the module's deletion to the main loop's safe
// point, so that the "Close" button's own click, a draw callback or the game
// screen's teardown may close it. The next request then builds a fresh log.
class QuestLogDialog {
public:
    static constexpr int32_t kDialogId = GameIds::kQuestLogDialog;
    static constexpr int32_t kCloseButton = GameIds::kQuestLogClose;
    static constexpr int32_t kList = GameIds::kQuestLogList;
    static constexpr int32_t kDetail = GameIds::kQuestLogDetail;
    // A note whose first ':' comes before its first blank is a label line.
    static constexpr uint32_t kLabelColor = 0xFF46C8DC;
    static constexpr uint32_t kNoteColor = 0xFFC8C8C8;
    static constexpr uint32_t kInfoColor = 0xFFA0A0A0;

    QuestLogDialog();
    // Frees the records only: the GUI and the protocol have been let go of by
    // Close, and the deletion may come after the GUI is gone.
    ~QuestLogDialog();
    QuestLogDialog(const QuestLogDialog&) = delete;
    QuestLogDialog& operator=(const QuestLogDialog&) = delete;

    // Builds the dialog on the quests tab; false, doing nothing, while it is open.
    bool Show();
    // Forgets every record of both lists and refreshes the list.
    void Clear();
    // Each list keeps its newest kMaxRecords (a server may add without a reset).
    static constexpr size_t kMaxRecords = 1000;
    void AddQuest(QuestRecord quest);
    void AddAchievement(AchievementRecord achievement);
    // Refills the list from the shown tab's records, sorted by progress
    // (quests) or points (achievements), equal keys in arrival order.
    void RefreshList();
    // Ends the log (see above); a second call does nothing.
    void Close();

    // The tabs' click callbacks, the dialog's draw callback and the "Close"
    // button's action (context: the module).
    static void ShowQuests(void* self, int x, int y);
    static void ShowAchievements(void* self, int x, int y);
    static void Draw(void* self);
    static void CloseButton(void* self);

    // The status text of a row, and whether a note is drawn as a label.
    static std::string QuestStatus(int progress);
    static std::string AchievementStatus(int progress);
    static bool IsLabelLine(const std::string& line);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    std::vector<QuestRecord> quests;
    std::vector<AchievementRecord> achievements;
    int32_t pointsEarned = 0;
    int32_t pointsPossible = 0;
    bool showQuests = true;

private:
    // The detail box is set only when the record it should show changes:
    // setting it resets its scroll position and selection, so a long note
    // could otherwise never be scrolled or selected.
    void UpdateDetail();

    int shownIndex = -1;
    bool detailStale = true;
    bool closed = false;
};
