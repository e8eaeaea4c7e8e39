#include "engine/gui/GUIControl.h"

#include <algorithm>

#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"

namespace {

// Copies of child lists taken during a walk, stacked: each level appends its
// copy and cuts the stack back when it is done, so a walk over the whole tree
// allocates nothing once the stack has grown. The GUI runs on the main thread.
std::vector<GUIControl*>& SnapshotStack() {
    static std::vector<GUIControl*> stack;
    return stack;
}

// Calls visit for each child the control had when the walk began, in list
// order, skipping any that a callback has unlinked or closed meanwhile.
template <class Visit>
void ForEachChild(GUIControl* control, Visit visit) {
    std::vector<GUIControl*>& stack = SnapshotStack();
    const size_t begin = stack.size();
    stack.insert(stack.end(), control->children.begin(), control->children.end());
    const size_t end = stack.size();
    for (size_t i = begin; i < end; ++i) {
        GUIControl* child = stack[i];
        if (child->GetParent() == control && !child->IsPendingDeletion())
            visit(child);
    }
    stack.resize(begin);
}

constexpr uint32_t kGreyCover = 0x80808080;

}  // namespace

GUIControl::GUIControl() = default;

GUIControl::~GUIControl() {
    GUIManager* manager = GetManager();
    for (GUIControl* child : children) {
        if (manager)
            manager->ForgetControl(child);
        child->parent = nullptr;
        delete child;
    }
}

Graphics* GUIControl::GetGraphics() const { return owner ? owner->graphics : nullptr; }
Font* GUIControl::GetFont() const { return owner ? owner->font : nullptr; }
GUIManager* GUIControl::GetManager() const { return owner ? owner->gui : nullptr; }

void GUIControl::CopyStyle(const GUIControl& from) {
    skin = from.skin;
    lightColor = from.lightColor;
    darkColor = from.darkColor;
    fillColor = from.fillColor;
    textColor = from.textColor;
    arrowUpIcon = from.arrowUpIcon;
    arrowDownIcon = from.arrowDownIcon;
    arrowLeftIcon = from.arrowLeftIcon;
    arrowRightIcon = from.arrowRightIcon;
}

void GUIControl::AddChild(GUIControl* child, bool atEnd) {
    if (!child || child == this)
        return;
    if (child->parent)
        child->parent->Unlink(child);
    child->owner = owner;
    child->CopyStyle(*this);
    child->parent = this;
    if (atEnd)
        children.push_back(child);
    else
        children.insert(children.begin(), child);
}

void GUIControl::Unlink(GUIControl* child) {
    auto it = std::find(children.begin(), children.end(), child);
    if (it != children.end())
        children.erase(it);
    child->parent = nullptr;
}

void GUIControl::DestroyChild(GUIControl* child) {
    Unlink(child);
    if (GUIManager* manager = GetManager()) {
        manager->ForgetControl(child);
        manager->Dispose(child);
    } else {
        delete child;
    }
}

bool GUIControl::RemoveChild(GUIControl* target, bool deleteIt) {
    if (target == this)
        return true;
    // A control occurs once in the tree, so its parent chain tells whether it
    // is in this subtree.
    bool below = false;
    for (GUIControl* up = target ? target->parent : nullptr; up; up = up->parent)
        if (up == this) {
            below = true;
            break;
        }
    if (!below)
        return false;
    GUIControl* holder = target->parent;
    if (deleteIt) {
        holder->DestroyChild(target);
    } else {
        holder->Unlink(target);
        if (GUIManager* manager = GetManager())
            manager->ForgetControl(target);
    }
    return false;
}

bool GUIControl::DeleteById(int32_t wanted) {
    if (id == wanted)
        return true;
    GUIControl* found = FindById(wanted);
    if (found && found != this)
        found->parent->DestroyChild(found);
    return false;
}

GUIControl* GUIControl::FindById(int32_t wanted) {
    if (!Walkable())
        return nullptr;
    if (id == wanted)
        return this;
    for (GUIControl* child : children)
        if (GUIControl* found = child->FindById(wanted))
            return found;
    return nullptr;
}

GUIControl* GUIControl::HitTest(float px, float py) {
    if (HasFlag(kHidden) || !Walkable())
        return nullptr;
    if (float(x) <= px && px < float(x + width) && float(y) <= py && py < float(y + height))
        return this;
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        if (GUIControl* found = (*it)->HitTest(px, py))
            return found;
    return nullptr;
}

void GUIControl::SetRect(int newX, int newY, int newWidth, int newHeight) {
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
}

void GUIControl::MoveBy(int dx, int dy) {
    x += dx;
    y += dy;
    for (GUIControl* child : children)
        child->MoveBy(dx, dy);
}

void GUIControl::SetStyleTree(int newSkin) {
    skin = newSkin;
    for (GUIControl* child : children)
        child->SetStyleTree(newSkin);
}

void GUIControl::SetColorsTree(uint32_t light, uint32_t dark) {
    lightColor = light;
    darkColor = dark;
    for (GUIControl* child : children)
        child->SetColorsTree(light, dark);
}

namespace {
void Collect(GUIControl* control, std::vector<GUIControl*>& out) {
    for (GUIControl* child : control->children) {
        if (child->IsPendingDeletion())
            continue;
        out.push_back(child);
        Collect(child, out);
    }
}
}  // namespace

std::vector<GUIControl*> GUIControl::CollectDescendants() {
    std::vector<GUIControl*> out;
    Collect(this, out);
    return out;
}

bool GUIControl::IsPendingDeletion() const {
    for (const GUIControl* c = this; c; c = c->parent)
        if (c->pendingDeletion)
            return true;
    return false;
}

bool GUIControl::IsDisabledInTree() const {
    for (const GUIControl* c = this; c; c = c->parent)
        if (c->HasFlag(kDisabled))
            return true;
    return false;
}

void GUIControl::DrawTree() {
    if (HasFlag(kHidden) || !Walkable())
        return;
    Draw();
    if (drawCallback)
        drawCallback(drawContext);
    ForEachChild(this, [](GUIControl* child) { child->DrawTree(); });
    if (HasFlag(kDisabled))
        if (Graphics* graphics = GetGraphics())
            graphics->RenderRectangle(kGreyCover, x, y, width, height);
}

namespace {

// The topmost visible dialog among the control's children that contains the
// point, or null.
GUIDialog* DialogAt(GUIControl* control, int px, int py) {
    for (auto it = control->children.rbegin(); it != control->children.rend(); ++it) {
        GUIControl* child = *it;
        if (child->HasFlag(GUIControl::kHidden) || child->IsPendingDeletion() || !child->Contains(px, py))
            continue;
        if (GUIDialog* dialog = dynamic_cast<GUIDialog*>(child))
            return dialog;
    }
    return nullptr;
}

// The hit-tested dispatch shared by presses and wheel turns: the control hears
// the event when the point lies in it; then, if the point lies on one of its
// dialogs, only the topmost such dialog goes on, else every child decides for
// itself.
template <class Hear>
void DispatchHitTested(GUIControl* control, int px, int py, Hear hear) {
    if (control->HasFlag(GUIControl::kHidden | GUIControl::kDisabled) || control->IsPendingDeletion())
        return;
    for (;;) {
        if (control->Contains(px, py))
            hear(control);
        if (control->IsPendingDeletion())
            return;  // a callback closed it: its controls hear no more
        GUIDialog* dialog = DialogAt(control, px, py);
        if (!dialog)
            break;
        if (dialog->HasFlag(GUIControl::kDisabled))
            return;
        control = dialog;
    }
    ForEachChild(control, [&](GUIControl* child) { DispatchHitTested(child, px, py, hear); });
}

}  // namespace

void GUIControl::DispatchMouseDown(int px, int py) {
    DispatchHitTested(this, px, py, [px, py](GUIControl* control) {
        control->OnMouseDown(px, py);
        if (control->clickCallback)
            control->clickCallback(control->clickContext, px, py);
    });
}

void GUIControl::DispatchMouseWheel(int px, int py, int steps) {
    DispatchHitTested(this, px, py, [steps](GUIControl* control) { control->OnMouseWheel(steps); });
}

void GUIControl::DispatchMouseUp(int px, int py) {
    if (HasFlag(kHidden | kDisabled) || !Walkable())
        return;
    OnMouseUp(px, py);
    ForEachChild(this, [px, py](GUIControl* child) { child->DispatchMouseUp(px, py); });
}

void GUIControl::DispatchMouseMove(int px, int py) {
    if (!Walkable())
        return;
    OnMouseMove(px, py);
    ForEachChild(this, [px, py](GUIControl* child) { child->DispatchMouseMove(px, py); });
}
