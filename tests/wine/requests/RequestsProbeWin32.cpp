// The request table (tests/support/RequestTable) in the Windows build: a
// client with the fake platform services and no window connects its own
// Connection to the port given on the command line, queues every row's
// requests and sends them. For each frame it prints what the server's
// decoder must report: "expect <json>" and, for byte-exact rows,
// "bytes <hex>"; then "sent <frames>" once the last byte is out.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "client/Client.h"
#include "net/Connection.h"
#include "platform/Platform.h"
#include "protocol/Protocol.h"
#include "tests/support/ClientFixture.h"
#include "tests/support/Json.h"
#include "tests/support/RequestTable.h"

namespace {

void Say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// Polls until the condition holds; false after about 30 seconds.
template <typename Condition>
bool PollUntil(Connection& connection, Condition condition) {
    for (int i = 0; i < 30000; ++i) {
        if (condition())
            return true;
        connection.Poll();
        platform::SleepMs(1);
    }
    return condition();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        Say("usage: velmora_requests_probe <port>");
        return 2;
    }
    const uint16_t port = uint16_t(std::atoi(argv[1]));
    ClientFixture fixture;
    Client& client = fixture.StartClient();
    PrepareForRequestTable(client);
    Protocol& protocol = *client.protocol;
    Connection& connection = *protocol.connection;

    connection.Connect({"127.0.0.1"}, port);
    if (!PollUntil(connection, [&] { return connection.GetState() == Connection::kConnected; })) {
        Say("no connection: state " + std::to_string(connection.GetState()));
        return 1;
    }
    size_t frames = 0;
    for (const RequestRow& row : RequestRows()) {
        const size_t before = connection.OutgoingCount();
        row.call(client, protocol);
        if (connection.OutgoingCount() - before != row.expected.size()) {
            Say(std::string("row \"") + row.name + "\" queued " +
                std::to_string(connection.OutgoingCount() - before) + " frames");
            return 1;
        }
        for (size_t i = 0; i < row.expected.size(); ++i) {
            Json expected;
            std::string error;
            if (!Json::Parse(row.expected[i], expected, error)) {
                Say(std::string("row \"") + row.name + "\": " + error);
                return 1;
            }
            Say("expect " + expected.Dump());
            if (!row.bytes.empty())
                Say(std::string("bytes ") + row.bytes[i]);
            ++frames;
        }
        // Sent as they come, so a frame the server refuses is near its row.
        if (!PollUntil(connection, [&] { return connection.OutgoingCount() == 0; })) {
            Say(std::string("row \"") + row.name + "\" was not sent: state " +
                std::to_string(connection.GetState()));
            return 1;
        }
    }
    Say("sent " + std::to_string(frames));
    return 0;
}
