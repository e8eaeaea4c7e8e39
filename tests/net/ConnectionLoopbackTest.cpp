// The game connection over the system's real sockets against a peer on
// 127.0.0.1 (Winsock in the Windows build, run under Wine).
#include <gtest/gtest.h>

#include <memory>

#include "net/Connection.h"
#include "platform/Platform.h"
#include "platform/Sockets.h"
#include "tests/support/LoopbackPeer.h"

namespace {

using Bytes = std::vector<uint8_t>;

bool WaitForState(Connection& connection, int state) {
    for (int i = 0; i < 10000; ++i) {
        if (connection.GetState() == state)
            return true;
        platform::SleepMs(1);
    }
    return false;
}

// Polls until a frame has come (or the state leaves "connected").
bool PollForFrame(Connection& connection, InMessage& message) {
    for (int i = 0; i < 5000; ++i) {
        connection.Poll();
        if (connection.PopIncoming(message))
            return true;
        if (connection.GetState() != Connection::kConnected)
            return false;
        platform::SleepMs(1);
    }
    return false;
}

TEST(ConnectionLoopbackTest, ARefusedPortFailsWithError10061) {
    Connection connection;
    connection.Connect({"127.0.0.1"}, RefusingPort());
    ASSERT_TRUE(WaitForState(connection, Connection::kConnectFailed));
    EXPECT_EQ(connection.GetLastError(), platform::kSockConnectionRefused);
}

TEST(ConnectionLoopbackTest, AnEmptyHostListFailsAtOnce) {
    Connection connection;
    connection.Connect({}, 5657);
    ASSERT_TRUE(WaitForState(connection, Connection::kConnectFailed));
    EXPECT_NE(connection.GetLastError(), 0);
}

TEST(ConnectionLoopbackTest, TheNextHostIsTriedWhenOneRefuses) {
    LoopbackListener listener;
    ASSERT_TRUE(listener.IsListening());
    Connection connection;
    // The listener takes only 127.0.0.1: 127.0.0.2 refuses, and the connect
    // goes on to the next host with a new socket.
    connection.Connect({"127.0.0.2", "127.0.0.1"}, listener.Port());
    ASSERT_TRUE(WaitForState(connection, Connection::kConnected));
    EXPECT_NE(listener.Accept(), nullptr);
}

TEST(ConnectionLoopbackTest, FramesTravelBothWaysAndAPeerCloseEndsTheConnection) {
    LoopbackListener listener;
    ASSERT_TRUE(listener.IsListening());
    Connection connection;
    connection.Connect({"127.0.0.1"}, listener.Port());
    ASSERT_TRUE(WaitForState(connection, Connection::kConnected));
    std::unique_ptr<LoopbackPeer> server = listener.Accept();
    ASSERT_NE(server, nullptr);

    // A ping frame from the server.
    ASSERT_TRUE(server->Send(Bytes{3, 0, 0x19, 0x34, 0x12}));
    InMessage ping;
    ASSERT_TRUE(PollForFrame(connection, ping));
    EXPECT_EQ(ping.ReadU8(), 0x19);
    EXPECT_EQ(ping.ReadU16(), 0x1234);

    // A request of 2500 bytes reaches the server whole, in order.
    OutMessage request;
    for (int i = 0; i < 2500; ++i)
        request.WriteU8(uint8_t(i));
    connection.Send(request);
    for (int i = 0; i < 3; ++i)
        connection.Poll();
    const Bytes received = server->Receive(2502);
    ASSERT_EQ(received.size(), 2502u);
    EXPECT_EQ(received[0], 2500 & 0xFF);
    EXPECT_EQ(received[1], 2500 >> 8);
    EXPECT_EQ(received[2501], uint8_t(2499));

    server->Close();
    InMessage none;
    EXPECT_FALSE(PollForFrame(connection, none));
    EXPECT_EQ(connection.GetState(), Connection::kReceiveFailed);
}

}  // namespace
