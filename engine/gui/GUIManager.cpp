#include "engine/gui/GUIManager.h"

#include <algorithm>
#include <cmath>

#include "engine/Clock.h"
#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIMenu.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUIText.h"
#include "engine/gui/GUITextbox.h"

namespace {

constexpr uint32_t kTooltipRestMs = 300;
constexpr uint32_t kTooltipEdge = 0xDC000000;
constexpr uint32_t kTooltipText = 0xFFDCDCDC;
constexpr uint32_t kMessagePanelFill = 0x1E000000;

// Virtual keys of the keyboard routing.
enum : uint16_t {
    kKeyEnd = 35,
    kKeyHome = 36,
    kKeyLeft = 37,
    kKeyUp = 38,
    kKeyRight = 39,
    kKeyDown = 40,
    kKeyDelete = 46,
    kKeyA = 65,
    kKeyC = 67,
    kKeyV = 86,
};

int Round(float value) { return int(std::lround(value)); }

int TextWidth(KEngine2* owner, const std::string& text) {
    return owner && owner->font ? owner->font->GetTextWidth(text) : 0;
}

// The message box's sunken inner panel, drawn after the dialog's frame.
void MessageBoxDrawPanel(void* context) {
    GUIManager* manager = static_cast<GUIManager*>(context);
    GUIControl* dialog = manager->FindControl(GUIManager::kMessageBoxId);
    KEngine2* owner = manager->GetOwner();
    if (!dialog || !owner || !owner->graphics)
        return;
    owner->graphics->RenderBox(dialog->x + 10, dialog->y + 28, dialog->width - 20, dialog->height - 71,
                               manager->root->darkColor, manager->root->lightColor, kMessagePanelFill);
}

void MessageBoxClose(void* context) { static_cast<GUIManager*>(context)->DeleteLater(GUIManager::kMessageBoxId); }

}  // namespace

GUIManager::DispatchScope::DispatchScope(GUIManager& manager) : manager_(manager) { ++manager_.dispatchDepth_; }

GUIManager::DispatchScope::~DispatchScope() {
    if (--manager_.dispatchDepth_ > 0)
        return;
    // Take the list whole before deleting, so that nothing a destructor does
    // can change it under the loop.
    while (!manager_.disposed_.empty()) {
        std::vector<GUIControl*> batch;
        batch.swap(manager_.disposed_);
        for (GUIControl* control : batch)
            delete control;
    }
}

GUIManager::GUIManager() : root(new GUIControl()) {}

GUIManager* GUIManager::Attach(KEngine2& app) {
    GUIManager* manager = new GUIManager();
    manager->SetOwner(&app);
    delete app.guiLayer;
    app.gui = manager;
    app.guiLayer = manager;
    return manager;
}

GUIManager::~GUIManager() {
    delete root;
    root = nullptr;
    for (GUIControl* control : disposed_)
        delete control;
    disposed_.clear();
    tooltips.clear();
    deferred.clear();
}

void GUIManager::SyncRoot() { root->owner = GetOwner(); }

int GUIManager::GetSkin() const { return root ? root->skin : 0; }

void GUIManager::Dispose(GUIControl* control) {
    if (!control)
        return;
    if (dispatchDepth_ > 0)
        disposed_.push_back(control);
    else
        delete control;
}

void GUIManager::AddControl(GUIControl* control, bool atEnd) {
    if (!control)
        return;
    SyncRoot();
    root->AddChild(control, atEnd);
    if (GUIMenu* menu = dynamic_cast<GUIMenu*>(control)) {
        GUIMenu* previous = openMenu;
        // A select callback may open a new menu while the old one is still in
        // its OnMouseUp: RemoveControl only unlinks it then, and it is deleted
        // once that dispatch has returned.
        if (previous && previous != menu)
            RemoveControl(previous, true);
        openMenu = menu;
    }
}

void GUIManager::RemoveControl(GUIControl* control, bool deleteIt) {
    if (!control)
        return;
    const bool wasOpenMenu = control == openMenu;
    root->RemoveChild(control, deleteIt);
    if (wasOpenMenu)
        openMenu = nullptr;
}

void GUIManager::DeleteLater(int32_t id) {
    GUIControl* control = root->FindById(id);
    // Id 0 is the root's, which is never deleted.
    if (!control || control == root)
        return;
    control->pendingDeletion = true;
    deferred.push_back(control);
    if (inInput_ && input_ != 0)
        closures_.push_back({control, input_});
}

GUIControl* GUIManager::FindControl(int32_t id) { return root->FindById(id); }

GUIControl* GUIManager::ControlAt(float x, float y) {
    if (handledInput_ != 0)
        for (const Closure& closure : closures_)
            if (closure.input == handledInput_)
                return HitCovering(root, x, y);
    return root->HitTest(x, y);
}

bool GUIManager::ClosedByHandledInput(const GUIControl* control) const {
    for (const Closure& closure : closures_)
        if (closure.control == control && closure.input == handledInput_)
            return true;
    return false;
}

GUIControl* GUIManager::HitCovering(GUIControl* control, float px, float py) const {
    if (control->HasFlag(GUIControl::kHidden))
        return nullptr;
    if (control->pendingDeletion && !ClosedByHandledInput(control))
        return nullptr;
    if (float(control->x) <= px && px < float(control->x + control->width) && float(control->y) <= py &&
        py < float(control->y + control->height))
        return control;
    for (auto it = control->children.rbegin(); it != control->children.rend(); ++it)
        if (GUIControl* found = HitCovering(*it, px, py))
            return found;
    return nullptr;
}

bool GUIManager::InputSpent() const {
    return handledInput_ != 0 &&
           std::find(spentInputs_.begin(), spentInputs_.end(), handledInput_) != spentInputs_.end();
}

void GUIManager::ForgetControl(GUIControl* control) {
    if (!control)
        return;
    if (focus == control)
        focus = nullptr;
    // A menu that leaves the tree any other way than through the release that
    // closes it must not be deleted a second time by that release.
    if (openMenu == control)
        openMenu = nullptr;
    if (control->pendingDeletion) {
        deferred.erase(std::remove(deferred.begin(), deferred.end(), control), deferred.end());
        control->pendingDeletion = false;
    }
    closures_.erase(std::remove_if(closures_.begin(), closures_.end(),
                                   [control](const Closure& closure) { return closure.control == control; }),
                    closures_.end());
}

void GUIManager::OnMouseDown(int x, int y) {
    InputScope input(*this);
    DispatchScope scope(*this);
    SyncRoot();
    root->DispatchMouseDown(x, y);
}

void GUIManager::OnMouseUp(int x, int y) {
    InputScope input(*this);
    DispatchScope scope(*this);
    SyncRoot();
    GUIMenu* menu = openMenu;
    root->DispatchMouseUp(x, y);
    // Any release closes the open menu, after the menu itself has handled it,
    // unless the release opened another one.
    if (menu && openMenu == menu)
        RemoveControl(menu, true);
}

void GUIManager::OnMouseMove(int x, int y) {
    InputScope input(*this);
    DispatchScope scope(*this);
    SyncRoot();
    root->DispatchMouseMove(x, y);
    mouseX = float(x);
    mouseY = float(y);
    MouseActivity();
}

void GUIManager::MouseActivity() {
    const uint32_t now = GetTicks();
    lastMoveTime = now;
    if (activeTooltip && (std::abs(Round(mouseX - tooltipX)) >= 5 || std::abs(Round(mouseY - tooltipY)) >= 5)) {
        activeTooltip = nullptr;
        // The next region's tooltip may show at once, without a new rest.
        lastMoveTime = now - kTooltipRestMs;
    }
}

void GUIManager::OnMouseWheel(int steps) {
    InputScope input(*this);
    DispatchScope scope(*this);
    SyncRoot();
    root->DispatchMouseWheel(Round(mouseX), Round(mouseY), steps);
}

GUIControl* GUIManager::KeyFocus() const {
    return focus && !focus->IsPendingDeletion() ? focus : nullptr;
}

void GUIManager::PressButton(int32_t id) {
    GUIButton* button = dynamic_cast<GUIButton*>(FindControl(id));
    // A disabled button cannot be pressed with Enter either: the "Connecting"
    // box disables its button so that it cannot be closed.
    if (!button || button->IsDisabledInTree())
        return;
    // Only Enter presses buttons here: the key now belongs to the button.
    if (input_ != 0)
        spentInputs_.push_back(input_);
    button->action(button->actionContext);
}

void GUIManager::CycleFocus() {
    const std::vector<GUIControl*> all = root->CollectDescendants();
    auto isCandidate = [](GUIControl* control) {
        return !control->HasFlag(GUIControl::kHidden) && dynamic_cast<GUITextbox*>(control) != nullptr;
    };
    // An empty tree has nothing to take the focus.
    if (all.empty())
        return;
    GUIControl* current = KeyFocus();
    auto at = dynamic_cast<GUITextbox*>(current) ? std::find(all.begin(), all.end(), current) : all.end();
    auto next = std::find_if(at == all.end() ? all.begin() : at + 1, all.end(), isCandidate);
    // Past the last box, or without any visible box, the focus rests on the
    // first top-level control (it takes no keys); a further Tab comes round to
    // the first box.
    focus = next != all.end() ? *next : all.front();
}

void GUIManager::OnKey(uint16_t virtualKey, uint16_t character, bool ctrl, bool shift) {
    InputScope input(*this);
    DispatchScope scope(*this);
    SyncRoot();
    if (character == 13 && (FindControl(kMessageBoxId) || enterButtonId > 0)) {
        // With the message box open, Enter never reaches the default button.
        PressButton(FindControl(kMessageBoxId) ? kMessageButtonId : enterButtonId);
        if (KeyFocus())
            EditFocused(virtualKey, character, ctrl, shift);
        return;
    }
    if (character == 9) {
        CycleFocus();
        return;
    }
    if (!KeyFocus())
        return;
    if (virtualKey == kKeyUp || virtualKey == kKeyDown) {
        if (GUISelect* list = dynamic_cast<GUISelect*>(KeyFocus())) {
            if (virtualKey == kKeyUp)
                list->SelectPrevious();
            else
                list->SelectNext();
        }
        if (!KeyFocus())
            return;
    }
    EditFocused(virtualKey, character, ctrl, shift);
}

void GUIManager::EditFocused(uint16_t virtualKey, uint16_t character, bool ctrl, bool shift) {
    const bool editingInput = character == 8 || character == 13 || character >= 32;
    const bool editingKey = virtualKey == kKeyDelete || virtualKey == kKeyHome || virtualKey == kKeyEnd ||
                            virtualKey == kKeyV || virtualKey == kKeyC || virtualKey == kKeyA ||
                            virtualKey == kKeyLeft || virtualKey == kKeyRight;
    if (!editingInput && !editingKey)
        return;
    GUITextbox* box = dynamic_cast<GUITextbox*>(KeyFocus());
    if (!box || box->HasFlag(GUIControl::kDisabled))
        return;
    box->HandleKey(virtualKey, character, ctrl, shift, shiftForArrows);
}

void GUIManager::Update() {
    SyncRoot();
    // Every queued record of this pass has been handled by now.
    spentInputs_.clear();
    if (!deferred.empty()) {
        // Deleting forgets each control, which takes it off the list.
        while (!deferred.empty()) {
            GUIControl* control = deferred.front();
            GUIControl* holder = control->GetParent();
            bool inTree = false;
            for (GUIControl* up = holder; up; up = up->GetParent())
                if (up == root) {
                    inTree = true;
                    break;
                }
            if (inTree) {
                holder->DestroyChild(control);
            } else {
                // Taken out of the tree by its owner meanwhile: not ours to delete.
                ForgetControl(control);
            }
        }
        DispatchScope scope(*this);
        // Controls may have moved from under a resting mouse: tell them again.
        const int x = Round(mouseX);
        const int y = Round(mouseY);
        root->DispatchMouseMove(x, y);
        mouseX = float(x);
        mouseY = float(y);
        MouseActivity();
    }

    DispatchScope scope(*this);  // draw callbacks may close controls too
    root->DrawTree();

    if (activeTooltip) {
        DrawTooltip(activeTooltip, mouseX, mouseY);
        return;
    }
    if (GetTicks() - lastMoveTime > kTooltipRestMs) {
        for (auto& entry : tooltips) {
            TooltipRegion* region = entry.second.get();
            if (region->x <= mouseX && mouseX <= region->x + region->width && region->y <= mouseY &&
                mouseY <= region->y + region->height) {
                activeTooltip = region;
                tooltipX = mouseX;
                tooltipY = mouseY;
                DrawTooltip(region, mouseX, mouseY);
                break;
            }
        }
    }
}

void GUIManager::AddTooltip(int key, float x, float y, float width, float height,
                            const std::vector<std::string>& lines) {
    std::unique_ptr<TooltipRegion>& region = tooltips[key];
    if (!region)
        region.reset(new TooltipRegion());
    region->x = x;
    region->y = y;
    region->width = width;
    region->height = height;
    region->lines = lines;
}

void GUIManager::RemoveTooltip(int key) {
    auto it = tooltips.find(key);
    if (it == tooltips.end())
        return;
    if (activeTooltip == it->second.get())
        activeTooltip = nullptr;
    tooltips.erase(it);
}

void GUIManager::ClearTooltips() {
    activeTooltip = nullptr;
    tooltips.clear();
}

void GUIManager::DrawTooltip(TooltipRegion* region, float px, float py) {
    KEngine2* owner = GetOwner();
    if (!region || !owner || !owner->graphics)
        return;
    int widest = 0;
    for (const std::string& line : region->lines)
        widest = std::max(widest, TextWidth(owner, line));
    const int boxWidth = std::max(100, widest + 10);
    const int boxHeight = 10 + 15 * int(region->lines.size());
    float top = std::max(0.0f, py - float(boxHeight));
    float left = px;
    if (px + float(boxWidth) > float(owner->clientWidth - 5))
        left = float(owner->clientWidth - boxWidth - 5);
    const uint32_t grey = std::min(255u, (root->darkColor & 0xFF) + 1);
    const uint32_t fill = 0xDC000000 | grey << 16 | grey << 8 | grey;
    const int x = int(left);
    const int y = int(top);
    owner->graphics->RenderBox(x, y, boxWidth, boxHeight, kTooltipEdge, kTooltipEdge, fill);
    for (size_t i = 0; i < region->lines.size(); ++i)
        owner->graphics->RenderText(region->lines[i], x + 5, y + 5 + 15 * int(i), kTooltipText, true);
}

void GUIManager::MessageBox(const std::string& title, const std::string& text) {
    SyncRoot();
    KEngine2* owner = GetOwner();
    const int textWidth = TextWidth(owner, text);
    GUIDialog* dialog = dynamic_cast<GUIDialog*>(FindControl(kMessageBoxId));
    if (!dialog) {
        const int cx = owner ? owner->clientWidth / 2 : 0;
        const int cy = owner ? owner->clientHeight / 2 : 0;
        dialog = new GUIDialog();
        dialog->SetRect(cx - 135, cy - 100, 270, 100);
        dialog->SetTitle(title);
        dialog->id = kMessageBoxId;
        AddControl(dialog, true);
        dialog->drawCallback = &MessageBoxDrawPanel;
        dialog->drawContext = this;

        GUIText* label = new GUIText();
        label->id = kMessageTextId;
        label->SetText(text);
        label->SetRect(cx - textWidth / 2, cy - 65, 0, 0);
        dialog->AddChild(label, true);

        GUIButton* button = new GUIButton();
        button->id = kMessageButtonId;
        button->SetCaption("Close");
        button->SetRect(cx - 50, cy - 35, 100, 25);
        button->action = &MessageBoxClose;
        button->actionContext = this;
        dialog->AddChild(button, true);
        return;
    }
    dialog->SetTitle(title);
    if (GUIText* label = dynamic_cast<GUIText*>(FindControl(kMessageTextId))) {
        label->SetText(text);
        label->SetRect(dialog->x + 135 - textWidth / 2, dialog->y + 35, label->width, label->height);
    }
    if (GUIControl* button = FindControl(kMessageButtonId))
        button->ClearFlag(GUIControl::kDisabled);
}
