#pragma once

#include <cstdint>
#include <vector>

class Font;
class GUIManager;
class Graphics;
class KEngine2;

// The base of every control and the plain container at the root of the tree.
//
// A control is a rectangle in absolute client pixels (moving a dialog moves
// its subtree) with an id, a flag word, a style block copied from its parent
// when it is added, two C-style callbacks and an owned, ordered list of
// children: the first child is drawn first (bottom), the last on top.
//
// All mouse dispatch lives here. Presses and wheel turns are hit-tested and
// shielded by dialogs: when the point lies on a visible dialog among a
// control's children, only the topmost such dialog and its subtree hear it.
// Releases go to every visible, enabled control, moves to every control.
// Parents hear an event before their children, siblings in list order.
//
// Callbacks may add, remove or close controls while an event is being
// dispatched. Every walk therefore goes over a snapshot of each child list
// (a control added during a dispatch does not hear that event), skips a
// child that has left the list meanwhile, and the manager keeps controls
// unlinked during a dispatch alive until the dispatch has returned.
class GUIControl {
public:
    // Flag bits.
    enum : uint32_t {
        kHidden = 1,         // not drawn, no presses, releases or wheel, never hit
        kResizeWidth = 2,    // a dialog's width follows its bottom-right corner
        kResizeHeight = 4,   // a dialog's height follows its bottom edge
        kReadOnly = 8,       // text box: no editing
        kMasked = 16,        // text box: shows "*" for every byte
        kMultiLine = 32,     // text box: wraps, scrolls, takes newlines
        kDisabled = 64,      // no presses, releases or wheel; drawn under a grey cover
        kFramedIcons = 128,  // select list: frames the icons of tall rows
    };

    using DrawCallback = void (*)(void* context);
    using ClickCallback = void (*)(void* context, int x, int y);

    GUIControl();
    virtual ~GUIControl();
    GUIControl(const GUIControl&) = delete;
    GUIControl& operator=(const GUIControl&) = delete;

    // Takes ownership; the child gets this control's owner and style block.
    // atEnd puts it on top of its siblings, otherwise below them.
    void AddChild(GUIControl* child, bool atEnd = true);
    // Unlinks target from anywhere in this subtree, forgets it as focus and
    // deletes it when deleteIt is set. Returns true, doing nothing, when target
    // is this control itself (the caller one level up unlinks it).
    bool RemoveChild(GUIControl* target, bool deleteIt);
    // As RemoveChild with deleteIt, for the first control below with the id.
    bool DeleteById(int32_t id);
    // Pre-order search, this control first. Controls waiting for deletion are
    // not found, nor anything below them.
    GUIControl* FindById(int32_t id);
    // The outermost visible control containing the point, later siblings first.
    GUIControl* HitTest(float x, float y);
    void SetRect(int x, int y, int width, int height);
    // Moves this control and every descendant.
    void MoveBy(int dx, int dy);
    void SetFlag(uint32_t mask) { flags |= mask; }
    void ClearFlag(uint32_t mask) { flags &= ~mask; }
    uint32_t GetFlags() const { return flags; }
    bool HasFlag(uint32_t mask) const { return (flags & mask) != 0; }
    // Used when the player changes the skin: applied to a whole subtree.
    void SetStyleTree(int newSkin);
    void SetColorsTree(uint32_t light, uint32_t dark);
    // Every descendant in pre-order, this control not included.
    std::vector<GUIControl*> CollectDescendants();

    void DrawTree();
    void DispatchMouseDown(int x, int y);
    void DispatchMouseUp(int x, int y);
    void DispatchMouseMove(int x, int y);
    void DispatchMouseWheel(int x, int y, int steps);

    virtual void Draw() {}
    virtual void OnMouseDown(int x, int y) {}
    virtual void OnMouseUp(int x, int y) {}
    virtual void OnMouseMove(int x, int y) {}
    virtual void OnMouseWheel(int steps) {}

    // Right and bottom edges excluded.
    bool Contains(int px, int py) const { return x <= px && px < x + width && y <= py && py < y + height; }
    // Copies skin, the four colours and the four arrow icons.
    void CopyStyle(const GUIControl& from);
    GUIControl* GetParent() const { return parent; }
    // True when this control or an ancestor waits for deletion.
    bool IsPendingDeletion() const;
    // True when this control or an ancestor is disabled.
    bool IsDisabledInTree() const;

    // What a control draws and measures with; null while it has no owner.
    Graphics* GetGraphics() const;
    Font* GetFont() const;
    GUIManager* GetManager() const;

    DrawCallback drawCallback = nullptr;
    void* drawContext = nullptr;
    ClickCallback clickCallback = nullptr;
    void* clickContext = nullptr;
    int32_t id = 0;
    std::vector<GUIControl*> children;
    KEngine2* owner = nullptr;
    uint32_t flags = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    // The style block.
    int skin = 0;
    uint32_t lightColor = 0xFF000000;
    uint32_t darkColor = 0xFF000000;
    uint32_t fillColor = 0xFF000000;
    uint32_t textColor = 0xFF000000;
    int arrowUpIcon = 0;
    int arrowDownIcon = 0;
    int arrowLeftIcon = 0;
    int arrowRightIcon = 0;

protected:
    // Unlinks a child and hands it to the manager for deletion (at once, or
    // after the dispatch that is running).
    void DestroyChild(GUIControl* child);

private:
    friend class GUIManager;

    // Detaches a child from this list; it keeps its subtree.
    void Unlink(GUIControl* child);
    bool Walkable() const { return !pendingDeletion; }

    GUIControl* parent = nullptr;
    // Picked by GUIManager::DeleteLater; gone for everything but its owner.
    bool pendingDeletion = false;
};
