// The server-status request against a real HTTP exchange on 127.0.0.1: what
// reaches the banner, and the hand-over from the status thread to the client.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <future>
#include <mutex>
#include <thread>

#include "client/Client.h"
#include "client/Hosts.h"
#include "client/ServerStatus.h"
#include "client/TextUtils.h"
#include "engine/Font.h"
#include "engine/KEngine2.h"
#include "platform/Platform.h"
#include "tests/support/ClientFixture.h"
#include "tests/support/LoopbackPeer.h"

namespace {

const std::string kRequest =
    "GET /index.php HTTP/1.1\r\nHost: 127.0.0.1\r\nUser-Agent: KHyperText Class\r\nConnection: Close\r\n\r\n";

std::string Answer(const std::string& status, const std::string& body) {
    return "HTTP/1.1 " + status + "\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + body;
}

std::string LongText() {
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "The servers restart at noon for an update. ";
    return text;
}

// A web server for one request: it reads the request, waits until it is
// told to go on (at once unless held), answers and closes.
class StatusServer {
public:
    explicit StatusServer(std::string answer, bool held = false) : answer_(std::move(answer)), held_(held) {
        thread_ = std::thread([this] { Serve(); });
    }
    ~StatusServer() {
        Go();
        thread_.join();
    }
    uint16_t Port() const { return listener_.Port(); }
    void Go() {
        std::lock_guard<std::mutex> lock(mutex_);
        held_ = false;
        go_.notify_all();
    }
    // The request as it arrived; waits for it.
    std::string Request() { return request_.get(); }

private:
    void Serve() {
        std::unique_ptr<LoopbackPeer> peer = listener_.Accept(10000);
        if (!peer) {
            requestPromise_.set_value("");
            return;
        }
        const std::vector<uint8_t> bytes = peer->Receive(kRequest.size(), 10000);
        requestPromise_.set_value(std::string(bytes.begin(), bytes.end()));
        std::unique_lock<std::mutex> lock(mutex_);
        go_.wait_for(lock, std::chrono::seconds(20), [this] { return !held_; });
        lock.unlock();
        if (!answer_.empty())
            peer->Send(answer_);
        peer->Close();
    }

    LoopbackListener listener_;
    std::string answer_;
    bool held_;
    std::mutex mutex_;
    std::condition_variable go_;
    std::promise<std::string> requestPromise_;
    std::shared_future<std::string> request_ = requestPromise_.get_future().share();
    std::thread thread_;
};

ServerStatus::Request RequestTo(uint16_t port) {
    ServerStatus::Request request;
    request.host = "127.0.0.1";
    request.port = port;
    std::copy(kBuiltInAdvances, kBuiltInAdvances + Font::kAdvanceCount, request.advances.begin());
    return request;
}

TEST(ServerStatus, WhatTheBannerGetsFromTheAnswer) {
    int longLines = 0;
    const std::string longWrapped = WrapText(kBuiltInAdvances, 500, LongText(), &longLines);
    ASSERT_GT(longLines, 2);
    const struct {
        const char* name;
        std::string answer;
        std::string text;
        int lines;
    } cases[] = {
        {"one short line", Answer("200 OK", "Server maintenance at noon."), "Server maintenance at noon.", 1},
        {"a long text is wrapped to 500 pixels", Answer("200 OK", LongText()), longWrapped, longLines},
        {"an empty page clears the banner", Answer("200 OK", ""), "", 0},
        {"a missing page clears the banner", Answer("404 Not Found", "no such page"), "", 0},
        {"an answer cut short clears the banner",
         "HTTP/1.1 200 OK\r\nContent-Length: 50\r\n\r\nonly this", "", 0},
        {"no answer at all clears the banner", "", "", 0},
    };
    for (const auto& c : cases) {
        StatusServer server(c.answer);
        std::string text = "old";
        int32_t lines = 7;
        ServerStatus::Fetch(RequestTo(server.Port()), text, lines);
        EXPECT_EQ(server.Request(), kRequest) << c.name;
        EXPECT_EQ(text, c.text) << c.name;
        EXPECT_EQ(lines, c.lines) << c.name;
    }

    // Nobody listening.
    std::string text = "old";
    int32_t lines = 7;
    ServerStatus::Fetch(RequestTo(RefusingPort()), text, lines);
    EXPECT_EQ(text, "");
    EXPECT_EQ(lines, 0);
}

TEST(ServerStatus, ASilentServerIsGivenUpAfterTheTimeLimit) {
    StatusServer server(Answer("200 OK", "too late"), true);
    ServerStatus::Request request = RequestTo(server.Port());
    request.timeoutMs = 200;
    std::string text = "old";
    int32_t lines = 7;
    ServerStatus::Fetch(request, text, lines);
    EXPECT_EQ(text, "");
    EXPECT_EQ(lines, 0);
}

class StatusThreadTest : public ::testing::Test, public ClientFixture {
protected:
    // Waits until the status threads have let go of the status, which is
    // then held by `holders` (the test, and the client while it lives).
    static bool WaitUntilReleased(const std::shared_ptr<ServerStatus>& status, long holders) {
        for (int i = 0; i < 10000 && status.use_count() > holders; ++i)
            platform::SleepMs(1);
        return status.use_count() == holders;
    }
};

TEST_F(StatusThreadTest, TheThreadWrapsWithTheFontAsItWasWhenItStarted) {
    Client& client = StartClient();
    StatusServer server(Answer("200 OK", LongText()), true);
    client.statusHost = "127.0.0.1";
    client.statusPort = server.Port();
    int expectedLines = 0;
    const std::string expected = WrapText(client.app->font, 500, LongText(), &expectedLines);

    client.StartStatusThread();
    // The main thread changes the font while the request runs.
    for (int& advance : client.app->font->advances)
        advance = 400;
    server.Go();
    std::shared_ptr<ServerStatus> status = client.serverStatus;
    ASSERT_TRUE(WaitUntilReleased(status, 2));

    std::string text;
    int32_t lines = 0;
    client.GetServerStatus(text, lines);
    EXPECT_EQ(text, expected);
    EXPECT_EQ(lines, expectedLines);
}

TEST_F(StatusThreadTest, TheClientMayGoWhileARequestRuns) {
    Client& client = StartClient();
    StatusServer server(Answer("200 OK", "Welcome back."), true);
    client.statusHost = "127.0.0.1";
    client.statusPort = server.Port();
    client.StartStatusThread();
    EXPECT_EQ(server.Request(), kRequest);

    // Font, mutex and all go with the client; the thread still finishes.
    std::shared_ptr<ServerStatus> status = client.serverStatus;
    this->client.reset();
    server.Go();
    ASSERT_TRUE(WaitUntilReleased(status, 1));
    std::string text;
    int32_t lines = 0;
    status->Load(text, lines);
    EXPECT_EQ(text, "Welcome back.");
    EXPECT_EQ(lines, 1);
}

TEST_F(StatusThreadTest, NoStatusHostNoRequest) {
    Client& client = StartClient();
    client.statusHost.clear();
    client.StartStatusThread();
    EXPECT_EQ(client.serverStatus.use_count(), 1);
}

void SetEnvironment(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value ? value : "");
#else
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
#endif
}

TEST_F(StatusThreadTest, TheStatusServerComesFromTheEnvironment) {
    const struct {
        const char* value;  // nullptr: not set
        std::string host;
        uint16_t port;
    } cases[] = {
        {nullptr, kStatusHost, 80},
        {"127.0.0.1:8080", "127.0.0.1", 8080},
        {"status.test", "status.test", 80},
    };
    for (const auto& c : cases) {
        SetEnvironment("VELMORA_STATUS_SERVER", c.value);
        Client& client = MakeClient();
        EXPECT_EQ(client.statusHost, c.host) << (c.value ? c.value : "unset");
        EXPECT_EQ(client.statusPort, c.port) << (c.value ? c.value : "unset");
    }
    SetEnvironment("VELMORA_STATUS_SERVER", nullptr);
}

}  // namespace
