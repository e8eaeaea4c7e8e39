// The HTTP client: reading answers (fed as bytes) and a real exchange with a
// server on 127.0.0.1.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>

#include "net/KHyperText.h"
#include "platform/Platform.h"
#include "tests/support/LoopbackPeer.h"

namespace {

std::string Body(const KHyperText& http) {
    return http.body ? std::string(reinterpret_cast<const char*>(http.body), size_t(http.GetBytesReceived()))
                     : std::string();
}

int Feed(KHyperText& http, const std::string& bytes) {
    return http.Feed(reinterpret_cast<const uint8_t*>(bytes.data()), int(bytes.size()));
}

struct AnswerCase {
    const char* name;
    std::string answer;
    int result;          // what the last receive returns
    int contentLength;
    std::string body;
};

TEST(KHyperTextTest, AnswersAreReadFromTheirRawBytes) {
    const std::string zip("PK\x03\x04\x00\x00\r\n\r\n\x00\xff", 12);
    const AnswerCase cases[] = {
        {"a whole answer in one packet", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello", 200, 5, "hello"},
        {"lines ending in bare LF", "HTTP/1.1 200 OK\nServer: x\nContent-Length: 3\n\nabc", 200, 3, "abc"},
        {"a body with NULs that came with the headers",
         "HTTP/1.1 200 OK\r\nContent-Length: 12\r\n\r\n" + zip, 200, 12, zip},
        {"bare-LF headers before a body holding CR LF CR LF",
         "HTTP/1.1 200 OK\nContent-Length: 12\n\n" + zip, 200, 12, zip},
        {"bytes behind the body are ignored", "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nabcdef", 200, 2, "ab"},
        {"the later of two lengths counts",
         "HTTP/1.1 200 OK\r\nContent-Length: 9\r\nContent-Length: 1\r\n\r\nxyz", 200, 1, "x"},
        {"another status comes back once its body is complete",
         "HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\n\r\ngone", 404, 4, "gone"},
        {"an incomplete body waits", "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc", 0, 10, "abc"},
        {"an unfinished header block waits", "HTTP/1.1 200 OK\r\nContent-Len", 0, 0, ""},
        // Refused header blocks: the status at once, without a body.
        {"no length", "HTTP/1.1 200 OK\r\nServer: x\r\n\r\nabc", 200, 0, ""},
        {"a length of 0", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", 200, 0, ""},
        {"a negative length", "HTTP/1.1 200 OK\r\nContent-Length: -5\r\n\r\nabc", 200, 0, ""},
        {"a length of 50 MiB", "HTTP/1.1 200 OK\r\nContent-Length: 52428800\r\n\r\nabc", 200, 0, ""},
        {"a length beyond any integer",
         "HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999999\r\n\r\nabc", 200, 0, ""},
        {"a length header in other letter case", "HTTP/1.1 200 OK\r\ncontent-length: 3\r\n\r\nabc", 200, 0, ""},
        {"a status line too short for a status", "HTTP/1.1\r\n\r\n", 0, 0, ""},
        // A header block that has not ended within 1000 bytes fails.
        {"an endless header block", "HTTP/1.1 200 OK\r\nX-Pad: " + std::string(1200, 'p'), -1, 0, ""},
    };
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.name);
        // Whole, and byte by byte as the slowest network would bring it.
        for (bool bytewise : {false, true}) {
            KHyperText http;
            int result = 0;
            if (bytewise) {
                for (size_t i = 0; i < c.answer.size() && result == 0; ++i)
                    result = Feed(http, c.answer.substr(i, 1));
            } else {
                result = Feed(http, c.answer);
            }
            EXPECT_EQ(result, c.result) << (bytewise ? "byte by byte" : "whole");
            EXPECT_EQ(http.contentLength, c.contentLength);
            EXPECT_EQ(Body(http), c.body);
        }
    }
}

TEST(KHyperTextTest, HeaderLinesAreKeptByName) {
    KHyperText http;
    ASSERT_EQ(Feed(http, "HTTP/1.1 200 OK\r\nServer: test\r\nX-Empty:\r\nX-Tight:v\r\nContent-Length: 1\r\n\r\n!"),
              200);
    EXPECT_EQ(http.status, 200);
    EXPECT_EQ(http.headers["Server"], "test");
    EXPECT_EQ(http.headers["X-Empty"], "");
    EXPECT_EQ(http.headers["X-Tight"], "");  // the value starts two characters behind the colon
    EXPECT_EQ(http.headers["Content-Length"], "1");
}

TEST(KHyperTextTest, ARefusedHeaderBlockEndsTheAnswer) {
    KHyperText http;
    EXPECT_EQ(Feed(http, "HTTP/1.1 200 OK\r\n\r\n"), 200);
    EXPECT_EQ(Feed(http, "more"), -1);
    EXPECT_EQ(http.Receive(), -1);
    EXPECT_FALSE(http.IsReceiving());
}

class KHyperTextLoopbackTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(listener.IsListening());
        ASSERT_TRUE(http.Connect("127.0.0.1", listener.Port()));
        ASSERT_TRUE(http.Get("/index.php"));
        server = listener.Accept();
        ASSERT_NE(server, nullptr);
    }

    // Polls as the status thread does until the answer is complete or fails.
    int PollUntilDone(std::vector<int>* progress = nullptr) {
        for (int i = 0; i < 5000; ++i) {
            const int result = http.Receive();
            if (progress)
                progress->push_back(http.GetBytesReceived());
            if (result != 0)
                return result;
            platform::SleepMs(1);
        }
        return 0;
    }

    LoopbackListener listener;
    KHyperText http;
    std::unique_ptr<LoopbackPeer> server;
};

TEST_F(KHyperTextLoopbackTest, TheRequestIsFiveLinesInOneSend) {
    const std::string expected =
        "GET /index.php HTTP/1.1\r\nHost: 127.0.0.1\r\nUser-Agent: KHyperText Class\r\nConnection: Close\r\n\r\n";
    const std::vector<uint8_t> received = server->Receive(expected.size());
    EXPECT_EQ(std::string(received.begin(), received.end()), expected);
    EXPECT_TRUE(server->IsQuiet());
    EXPECT_TRUE(http.IsReceiving());
}

TEST_F(KHyperTextLoopbackTest, AnAnswerCutIntoManyPacketsArrivesWhole) {
    std::string body;
    for (int i = 0; i < 3000; ++i)
        body += char(i * 31);  // NULs included
    // In lock step: the headers alone first, then the body in pieces, each sent
    // only once the client has taken the one before, so the answer really
    // arrives in many receives however busy the machine is.
    std::vector<int> progress;
    int result = 0;
    auto pollUntil = [&](auto done) {
        for (int i = 0; i < 5000 && result == 0 && !done(); ++i) {
            result = http.Receive();
            progress.push_back(http.GetBytesReceived());
            platform::SleepMs(1);
        }
    };
    server->Send("HTTP/1.1 200 OK\r\nContent-Length: 3000\r\n\r\n");
    pollUntil([&] { return http.contentLength > 0; });
    for (size_t at = 0; at < body.size() && result == 0; at += 97) {
        server->Send(body.substr(at, 97));
        const size_t expected = std::min(body.size(), at + 97);
        pollUntil([&] { return size_t(http.GetBytesReceived()) >= expected; });
    }
    if (result == 0)
        result = PollUntilDone(&progress);
    EXPECT_EQ(result, 200);
    EXPECT_EQ(Body(http), body);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), 3000);
    EXPECT_GT(std::count(progress.begin(), progress.end(), 0), 0);  // polls before the body began
}

TEST_F(KHyperTextLoopbackTest, AServerThatClosesEarlyFails) {
    server->Send(std::string("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\npartial"));
    server->Close();
    EXPECT_EQ(PollUntilDone(), -1);
    EXPECT_FALSE(http.IsReceiving());
    EXPECT_EQ(http.Receive(), -1);
}

TEST(KHyperTextConnectTest, ARefusedConnectionSendsNothing) {
    KHyperText http;
    EXPECT_FALSE(http.Connect("127.0.0.1", RefusingPort()));
    EXPECT_FALSE(http.Get("/index.php"));
    EXPECT_EQ(http.Receive(), -1);
}

}  // namespace
