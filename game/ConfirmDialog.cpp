#include "game/ConfirmDialog.h"

#include "client/Client.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "game/GameControlIds.h"

namespace {
constexpr int32_t kChatInputId = GameIds::kChatInput;
}  // namespace

ConfirmDialog* ConfirmDialog::Instance() {
    static ConfirmDialog* instance = new ConfirmDialog();
    return instance;
}

KEngine2* ConfirmDialog::App() const { return Client::Instance()->app; }

GUIManager* ConfirmDialog::Gui() const {
    KEngine2* app = App();
    return app ? app->gui : nullptr;
}

void ConfirmDialog::Show(const std::string& title, const std::string& newText, Action newAction, void* context) {
    text = newText;
    action = newAction;
    actionContext = context;
    GUIManager* gui = Gui();
    if (!gui || gui->FindControl(kDialogId))
        return;

    KEngine2* app = App();
    const int cx = app->clientWidth / 2;
    const int cy = app->clientHeight / 2;
    GUIDialog* dialog = new GUIDialog();
    dialog->SetRect(cx - 140, cy - 67, kWidth, kHeight);
    dialog->SetTitle(title);
    dialog->id = kDialogId;
    gui->AddControl(dialog, true);
    dialog->drawCallback = &ConfirmDialog::DrawText;
    dialog->drawContext = this;

    GUILine* line = new GUILine();
    line->SetRect(cx - 133, cy + 23, 266, 1);
    dialog->AddChild(line, true);

    GUIButton* ok = new GUIButton(0, "OK", &ConfirmDialog::OnOk, this);
    ok->SetRect(cx - 108, cy + 33, 95, 25);
    dialog->AddChild(ok, true);

    GUIButton* cancel = new GUIButton(0, "Cancel", &ConfirmDialog::OnCancel, this);
    cancel->SetRect(cx + 13, cy + 33, 95, 25);
    dialog->AddChild(cancel, true);
}

void ConfirmDialog::RemoveBox() {
    GUIManager* gui = Gui();
    if (!gui)
        return;
    gui->DeleteLater(kDialogId);
    gui->focus = gui->FindControl(kChatInputId);
}

void ConfirmDialog::OnOk(void* self) {
    ConfirmDialog* dialog = static_cast<ConfirmDialog*>(self);
    dialog->RemoveBox();
    if (dialog->action)
        dialog->action(dialog->actionContext);
}

void ConfirmDialog::OnCancel(void* self) { static_cast<ConfirmDialog*>(self)->RemoveBox(); }

void ConfirmDialog::Close() {
    RemoveBox();
    action = nullptr;
    actionContext = nullptr;
    text.clear();
}

void ConfirmDialog::DrawText(void* self) {
    ConfirmDialog* dialog = static_cast<ConfirmDialog*>(self);
    GUIManager* gui = dialog->Gui();
    KEngine2* app = dialog->App();
    if (!gui || !app || !app->graphics)
        return;
    const GUIControl* box = gui->FindControl(kDialogId);
    if (!box)
        return;
    DialogHelper(gui, kDialogId).DrawPanel();
    app->graphics->RenderText(dialog->text, box->x + 20, box->y + 40, kTextColor, true);
}
