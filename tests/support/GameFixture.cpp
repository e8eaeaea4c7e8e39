#include "tests/support/GameFixture.h"

#include "engine/Clock.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "game/Lifecycle.h"
#include "world/Camera.h"
#include "world/Creature.h"
#include "world/ItemsCache.h"
#include "world/Map.h"
#include "world/Thing.h"
#include "world/Tile.h"

std::vector<std::string> GameTest::events;

namespace {

void Record(const std::string& event) { GameTest::events.push_back(event); }

}  // namespace

GameTest::GameTest() {
    events.clear();
    lifecycle::sink = &Record;
    ResetClocks();
}

const Position GameTest::kHome{100, 100, 7};

GameTest::~GameTest() {
    fixture.client.reset();
    lifecycle::sink = nullptr;
    ItemsCache::Instance()->Set(nullptr, uint16_t(kGround));
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

Creature* GameTest::StandOnGround() {
    auto* ground = new ItemRecord();
    ground->name = "grass";
    ground->groundFlag = 1;
    ItemsCache::Instance()->Set(ground, uint16_t(kGround));
    Map& map = *client->game->map;
    // The camera first: the tile window lies around the player.
    auto* player = new Creature(&map);
    player->id = int32_t(kPlayerId);
    player->name = "Aldric";
    player->SetPosition(kHome.x, kHome.y, kHome.z);
    map.AddCreature(player);
    map.playerId = kPlayerId;
    map.camera->SetCreature(player);
    for (int x = 90; x <= 110; ++x)
        for (int y = 92; y <= 108; ++y)
            map.GetOrCreateTile(Position{x, y, 7})->AddThing(new Thing(kGround, 1));
    map.GetOrCreateTile(kHome)->AddThing(player);
    return player;
}

int GameTest::ScreenX(int x) {
    const Map& map = *client->game->map;
    return map.viewX + (x - map.camera->GetX()) * map.tileWidth + 5;
}

int GameTest::ScreenY(int y) {
    const Map& map = *client->game->map;
    return map.viewY + (y - map.camera->GetY()) * map.tileHeight + 5;
}
