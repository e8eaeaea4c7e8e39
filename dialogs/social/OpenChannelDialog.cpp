#include "dialogs/social/OpenChannelDialog.h"

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUIText.h"
#include "engine/gui/GUITextbox.h"
#include "game/Lifecycle.h"
#include "protocol/Protocol.h"

namespace {

void OnOpenClicked(void* module) { static_cast<OpenChannelDialog*>(module)->Confirm(); }

void OnCancelClicked(void* module) {
    DialogHelper(static_cast<OpenChannelDialog*>(module)->gui, OpenChannelDialog::kDialogId)
        .CloseAndFocus(GameIds::kChatInput);
}

}  // namespace

OpenChannelDialog* OpenChannelDialog::Instance() {
    static OpenChannelDialog* instance = new OpenChannelDialog();
    return instance;
}

OpenChannelDialog::OpenChannelDialog() { Attach(); }

// The program has one client for its run; taking it again costs nothing and
// keeps the singleton right in a process that makes several, as the tests do.
void OpenChannelDialog::Attach() {
    app = Client::Instance()->app;
    gui = app ? app->gui : nullptr;
}

void OpenChannelDialog::Open() {
    Attach();
    lifecycle::Note("OpenChannelDialog::Open");
    DialogHelper dialog(gui, kDialogId);
    GUIDialog* frame = dialog.OpenFromCentre("Open Channel", -135, -130, 280, 233);
    if (!frame)
        return;
    frame->drawCallback = &OpenChannelDialog::Draw;
    frame->drawContext = this;
    dialog.AddText("Private message:", 20, 43)->id = kLabelId;
    GUITextbox* name = dialog.Add(new GUITextbox(), 125, 40, 135, 25);
    name->id = kNameBoxId;
    dialog.Add(new GUILine(), 17, 75, 246, 1);
    dialog.Add(new GUISelect(), 20, 85, 240, 83)->id = kListId;
    dialog.Add(new GUILine(), 7, 188, 259, 1);
    dialog.AddButton(kOpenButtonId, "Open", &OnOpenClicked, this, 37, 198, 95, 25);
    dialog.AddButton(kCancelButtonId, "Cancel", &OnCancelClicked, this, 147, 198, 95, 25);
    gui->focus = name;
    gui->enterButtonId = kOpenButtonId;
    if (Protocol* protocol = Client::Instance()->protocol)
        protocol->SendRequestChannels();
}

void OpenChannelDialog::Close() {
    Attach();
    DialogHelper(gui, kDialogId).Close();
}

void OpenChannelDialog::ClearChannels() {
    Attach();
    channels.clear();
    if (GUISelect* list = DialogHelper(gui, kDialogId).Find<GUISelect>(kListId))
        list->Clear();
}

void OpenChannelDialog::AddChannel(const std::string& name) {
    Attach();
    channels.push_back(name);
    if (GUISelect* list = DialogHelper(gui, kDialogId).Find<GUISelect>(kListId)) {
        list->AddItem(name);
        list->UpdateScrollbar();
    }
}

void OpenChannelDialog::Confirm() {
    Attach();
    DialogHelper dialog(gui, kDialogId);
    if (!dialog.IsOpen())
        return;
    const GUITextbox* name = dialog.Find<GUITextbox>(kNameBoxId);
    const GUISelect* list = dialog.Find<GUISelect>(kListId);
    const std::string typed = name ? name->GetText() : std::string();
    if (Protocol* protocol = Client::Instance()->protocol) {
        if (!typed.empty())
            protocol->SendJoinChannel(kPrivate, typed);
        else
            protocol->SendJoinChannel(kPublic, list ? list->GetSelectedText() : std::string());
    }
    dialog.CloseAndFocus(GameIds::kChatInput);
}

void OpenChannelDialog::Draw(void* module) { DialogHelper(static_cast<OpenChannelDialog*>(module)->gui, kDialogId).DrawPanel(); }
