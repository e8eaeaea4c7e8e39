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
// (a plain object holding the data for its feature) in the same five steps;
// GUIManager::MessageBox is a complete example:
//   1. Look the dialog's id up with GUIManager::FindControl; when it is open,
//      update its controls instead of building a second one.
//   2. Create the GUIDialog, SetRect it in absolute client pixels, SetTitle,
//      give it its id, set flags 2/4 and SetSizeLimits if it may be resized,
//      optionally a draw callback (drawn after the frame, before the
//      controls), and add it on top with GUIManager::AddControl.
//   3. Create each control, SetRect it at the dialog's x and y plus its offset,
//      give it an id, set its callbacks with the module as context, and add it
//      on top with AddChild on the dialog, so that it takes the dialog's style.
//   4. Find controls again by id (FindControl and a dynamic_cast; a failed cast
//      counts as a missing control) to read or change their values.
//   5. Close with GUIManager::DeleteLater of the dialog's id: the dialog is gone
//      at once and deleted with its controls at the next frame, so a callback
//      may close its own dialog. Optionally set the manager's enterButtonId to
//      the dialog's main button while it is open.
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
