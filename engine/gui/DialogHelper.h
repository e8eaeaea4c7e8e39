#pragma once

#include <cstdint>
#include <string>

#include "engine/gui/GUIButton.h"

class GUIControl;
class GUIDialog;
class GUIManager;
class GUIText;

// The steps every dialog module takes with its one dialog, written once. A
// module makes a helper wherever it builds, reads or closes its dialog:
//
//   DialogHelper dialog(gui, kDialogId);
//   if (!dialog.OpenCentred("About", 342, 230))
//       return;  // open already
//   dialog.AddButton(kCloseId, "Close", &OnClose, this, 99, 195, 120, 25);
//   ...
//   if (GUISelect* list = dialog.Find<GUISelect>(kListId)) ...
//   dialog.Close();
//
// Controls are placed at offsets from the dialog's top-left corner and take
// the dialog's style when added, so colours of their own are set after
// adding. Close goes through GUIManager::DeleteLater: the dialog is gone at
// once and deleted with its controls at the GUI's next update, so a callback
// may close its own dialog.
//
// Who keeps a module: an in-game dialog's module is a member of the game
// screen (GameInterface), made with it and freed with it; a dialog of the
// login screen, or one that both screens open, is owned by the client (the
// character list, which every character-list message refills, by the
// protocol). The few modules the program names as singletons (the quit
// question) live for the whole run. A dialog never owns its module.
class DialogHelper {
public:
    DialogHelper(GUIManager* gui, int32_t dialogId) : gui_(gui), id_(dialogId) {}

    bool IsOpen() const { return Dialog() != nullptr; }
    // The open dialog, or null.
    GUIControl* Dialog() const;

    // Builds the dialog with its title and id at a position of the window and
    // adds it on top of the GUI. Null, building nothing, while it is open or
    // without a GUI.
    GUIDialog* OpenAt(const std::string& title, int x, int y, int width, int height);
    // The same, with the top-left corner given from the centre of the window
    // (the integer halves of the client size).
    GUIDialog* OpenFromCentre(const std::string& title, int left, int top, int width, int height);
    // The same, in the middle of the window.
    GUIDialog* OpenCentred(const std::string& title, int width, int height);

    // Adds a control to the open dialog at (dx, dy) from its top-left corner.
    // Without an open dialog the control is deleted and the result is null.
    template <class T>
    T* Add(T* control, int dx, int dy, int width, int height) {
        return static_cast<T*>(AddControl(control, dx, dy, width, height));
    }
    GUIButton* AddButton(int32_t id, const std::string& caption, GUIButton::Action action, void* context, int dx,
                         int dy, int width, int height);
    // A label of size 0 at (dx, dy).
    GUIText* AddText(const std::string& text, int dx, int dy);

    // The control with the id anywhere in the GUI, as a T; null when it is
    // missing or of another type.
    template <class T>
    T* Find(int32_t id) const {
        return dynamic_cast<T*>(FindControl(id));
    }

    // The sunken content panel most dialogs paint first in their draw
    // callback: (x + 10, y + 30, w - 20, h - 85) of the open dialog's current
    // rectangle, so it follows a drag. Nothing when the dialog is not open.
    void DrawPanel() const;
    // A panel of the same look at a rectangle of the window: top and left
    // edges in the GUI root's dark colour, bottom and right in its light
    // colour, filled with black at alpha 30 unless told otherwise (a fill
    // of alpha 0 draws only the frame).
    static constexpr uint32_t kPanelFill = 0x1E000000;
    void DrawPanelBox(int x, int y, int width, int height, uint32_t fill = kPanelFill) const;

    // Queues the dialog for deletion; nothing when it is not open.
    void Close() const;
    // Close, then gives the keyboard focus to the control with focusId (no
    // focus when there is none), as dialogs over the game screen hand it back
    // to the chat input.
    void CloseAndFocus(int32_t focusId) const;

private:
    GUIControl* AddControl(GUIControl* control, int dx, int dy, int width, int height);
    GUIControl* FindControl(int32_t id) const;

    GUIManager* gui_;
    int32_t id_;
};
