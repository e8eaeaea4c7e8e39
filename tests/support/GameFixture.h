#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "client/Client.h"
#include "engine/InputEvent.h"
#include "game/GameInterface.h"
#include "tests/support/ClientFixture.h"
#include "tests/support/RecordingEngine.h"
#include "world/Position.h"

class Creature;

// A client on the login screen of a scratch profile (1000 x 700, no frame
// pacing), entered into the game with an ini file of the test's choice. The
// parts of the game screen note their construction, closing and destruction
// in `events`.
class GameTest : public ::testing::Test {
public:
    static std::vector<std::string> events;
    // The world of StandOnGround.
    static constexpr uint32_t kPlayerId = 0x10000001;
    static constexpr int kGround = 4000;
    static const Position kHome;

protected:
    GameTest();
    ~GameTest() override;

    // ini: further sections and keys of velmora.ini; sprites: further
    // sprites of the graphics file.
    void Start(const std::string& ini = "", bool welcome = false,
               std::initializer_list<ClientFixture::BlankSprite> sprites = {});
    GameInterface& game() { return *client->game; }
    RecordingEngine& engine() { return *static_cast<RecordingEngine*>(client->app->engine); }
    void Event(int type, int a = 0, int b = 0, int c = 0);
    void KeyDown(int key) { Event(InputEvent::KeyDown, key); }
    void KeyUp(int key) { Event(InputEvent::KeyUp, key); }
    // The events noted since the last call.
    std::vector<std::string> TakeEvents();
    // The main loop's draw of one frame.
    void DrawFrame();
    // The player (kPlayerId, "Aldric") at kHome, followed by the camera, on
    // open ground (item kGround) from 90..110 x 92..108: every point of the
    // game view is a square the player can walk to.
    Creature* StandOnGround();
    // The middle of a map square on screen.
    int ScreenX(int x);
    int ScreenY(int y);

    ClientFixture fixture;
    Client* client = nullptr;
};
