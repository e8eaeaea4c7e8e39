#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The other end of a real TCP connection on 127.0.0.1, made with the
// system's sockets directly (never through the platform layer, which tests may
// replace). Everything waits at most a given time, so a broken client makes a
// test fail rather than hang.
class LoopbackPeer {
public:
    explicit LoopbackPeer(uintptr_t handle) : handle_(handle) {}
    ~LoopbackPeer();
    LoopbackPeer(const LoopbackPeer&) = delete;
    LoopbackPeer& operator=(const LoopbackPeer&) = delete;

    bool Send(const std::vector<uint8_t>& bytes);
    bool Send(const std::string& bytes);
    // Reads until `count` bytes have come or the time is up.
    std::vector<uint8_t> Receive(size_t count, int timeoutMs = 5000);
    // True when nothing arrives within the time.
    bool IsQuiet(int timeoutMs = 50);
    void Close();

private:
    uintptr_t handle_;
};

class LoopbackListener {
public:
    // Listens on 127.0.0.1 on a port the system picks.
    LoopbackListener();
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    bool IsListening() const;
    uint16_t Port() const { return port_; }
    // The next connection, or null when none comes within the time.
    std::unique_ptr<LoopbackPeer> Accept(int timeoutMs = 5000);

private:
    uintptr_t handle_;
    uint16_t port_ = 0;
};

// A port on 127.0.0.1 where nothing listens: connecting to it is refused.
uint16_t RefusingPort();
