// The game connection over scripted sockets: framing, sending in chunks,
// failures and the connect thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include "net/Connection.h"
#include "platform/Platform.h"
#include "tests/support/FakeSockets.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::vector<uint8_t> Frame(const std::vector<uint8_t>& payload) {
    std::vector<uint8_t> frame(payload.size() + 2);
    frame[0] = uint8_t(payload.size());
    frame[1] = uint8_t(payload.size() >> 8);
    std::copy(payload.begin(), payload.end(), frame.begin() + 2);
    return frame;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

OutMessage Request(const Bytes& payload) {
    OutMessage message;
    for (uint8_t byte : payload)
        message.WriteU8(byte);
    return message;
}

// Waits for the connect thread to settle the state (it runs on its own thread).
bool WaitForState(Connection& connection, int state) {
    for (int i = 0; i < 5000; ++i) {
        if (connection.GetState() == state)
            return true;
        platform::SleepMs(1);
    }
    return false;
}

std::vector<Bytes> PopPayloads(Connection& connection) {
    std::vector<Bytes> payloads;
    InMessage message;
    while (connection.PopIncoming(message))
        payloads.emplace_back(message.Data() + 2, message.Data() + message.len);
    return payloads;
}

class ConnectionTest : public ::testing::Test {
protected:
    ConnectionTest() { Fresh(); }
    ~ConnectionTest() override {
        connection.reset();
        sockets.reset();
    }

    // New sockets and a new connection, for each case of a table.
    void Fresh() {
        connection.reset();
        sockets.reset();
        sockets = std::make_unique<FakeSockets>();
        connection = std::make_unique<Connection>();
    }

    void ConnectToGame() {
        connection->Connect({"game"}, 7171);
        ASSERT_TRUE(WaitForState(*connection, Connection::kConnected));
    }

    std::unique_ptr<FakeSockets> sockets;
    std::unique_ptr<Connection> connection;
};

struct SplitCase {
    const char* name;
    std::vector<Bytes> receives;              // what each poll's receive returns
    std::vector<std::vector<Bytes>> queued;   // the payloads queued by each poll
};

TEST_F(ConnectionTest, FramesAreCutFromTheReceivedBytes) {
    const Bytes longest(19997, 0x5A);
    const Bytes tooLong(19998, 0xA5);
    const SplitCase cases[] = {
        {"a lone empty frame waits for more bytes",
         {{0, 0}, {1, 0, 7}},
         {{}, {{}, {7}}}},
        {"several frames in one receive are queued in order",
         {Join({Frame({1}), Frame({2, 3}), Frame({}), Frame({4})})},
         {{{1}, {2, 3}, {}, {4}}}},
        {"a frame split across receives is queued with its last byte",
         {{3, 0, 1}, {2}, {3, 1}, {0, 9}},
         {{}, {}, {{1, 2, 3}}, {{9}}}},
        {"a frame of 19997 bytes is kept, one of 19998 skipped and the next still read",
         {Join({Frame(longest), Frame(tooLong), Frame({9})})},
         {{longest, {9}}}},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        ConnectToGame();
        for (size_t i = 0; i < c.receives.size(); ++i) {
            sockets->incoming.push_back(c.receives[i]);
            connection->Poll();
            EXPECT_EQ(PopPayloads(*connection), c.queued[i]) << "poll " << i;
        }
        EXPECT_EQ(connection->GetState(), Connection::kConnected);
    }
}

TEST_F(ConnectionTest, AFrameKeepsExactlyItsOwnBytes) {
    ConnectToGame();
    sockets->incoming.push_back(Join({Frame({1, 2, 3}), Frame({4})}));
    connection->Poll();
    InMessage first;
    ASSERT_TRUE(connection->PopIncoming(first));
    // The message stays readable after the connection has gone.
    connection->Disconnect();
    EXPECT_EQ(first.len, 5);
    EXPECT_EQ(first.pos, 2);
    EXPECT_EQ(first.ReadU8(), 1);
    EXPECT_EQ(first.ReadU16(), 0x0302);
    EXPECT_EQ(first.ReadU8(), 0);  // the next frame's bytes are not readable here
}

TEST_F(ConnectionTest, MessagesKeepTheirBytesWhileTheConnectionReceivesOn) {
    ConnectToGame();
    sockets->incoming.push_back(Join({Frame({1, 2}), Bytes{3, 0, 7}}));
    connection->Poll();
    InMessage kept;
    ASSERT_TRUE(connection->PopIncoming(kept));
    // More bytes arrive while the first message is still being read, and a
    // frame stays queued over the next receive.
    sockets->incoming.push_back(Join({Bytes{8, 9}, Frame({4})}));
    connection->Poll();
    sockets->incoming.push_back(Frame({5, 6}));
    connection->Poll();
    EXPECT_EQ(PopPayloads(*connection), (std::vector<Bytes>{{7, 8, 9}, {4}, {5, 6}}));
    EXPECT_EQ(kept.ReadU8(), 1);
    EXPECT_EQ(kept.ReadU8(), 2);
}

TEST_F(ConnectionTest, AReceiveFullOfTinyFramesIsQueuedWhole) {
    ConnectToGame();
    Bytes burst;
    for (int i = 0; i < Connection::kReceiveBufferSize / 3; ++i)
        burst.insert(burst.end(), {1, 0, uint8_t(i)});
    sockets->incoming.push_back(burst);
    connection->Poll();
    ASSERT_EQ(connection->IncomingCount(), burst.size() / 3);
    InMessage message;
    for (int i = 0; connection->PopIncoming(message); ++i) {
        ASSERT_EQ(message.len, 3);
        ASSERT_EQ(message.ReadU8(), uint8_t(i));
    }
}

struct SendCase {
    const char* name;
    int payloadSize;
    std::deque<int> acceptLimits;  // per send call; -1 would block
    std::vector<int> asked;        // bytes handed to each send call, one call per poll
};

TEST_F(ConnectionTest, RequestsLeaveInChunksOfAtMost1000BytesOnePerPoll) {
    const SendCase cases[] = {
        {"2500 payload bytes leave as 1000, 1000 and 502", 2500, {}, {1000, 1000, 502}},
        {"a chunk taken in part continues from the first unsent byte", 1200, {300, 400}, {1000, 902, 502}},
        {"a send that would block is tried again", 10, {-1}, {12, 12}},
    };
    for (const SendCase& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        sockets->acceptLimits = c.acceptLimits;
        ConnectToGame();
        Bytes payload(size_t(c.payloadSize));
        for (size_t i = 0; i < payload.size(); ++i)
            payload[i] = uint8_t(i * 7);
        connection->Send(Request(payload));
        for (size_t i = 0; i < c.asked.size() + 2; ++i)
            connection->Poll();
        EXPECT_EQ(sockets->asked, c.asked);
        EXPECT_EQ(sockets->sent, Frame(payload));
        EXPECT_EQ(connection->OutgoingCount(), 0u);
        EXPECT_EQ(connection->GetState(), Connection::kConnected);
    }
}

TEST_F(ConnectionTest, EmptyAndOverflowedRequestsAreNeverSent) {
    ConnectToGame();
    OutMessage overflowed = Request({0x03, 'x'});
    overflowed.WriteString(std::string(17000, 'a'));  // dropped: the message is spoilt
    overflowed.WriteU8(0x42);
    EXPECT_TRUE(overflowed.IsOverflowed());
    connection->Send(OutMessage());
    connection->Send(overflowed);
    connection->Send(Request({0x13}));
    for (int i = 0; i < 3; ++i)
        connection->Poll();
    EXPECT_EQ(sockets->sent, Frame({0x13}));
}

struct FailureCase {
    const char* name;
    int receiveError;
    bool peerClosed;
    int sendError;
    int state;
    int lastError;
};

TEST_F(ConnectionTest, FailuresEndTheConnectionWithTheirStateAndError) {
    const FailureCase cases[] = {
        {"the peer closes", 0, true, 0, Connection::kReceiveFailed, 0},
        {"a receive fails", platform::kSockConnectionReset, false, 0, Connection::kReceiveFailed,
         platform::kSockConnectionReset},
        {"a receive would block", platform::kSockWouldBlock, false, 0, Connection::kConnected, 0},
        {"a receive is interrupted", platform::kSockInterrupted, false, 0, Connection::kConnected, 0},
        {"a send fails", 0, false, platform::kSockConnectionAborted, Connection::kSendFailed,
         platform::kSockConnectionAborted},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        ConnectToGame();
        sockets->receiveError = c.receiveError;
        sockets->peerClosed = c.peerClosed;
        sockets->sendError = c.sendError;
        connection->Send(Request({0x13}));
        connection->Poll();
        EXPECT_EQ(connection->GetState(), c.state);
        if (c.state != Connection::kConnected) {
            EXPECT_EQ(connection->GetLastError(), c.lastError);
            EXPECT_EQ(sockets->Closed(), sockets->Opened());  // the socket is gone at once
        }
    }
}

TEST_F(ConnectionTest, ANewAttemptStartsWithEmptyQueues) {
    ConnectToGame();
    // A frame arrives, then the server goes; the frame is never popped.
    sockets->incoming.push_back(Frame({0x04}));
    connection->Poll();
    sockets->peerClosed = true;
    connection->Poll();
    ASSERT_EQ(connection->GetState(), Connection::kReceiveFailed);
    connection->SetState(Connection::kIdle);
    // A request made while no server is connected...
    connection->Send(Request({0x13}));

    sockets->peerClosed = false;
    connection->Connect({"login"}, 5657);
    ASSERT_TRUE(WaitForState(*connection, Connection::kConnected));
    InMessage stale;
    EXPECT_FALSE(connection->PopIncoming(stale));
    // ...never reaches the next server ahead of its login request.
    connection->Send(Request({0x01}));
    connection->Poll();
    connection->Poll();
    EXPECT_EQ(sockets->sent, Frame({0x01}));
}

TEST_F(ConnectionTest, HostsAreTriedInOrderEachWithAFreshSocket) {
    sockets->refusingHosts = {"first", "second"};
    connection->Connect({"first", "second", "third", "fourth"}, 5657);
    ASSERT_TRUE(WaitForState(*connection, Connection::kConnected));
    EXPECT_EQ(sockets->ConnectsFinished(), 3);
    EXPECT_EQ(sockets->Connects(), std::vector<std::string>{"third"});
    EXPECT_EQ(sockets->Opened(), 3);
    EXPECT_EQ(sockets->Closed(), 2);
}

TEST_F(ConnectionTest, WhenEveryHostFailsTheLastErrorIsKept) {
    struct Case {
        std::vector<std::string> hosts;
        int error;
    };
    sockets->refusingHosts = {"refusing"};
    sockets->unknownHosts = {"unknown"};
    const Case cases[] = {
        {{"unknown", "refusing"}, platform::kSockConnectionRefused},
        {{"refusing", "unknown"}, platform::kSockHostNotFound},
        {{}, platform::kSockHostNotFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hosts.size());
        connection->Connect(c.hosts, 5657);
        ASSERT_TRUE(WaitForState(*connection, Connection::kConnectFailed));
        EXPECT_EQ(connection->GetLastError(), c.error);
        EXPECT_EQ(sockets->Closed(), sockets->Opened());
    }
}

TEST_F(ConnectionTest, ConnectDoesNothingWhileConnectingOrConnected) {
    sockets->HoldConnects();
    connection->Connect({"game"}, 7171);
    connection->Connect({"other"}, 7171);
    sockets->Release();
    ASSERT_TRUE(WaitForState(*connection, Connection::kConnected));
    connection->Connect({"other"}, 7171);
    platform::SleepMs(20);
    EXPECT_EQ(sockets->Connects(), std::vector<std::string>{"game"});
    EXPECT_EQ(sockets->Opened(), 1);
}

TEST_F(ConnectionTest, AnAttemptCutShortByDisconnectLeavesNothingBehind) {
    sockets->HoldConnects();
    connection->Connect({"slow"}, 7171);
    connection->Disconnect();
    EXPECT_EQ(connection->GetState(), Connection::kIdle);
    sockets->Release();
    for (int i = 0; i < 5000 && sockets->Closed() < 1; ++i)
        platform::SleepMs(1);
    // The late connect is closed and does not bring the connection back.
    EXPECT_EQ(sockets->Closed(), 1);
    EXPECT_EQ(connection->GetState(), Connection::kIdle);
    connection->Connect({"game"}, 7171);
    EXPECT_TRUE(WaitForState(*connection, Connection::kConnected));
}

TEST_F(ConnectionTest, DestroyingTheConnectionWaitsForItsConnectThread) {
    sockets->refusingHosts = {"slow"};
    sockets->HoldConnects();
    auto doomed = std::make_unique<Connection>();
    doomed->Connect({"slow", "never tried"}, 7171);
    for (int i = 0; i < 5000 && sockets->ConnectsStarted() == 0; ++i)
        platform::SleepMs(1);
    std::thread releaser([this] {
        platform::SleepMs(30);
        sockets->Release();
    });
    doomed.reset();  // must not return before the thread is done with it
    releaser.join();
    EXPECT_EQ(sockets->ConnectsFinished(), 1);
    EXPECT_EQ(sockets->Closed(), sockets->Opened());
}

}  // namespace
