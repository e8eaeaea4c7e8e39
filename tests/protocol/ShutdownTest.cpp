// Closing the window in the game: the logout goes out at the end even when
// the game's first requests (the chat channels it joins) are still queued
// ahead of it, since a pass sends one request.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/KEngine2.h"
#include "engine/WindowMessages.h"
#include "net/Connection.h"
#include "protocol/Protocol.h"
#include "tests/support/LoginFixture.h"

namespace {

class ShutdownTest : public LoginTest {};

TEST_F(ShutdownTest, TheLogoutQueuedBehindOtherRequestsIsSentAtTheEnd) {
    Start();
    Protocol& protocol = *client->protocol;
    protocol.account = "acc";
    protocol.password = "pw";
    protocol.characterName = "Aldric";
    protocol.Connect(1, {"world"}, 7171);
    ASSERT_TRUE(RunUntil([&] { return protocol.loginSent != 0 && !sockets->sent.empty(); }));
    sockets->incoming.push_back(Frame(EnterGameMessage(1, 1, 0, 1)));
    ASSERT_TRUE(RunUntil([&] { return client->game != nullptr; }));
    SentSinceLastCall();

    // Requests of the game's start still waiting, then the close.
    for (int i = 0; i < 5; ++i)
        protocol.SendPong(uint16_t(0x100 + i));
    client->app->HandleMessage(wm::kClose, 0, 0);
    ASSERT_FALSE(client->app->running);
    client->RunPass();
    client->Shutdown();

    const Bytes sent = SentSinceLastCall();
    const Bytes logout = Frame({0x13});
    ASSERT_GE(sent.size(), logout.size());
    EXPECT_TRUE(std::equal(logout.rbegin(), logout.rend(), sent.rbegin())) << "the logout is not the last request";
    EXPECT_EQ(protocol.connection->OutgoingCount(), 0u);
}

}  // namespace
