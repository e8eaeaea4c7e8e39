#include "tests/support/FakeSockets.h"

#include <algorithm>
#include <cstring>

FakeSockets::FakeSockets() { platform::SetSockets(this); }

FakeSockets::~FakeSockets() { platform::SetSockets(nullptr); }

void FakeSockets::HoldConnects() {
    std::lock_guard<std::mutex> lock(mutex_);
    holding_ = true;
}

void FakeSockets::Release() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        holding_ = false;
    }
    released_.notify_all();
}

std::vector<std::string> FakeSockets::Connects() {
    std::lock_guard<std::mutex> lock(mutex_);
    return connects_;
}

int FakeSockets::ConnectsStarted() {
    std::lock_guard<std::mutex> lock(mutex_);
    return connectsStarted_;
}

int FakeSockets::ConnectsFinished() {
    std::lock_guard<std::mutex> lock(mutex_);
    return connectsFinished_;
}

int FakeSockets::Opened() {
    std::lock_guard<std::mutex> lock(mutex_);
    return opened_;
}

int FakeSockets::Closed() {
    std::lock_guard<std::mutex> lock(mutex_);
    return closed_;
}

platform::SocketHandle FakeSockets::Open(bool) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++opened_;
    return next_++;
}

void FakeSockets::Close(platform::SocketHandle) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++closed_;
}

bool FakeSockets::Resolve(const std::string& host, uint32_t& address) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (unknownHosts.count(host)) {
        lastError_ = platform::kSockHostNotFound;
        return false;
    }
    resolved_.push_back(host);
    address = uint32_t(resolved_.size());
    return true;
}

bool FakeSockets::Connect(platform::SocketHandle, uint32_t address, uint16_t) {
    std::unique_lock<std::mutex> lock(mutex_);
    ++connectsStarted_;
    released_.wait(lock, [this] { return !holding_; });
    const std::string host = resolved_.at(address - 1);
    ++connectsFinished_;
    if (refusingHosts.count(host)) {
        lastError_ = platform::kSockConnectionRefused;
        return false;
    }
    connects_.push_back(host);
    return true;
}

int FakeSockets::Select(platform::SocketSet* readable, platform::SocketSet* writableSet, uint32_t) {
    std::lock_guard<std::mutex> lock(mutex_);
    int ready = 0;
    if (readable) {
        const bool data = !incoming.empty() || peerClosed || receiveError != 0;
        readable->count = data ? readable->count : 0;
        ready += int(readable->count);
    }
    if (writableSet) {
        writableSet->count = writable ? writableSet->count : 0;
        ready += int(writableSet->count);
    }
    return ready;
}

int FakeSockets::Send(platform::SocketHandle, const uint8_t* bytes, int count) {
    std::lock_guard<std::mutex> lock(mutex_);
    asked.push_back(count);
    if (sendError != 0) {
        lastError_ = sendError;
        return -1;
    }
    int accepted = count;
    if (!acceptLimits.empty()) {
        const int limit = acceptLimits.front();
        acceptLimits.pop_front();
        if (limit < 0) {
            lastError_ = platform::kSockWouldBlock;
            return -1;
        }
        accepted = std::min(count, limit);
    }
    sent.insert(sent.end(), bytes, bytes + accepted);
    return accepted;
}

int FakeSockets::Receive(platform::SocketHandle, uint8_t* bytes, int count) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (receiveError != 0) {
        lastError_ = receiveError;
        receiveError = 0;
        return -1;
    }
    if (incoming.empty())
        return 0;  // peerClosed: an orderly close
    std::vector<uint8_t>& chunk = incoming.front();
    const int taken = std::min(count, int(chunk.size()));
    std::memcpy(bytes, chunk.data(), size_t(taken));
    chunk.erase(chunk.begin(), chunk.begin() + taken);
    if (chunk.empty())
        incoming.pop_front();
    return taken;
}

int FakeSockets::LastError() {
    std::lock_guard<std::mutex> lock(mutex_);
    return lastError_;
}
