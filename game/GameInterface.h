#pragma once

#include <cstdint>

#include "engine/InputEvent.h"

class Container;
class IgnoreList;
class Inventory;
class Map;
class PagedTextWindow;
class TalentsDialog;
class TipMessages;
class TutorialDialog;

// The game screen: while the player is in the world it replaces the login
// screen, owns the map view, the side windows and the in-game dialogs, and
// gets every input event, a per-frame update and a per-frame draw from the
// main loop.
class GameInterface {
public:
    static constexpr int kContainerSlots = 20;

    // welcome: the enter-game message asks for the welcome dialog.
    explicit GameInterface(bool welcome);
    // Saves the window layout into the options (memory only) and the container
    // windows into "containers.ini", and closes every in-game dialog.
    ~GameInterface();
    GameInterface(const GameInterface&) = delete;
    GameInterface& operator=(const GameInterface&) = delete;

    void HandleEvent(const InputEvent& event);
    void Update();
    void Draw();
    // Places the chat input and its buttons for the current window size.
    void LayoutChatArea();
    // The game has just started: the view fades in from black from now on.
    void MarkStartTime();

    // Fight mode (the "Fightmode" button): digit keys trigger hotkeys, and
    // Ctrl+S is left to them instead of taking a screenshot.
    uint8_t hotkeyMode = 0;
    Map* map = nullptr;              // owned
    Inventory* inventory = nullptr;  // the inventory side window, when open
    uint32_t startTime = 0;          // GetTicks when the game started
    PagedTextWindow* pagedText = nullptr;  // owned
    TipMessages* tipMessages = nullptr;    // owned
    bool welcomeShown = false;  // the welcome dialog is open
    int32_t viewOffsetX = 0;    // the player's walk offset, pixels
    int32_t viewOffsetY = 0;
    int32_t chatHeight = 138;   // the chat area's height, pixels
    IgnoreList* ignoreList = nullptr;   // owned
    TalentsDialog* talents = nullptr;   // owned
    TutorialDialog* tutorial = nullptr; // owned
    // The open container windows by container index; null when free.
    Container* containers[kContainerSlots] = {};
};
