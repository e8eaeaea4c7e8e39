#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "sidewindows/TalentTable.h"

class GUIButton;
class GUIManager;
class KEngine2;
struct TooltipRegion;

// Which of the fourteen buttons of the talents dialog are enabled: a minus
// gives back a point added since the last refresh, a plus adds one while
// points are left and the talent stays at or under its maximum.
struct TalentButtonStates {
    std::array<bool, TalentTable::kCount> minus{};
    std::array<bool, TalentTable::kCount> plus{};
};
using TalentValues = std::array<int, TalentTable::kCount>;
TalentButtonStates TalentButtonRules(const TalentValues& current, const TalentValues& pending, int unused,
                                     const TalentValues& maximum);
// The talents' maximum points, from the shared talent table.
TalentValues TalentMaximums();

// Spending talent points (the "Talents" dialog, 241, also Ctrl+T). Each
// opening copies the talents and the unused points of the skills window; the
// player adds points as pending additions, which "Save" sends in one request.
// The module never changes the skills window. The game screen makes it when
// the game starts and frees it when the game ends.
class TalentsDialog {
public:
    TalentsDialog();
    ~TalentsDialog();
    TalentsDialog(const TalentsDialog&) = delete;
    TalentsDialog& operator=(const TalentsDialog&) = delete;

    // Opens the dialog; nothing while it is open (the pending points stay).
    void Show();
    // Reloads the numbers from the skills window, dropping the pending
    // points, and sets the buttons when the dialog is open.
    void Refresh();
    // Sets the fourteen buttons from the numbers.
    void UpdateButtons();
    // Removes the dialog, gives the focus back to the chat input and frees
    // the tooltip. Only the game screen's teardown calls it.
    void Close();

    // The buttons' actions. A plus or minus button's argument is the talent
    // index; the module is the game screen's.
    static void AddPoint(void* talent);
    static void RemovePoint(void* talent);
    void AddPointTo(int talent);
    void RemovePointFrom(int talent);
    static void Save(void* module);
    static void Cancel(void* module);
    static void AskReset(void* module);
    static void ConfirmReset(void* unused);
    static void Draw(void* module);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    int unusedPoints = 0;
    int totalPoints = 1;
    TalentValues current{};
    TalentValues pending{};
    std::array<GUIButton*, TalentTable::kCount> plusButton{};   // valid while the dialog is open
    std::array<GUIButton*, TalentTable::kCount> minusButton{};  // valid while the dialog is open
    std::unique_ptr<TooltipRegion> tooltip;
};
