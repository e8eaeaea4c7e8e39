#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/Sockets.h"

// Scripted sockets for the connection tests, installed for the life of the
// object: which hosts resolve and accept, what each receive returns and how
// much each send accepts. It records what the client did.
class FakeSockets : public platform::Sockets {
public:
    FakeSockets();
    ~FakeSockets() override;

    // --- the script (set before the connection starts) ---
    std::set<std::string> unknownHosts;    // Resolve fails: host not found (11001)
    std::set<std::string> refusingHosts;   // Connect fails: refused (10061)
    // One entry per receive; a receive asked for fewer bytes keeps the rest.
    std::deque<std::vector<uint8_t>> incoming;
    bool peerClosed = false;               // once `incoming` is empty, receives give 0
    int receiveError = 0;                  // when set, the next receive fails with it
    // One entry per send: how many bytes it accepts at most; -1 fails the send
    // with would-block. Without entries a send takes everything.
    std::deque<int> acceptLimits;
    int sendError = 0;                     // when set, every send fails with it
    bool writable = true;

    // Makes connects wait until Release is called.
    void HoldConnects();
    void Release();

    // --- what happened ---
    std::vector<std::string> Connects();   // hosts connected to, in order
    int ConnectsStarted();
    int ConnectsFinished();
    int Opened();
    int Closed();
    std::vector<int> asked;                // bytes each send call was given
    std::vector<uint8_t> sent;             // every byte the sends accepted, in order

    platform::SocketHandle Open(bool stream) override;
    void Close(platform::SocketHandle socket) override;
    bool SetNoDelay(platform::SocketHandle socket) override { return true; }
    bool SetReuseAddress(platform::SocketHandle socket) override { return true; }
    bool SetBlocking(platform::SocketHandle socket, bool blocking) override { return true; }
    bool Resolve(const std::string& host, uint32_t& address) override;
    bool Connect(platform::SocketHandle socket, uint32_t address, uint16_t port) override;
    int Select(platform::SocketSet* readable, platform::SocketSet* writable, uint32_t timeoutMs) override;
    int Send(platform::SocketHandle socket, const uint8_t* bytes, int count) override;
    int Receive(platform::SocketHandle socket, uint8_t* bytes, int count) override;
    int LastError() override;

private:
    // The connect thread and the test thread both come here.
    std::mutex mutex_;
    std::condition_variable released_;
    bool holding_ = false;
    std::vector<std::string> resolved_;  // address - 1 indexes the host name
    std::vector<std::string> connects_;
    int connectsStarted_ = 0;
    int connectsFinished_ = 0;
    int opened_ = 0;
    int closed_ = 0;
    int lastError_ = 0;
    platform::SocketHandle next_ = 100;
};
