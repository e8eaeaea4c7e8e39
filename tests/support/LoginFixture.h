#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/ClientFixture.h"
#include "tests/support/FakeSockets.h"

using Bytes = std::vector<uint8_t>;

// Builds payloads the way the wire format describes them, independently of
// the client's own message classes.
class Wire {
public:
    Wire& U8(uint32_t value);
    Wire& U16(uint32_t value);
    Wire& U32(uint32_t value);
    Wire& Str(const std::string& text);
    Wire& Raw(const Bytes& more);
    Bytes bytes;
};

// The u16 length and the payload.
Bytes Frame(const Bytes& payload);
Bytes Join(const std::vector<Bytes>& parts);

// One row of the character-list message.
struct Row {
    std::string name;
    std::string second;
    std::string host;
    uint16_t port;
    int outfit[9];
    std::string fourth;
    uint16_t level;
};
Bytes CharacterListMessage(uint32_t premiumEnd, const std::vector<Row>& rows);
Bytes EnterGameMessage(uint32_t playerId, uint32_t followedId, uint8_t welcome, uint32_t itemsVersion);
Bytes NewVersionMessage(const std::string& text, uint32_t version);
// The two login requests as a correct client sends them.
Bytes LoginRequest(const std::string& account, const std::string& password, uint32_t gfxStamp);
Bytes GameLoginRequest(const std::string& account, const std::string& password, const std::string& character,
                       uint32_t itemsVersion);

// A client on its login screen whose network is scripted: the login server is
// the host "login", the game worlds are whatever the rows name, and the fake
// sockets decide what each of them answers. The status requests are off.
class LoginTest : public ::testing::Test, public ClientFixture {
protected:
    static constexpr uint32_t kStamp = 1500000000;  // the fixture's graphics file

    LoginTest();
    // The client goes first, while the fake sockets are still installed.
    ~LoginTest() override;

    Client& Start();
    // A new client over new sockets, for each case of a table.
    Client& Restart();
    // Runs main-loop passes until the condition holds (the connect thread
    // runs beside them); false when it has not after a few seconds.
    bool RunUntil(const std::function<bool()>& condition);
    // Runs main-loop passes until one sends nothing more (the requests a new
    // game screen queues at once, such as its channel joins).
    void RunUntilNothingMoreIsSent();

    int State();
    bool BoxOpen();
    std::string BoxTitle();
    std::string BoxText();
    bool BoxCanClose();
    // The bytes sent so far, and those sent since the last call.
    Bytes SentSinceLastCall();

    std::unique_ptr<FakeSockets> sockets = std::make_unique<FakeSockets>();

private:
    size_t sentSeen_ = 0;
};
