#include "dialogs/social/GuildDialog.h"

#include <iterator>

#include "client/Client.h"
#include "client/TextUtils.h"
#include "dialogs/social/NoGuildDialog.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITabgroup.h"
#include "engine/gui/GUITextbox.h"
#include "engine/gui/StableSort.h"
#include "game/ConfirmDialog.h"
#include "game/GameInterface.h"
#include "game/Lifecycle.h"
#include "protocol/Protocol.h"

namespace {

const int32_t kChatInputId = GameIds::kChatInput;
const uint32_t kLabelColor = 0xFFC8C8C8;
const uint32_t kTabStripFill = 0x32000000;  // black at alpha 50
const uint32_t kNoFill = 0;
const char kNotAccepted[] = "Not accepted";
const uint8_t kRankUp = 255;
const uint8_t kRankDown = 1;

// The action buttons of each page and of Edit Ranks, as UpdatePermissions
// sets them.
const int32_t kWindowButtons[] = {GuildDialog::kInviteId,     GuildDialog::kSetMessageId, GuildDialog::kEditMemberId,
                                  GuildDialog::kKickId,       GuildDialog::kEditRanksId,  GuildDialog::kAcceptWarId,
                                  GuildDialog::kCancelWarId,  GuildDialog::kNewWarId};
const int32_t kRankButtons[] = {GuildDialog::kCreateRankId, GuildDialog::kRemoveRankId, GuildDialog::kMoveUpId,
                                GuildDialog::kMoveDownId};
const int32_t kManagementPage[] = {GuildDialog::kInviteNameId, GuildDialog::kChannelMessageId,
                                   GuildDialog::kInviteId,     GuildDialog::kSetMessageId,
                                   GuildDialog::kMemberListId, GuildDialog::kEditMemberId,
                                   GuildDialog::kKickId,       GuildDialog::kEditRanksId};
const int32_t kWarsPage[] = {GuildDialog::kWarListId, GuildDialog::kAcceptWarId, GuildDialog::kCancelWarId,
                             GuildDialog::kNewWarId};
const int32_t kRankLevelButtons[] = {GuildDialog::kLevelMemberId, GuildDialog::kLevelViceLeaderId,
                                     GuildDialog::kLevelLeaderId};

// Buttons, tabs and the confirmation box call the module through these.
template <void (GuildDialog::*Method)()>
void Call(void* module) {
    (static_cast<GuildDialog*>(module)->*Method)();
}

template <void (GuildDialog::*Method)()>
void CallOnClick(void* module, int, int) {
    (static_cast<GuildDialog*>(module)->*Method)();
}

Protocol* Sender() { return Client::Instance()->protocol; }

bool StartsWith(const std::string& text, const char* prefix) {
    const std::string wanted(prefix);
    return text.size() >= wanted.size() && text.compare(0, wanted.size(), wanted) == 0;
}

const char* LevelName(int32_t level) {
    if (level == 2)
        return "Leader";
    if (level == 1)
        return "Vice-leader";
    return "Member";
}

GUITextbox* AddTextbox(DialogHelper& dialog, int32_t id, const std::string& text, int dx, int dy, int width,
                       int height) {
    GUITextbox* box = new GUITextbox();
    box->id = id;
    box->SetText(text);
    return dialog.Add(box, dx, dy, width, height);
}

GUISelect* AddList(DialogHelper& dialog, int32_t id, int rowHeight, int dx, int dy, int width, int height) {
    GUISelect* list = new GUISelect();
    list->id = id;
    list->rowHeight = rowHeight;
    return dialog.Add(list, dx, dy, width, height);
}

template <class T>
const T* AtIndex(const std::vector<T>& records, const GUISelect* list) {
    if (!list || list->selectedIndex < 0 || size_t(list->selectedIndex) >= records.size())
        return nullptr;
    return &records[size_t(list->selectedIndex)];
}

void SetShown(GUIManager* gui, const int32_t* ids, size_t count, bool shown) {
    for (size_t i = 0; i < count; ++i) {
        GUIControl* control = gui->FindControl(ids[i]);
        if (!control)
            continue;
        if (shown)
            control->ClearFlag(GUIControl::kHidden);
        else
            control->SetFlag(GUIControl::kHidden);
    }
}

void DrawLabel(KEngine2* app, const std::string& text, int x, int y) {
    if (app && app->graphics)
        app->graphics->RenderText(text, x, y, kLabelColor, true);
}

}  // namespace

GuildDialog::GuildDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("GuildDialog");
}

GuildDialog::~GuildDialog() { lifecycle::Note("~GuildDialog"); }

// --- The guild data ---

void GuildDialog::SetInfo(const std::string& name, const std::string& message, int32_t level) {
    // The rank selected in Edit Ranks is found again by its id after the
    // new data has re-sorted the ranks.
    if (const GUISelect* rankList = DialogHelper(gui, kEditRanksDialogId).Find<GUISelect>(kRankListId)) {
        const GuildRank* rank = AtIndex(ranks, rankList);
        rememberedRankId = rank ? rank->id : 0;
    }
    guildName = name;
    channelMessage = message;
    ownLevel = level;
    wars.clear();
    ranks.clear();
    members.clear();
}

void GuildDialog::AddRank(uint32_t id, int32_t level, int32_t order, const std::string& name) {
    ranks.push_back(GuildRank{id, level, order, name});
}

void GuildDialog::AddMember(uint32_t id, const std::string& name, const std::string& title, uint32_t rankId) {
    GuildMember member;
    member.name = name;
    member.title = title;
    member.id = id;
    member.rankId = rankId;
    member.rankName = "(Invited)";
    member.order = kInvitedOrder;
    for (const GuildRank& rank : ranks) {
        if (rank.id == rankId) {
            member.rankName = rank.name;
            member.order = rank.order;
            break;
        }
    }
    members.push_back(member);
}

void GuildDialog::AddWar(uint32_t id, const std::string& text, const std::string& status, bool loyalty,
                         uint32_t lossFee) {
    wars.push_back(GuildWar{id, lossFee, loyalty, text, status});
}

void GuildDialog::Update() {
    GameInterface* game = Client::Instance()->game;
    if (DialogHelper(gui, GameIds::kNoGuildDialog).IsOpen() && game && game->noGuild)
        game->noGuild->CloseWindow();
    if (!DialogHelper(gui, kDialogId).IsOpen())
        Open();
    Refresh();
}

void GuildDialog::Refresh() {
    // A refill keeps each list's selected row number, as the lists do.
    StableMergeSort(members, [](const GuildMember& a, const GuildMember& b) { return a.order < b.order; });
    if (GUISelect* list = DialogHelper(gui, kDialogId).Find<GUISelect>(kMemberListId)) {
        list->Clear();
        for (const GuildMember& member : members)
            list->AddItem(member.title.empty() ? member.name : member.name + " (" + member.title + ")",
                          member.rankName);
    }
    if (GUISelect* list = DialogHelper(gui, kDialogId).Find<GUISelect>(kWarListId)) {
        list->Clear();
        for (const GuildWar& war : wars)
            list->AddItem(war.text, war.status, 0, war.loyalty ? "Loyalty code enabled" : "Loyalty code disabled",
                          "Loss fee " + std::to_string(int32_t(war.lossFee)) + " gold");
    }
    if (GUISelect* list = DialogHelper(gui, kEditRanksDialogId).Find<GUISelect>(kRankListId)) {
        list->Clear();
        StableMergeSort(ranks, [](const GuildRank& a, const GuildRank& b) { return a.order < b.order; });
        for (size_t i = 0; i < ranks.size(); ++i) {
            list->AddItem(ranks[i].name, LevelName(ranks[i].level));
            if (ranks[i].id == rememberedRankId)
                list->selectedIndex = int(i);
        }
    }
}

const GuildMember* GuildDialog::FindOwnMember() const {
    const std::string own = GetLocalPlayerName();
    for (const GuildMember& member : members)
        if (member.name == own)
            return &member;
    return nullptr;
}

void GuildDialog::Close() {
    lifecycle::Note("GuildDialog::Close");
    CloseWindow();
    DialogHelper(gui, kEditMemberDialogId).Close();
    DialogHelper(gui, kEditRanksDialogId).Close();
    DialogHelper(gui, kCreateWarDialogId).Close();
    guildName.clear();
    channelMessage.clear();
    members.clear();
    ranks.clear();
    wars.clear();
    editMemberRankIds.clear();
}

// --- The guild window ---

void GuildDialog::Open() {
    DialogHelper dialog(gui, kDialogId);
    GUIDialog* window = dialog.OpenFromCentre("Guild: " + guildName, -300, -250, 600, 500);
    if (!window)
        return;
    window->drawCallback = &GuildDialog::Draw;
    window->drawContext = this;
    tab = 0;

    GUITabgroup* tabs = dialog.Add(new GUITabgroup(), 20, 38, 560, 20);
    tabs->fillColor = kTabStripFill;
    tabs->SetTabWidth(279);
    const struct {
        const char* caption;
        GUIControl::ClickCallback click;
    } pages[] = {{"Guild Management", &CallOnClick<&GuildDialog::ShowManagementTab>},
                 {"Guild Wars", &CallOnClick<&GuildDialog::ShowWarsTab>}};
    for (const auto& page : pages) {
        GUITab* tabControl = new GUITab();
        tabControl->caption = page.caption;
        tabControl->clickCallback = page.click;
        tabControl->clickContext = this;
        tabs->AddTab(tabControl);
        tabControl->fillColor = kNoFill;
    }

    AddTextbox(dialog, kChannelMessageId, channelMessage, 140, 75, 320, 25);
    AddTextbox(dialog, kInviteNameId, "", 140, 110, 320, 25);
    dialog.AddButton(kSetMessageId, "Set", &Call<&GuildDialog::SetChannelMessage>, this, 470, 75, 100, 25);
    dialog.AddButton(kInviteId, "Invite", &Call<&GuildDialog::Invite>, this, 470, 110, 100, 25);
    AddList(dialog, kMemberListId, 20, 20, 155, 560, 245);
    dialog.AddButton(kEditMemberId, "Edit", &Call<&GuildDialog::EditSelectedMember>, this, 21, 409, 186, 25);
    dialog.AddButton(kKickId, "Kick", &Call<&GuildDialog::AskKick>, this, 207, 409, 186, 25);
    dialog.AddButton(kEditRanksId, "Edit Ranks", &Call<&GuildDialog::OpenEditRanks>, this, 393, 409, 186, 25);
    AddList(dialog, kWarListId, 35, 20, 65, 560, 335)->SetFlag(GUIControl::kHidden);
    dialog.AddButton(kAcceptWarId, "Accept", &Call<&GuildDialog::AskAcceptWar>, this, 21, 409, 186, 25)
        ->SetFlag(GUIControl::kHidden);
    dialog.AddButton(kCancelWarId, "Surrender / Cancel", &Call<&GuildDialog::AskCancelWar>, this, 207, 409, 186, 25)
        ->SetFlag(GUIControl::kHidden);
    dialog.AddButton(kNewWarId, "Create New War", &Call<&GuildDialog::OpenCreateWar>, this, 393, 409, 186, 25)
        ->SetFlag(GUIControl::kHidden);
    dialog.Add(new GUILine(), 7, 455, 586, 1);
    dialog.AddButton(kCloseId, "Close", &Call<&GuildDialog::CloseButton>, this, 240, 465, 120, 25);
}

void GuildDialog::CloseWindow() { DialogHelper(gui, kDialogId).CloseAndFocus(kChatInputId); }

void GuildDialog::ShowManagementTab() {
    tab = 0;
    SetShown(gui, kManagementPage, std::size(kManagementPage), true);
    SetShown(gui, kWarsPage, std::size(kWarsPage), false);
}

void GuildDialog::ShowWarsTab() {
    tab = 1;
    SetShown(gui, kWarsPage, std::size(kWarsPage), true);
    SetShown(gui, kManagementPage, std::size(kManagementPage), false);
}

void GuildDialog::Draw(void* module) {
    GuildDialog* self = static_cast<GuildDialog*>(module);
    DialogHelper dialog(self->gui, kDialogId);
    const GUIControl* window = dialog.Dialog();
    if (!window)
        return;
    const int x = window->x;
    const int y = window->y;
    dialog.DrawPanel();
    dialog.DrawPanelBox(x + 20, y + window->height - 92, window->width - 40, 27);
    if (self->tab == 0) {
        dialog.DrawPanelBox(x + 20, y + 65, window->width - 40, 80, kNoFill);
        DrawLabel(self->app, "Channel Message:", x + 30, y + 80);
        DrawLabel(self->app, "Invite Character:", x + 30, y + 115);
    }
    self->UpdatePermissions();
}

std::set<int32_t> GuildDialog::DisabledButtons(const GuildPermissionState& state) {
    std::set<int32_t> off;
    if (state.waiting) {
        off.insert(std::begin(kWindowButtons), std::end(kWindowButtons));
        off.insert(std::begin(kRankButtons), std::end(kRankButtons));
        return off;
    }
    const int32_t level = state.ownLevel;
    const GuildMember* selected = state.selected;
    const GuildMember* own = state.own;
    if (state.tab == 0) {
        if (level <= 0)
            off.insert({kInviteId, kEditMemberId});
        if (level <= 1)
            off.insert({kSetMessageId, kEditRanksId});
        if (!selected || !own) {
            off.insert({kEditMemberId, kKickId});
            return off;
        }
        // Kicking the own member is leaving the guild; others only from a
        // rank strictly lower than one's own.
        if (selected != own && !(level > 0 && selected->order > own->order))
            off.insert(kKickId);
        // Below the top order nobody edits himself or an equal.
        if (selected->rankId == 0 || !(own->order <= 0 || own->order < selected->order))
            off.insert(kEditMemberId);
        return off;
    }
    if (level <= 1) {
        off.insert({kAcceptWarId, kCancelWarId, kNewWarId});
        return off;
    }
    if (!state.war) {
        off.insert({kAcceptWarId, kCancelWarId});
        return off;
    }
    // A status shorter than the prefix is simply not "Not accepted".
    if (!StartsWith(state.war->status, kNotAccepted))
        off.insert(kAcceptWarId);
    return off;
}

void GuildDialog::UpdatePermissions() {
    GuildPermissionState state;
    state.ownLevel = ownLevel;
    state.selected = SelectedMember();
    state.own = FindOwnMember();
    state.war = SelectedWar();
    state.waiting = waiting;
    state.tab = tab;
    const std::set<int32_t> off = DisabledButtons(state);
    auto apply = [&](int32_t id) {
        if (GUIControl* button = gui->FindControl(id)) {
            if (off.count(id))
                button->SetFlag(GUIControl::kDisabled);
            else
                button->ClearFlag(GUIControl::kDisabled);
        }
    };
    for (int32_t id : kWindowButtons)
        apply(id);
    if (gui->FindControl(kCreateRankId))
        for (int32_t id : kRankButtons)
            apply(id);
}

const GuildMember* GuildDialog::SelectedMember() const {
    return AtIndex(members, DialogHelper(gui, kDialogId).Find<GUISelect>(kMemberListId));
}

const GuildWar* GuildDialog::SelectedWar() const {
    return AtIndex(wars, DialogHelper(gui, kDialogId).Find<GUISelect>(kWarListId));
}

void GuildDialog::SetChannelMessage() {
    const GUITextbox* box = DialogHelper(gui, kDialogId).Find<GUITextbox>(kChannelMessageId);
    if (!box)
        return;
    Sender()->SendGuildCommand1(box->GetText());
    waiting = true;
}

void GuildDialog::Invite() {
    const GUITextbox* box = DialogHelper(gui, kDialogId).Find<GUITextbox>(kInviteNameId);
    if (!box || box->GetText().empty())
        return;
    Sender()->SendGuildCommand2(box->GetText());
    waiting = true;
}

void GuildDialog::AskKick() {
    const GuildMember* selected = SelectedMember();
    if (!selected)
        return;
    if (selected == FindOwnMember())
        ConfirmDialog::Instance()->Show("Leave Guild",
                                        "Are you sure you want to leave? If you\n"
                                        "are the only leader the guild will disband.",
                                        &Call<&GuildDialog::Kick>, this);
    else
        ConfirmDialog::Instance()->Show("Kick Member",
                                        "Are you sure you want to kick the\n"
                                        "selected guild member from the guild?",
                                        &Call<&GuildDialog::Kick>, this);
}

void GuildDialog::Kick() {
    const GuildMember* selected = SelectedMember();
    if (!selected)
        return;
    Sender()->SendGuildCommand3(selected->id);
    waiting = true;
}

void GuildDialog::AskAcceptWar() {
    if (!SelectedWar())
        return;
    ConfirmDialog::Instance()->Show("Accept War",
                                    "Are you sure you want to accept and\n"
                                    "immediately begin the selected guild war?",
                                    &Call<&GuildDialog::AcceptWar>, this);
}

void GuildDialog::AcceptWar() {
    const GuildWar* war = SelectedWar();
    if (!war)
        return;
    Sender()->SendGuildCommand8(war->id);
    waiting = true;
}

void GuildDialog::AskCancelWar() {
    if (!SelectedWar())
        return;
    ConfirmDialog::Instance()->Show("Cancel War",
                                    "Are you sure you want to end or\n"
                                    "cancel the selected war immediately?",
                                    &Call<&GuildDialog::CancelWar>, this);
}

void GuildDialog::CancelWar() {
    const GuildWar* war = SelectedWar();
    if (!war)
        return;
    Sender()->SendGuildCommand9(war->id);
    waiting = true;
}

void GuildDialog::EditSelectedMember() {
    if (const GuildMember* selected = SelectedMember())
        OpenEditMember(*selected);
}

// --- Edit Member ---

void GuildDialog::OpenEditMember(const GuildMember& member) {
    DialogHelper dialog(gui, kEditMemberDialogId);
    if (dialog.IsOpen())
        return;
    GUIDialog* window = dialog.OpenFromCentre("Edit Member (" + member.name + ")", -200, -150, 400, 300);
    if (!window)
        return;
    window->drawCallback = &GuildDialog::DrawEditMember;
    window->drawContext = this;
    editedMemberId = member.id;

    AddTextbox(dialog, kMemberTitleId, member.title, 80, 40, 300, 25);
    GUISelect* list = AddList(dialog, kMemberRanksId, 20, 20, 75, 360, 160);
    editMemberRankIds.clear();
    for (size_t i = 0; i < ranks.size(); ++i) {
        list->AddItem(ranks[i].name);
        editMemberRankIds.push_back(ranks[i].id);
        if (ranks[i].id == member.rankId)
            list->selectedIndex = int(i);
    }
    dialog.Add(new GUILine(), 7, 255, 386, 1);
    dialog.AddButton(kSaveMemberId, "Save", &Call<&GuildDialog::SaveMember>, this, 92, 265, 95, 25);
    dialog.AddButton(kCancelMemberId, "Cancel", &Call<&GuildDialog::CloseEditMember>, this, 213, 265, 95, 25);
}

void GuildDialog::CloseEditMember() { DialogHelper(gui, kEditMemberDialogId).Close(); }

void GuildDialog::DrawEditMember(void* module) {
    GuildDialog* self = static_cast<GuildDialog*>(module);
    DialogHelper dialog(self->gui, kEditMemberDialogId);
    const GUIControl* window = dialog.Dialog();
    if (!window)
        return;
    dialog.DrawPanel();
    DrawLabel(self->app, "Title:", window->x + 20, window->y + 45);
}

void GuildDialog::SaveMember() {
    DialogHelper dialog(gui, kEditMemberDialogId);
    const GUITextbox* title = dialog.Find<GUITextbox>(kMemberTitleId);
    const GUISelect* list = dialog.Find<GUISelect>(kMemberRanksId);
    // The rank of the row the player picked, by the ids the rows were built
    // with, whatever order the rank list has now.
    const uint32_t* rankId = AtIndex(editMemberRankIds, list);
    if (title && int32_t(editedMemberId) > 0)
        Sender()->SendGuildCommand6(editedMemberId, title->GetText(), rankId ? *rankId : 0);
    dialog.Close();
}

// --- Create New War ---

void GuildDialog::OpenCreateWar() {
    DialogHelper dialog(gui, kCreateWarDialogId);
    GUIDialog* window = dialog.OpenFromCentre("Create New War", -200, -117, 400, 235);
    if (!window)
        return;
    window->drawCallback = &GuildDialog::DrawCreateWar;
    window->drawContext = this;
    AddTextbox(dialog, kOpponentId, "", 125, 40, 255, 25);
    AddTextbox(dialog, kDaysId, "", 125, 75, 255, 25);
    AddTextbox(dialog, kFeeId, "", 125, 110, 255, 25);
    GUICheckbox* loyalty = new GUICheckbox();
    loyalty->id = kLoyaltyId;
    loyalty->label = "Enable loyalty code (no joining or leaving during war)";
    loyalty->framed = true;
    dialog.Add(loyalty, 20, 145, 360, 25);
    dialog.Add(new GUILine(), 7, 190, 386, 1);
    dialog.AddButton(kCreateWarButtonId, "Create", &Call<&GuildDialog::CreateWar>, this, 92, 200, 95, 25);
    dialog.AddButton(kCancelCreateWarId, "Cancel", &Call<&GuildDialog::CloseCreateWar>, this, 213, 200, 95, 25);
}

void GuildDialog::CloseCreateWar() { DialogHelper(gui, kCreateWarDialogId).Close(); }

void GuildDialog::DrawCreateWar(void* module) {
    GuildDialog* self = static_cast<GuildDialog*>(module);
    DialogHelper dialog(self->gui, kCreateWarDialogId);
    const GUIControl* window = dialog.Dialog();
    if (!window)
        return;
    dialog.DrawPanel();
    DrawLabel(self->app, "Opponent guild:", window->x + 20, window->y + 45);
    DrawLabel(self->app, "Duration (days):", window->x + 20, window->y + 80);
    DrawLabel(self->app, "Loss fee (each):", window->x + 20, window->y + 115);
}

void GuildDialog::CreateWar() {
    DialogHelper dialog(gui, kCreateWarDialogId);
    const GUITextbox* opponent = dialog.Find<GUITextbox>(kOpponentId);
    if (opponent && !opponent->GetText().empty()) {
        const GUITextbox* days = dialog.Find<GUITextbox>(kDaysId);
        const GUITextbox* fee = dialog.Find<GUITextbox>(kFeeId);
        const GUICheckbox* loyalty = dialog.Find<GUICheckbox>(kLoyaltyId);
        // Read as the C library reads them, but saturating at the 32-bit
        // limits in every build; a negative number goes as its two's
        // complement.
        const int32_t dayCount = days ? ReadLeadingInt(days->GetText()) : 0;
        const int32_t lossFee = fee ? ReadLeadingInt(fee->GetText()) : 0;
        Sender()->SendGuildCommand7(opponent->GetText(), uint32_t(dayCount), uint32_t(lossFee),
                                    loyalty && loyalty->checked ? 1 : 0);
        waiting = true;
    }
    dialog.Close();
}

// --- Edit Ranks ---

void GuildDialog::OpenEditRanks() {
    DialogHelper dialog(gui, kEditRanksDialogId);
    GUIDialog* window = dialog.OpenFromCentre("Edit Ranks", -250, -200, 501, 400);
    if (window) {
        window->drawCallback = &GuildDialog::DrawEditRanks;
        window->drawContext = this;
        AddTextbox(dialog, kRankNameId, "", 119, 40, 362, 25);
        const char* levels[] = {"Member", "Vice-leader", "Leader"};
        for (int i = 0; i < 3; ++i) {
            GUIButton* button = dialog.AddButton(kRankLevelButtons[i], levels[i], &GuildDialog::SelectRankLevel,
                                                 nullptr, 120 + 120 * i, 76, 120, 23);
            button->actionContext = button;
            button->SetStyle(i == 0 ? 1 : 0);
        }
        dialog.AddButton(kCreateRankId, "Create New Rank", &Call<&GuildDialog::CreateRank>, this, 20, 110, 461, 25);
        AddList(dialog, kRankListId, 20, 20, 165, 461, 135);
        dialog.AddButton(kMoveUpId, "Move Up", &Call<&GuildDialog::MoveRankUp>, this, 21, 310, 153, 25);
        dialog.AddButton(kMoveDownId, "Move Down", &Call<&GuildDialog::MoveRankDown>, this, 174, 310, 153, 25);
        dialog.AddButton(kRemoveRankId, "Remove", &Call<&GuildDialog::RemoveRank>, this, 327, 310, 153, 25);
        dialog.Add(new GUILine(), 7, 355, 487, 1);
        dialog.AddButton(kCloseRanksId, "Close", &Call<&GuildDialog::CloseEditRanks>, this, 190, 365, 120, 25);
    }
    Refresh();
}

void GuildDialog::CloseEditRanks() { DialogHelper(gui, kEditRanksDialogId).Close(); }

void GuildDialog::DrawEditRanks(void* module) {
    GuildDialog* self = static_cast<GuildDialog*>(module);
    DialogHelper dialog(self->gui, kEditRanksDialogId);
    const GUIControl* window = dialog.Dialog();
    if (!window)
        return;
    const int x = window->x;
    const int y = window->y;
    const int w = window->width;
    const int h = window->height;
    dialog.DrawPanelBox(x + 10, y + 30, w - 20, 115);
    dialog.DrawPanelBox(x + 119, y + 75, w - 139, 25);
    DrawLabel(self->app, "Rank name:", x + 20, y + 45);
    DrawLabel(self->app, "Permissions:", x + 20, y + 80);
    dialog.DrawPanelBox(x + 10, y + 155, w - 20, h - 210);
    dialog.DrawPanelBox(x + 20, y + h - 91, w - 40, 27);
}

void GuildDialog::SelectRankLevel(void* button) {
    GUIButton* chosen = static_cast<GUIButton*>(button);
    GUIManager* manager = chosen->GetManager();
    if (manager)
        for (int32_t id : kRankLevelButtons)
            if (GUIButton* other = dynamic_cast<GUIButton*>(manager->FindControl(id)))
                other->SetStyle(0);
    chosen->SetStyle(1);
}

void GuildDialog::CreateRank() {
    DialogHelper dialog(gui, kEditRanksDialogId);
    const GUIButton* vice = dialog.Find<GUIButton>(kLevelViceLeaderId);
    const GUIButton* leader = dialog.Find<GUIButton>(kLevelLeaderId);
    const GUITextbox* name = dialog.Find<GUITextbox>(kRankNameId);
    if (!name)
        return;
    const int level = vice && vice->style != 0 ? 1 : leader && leader->style != 0 ? 2 : 0;
    Sender()->SendGuildCommand10(level, name->GetText());
    waiting = true;
}

uint32_t GuildDialog::SelectedRankId() const {
    const GuildRank* rank = AtIndex(ranks, DialogHelper(gui, kEditRanksDialogId).Find<GUISelect>(kRankListId));
    return rank ? rank->id : 0;
}

void GuildDialog::MoveRankUp() {
    Sender()->SendGuildCommand12(SelectedRankId(), kRankUp);
    waiting = true;
}

void GuildDialog::MoveRankDown() {
    Sender()->SendGuildCommand12(SelectedRankId(), kRankDown);
    waiting = true;
}

void GuildDialog::RemoveRank() {
    Sender()->SendGuildCommand11(SelectedRankId());
    waiting = true;
}
