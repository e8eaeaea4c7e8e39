#pragma once

#include <string>

#include "engine/gui/GUIControl.h"

// The window of the toolkit: a framed panel with an optional title bar that
// the player drags within the application window and, where its creator sets
// flag 2 or 4 and the size limits, resizes. An empty title means no title bar
// and a dialog dragged from anywhere. There is no modal state: a dialog only
// shields what lies beneath its own rectangle, and clicking it does not bring
// it to the front.
//
// Every dialog of the program is built, found and closed by a dialog module
// (a plain object holding the data for its feature) through DialogHelper
// (engine/gui/DialogHelper.h), which also says who keeps the module:
//   1. Open the dialog by its id, centred or at a position; while it is open
//      the helper builds nothing, and the module updates its controls instead.
//   2. Set the dialog's flags 2/4 and SetSizeLimits if it may be resized, and
//      optionally a draw callback (drawn after the frame, before the controls).
//   3. Add each control at its offset from the dialog's corner with its id and
//      callbacks, the module as their context; it takes the dialog's style.
//   4. Find controls again by id with the right type (a control of another
//      type counts as missing) to read or change their values.
//   5. Close: the dialog is gone at once and deleted with its controls at the
//      GUI's next update, so a callback may close its own dialog. Optionally
//      set the manager's enterButtonId to the dialog's main button while it is
//      open.
class GUIDialog : public GUIControl {
public:
    GUIDialog() = default;

    void SetTitle(const std::string& text) { title = text; }
    // Width pair first, then height pair.
    void SetSizeLimits(float minimumWidth, float maximumWidth, float minimumHeight, float maximumHeight);

    void Draw() override;
    void OnMouseDown(int x, int y) override;
    void OnMouseUp(int x, int y) override;
    void OnMouseMove(int x, int y) override;

    std::string title;
    int resizeMode = 0;  // 0 none, 1 width from the corner, 2 height from the bottom edge
    bool dragging = false;
    float grabX = 0;
    float grabY = 0;
    float minHeight = 0;
    float maxHeight = 0;
    float minWidth = 0;
    float maxWidth = 0;
};
