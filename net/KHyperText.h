#pragma once

#include <cstdint>
#include <map>
#include <string>

class Socket;

// A small HTTP/1.1 client for one GET per object: connect, send the request,
// then poll Receive until the body, whose length the Content-Length header
// announces, has arrived in full. Receive never blocks: one zero-time-out
// select and at most one receive per call.
//
// The answer is untrusted: its headers are found in the raw bytes, the body
// is allocated from the announced length only within a limit and without
// aborting, and Receive gives the status code only once the body is complete,
// so `body` always holds GetBytesReceived() valid bytes.
class KHyperText {
public:
    static constexpr int kHeaderLimit = 1000;                // bytes the header block must end within
    static constexpr int32_t kMaxContentLength = 52428799;   // below 50 MiB

    KHyperText();
    ~KHyperText();
    KHyperText(const KHyperText&) = delete;
    KHyperText& operator=(const KHyperText&) = delete;

    // A blocking connect, name lookup included.
    bool Connect(const std::string& host, int port);
    // Sends the request for a path (starting with "/") in a single send.
    bool Get(const std::string& path);
    // -1 failed or closed early, 0 not complete yet, otherwise the status code.
    int Receive();
    bool IsReceiving() const { return receiving; }
    // Body bytes received so far (0 before the headers are accepted).
    int GetBytesReceived() const { return contentLength > 0 ? received : 0; }
    void Disconnect();

    // The receive step without a socket: takes the bytes as the socket would
    // deliver them, in receives no larger than the object asks for, and
    // returns what Receive would have returned after the last of them. Bytes
    // behind a complete answer are ignored. For tests and fuzzing.
    int Feed(const uint8_t* bytes, int count);

    // Reads the status and the header lines of a header block (without its
    // terminator) and allocates the body; false when the answer has no usable
    // length.
    bool ParseHeaders(std::string& block);

    uint8_t* body = nullptr;     // contentLength bytes once the headers are accepted
    int32_t contentLength = 0;
    int32_t status = 0;
    std::map<std::string, std::string> headers;

private:
    // Where the next receive writes and how much it may take.
    uint8_t* ReceiveSpace(int& room);
    // Counts in `count` bytes written at ReceiveSpace; Receive's result.
    int TakeReceived(int count);
    int Fail();

    Socket* socket = nullptr;
    std::string host;
    uint8_t headerBuffer[1024];
    int32_t received = 0;
    bool receiving = false;
    bool closed = false;  // the answer has ended (failed, refused or disconnected)
};
