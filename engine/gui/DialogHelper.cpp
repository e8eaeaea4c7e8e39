#include "engine/gui/DialogHelper.h"

#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITabgroup.h"
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

GUITabgroup* DialogHelper::AddTabStrip(int32_t id, int dx, int dy, int width, int height, int tabWidth,
                                       std::initializer_list<StripTab> tabs, void* context) {
    constexpr uint32_t kStripFill = 0x32000000;  // black at alpha 50
    GUITabgroup* group = Add(new GUITabgroup(), dx, dy, width, height);
    if (!group)
        return nullptr;
    group->id = id;
    group->SetTabWidth(tabWidth);
    group->fillColor = kStripFill;
    for (const StripTab& entry : tabs) {
        GUITab* tab = new GUITab();
        tab->id = entry.id;
        tab->caption = entry.caption;
        tab->clickCallback = entry.onClick;
        tab->clickContext = context;
        group->AddTab(tab);
        // Set after adding, which copies the group's colours.
        tab->fillColor = 0;
    }
    return group;
}

void DialogHelper::DrawPanel() const {
    if (const GUIControl* dialog = Dialog())
        DrawPanelBox(dialog->x + 10, dialog->y + 30, dialog->width - 20, dialog->height - 85);
}

void DialogHelper::DrawPanelBox(int x, int y, int width, int height) const {
    DrawPanelBox(x, y, width, height, kPanelFill);
}

void DialogHelper::DrawPanelBox(int x, int y, int width, int height, uint32_t fill, bool highlight) const {
    KEngine2* app = gui_ ? gui_->GetOwner() : nullptr;
    if (!app || !app->graphics || !gui_->root)
        return;
    const uint32_t topLeft = highlight ? kHighlightEdges : gui_->root->darkColor;
    const uint32_t bottomRight = highlight ? kHighlightEdges : gui_->root->lightColor;
    app->graphics->RenderBox(x, y, width, height, topLeft, bottomRight, fill);
}

void DialogHelper::DrawFrameBox(int x, int y, int width, int height) const {
    DrawPanelBox(x, y, width, height, 0);
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
