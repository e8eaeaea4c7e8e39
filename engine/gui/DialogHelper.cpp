#include "engine/gui/DialogHelper.h"

#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIText.h"

GUIControl* DialogHelper::Dialog() const { return FindControl(id_); }

GUIControl* DialogHelper::FindControl(int32_t id) const { return gui_ ? gui_->FindControl(id) : nullptr; }

GUIDialog* DialogHelper::OpenAt(const std::string& title, int x, int y, int width, int height) {
    if (!gui_ || IsOpen())
        return nullptr;
    GUIDialog* dialog = new GUIDialog();
    dialog->SetRect(x, y, width, height);
    dialog->SetTitle(title);
    dialog->id = id_;
    gui_->AddControl(dialog);
    return dialog;
}

GUIDialog* DialogHelper::OpenFromCentre(const std::string& title, int left, int top, int width, int height) {
    const KEngine2* app = gui_ ? gui_->GetOwner() : nullptr;
    const int cx = app ? app->clientWidth / 2 : 0;
    const int cy = app ? app->clientHeight / 2 : 0;
    return OpenAt(title, cx + left, cy + top, width, height);
}

GUIDialog* DialogHelper::OpenCentred(const std::string& title, int width, int height) {
    return OpenFromCentre(title, -(width / 2), -(height / 2), width, height);
}

GUIControl* DialogHelper::AddControl(GUIControl* control, int dx, int dy, int width, int height) {
    GUIControl* dialog = Dialog();
    if (!dialog) {
        delete control;
        return nullptr;
    }
    control->SetRect(dialog->x + dx, dialog->y + dy, width, height);
    dialog->AddChild(control);
    return control;
}

GUIButton* DialogHelper::AddButton(int32_t id, const std::string& caption, GUIButton::Action action, void* context,
                                   int dx, int dy, int width, int height) {
    return Add(new GUIButton(id, caption, action, context), dx, dy, width, height);
}

GUIText* DialogHelper::AddText(const std::string& text, int dx, int dy) {
    GUIText* label = new GUIText();
    label->SetText(text);
    return Add(label, dx, dy, 0, 0);
}

void DialogHelper::DrawPanel() const {
    if (const GUIControl* dialog = Dialog())
        DrawPanelBox(dialog->x + 10, dialog->y + 30, dialog->width - 20, dialog->height - 85);
}

void DialogHelper::DrawPanelBox(int x, int y, int width, int height, uint32_t fill) const {
    KEngine2* app = gui_ ? gui_->GetOwner() : nullptr;
    if (!app || !app->graphics || !gui_->root)
        return;
    app->graphics->RenderBox(x, y, width, height, gui_->root->darkColor, gui_->root->lightColor, fill);
}

void DialogHelper::Close() const {
    if (gui_ && IsOpen())
        gui_->DeleteLater(id_);
}

void DialogHelper::CloseAndFocus(int32_t focusId) const {
    Close();
    if (gui_)
        gui_->focus = gui_->FindControl(focusId);
}
