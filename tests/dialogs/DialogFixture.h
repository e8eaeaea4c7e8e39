#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "tests/support/GameFixture.h"
#include "tests/support/GuiInput.h"
#include "tests/support/LoginFixture.h"

class Creature;

// The game screen of GameTest, played through the window procedure as the
// player plays it: clicks and keys reach the GUI at once, and Pump hands the
// queued events to the game screen as the main loop would (without the
// protocol's poll, which would end a game that has no connection). Requests
// stay in the connection's queue, where Sent reads them.
class DialogTest : public GameTest {
protected:
    ~DialogTest() override;

    // The game started, and the requests it sent on its own dropped.
    void Enter(const std::string& ini = "", bool welcome = false);
    GUIManager& gui() { return *client->app->gui; }
    GuiInput Input() { return GuiInput(*client->app, fixture.platform.keys); }
    template <class T>
    T* Find(int32_t id) {
        return dynamic_cast<T*>(gui().FindControl(id));
    }
    // A click in the middle of a control; fails the test when it is missing.
    void ClickOn(int32_t id);
    // Ctrl and a letter, through the window procedure, then Pump.
    void CtrlKey(char letter);
    // The queued input events, to the game screen.
    void Pump();
    // The payloads of the requests queued since the last call.
    std::vector<Bytes> Sent();
    // A server message as the dispatcher gets it.
    void Dispatch(const Bytes& payload);
    // The player on open ground around (100, 100, 7), followed by the view,
    // so that the keyboard can walk.
    void PlaceWalkingPlayer();
    // Whether the recording back end drew a box at the rectangle (its top and
    // bottom edges), and a text whose glyphs read `text` without blanks.
    bool DrewBox(int x, int y, int w, int h);
    bool DrewText(const std::string& text);

    Creature* player = nullptr;
    bool groundRecorded = false;
};
