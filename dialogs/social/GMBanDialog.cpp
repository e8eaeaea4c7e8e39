#include "dialogs/social/GMBanDialog.h"

#include "client/Client.h"
#include "client/TextUtils.h"
#include "engine/Clock.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITextbox.h"
#include "protocol/Protocol.h"

namespace {

const char kBanCaption[] = "Ban/warn";
const char kUnbanCaption[] = "Unban";
const uint32_t kInfoColor = 0xFF808080;
const uint32_t kBannedColor = 0xFF0000FF;     // red
const uint32_t kNotBannedColor = 0xFF00FF00;  // green
const uint32_t kListFill = 0x1E000000;        // black at alpha 30

// The rule is sent as its number, the first character of its line.
const char* const kRules[] = {
    "1) Invalid name (namelocks, autowarning)",
    "2) Insults, racism etc. (warning or 1-14 day ban)",
    "3) Hassle in public chats (warning or 1-14 day ban)",
    "4) RL Trading, Adverts (warning or any length ban)",
    "5) 3rd party stuff+bots (bot = permaban, major ban)",
    "6) Trading / sharing (traded = permaban, major ban)",
    "7) Destruct. behav., weakness abuse (warning or any length ban)",
    "8) Excessive criticism (warning or any length ban)",
    "9) Invalid payment chargeback (permaban)",
};

// The controls that show a ban and cannot change it.
const int32_t kFormIds[] = {GMBanDialog::kDaysBoxId, GMBanDialog::kCommentBoxId, GMBanDialog::kWarningBoxId,
                            GMBanDialog::kRuleListId};

std::string TextOf(const DialogHelper& dialog, int32_t id) {
    const GUITextbox* box = dialog.Find<GUITextbox>(id);
    return box ? box->GetText() : std::string();
}

void SetTextOf(const DialogHelper& dialog, int32_t id, const std::string& text) {
    if (GUITextbox* box = dialog.Find<GUITextbox>(id))
        box->SetText(text);
}

void OnClose(void* module) { static_cast<GMBanDialog*>(module)->Close(); }

}  // namespace

GMBanDialog* GMBanDialog::Instance() {
    static GMBanDialog instance;
    return &instance;
}

GMBanDialog::GMBanDialog() { Attach(); }

void GMBanDialog::Attach() {
    app = Client::Instance()->app;
    gui = app ? app->gui : nullptr;
}

bool GMBanDialog::LookupDue(const std::string& name, const std::string& lastName, uint32_t now, uint32_t lastTime) {
    return name != lastName && uint32_t(now - lastTime) > kLookupIntervalMs;
}

GMBanDialog::FormChange GMBanDialog::ModeChange(bool isBanned, const std::string& caption) {
    if (isBanned && caption == kBanCaption)
        return FormChange::ShowBan;
    if (!isBanned && caption == kUnbanCaption)
        return FormChange::ClearBan;
    return FormChange::Keep;
}

uint16_t GMBanDialog::DaysValue(const std::string& text) { return uint16_t(uint32_t(ReadLeadingInt(text))); }

void GMBanDialog::SetBanInfo(const std::string& comment, const std::string& time, const std::string& info,
                             bool isBanned) {
    banComment = comment;
    banTime = time;
    infoLine = info;
    banned = isBanned ? 1 : 0;
}

void GMBanDialog::Open() {
    Attach();
    DialogHelper window(gui, kDialogId);
    if (window.IsOpen())
        return;
    // The answer shown belongs to the last dialog's name.
    infoLine.clear();
    banned = 0;

    // 450 wide but starting 175 left of the centre: 50 pixels right of the middle.
    GUIDialog* dialog = window.OpenFromCentre("Banish Player", -175, -200, 450, 400);
    if (!dialog)
        return;
    dialog->drawCallback = &GMBanDialog::Draw;
    dialog->drawContext = this;

    // The form's rows: a label and its text box.
    auto addField = [&window](const char* label, int32_t id, int dy) {
        window.AddText(label, 20, dy + 3);
        if (GUITextbox* box = window.Add(new GUITextbox(), 105, dy, 325, 25))
            box->id = id;
    };
    addField("Player name:", kNameBoxId, 40);
    addField("Time in days:", kDaysBoxId, 110);
    addField("Comments:", kCommentBoxId, 140);
    window.AddText("Warning:", 20, 173);
    if (GUICheckbox* warning = window.Add(new GUICheckbox(), 105, 175, 15, 15))
        warning->id = kWarningBoxId;
    if (GUISelect* rules = window.Add(new GUISelect(), 20, 198, 410, 137)) {
        rules->id = kRuleListId;
        rules->fillColor = kListFill;  // after adding, which copies the dialog's colours
        for (const char* rule : kRules)
            rules->AddItem(rule);
    }
    window.Add(new GUILine(), 7, 354, 335, 1);
    window.AddButton(kActionButtonId, kBanCaption, &GMBanDialog::BanOrUnban, this, 117, 364, 95, 25);
    window.AddButton(kCloseButtonId, "Close", &OnClose, this, 238, 364, 95, 25);
}

void GMBanDialog::Close() {
    Attach();
    DialogHelper(gui, kDialogId).CloseAndFocus(GameIds::kChatInput);
}

void GMBanDialog::Draw(void* module) {
    GMBanDialog* self = static_cast<GMBanDialog*>(module);
    self->Attach();
    const DialogHelper window(self->gui, kDialogId);
    const GUIControl* dialog = window.Dialog();
    // Without a game screen the connection, if any, is the login server's.
    if (!dialog || !Client::Instance()->game)
        return;
    const int x = dialog->x;
    const int y = dialog->y;
    window.DrawPanel();
    window.DrawPanelBox(x + 20, y + 70, dialog->width - 40, 35);

    const std::string name = TextOf(window, kNameBoxId);
    if (Graphics* graphics = self->app->graphics) {
        if (!self->infoLine.empty()) {
            graphics->RenderText(self->infoLine, x + 26, y + 73, kInfoColor, true);
            if (self->banned)
                graphics->RenderText("Currently banned", x + 26, y + 86, kBannedColor, true);
            else
                graphics->RenderText("Not banned", x + 26, y + 86, kNotBannedColor, true);
        } else if (!name.empty()) {
            graphics->RenderText("Updating...", x + 26, y + 73, kInfoColor, true);
        }
    }

    const uint32_t now = GetTicks();
    if (LookupDue(name, self->lastLookupName, now, self->lastLookupTime)) {
        self->lastLookupTime = now;
        self->lastLookupName = name;
        self->infoLine.clear();  // "Updating..." until the answer
        Client::Instance()->protocol->SendBanInfoRequest(name);
    }
    self->ApplyMode();
}

void GMBanDialog::ApplyMode() {
    const DialogHelper window(gui, kDialogId);
    GUIButton* action = window.Find<GUIButton>(kActionButtonId);
    if (!action)
        return;
    switch (ModeChange(banned != 0, action->caption)) {
    case FormChange::ShowBan:
        action->SetCaption(kUnbanCaption);
        SetTextOf(window, kDaysBoxId, banTime);
        SetTextOf(window, kCommentBoxId, banComment);
        for (int32_t id : kFormIds)
            if (GUIControl* control = window.Find<GUIControl>(id))
                control->SetFlag(GUIControl::kDisabled);
        break;
    case FormChange::ClearBan:
        action->SetCaption(kBanCaption);
        SetTextOf(window, kDaysBoxId, std::string());
        SetTextOf(window, kCommentBoxId, std::string());
        for (int32_t id : kFormIds)
            if (GUIControl* control = window.Find<GUIControl>(id))
                control->ClearFlag(GUIControl::kDisabled);
        break;
    case FormChange::Keep:
        break;
    }
}

// Either way a lookup follows, so that the answer shows the new state; it
// leaves the lookup memory alone. Like the server's other commands, an empty
// name is sent as it is.
void GMBanDialog::BanOrUnban(void* module) {
    GMBanDialog* self = static_cast<GMBanDialog*>(module);
    self->Attach();
    const DialogHelper window(self->gui, kDialogId);
    const GUIButton* action = window.Find<GUIButton>(kActionButtonId);
    if (!action)
        return;
    Protocol* protocol = Client::Instance()->protocol;
    const std::string name = TextOf(window, kNameBoxId);
    if (action->caption == kBanCaption) {
        const GUISelect* rules = window.Find<GUISelect>(kRuleListId);
        const GUICheckbox* warning = window.Find<GUICheckbox>(kWarningBoxId);
        const std::string rule = rules ? rules->GetSelectedText().substr(0, 1) : std::string();
        protocol->SendBanish(name, DaysValue(TextOf(window, kDaysBoxId)), TextOf(window, kCommentBoxId),
                             warning && warning->checked ? 1 : 0, rule);
    } else {
        protocol->SendOp24(name);
    }
    protocol->SendBanInfoRequest(name);
}
