#include "tests/support/ServerDialogFixture.h"

#include <algorithm>

#include "engine/Font.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "net/Connection.h"
#include "net/InMessage.h"
#include "protocol/Protocol.h"
#include "tests/support/DrawnText.h"
#include "tests/support/GuiInput.h"

void ServerDialogTest::Enter() {
    // The five potion sizes and three items of the fake world.
    client = &fixture.StartClient("[options]\nfpslimit=0\n", {{1934, 32, 32}, {1937, 32, 32}, {1940, 32, 32},
                                                               {1943, 32, 32}, {1946, 32, 32}, {kCoins, 32, 32},
                                                               {kFlower, 32, 32}, {kTorch, 32, 32}});
    client->StartGame(false);
    ASSERT_NE(client->game, nullptr);
    connection().SetState(Connection::kConnected);
    connection().ClearQueues();
}

Connection& ServerDialogTest::connection() { return *client->protocol->connection; }

void ServerDialogTest::Dispatch(const Bytes& payload) {
    const Bytes frame = Frame(payload);
    InMessage message(frame.data(), int(frame.size()));
    client->protocol->Dispatch(message);
    EXPECT_EQ(message.Remaining(), 0);
}

std::vector<Bytes> ServerDialogTest::Requests() {
    std::vector<Bytes> requests;
    for (const auto& frame : connection().QueuedFrames())
        if (frame.size() > 2 && frame[2] != 0x22)
            requests.emplace_back(frame.begin() + 2, frame.end());
    connection().ClearQueues();
    return requests;
}

void ServerDialogTest::DeliverEvents() {
    while (client->app->HasEvents()) {
        const InputEvent event = client->app->PopEvent();
        if (client->game)
            client->game->HandleEvent(event);
    }
}

void ServerDialogTest::Click(int x, int y) {
    GuiInput(*client->app, fixture.platform.keys).Click(x, y);
    DeliverEvents();
    gui().Update();
}

void ServerDialogTest::Click(const GUIControl* control) {
    ASSERT_NE(control, nullptr);
    Click(control->x + control->width / 2, control->y + control->height / 2);
}

void ServerDialogTest::MoveMouse(int x, int y) {
    GuiInput(*client->app, fixture.platform.keys).Move(x, y);
    DeliverEvents();
}

void ServerDialogTest::PressEnter() { GuiInput(*client->app, fixture.platform.keys).Char('\r'); }

void ServerDialogTest::Redraw() {
    engine().Clear();
    DrawFrame();
}

std::vector<std::string> ServerDialogTest::Texts() {
    std::vector<std::string> texts;
    for (const DrawnText& text : VisibleTexts(engine(), client->app->font->sheet))
        texts.push_back(text.text);
    return texts;
}

bool ServerDialogTest::Drawn(const std::string& textWithoutBlanks) {
    const std::vector<std::string> texts = Texts();
    return std::find(texts.begin(), texts.end(), textWithoutBlanks) != texts.end();
}

int ServerDialogTest::BoxAt(int x, int y, int w, int h, uint32_t* fill) {
    const GUIControl* root = gui().root;
    int kind = 0;
    if (fill)
        *fill = 0;
    for (const RecordedCall* call : engine().Calls("RenderRectangle")) {
        const std::vector<double>& a = call->args;
        if (a.size() != 5)
            continue;
        if (a[1] == x && a[2] == y && a[3] == w && a[4] == 1 && kind == 0)
            kind = uint32_t(a[0]) == root->darkColor ? 1 : uint32_t(a[0]) == root->lightColor ? 2 : 0;
        if (fill && a[1] == x + 1 && a[2] == y + 1 && a[3] == w - 2 && a[4] == h - 2)
            *fill = uint32_t(a[0]);
    }
    return kind;
}

std::vector<std::pair<int, int>> ServerDialogTest::SpriteAt(int id) {
    std::vector<std::pair<int, int>> places;
    const Sprite* sprite = client->app->sprites->GetSprite(id);
    if (!sprite)
        return places;
    for (const RecordedCall* call : engine().Calls("RenderSprite"))
        if (call->sprite == sprite)
            places.emplace_back(int(call->args[0]), int(call->args[1]));
    return places;
}
