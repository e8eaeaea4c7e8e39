#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIManager.h"
#include "tests/support/GameFixture.h"
#include "tests/support/LoginFixture.h"

class Connection;

// The game screen for the dialogs the server opens (brewing, recipes, the
// summon list, the quest log, the houses), shared by their dialog and handler
// tests: a graphics file with the potion sprites and three items, the server's
// messages handed to the dispatcher, the requests read back from the
// connection's queue, and the mouse and keys sent as the window sends them.
class ServerDialogTest : public GameTest {
protected:
    static constexpr int kCoins = 110;
    static constexpr int kFlower = 120;
    static constexpr int kTorch = 130;

    // In the game with a connected game connection and nothing queued.
    void Enter();
    Connection& connection();
    GUIManager& gui() { return *client->app->gui; }
    template <class T>
    T* Find(int32_t id) {
        return dynamic_cast<T*>(gui().FindControl(id));
    }
    // One frame of the payload, which must be read to its end.
    void Dispatch(const Bytes& payload);
    // The requests queued since the last call, without their length and
    // without the hotkey bar's action-list request (0x22).
    std::vector<Bytes> Requests();
    // A left click at a point (or on a control's middle) through the window:
    // the GUI at once, then the main loop's events to the game screen, then
    // the GUI's update.
    void Click(int x, int y);
    void Click(const GUIControl* control);
    void MoveMouse(int x, int y);
    // Enter, as the window sends it; the GUI hears it at once.
    void PressEnter();
    // The main loop's queued input, handed to the game screen.
    void DeliverEvents();
    // One frame, recorded afresh.
    void Redraw();
    // The texts of the last frame without their blanks.
    std::vector<std::string> Texts();
    bool Drawn(const std::string& textWithoutBlanks);
    // How the last frame drew the box at (x, y, w, h): 0 not at all, 1 sunken
    // (dark top edge), 2 raised (light top edge); fill receives the fill's
    // colour (0 for none).
    int BoxAt(int x, int y, int w, int h, uint32_t* fill = nullptr);
    // The places where the last frame drew the sprite with an id.
    std::vector<std::pair<int, int>> SpriteAt(int id);
};
