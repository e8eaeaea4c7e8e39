#include "tests/dialogs/DialogFixture.h"

#include <algorithm>

#include "engine/Font.h"
#include "engine/gui/GUIControl.h"
#include "game/GameInterface.h"
#include "net/Connection.h"
#include "net/InMessage.h"
#include "platform/Platform.h"
#include "protocol/Protocol.h"
#include "tests/support/DrawnText.h"
#include "world/Camera.h"
#include "world/Creature.h"
#include "world/ItemsCache.h"
#include "world/Map.h"
#include "world/Thing.h"
#include "world/Tile.h"

namespace {
const uint16_t kGround = 4321;
const uint32_t kPlayerId = 0x10000001;
}  // namespace

DialogTest::~DialogTest() {
    if (groundRecorded)
        ItemsCache::Instance()->Set(nullptr, kGround);
}

void DialogTest::Enter(const std::string& ini, bool welcome) {
    Start(ini, welcome);
    client->protocol->connection->ClearQueues();
}

void DialogTest::ClickOn(int32_t id) {
    const GUIControl* control = gui().FindControl(id);
    ASSERT_NE(control, nullptr) << "control " << id;
    Input().Click(control->x + control->width / 2, control->y + control->height / 2);
}

void DialogTest::CtrlKey(char letter) {
    Pump();  // the keys typed before, without Ctrl
    Input().Ctrl(letter);
    // The game screen reads Ctrl when the main loop hands it the key.
    fixture.platform.keys.down.insert(platform::kVkControl);
    Pump();
    fixture.platform.keys.down.erase(platform::kVkControl);
}

void DialogTest::Pump() {
    KEngine2& app = *client->app;
    while (app.HasEvents()) {
        const InputEvent event = app.PopEvent();
        if (client->game)
            client->game->HandleEvent(event);
    }
}

std::vector<Bytes> DialogTest::Sent() {
    Connection& connection = *client->protocol->connection;
    std::vector<Bytes> payloads;
    for (const std::vector<uint8_t>& frame : connection.QueuedFrames())
        payloads.emplace_back(frame.begin() + 2, frame.end());
    connection.ClearQueues();
    return payloads;
}

void DialogTest::Dispatch(const Bytes& payload) {
    const Bytes frame = Frame(payload);
    InMessage message(frame.data(), int(frame.size()));
    client->protocol->Dispatch(message);
    EXPECT_EQ(message.Remaining(), 0);
}

void DialogTest::PlaceWalkingPlayer() {
    auto* ground = new ItemRecord();
    ground->name = "grass";
    ground->groundFlag = 1;
    ItemsCache::Instance()->Set(ground, kGround);
    groundRecorded = true;
    Map& map = *game().map;
    player = new Creature(&map);
    player->id = int32_t(kPlayerId);
    player->name = "Aldric";
    player->speed = 300;
    player->SetPosition(100, 100, 7);
    map.AddCreature(player);
    map.playerId = kPlayerId;
    map.camera->SetCreature(player);
    for (int x = 95; x <= 105; ++x)
        for (int y = 95; y <= 105; ++y)
            map.GetOrCreateTile(Position{x, y, 7})->AddThing(new Thing(kGround, 1));
    map.GetOrCreateTile(Position{100, 100, 7})->AddThing(player);
}

bool DialogTest::DrewBox(int x, int y, int w, int h) {
    bool top = false;
    bool bottom = false;
    for (const RecordedCall* call : engine().Calls("RenderRectangle")) {
        const auto& a = call->args;
        if (a[1] == x && a[3] == w && a[4] == 1) {
            top = top || a[2] == y;
            bottom = bottom || a[2] == y + h - 1;
        }
    }
    return top && bottom;
}

bool DialogTest::DrewText(const std::string& text) {
    std::string wanted = text;
    wanted.erase(std::remove(wanted.begin(), wanted.end(), ' '), wanted.end());
    const std::vector<DrawnText> texts = VisibleTexts(engine(), client->app->font->sheet);
    return std::any_of(texts.begin(), texts.end(), [&](const DrawnText& drawn) { return drawn.text == wanted; });
}
