#include "dialogs/character/QuestLogDialog.h"

#include <memory>
#include <utility>

#include "client/Client.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITabgroup.h"
#include "engine/gui/GUITextbox.h"
#include "engine/gui/StableSort.h"
#include "game/Lifecycle.h"
#include "protocol/Protocol.h"

namespace {

constexpr uint32_t kSunkenFill = 0x1E000000;  // black at alpha 30
constexpr uint32_t kTabStripFill = 0x32000000;

}  // namespace

QuestLogDialog::QuestLogDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("QuestLogDialog");
}

QuestLogDialog::~QuestLogDialog() { lifecycle::Note("~QuestLogDialog"); }

std::string QuestLogDialog::QuestStatus(int progress) {
    return progress > 100 ? "-" : std::to_string(progress) + "%";
}

std::string QuestLogDialog::AchievementStatus(int progress) {
    return progress == 100 ? "Completed" : std::to_string(progress) + "%";
}

bool QuestLogDialog::IsLabelLine(const std::string& line) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos)
        return false;
    const size_t blank = line.find(' ');
    return blank == std::string::npos || colon < blank;
}

bool QuestLogDialog::Show() {
    DialogHelper dialog(gui, kDialogId);
    GUIDialog* frame = dialog.OpenFromCentre("Quest & Achievement Log", -250, -250, 500, 500);
    if (!frame)
        return false;
    showQuests = true;
    frame->drawCallback = &QuestLogDialog::Draw;
    frame->drawContext = this;

    GUITabgroup* tabs = dialog.Add(new GUITabgroup(), 20, 40, 460, 20);
    if (tabs) {
        tabs->SetTabWidth(229);
        tabs->fillColor = kTabStripFill;
        const struct {
            const char* caption;
            GUIControl::ClickCallback action;
        } pages[] = {{"Quest Log", &QuestLogDialog::ShowQuests},
                     {"Achievement Log", &QuestLogDialog::ShowAchievements}};
        for (const auto& page : pages) {
            GUITab* tab = new GUITab();
            tab->caption = page.caption;
            tab->clickCallback = page.action;
            tab->clickContext = this;
            tabs->AddTab(tab);
            tab->fillColor = 0;
        }
    }
    GUISelect* list = new GUISelect();
    list->id = kList;
    if (dialog.Add(list, 20, 70, 460, 195))
        list->fillColor = kSunkenFill;
    GUITextbox* detail = new GUITextbox();
    detail->id = kDetail;
    detail->SetFlag(GUIControl::kReadOnly | GUIControl::kMultiLine);
    if (dialog.Add(detail, 20, 275, 460, 160)) {
        detail->fillColor = kSunkenFill;
        detail->EnableScrollbar();
    }
    dialog.Add(new GUILine(), 7, 455, 486, 1);
    dialog.AddButton(kCloseButton, "Close", &QuestLogDialog::CloseButton, this, 190, 465, 120, 25);
    RefreshList();
    return true;
}

void QuestLogDialog::Clear() {
    quests.clear();
    achievements.clear();
    RefreshList();
}

void QuestLogDialog::AddQuest(QuestRecord quest) {
    if (quests.size() >= kMaxRecords)
        quests.erase(quests.begin());
    quests.push_back(std::move(quest));
    RefreshList();
}

void QuestLogDialog::AddAchievement(AchievementRecord achievement) {
    if (achievements.size() >= kMaxRecords)
        achievements.erase(achievements.begin());
    achievements.push_back(std::move(achievement));
    RefreshList();
}

void QuestLogDialog::RefreshList() {
    DialogHelper dialog(gui, kDialogId);
    const GUIControl* frame = dialog.Dialog();
    GUISelect* list = dialog.Find<GUISelect>(kList);
    if (!frame || !list)
        return;
    detailStale = true;
    list->Clear();
    list->SetRect(frame->x + 20, frame->y + 105, frame->width - 40, 160);
    // Sorted in place and stably, so equal keys keep the order they came in.
    if (showQuests) {
        StableMergeSort(quests, [](const QuestRecord& a, const QuestRecord& b) { return a.progress < b.progress; });
        for (const QuestRecord& quest : quests)
            list->AddItem(quest.name, QuestStatus(quest.progress));
    } else {
        StableMergeSort(achievements, [](const AchievementRecord& a, const AchievementRecord& b) {
            return a.points < b.points;
        });
        for (const AchievementRecord& achievement : achievements)
            list->AddItem(achievement.name, AchievementStatus(achievement.progress));
    }
}

void QuestLogDialog::ShowQuests(void* self, int, int) {
    QuestLogDialog* log = static_cast<QuestLogDialog*>(self);
    log->showQuests = true;
    log->RefreshList();
}

void QuestLogDialog::ShowAchievements(void* self, int, int) {
    QuestLogDialog* log = static_cast<QuestLogDialog*>(self);
    log->showQuests = false;
    log->RefreshList();
}

void QuestLogDialog::CloseButton(void* self) {
    if (self)
        static_cast<QuestLogDialog*>(self)->Close();
}

void QuestLogDialog::Close() {
    if (closed)
        return;
    closed = true;
    lifecycle::Note("QuestLogDialog::Close");
    Client* client = Client::Instance();
    if (client && client->protocol && client->protocol->questLog == this)
        client->protocol->questLog = nullptr;
    DialogHelper(gui, kDialogId).CloseAndFocus(GameIds::kChatInput);
    if (!client) {
        delete this;
        return;
    }
    // Deleted at the next safe point, or with the pending changes when the
    // client ends before it: Close may run inside the module's own callbacks.
    std::shared_ptr<QuestLogDialog> doomed(this);
    client->Defer([doomed] {});
}

void QuestLogDialog::UpdateDetail() {
    DialogHelper dialog(gui, kDialogId);
    const GUISelect* list = dialog.Find<GUISelect>(kList);
    GUITextbox* detail = dialog.Find<GUITextbox>(kDetail);
    if (!list || !detail)
        return;
    // A row past the shown list leaves the box as it is.
    const int index = list->selectedIndex;
    const size_t count = showQuests ? quests.size() : achievements.size();
    if (index < 0 || size_t(index) >= count)
        return;
    if (!detailStale && index == shownIndex)
        return;
    detailStale = false;
    shownIndex = index;
    if (showQuests) {
        detail->SetText("");
        for (const std::string& line : quests[size_t(index)].lines)
            detail->AppendText(line, IsLabelLine(line) ? kLabelColor : kNoteColor, false);
        return;
    }
    const AchievementRecord& achievement = achievements[size_t(index)];
    std::string text = achievement.description + "\n\n";
    if (achievement.level > 0)
        text += "Level " + std::to_string(achievement.level) + "+ recommended.\n";
    text += "Yields " + std::to_string(achievement.points) + " achievement points.\n";
    detail->SetText(text);
}

void QuestLogDialog::Draw(void* self) {
    QuestLogDialog* log = static_cast<QuestLogDialog*>(self);
    // After a logout the log has no business on the login screen.
    if (!Client::Instance() || !Client::Instance()->game) {
        log->Close();
        return;
    }
    DialogHelper dialog(log->gui, kDialogId);
    const GUIControl* frame = dialog.Dialog();
    Graphics* graphics = log->app->graphics;
    if (!frame || !graphics)
        return;
    const int x = frame->x;
    const int y = frame->y;
    dialog.DrawPanel();
    // The information line: a sunken frame without fill.
    dialog.DrawFrameBox(x + 20, y + 70, frame->width - 40, 25);
    const std::string info = log->showQuests ? std::string("Most quests are not shown here until you begin them.")
                                             : "Some achievements may be hidden. You have " +
                                                   std::to_string(log->pointsEarned) + " of " +
                                                   std::to_string(log->pointsPossible) + " possible points.";
    graphics->RenderText(info, x + 25, y + 75, kInfoColor, true);
    log->UpdateDetail();
}
