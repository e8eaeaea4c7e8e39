#pragma once

#include <cstdint>
#include <string>

class GUIManager;
class KEngine2;

// The one shared OK/Cancel question box of the game screen (dialog 255). A
// caller hands it a title, a two-line question and an action; OK runs the
// action, Cancel only closes. A second Show while the box is open keeps the
// box (title, place) and makes OK run the newest action with the newest text.
class ConfirmDialog {
public:
    using Action = void (*)(void* context);
    static constexpr int32_t kDialogId = 255;
    static constexpr int kWidth = 280;
    static constexpr int kHeight = 135;
    static constexpr uint32_t kTextColor = 0xFFC8C8C8;  // (200,200,200)

    static ConfirmDialog* Instance();

    void Show(const std::string& title, const std::string& text, Action action, void* context);
    // Closes without running the action, and forgets it: its context may
    // belong to a game screen that is going away.
    void Close();

    // The buttons' actions and the box's draw callback; the argument is the
    // singleton.
    static void OnOk(void* self);
    static void OnCancel(void* self);
    static void DrawText(void* self);

    std::string text;
    Action action = nullptr;
    void* actionContext = nullptr;

private:
    ConfirmDialog() = default;

    KEngine2* App() const;
    GUIManager* Gui() const;
    // Deletes the box and gives the keyboard focus back to the chat input.
    void RemoveBox();
};
