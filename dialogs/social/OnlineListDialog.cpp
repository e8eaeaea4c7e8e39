#include "dialogs/social/OnlineListDialog.h"

#include <ctime>

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "protocol/Protocol.h"

namespace {

const uint32_t kListFill = 0x1E000000;  // black at alpha 30

void OnClose(void* list) { static_cast<OnlineListDialog*>(list)->Close(); }

}  // namespace

OnlineListDialog* OnlineListDialog::Instance() {
    static OnlineListDialog instance;
    return &instance;
}

OnlineListDialog::OnlineListDialog() { Attach(); }

void OnlineListDialog::Attach() {
    app = Client::Instance()->app;
    gui = app ? app->gui : nullptr;
}

int64_t OnlineListDialog::Now() const { return clock ? clock() : int64_t(std::time(nullptr)); }

bool OnlineListDialog::RefreshDue(int64_t now, int64_t last) {
    const int64_t elapsed = now - last;
    return elapsed >= kRefreshSeconds || elapsed < 0;
}

void OnlineListDialog::Open() {
    Attach();
    DialogHelper window(gui, kDialogId);
    GUIDialog* dialog = window.OpenCentred("Online List", 450, 400);
    if (!dialog)
        return;
    dialog->drawCallback = &OnlineListDialog::Draw;
    dialog->drawContext = this;

    GUISelect* list = window.Add(new GUISelect(), 20, 40, 410, 295);
    window.Add(new GUILine(), 7, 355, 436, 1);
    window.AddButton(0, "Teleport Next", &OnlineListDialog::TeleportNext, this, 117, 364, 95, 25);
    window.AddButton(0, "Close", &OnClose, this, 238, 364, 95, 25);
    if (list) {
        list->id = kListId;
        list->rowHeight = kRowHeight;
        list->fillColor = kListFill;  // after adding, which copies the dialog's colours
        gui->focus = list;
    }
}

void OnlineListDialog::Close() {
    Attach();
    DialogHelper(gui, kDialogId).CloseAndFocus(GameIds::kChatInput);
}

void OnlineListDialog::BeginUpdate() {
    Attach();
    if (GUISelect* list = DialogHelper(gui, kDialogId).Find<GUISelect>(kListId)) {
        savedIndex = list->selectedIndex;
        list->Clear();
    }
}

void OnlineListDialog::AddEntry(const std::string& name, int level, int idleSeconds, int onlineMinutes) {
    Attach();
    GUISelect* list = DialogHelper(gui, kDialogId).Find<GUISelect>(kListId);
    if (list && list->items.size() < kMaxRows)
        list->AddItem(name, "Level " + std::to_string(level), 0, std::to_string(idleSeconds) + " seconds idle",
                      std::to_string(onlineMinutes) + " minutes online");
}

void OnlineListDialog::EndUpdate() {
    Attach();
    if (GUISelect* list = DialogHelper(gui, kDialogId).Find<GUISelect>(kListId)) {
        list->selectedIndex = savedIndex;
        list->SyncScroll();
    }
}

// No wrap-around: past the last row the selection names nobody and the
// button sends nothing until the selection moves or a longer list comes.
void OnlineListDialog::TeleportNext(void* module) {
    OnlineListDialog* self = static_cast<OnlineListDialog*>(module);
    self->Attach();
    GUISelect* list = DialogHelper(self->gui, kDialogId).Find<GUISelect>(kListId);
    const std::string name = list ? list->GetSelectedText() : std::string();
    if (name.empty())
        return;
    Client::Instance()->protocol->SendChatMessage("!t " + name);
    ++list->selectedIndex;
}

void OnlineListDialog::Draw(void* module) {
    OnlineListDialog* self = static_cast<OnlineListDialog*>(module);
    self->Attach();
    const DialogHelper window(self->gui, kDialogId);
    // Without a game screen the connection, if any, is the login server's.
    if (!window.IsOpen() || !Client::Instance()->game)
        return;
    window.DrawPanel();
    const int64_t now = self->Now();
    if (RefreshDue(now, self->lastRequest)) {
        self->lastRequest = now;
        Client::Instance()->protocol->SendRequestOnlineList();
    }
}
