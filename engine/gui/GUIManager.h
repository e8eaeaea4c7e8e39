#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/Block.h"
#include "engine/GuiLayer.h"

class GUIControl;
class GUIMenu;
class KEngine2;

// A screen area that shows a box of text lines after the mouse has rested on
// it for 300 ms. Coordinates are client pixels.
struct TooltipRegion {
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
    std::vector<std::string> lines;
};

// The root of the program's one control tree. The window procedure hands it the
// left button, the mouse position, the wheel and the keys; it keeps the keyboard
// focus and the one open context menu, deletes controls at a safe point of the
// frame, draws the tree once per frame with its tooltips and offers the one
// message box (dialog 65536, text 65537, button 65538).
//
// Deferred deletion: DeleteLater picks its control when it is called, the first
// with that id that is not already waiting, and marks it. A marked control is
// gone for everybody at once (not found, not drawn, no input) but stays alive
// until the next Update deletes it, so a callback may close its own dialog, and
// a dialog closed and reopened in the same frame keeps its new window.
//
// One input, one owner. The window procedure hands an input to the GUI before
// the main loop hands its queued records to the screen under it, so a dialog
// that an input closes is already gone when the game screen looks at the same
// click, and the Enter that pressed a dialog's button would reach the chat as
// well. While the main loop handles the records of an input (BeginEvent), the
// controls that input closed still cover their rectangles for ControlAt, as
// they would until the next Update had they not been hidden at once, and
// InputSpent says whether the input pressed a button with Enter.
class GUIManager : public Block, public GuiLayer {
public:
    static constexpr int32_t kMessageBoxId = 65536;
    static constexpr int32_t kMessageTextId = 65537;
    static constexpr int32_t kMessageButtonId = 65538;

    GUIManager();
    ~GUIManager() override;

    // Gives an application object its GUI manager (it owns it from then on,
    // and a previous one is deleted).
    static GUIManager* Attach(KEngine2& app);

    // The manager takes ownership. A menu replaces the open one.
    void AddControl(GUIControl* control, bool atEnd = true);
    // Searches the whole tree.
    void RemoveControl(GUIControl* control, bool deleteIt);
    void DeleteLater(int32_t id);
    // Id 0 finds the root.
    GUIControl* FindControl(int32_t id);
    // While an event is handled (BeginEvent), the controls its input closed
    // still count here.
    GUIControl* ControlAt(float x, float y);
    // Told about every control that leaves the tree.
    void ForgetControl(GUIControl* control);

    void OnMouseDown(int x, int y) override;
    void OnMouseUp(int x, int y) override;
    void OnMouseMove(int x, int y) override;
    // Positive steps: the wheel turned towards the user.
    void OnMouseWheel(int steps) override;
    void OnKey(uint16_t virtualKey, uint16_t character, bool ctrl, bool shift) override;
    void SetInput(uint32_t input) override { input_ = input; }
    bool HasOpenMenu() const override { return openMenu != nullptr; }
    float PointerX() const override { return mouseX; }
    float PointerY() const override { return mouseY; }
    // Once per frame between the engine's begin and end of scene.
    void Update();

    // The main loop hands a queued record of an input (InputEvent::input) to
    // the screens between these two; 0 is no input.
    void BeginEvent(uint32_t input) { handledInput_ = input; }
    void EndEvent() { handledInput_ = 0; }
    // The input of the event being handled pressed a button with Enter: the
    // key is spent.
    bool InputSpent() const;
    // BeginEvent and EndEvent around a scope; nothing without a manager.
    class HandledEvent {
    public:
        HandledEvent(GUIManager* manager, uint32_t input) : manager_(manager) {
            if (manager_)
                manager_->BeginEvent(input);
        }
        ~HandledEvent() {
            if (manager_)
                manager_->EndEvent();
        }
        HandledEvent(const HandledEvent&) = delete;
        HandledEvent& operator=(const HandledEvent&) = delete;

    private:
        GUIManager* manager_;
    };

    void AddTooltip(int key, float x, float y, float width, float height, const std::vector<std::string>& lines);
    void RemoveTooltip(int key);
    void ClearTooltips();
    void DrawTooltip(TooltipRegion* region, float x, float y);

    void MessageBox(const std::string& title, const std::string& text);

    // The skin's sprite id: the first word of the root control's style.
    int GetSkin() const override;

    // Deletes a control that has already been unlinked and forgotten: at once,
    // or, while an event is being dispatched, after the dispatch has returned,
    // so that no handler runs on a deleted control.
    void Dispose(GUIControl* control);

    GUIControl* root = nullptr;
    GUIMenu* openMenu = nullptr;
    GUIControl* focus = nullptr;
    float mouseX = 0;
    float mouseY = 0;
    float tooltipX = 0;
    float tooltipY = 0;
    bool shiftForArrows = false;
    int32_t enterButtonId = 0;
    std::vector<GUIControl*> deferred;  // picked by DeleteLater, in request order
    std::map<int, std::unique_ptr<TooltipRegion>> tooltips;
    TooltipRegion* activeTooltip = nullptr;
    uint32_t lastMoveTime = 0;

private:
    // Counts the dispatches running, so that deletions wait for the outermost.
    class DispatchScope {
    public:
        explicit DispatchScope(GUIManager& manager);
        ~DispatchScope();

    private:
        GUIManager& manager_;
    };

    // Marks the input handlers, the only place where closures belong to an input.
    class InputScope {
    public:
        explicit InputScope(GUIManager& manager) : manager_(manager), outer_(manager.inInput_) {
            manager_.inInput_ = true;
        }
        ~InputScope() { manager_.inInput_ = outer_; }

    private:
        GUIManager& manager_;
        bool outer_;
    };
    // A control closed by an input, alive until the next Update deletes it.
    struct Closure {
        GUIControl* control;
        uint32_t input;
    };

    void SyncRoot();
    void MouseActivity();
    bool ClosedByHandledInput(const GUIControl* control) const;
    // HitTest with the controls the handled input closed counted as present.
    GUIControl* HitCovering(GUIControl* control, float x, float y) const;
    // The control that takes keys, or null; a control waiting for deletion
    // takes none.
    GUIControl* KeyFocus() const;
    void PressButton(int32_t id);
    // The editing keys of a focused text box.
    void EditFocused(uint16_t virtualKey, uint16_t character, bool ctrl, bool shift);
    void CycleFocus();

    int dispatchDepth_ = 0;
    std::vector<GUIControl*> disposed_;
    uint32_t input_ = 0;         // the input the window procedure's calls belong to
    bool inInput_ = false;       // an input handler is running
    uint32_t handledInput_ = 0;  // the input whose record the screens handle
    std::vector<Closure> closures_;
    std::vector<uint32_t> spentInputs_;  // pressed a button with Enter; until the next Update
};
