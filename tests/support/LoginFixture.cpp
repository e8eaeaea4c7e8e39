#include "tests/support/LoginFixture.h"

#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIText.h"
#include "net/Connection.h"
#include "platform/Platform.h"
#include "protocol/Protocol.h"

Wire& Wire::U8(uint32_t value) {
    bytes.push_back(uint8_t(value));
    return *this;
}

Wire& Wire::U16(uint32_t value) {
    bytes.push_back(uint8_t(value));
    bytes.push_back(uint8_t(value >> 8));
    return *this;
}

Wire& Wire::U32(uint32_t value) {
    U16(value & 0xFFFF);
    return U16(value >> 16);
}

Wire& Wire::Str(const std::string& text) {
    U16(uint32_t(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
    return *this;
}

Wire& Wire::Raw(const Bytes& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
    return *this;
}

Bytes Frame(const Bytes& payload) { return Wire().U16(uint32_t(payload.size())).Raw(payload).bytes; }

Bytes Join(const std::vector<Bytes>& parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes CharacterListMessage(uint32_t premiumEnd, const std::vector<Row>& rows) {
    Wire wire;
    wire.U8(0x02).U32(premiumEnd).U8(uint32_t(rows.size()));
    for (const Row& row : rows) {
        wire.Str(row.name).Str(row.second).Str(row.host).U16(row.port);
        for (int i = 0; i < 3; ++i)
            wire.U16(uint32_t(row.outfit[i]));
        for (int i = 3; i < 9; ++i)
            wire.U8(uint32_t(row.outfit[i]));
        wire.Str(row.fourth).U16(row.level);
    }
    return wire.bytes;
}

Bytes EnterGameMessage(uint32_t playerId, uint32_t followedId, uint8_t welcome, uint32_t itemsVersion) {
    return Wire().U8(0x03).U32(playerId).U32(followedId).U8(welcome).U32(itemsVersion).bytes;
}

Bytes NewVersionMessage(const std::string& text, uint32_t version) {
    return Wire().U8(0x01).Str(text).U32(version).bytes;
}

Bytes LoginRequest(const std::string& account, const std::string& password, uint32_t gfxStamp) {
    return Wire().U8(0x01).U16(573).Str(account).Str(password).Str("kov847").U32(gfxStamp).U32(0).bytes;
}

Bytes GameLoginRequest(const std::string& account, const std::string& password, const std::string& character,
                       uint32_t itemsVersion) {
    return Wire().U8(0x02).U16(573).Str(account).Str(password).Str(character).U32(itemsVersion).bytes;
}

LoginTest::LoginTest() = default;

LoginTest::~LoginTest() {
    client.reset();
    sockets.reset();
}

Client& LoginTest::Start() {
    Client& started = StartClient();
    started.loginHosts = {"login"};
    started.loginPort = 5657;
    started.statusHost.clear();
    return started;
}

Client& LoginTest::Restart() {
    client.reset();
    // The old sockets go first: each restores the system's sockets when it goes.
    sockets.reset();
    sockets = std::make_unique<FakeSockets>();
    sentSeen_ = 0;
    platform.boxes.shown.clear();
    return Start();
}

bool LoginTest::RunUntil(const std::function<bool()>& condition) {
    for (int i = 0; i < 5000; ++i) {
        if (condition())
            return true;
        client->RunPass();
        platform::SleepMs(1);
    }
    return condition();
}

int LoginTest::State() { return client->protocol->connection->GetState(); }

bool LoginTest::BoxOpen() { return client->app->gui->FindControl(GUIManager::kMessageBoxId) != nullptr; }

std::string LoginTest::BoxTitle() {
    const GUIDialog* box = dynamic_cast<GUIDialog*>(client->app->gui->FindControl(GUIManager::kMessageBoxId));
    return box ? box->title : "(no box)";
}

std::string LoginTest::BoxText() {
    const GUIText* text = dynamic_cast<GUIText*>(client->app->gui->FindControl(GUIManager::kMessageTextId));
    return text ? text->text : "(no box)";
}

bool LoginTest::BoxCanClose() {
    const GUIControl* button = client->app->gui->FindControl(GUIManager::kMessageButtonId);
    return button && !button->HasFlag(GUIControl::kDisabled);
}

void LoginTest::RunUntilNothingMoreIsSent() {
    for (size_t seen = size_t(-1); seen != sockets->sent.size();) {
        seen = sockets->sent.size();
        client->RunPass();
    }
}

Bytes LoginTest::SentSinceLastCall() {
    Bytes fresh(sockets->sent.begin() + std::ptrdiff_t(sentSeen_), sockets->sent.end());
    sentSeen_ = sockets->sent.size();
    return fresh;
}
