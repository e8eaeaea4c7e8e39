// Every server message the client reads, packed as a real server packs them:
// each of the fake server's samples (tests/fakeserver/server_messages.py)
// with a ping behind it in the same frame (in the next frame for a sample whose
// count claims more than its bytes: it is read to the end of its frame). A handler that reads one byte too
// many or too few takes the ping apart, so its answer proves that the message
// was read exactly. Before the game starts the handlers change nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "client/CharacterList.h"
#include "dialogs/social/GMBanDialog.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIManager.h"
#include "net/Connection.h"
#include "net/InMessage.h"
#include "protocol/Protocol.h"
#include "tests/support/LoginFixture.h"
#include "tests/support/traffic/ServerTraffic.h"

namespace {

// Made at build time from the fake server's table, so that the native tests
// and the Wine test send the same bytes.
const std::vector<ServerSample>& Samples() { return ServerSamples(); }

// These act at once, also before the game: they have tests of their own.
bool IsConnectionLevel(int opcode) {
    return opcode == 0x01 || opcode == 0x02 || opcode == 0x03 || opcode == 0x16 || opcode == 0x19;
}

Bytes Ping(uint16_t value) { return Wire().U8(0x19).U16(value).bytes; }

class ServerMessagesTest : public LoginTest {
protected:
    Protocol& protocol() { return *client->protocol; }

    // The game login is out and the game has not started.
    void ConnectToTheWorld() {
        protocol().account = "acc";
        protocol().password = "pw";
        protocol().characterName = "Aldric";
        protocol().Connect(1, {"world"}, 7171);
        ASSERT_TRUE(RunUntil([&] { return protocol().loginSent != 0 && !sockets->sent.empty(); }));
        SentSinceLastCall();
    }
    void EnterTheGame() {
        ConnectToTheWorld();
        Receive(EnterGameMessage(0x10000001, 0x10000001, 0, 1));
        ASSERT_NE(client->game, nullptr);
        // The game screen joins its chat channels at once; those requests
        // go out with the next passes.
        RunUntilNothingMoreIsSent();
        SentSinceLastCall();
    }
    // One frame through the socket, handled by the main loop, and whatever
    // the client answers sent.
    void Receive(const Bytes& payload) {
        sockets->incoming.push_back(Frame(payload));
        ASSERT_TRUE(RunUntil([&] { return sockets->incoming.empty(); }));
        client->RunPass();
        client->RunPass();
    }
    // Hands one frame straight to the dispatcher.
    void Dispatch(const Bytes& payload) {
        const Bytes frame = Frame(payload);
        InMessage message(frame.data(), int(frame.size()));
        protocol().Dispatch(message);
    }
    std::vector<int> TopLevelIds() {
        std::vector<int> ids;
        for (const GUIControl* control : client->app->gui->root->children)
            ids.push_back(control->id);
        return ids;
    }
    // Sends every sample with a ping behind it and expects exactly that
    // ping's answer; `check` looks at the client after each.
    void SendEverySample(const std::function<void(const ServerSample&)>& check) {
        uint16_t value = 0x4100;
        int sent = 0;
        for (const ServerSample& sample : Samples()) {
            ++value;
            // A sample that ends its frame has the ping in the next one.
            if (sample.endsFrame) {
                Receive(sample.payload);
                Receive(Ping(value));
            } else {
                Receive(Join({sample.payload, Ping(value)}));
            }
            EXPECT_EQ(SentSinceLastCall(), Frame(Ping(value))) << sample.label;
            EXPECT_EQ(State(), Connection::kConnected) << sample.label;
            EXPECT_TRUE(platform.boxes.shown.empty()) << sample.label;
            platform.boxes.shown.clear();
            check(sample);
            ++sent;
        }
        EXPECT_GT(sent, 0);
    }
};

TEST_F(ServerMessagesTest, EveryMessageHasASample) {
    std::set<int> sampled;
    for (const ServerSample& sample : Samples()) {
        ASSERT_FALSE(sample.payload.empty()) << sample.label;
        const int opcode = sample.payload[0];
        EXPECT_TRUE(opcode >= 0x01 && opcode <= Protocol::kLastOpcode) << sample.label;
        EXPECT_FALSE(IsConnectionLevel(opcode)) << sample.label;
        sampled.insert(opcode);
    }
    for (int opcode = 0x01; opcode <= Protocol::kLastOpcode; ++opcode) {
        if (!IsConnectionLevel(opcode)) {
            EXPECT_TRUE(sampled.count(opcode)) << "no sample of the message 0x" << std::hex << opcode
                                              << " in the fake server's SAMPLES";
        }
    }
}

TEST_F(ServerMessagesTest, BeforeTheGameEveryMessageIsReadWholeAndChangesNothing) {
    Start();
    ConnectToTheWorld();
    const std::vector<int> ids = TopLevelIds();
    const std::string box = BoxText();
    const size_t characters = protocol().characterList->characters.size();
    SendEverySample([&](const ServerSample& sample) {
        EXPECT_EQ(client->game, nullptr) << sample.label;
        EXPECT_EQ(TopLevelIds(), ids) << sample.label;
        EXPECT_EQ(BoxText(), box) << sample.label;
        EXPECT_FALSE(BoxCanClose()) << sample.label;
        EXPECT_TRUE(protocol().awaitingAnswer) << sample.label;
        EXPECT_EQ(protocol().characterList->characters.size(), characters) << sample.label;
        EXPECT_EQ(protocol().tradeWindow, nullptr) << sample.label;
        EXPECT_EQ(protocol().questLog, nullptr) << sample.label;
    });
}

TEST_F(ServerMessagesTest, InTheGameEveryMessageIsReadWhole) {
    Start();
    // The ban dialog that the 0x1f sample opens looks its empty name box up
    // when that differs from the last name looked up in this run: none yet.
    GMBanDialog::Instance()->lastLookupName.clear();
    EnterTheGame();
    SendEverySample([&](const ServerSample& sample) {
        EXPECT_NE(client->game, nullptr) << sample.label;
        if (sample.payload[0] == 0x1f) {
            EXPECT_NE(client->app->gui->FindControl(GMBanDialog::kDialogId), nullptr) << sample.label;
            GMBanDialog::Instance()->Close();
        }
    });
}

// The traffic the connection benchmarks time: a full receive buffer of frames
// of several sample messages each, and pings. Every frame is read to its end
// (each ping answered, no error) and the buffer holds nothing else.
TEST_F(ServerMessagesTest, TheSharedTrafficIsValidFramesOfSampleMessages) {
    Start();
    const auto handled = [](int opcode) { return !IsConnectionLevel(opcode); };
    for (int pingEvery : {0, 8}) {
        SCOPED_TRACE(pingEvery);
        const ServerTraffic traffic = MakeServerTraffic(size_t(Connection::kReceiveBufferSize), pingEvery, handled);
        ASSERT_GT(traffic.frames, 10);
        EXPECT_LE(traffic.bytes.size(), size_t(Connection::kReceiveBufferSize));
        EXPECT_GT(traffic.messages, traffic.frames - traffic.pings);
        EXPECT_EQ(traffic.pings > 0, pingEvery > 0);

        platform.boxes.shown.clear();
        Connection& connection = *protocol().connection;
        connection.ClearQueues();
        connection.SetState(Connection::kConnected);
        int room = 0;
        uint8_t* space = connection.ReceiveSpace(room);
        ASSERT_GE(room, int(traffic.bytes.size()));
        std::copy(traffic.bytes.begin(), traffic.bytes.end(), space);
        connection.TakeReceived(int(traffic.bytes.size()));
        int frames = 0;
        InMessage message;
        while (connection.PopIncoming(message)) {
            protocol().Dispatch(message);
            EXPECT_EQ(message.Remaining(), 0) << "frame " << frames;
            ++frames;
        }
        EXPECT_EQ(frames, traffic.frames);
        EXPECT_EQ(connection.OutgoingCount(), size_t(traffic.pings));
        EXPECT_TRUE(platform.boxes.shown.empty());
        EXPECT_EQ(connection.GetState(), Connection::kConnected);
    }
    protocol().connection->SetState(Connection::kIdle);
}

TEST_F(ServerMessagesTest, ListCountsTheFrameCannotHoldEndTheList) {
    const struct {
        const char* name;
        Bytes payload;
        std::string error;  // the "Networking Error" text, empty for none
        size_t pongs;
    } cases[] = {
        {"a market history count read as negative holds no records",
         Wire().U8(0x30).U32(0xFFFFFFFF).Raw(Ping(5)).bytes, "", 1},
        {"so does a market listing's",
         Wire().U8(0x2f).U8(0).U32(0x80000000).Raw(Ping(6)).bytes, "", 1},
        {"a byte too few for a history record ends the list at once, whatever the count",
         Wire().U8(0x30).U32(0x7FFFFFFF).U8(0x41).bytes, "A networking error occured (#48, 8/8)", 0},
        {"a byte too few for a house",
         Wire().U8(0x29).U8(1).U16(0xFFFF).U8(0x41).bytes, "A networking error occured (#41, 7/7)", 0},
        {"a byte too few for an online-list entry",
         Wire().U8(0x40).U8(1).U16(0xFFFF).U8(0x41).bytes, "A networking error occured (#64, 7/7)", 0},
        {"a byte too few for an item name",
         Wire().U8(0x36).U16(0xFFFF).U8(0x41).bytes, "A networking error occured (#54, 6/6)", 0},
        {"more online-list entries than the low byte of the count are read",
         [] {
             Wire wire;
             wire.U8(0x40).U8(1).U16(257);
             for (int i = 0; i < 257; ++i)
                 wire.Str("P").U16(uint32_t(i)).U32(0x19).U32(0x19);
             return wire.Raw(Ping(7)).bytes;
         }(),
         "", 1},
    };
    Start();
    for (const auto& c : cases) {
        platform.boxes.shown.clear();
        protocol().connection->ClearQueues();
        protocol().connection->SetState(Connection::kConnected);
        Dispatch(c.payload);
        if (c.error.empty()) {
            EXPECT_TRUE(platform.boxes.shown.empty()) << c.name;
        } else {
            ASSERT_EQ(platform.boxes.shown.size(), 1u) << c.name;
            EXPECT_EQ(platform.boxes.shown[0].text, c.error) << c.name;
        }
        EXPECT_EQ(protocol().connection->OutgoingCount(), c.pongs) << c.name;
    }
    protocol().connection->SetState(Connection::kIdle);
}

}  // namespace
