#include "tests/support/GameFixture.h"

#include "engine/Clock.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "game/Lifecycle.h"

std::vector<std::string> GameTest::events;

namespace {

void Record(const std::string& event) { GameTest::events.push_back(event); }

}  // namespace

GameTest::GameTest() {
    events.clear();
    lifecycle::sink = &Record;
    ResetClocks();
}

GameTest::~GameTest() {
    fixture.client.reset();
    lifecycle::sink = nullptr;
}

void GameTest::Start(const std::string& ini, bool welcome, std::initializer_list<ClientFixture::BlankSprite> sprites) {
    client = &fixture.StartClient("[options]\nfpslimit=0\n" + ini, sprites);
    client->StartGame(welcome);
    ASSERT_NE(client->game, nullptr);
}

void GameTest::Event(int type, int a, int b, int c) {
    InputEvent event;
    event.type = type;
    event.a = a;
    event.b = b;
    event.c = c;
    client->game->HandleEvent(event);
}

std::vector<std::string> GameTest::TakeEvents() {
    std::vector<std::string> taken;
    taken.swap(events);
    return taken;
}

void GameTest::DrawFrame() {
    Graphics* graphics = client->app->graphics;
    ASSERT_TRUE(graphics->BeginScene());
    if (client->game)
        client->game->Draw();
    client->app->gui->Update();
    graphics->EndScene();
}
