#pragma once

#include <cstdint>
#include <string>

#include "game/GameControlIds.h"

class GUIManager;
class KEngine2;

// The game master's tools (Ctrl+Y, staff only): the own coordinates, the
// online list, and the chat commands the server interprets ("!r" reads a
// report; "!t ", "!r " and "!k " with a typed name teleport to, rescue and
// kick that player). The game screen makes the module on Ctrl+Y and frees it
// when the window closes or the game ends; the window holds no data.
class GMWindow {
public:
    static constexpr int32_t kDialogId = GameIds::kGmWindow;
    static constexpr int32_t kCloseButtonId = GameIds::kGmClose;
    static constexpr int32_t kOnlineListButtonId = GameIds::kGmOnlineListButton;
    static constexpr int32_t kReadReportButtonId = GameIds::kGmReadReport;
    static constexpr int32_t kNameBoxId = GameIds::kGmNameBox;

    GMWindow();
    ~GMWindow();
    GMWindow(const GMWindow&) = delete;
    GMWindow& operator=(const GMWindow&) = delete;

    // Builds the window in the middle of the screen; nothing while it is open.
    void Open();
    // Removes the window when it is open and gives the focus back to the chat input.
    void Close();
    // The window's draw callback: the panels and the coordinates line.
    static void Draw(void* window);

    // The chat text of a player command for the name as typed (no trimming);
    // empty, so that nothing is sent, for an empty name.
    static std::string PlayerCommand(const char* prefix, const std::string& name);
    // "Your coordinates: XxYxZ" for the camera's origin (the followed creature
    // stands 8 tiles right and 6 down of it).
    static std::string CoordinatesLine(int cameraX, int cameraY, int floor);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
