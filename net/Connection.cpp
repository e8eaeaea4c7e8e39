#include "net/Connection.h"

#include <algorithm>
#include <cstring>

#include "net/Socket.h"
#include "platform/Sockets.h"

namespace {

bool IsTransient(int error) {
    return error == platform::kSockWouldBlock || error == platform::kSockInterrupted;
}

}  // namespace

Connection::Connection() : recvBuffer(InMessage::Block::Make(kReceiveBufferSize)) {}

Connection::~Connection() {
    closing = true;
    for (auto& worker : workers)
        worker->thread.join();
    delete socket;
    inQueue.clear();
    recvBuffer->Release();
}

void Connection::Connect(const std::vector<std::string>& hosts, uint16_t port) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (state == kConnected || state == kConnecting)
            return;
    }
    JoinFinishedWorkers();
    ClearQueues();
    recvStart = 0;
    recvFill = 0;
    uint32_t thisAttempt;
    {
        std::lock_guard<std::mutex> lock(mutex);
        state = kConnecting;
        thisAttempt = ++attempt;
    }
    workers.push_back(std::make_unique<ConnectWorker>());
    ConnectWorker* worker = workers.back().get();
    worker->thread = std::thread(&Connection::ConnectThread, this, hosts, port, thisAttempt, worker);
}

// Tries each host in turn with a fresh socket, so that a failed connect
// leaves nothing behind for the next host.
void Connection::ConnectThread(std::vector<std::string> hosts, uint16_t port, uint32_t thisAttempt,
                               ConnectWorker* worker) {
    std::unique_ptr<Socket> connected;
    // With no host to try there is no system error; the host was not found.
    int error = platform::kSockHostNotFound;
    for (const std::string& host : hosts) {
        if (closing)
            break;
        auto candidate = std::make_unique<Socket>();
        if (candidate->CreateTcp() && candidate->Connect(host, port)) {
            connected = std::move(candidate);
            break;
        }
        error = platform::GetSockets().LastError();
    }

    std::lock_guard<std::mutex> lock(mutex);
    if (thisAttempt == attempt && state == kConnecting) {
        if (connected) {
            socket = connected.release();
            state = kConnected;
        } else {
            lastError = error;
            state = kConnectFailed;
        }
    }
    worker->finished = true;
    // A socket not handed over (the attempt was called off) closes here.
    connected.reset();
}

void Connection::JoinFinishedWorkers() {
    for (auto it = workers.begin(); it != workers.end();) {
        bool finished;
        {
            std::lock_guard<std::mutex> lock(mutex);
            finished = (*it)->finished;
        }
        if (finished) {
            (*it)->thread.join();
            it = workers.erase(it);
        } else {
            ++it;
        }
    }
}

int Connection::GetState() {
    std::lock_guard<std::mutex> lock(mutex);
    return state;
}

void Connection::SetState(int newState) {
    std::lock_guard<std::mutex> lock(mutex);
    state = newState;
}

int Connection::GetLastError() {
    std::lock_guard<std::mutex> lock(mutex);
    return lastError;
}

void Connection::Poll() {
    if (GetState() != kConnected || !socket)
        return;
    if (!ReceiveStep())
        return;
    if (!outSizes.empty())
        SendStep();
}

void Connection::Send(const OutMessage& message) {
    if (message.len <= 0 || message.IsOverflowed())
        return;
    // Sent frames are dropped from the front once they make up most of the
    // buffer, so that a queue that never quite empties does not grow.
    if (outHead > 65536 && outHead * 2 > outBytes.size()) {
        outBytes.erase(outBytes.begin(), outBytes.begin() + std::ptrdiff_t(outHead));
        outHead = 0;
    }
    const uint8_t prefix[2] = {uint8_t(message.len), uint8_t(message.len >> 8)};
    outBytes.insert(outBytes.end(), prefix, prefix + 2);
    outBytes.insert(outBytes.end(), message.Payload(), message.Payload() + message.len);
    outSizes.push_back(uint32_t(message.len) + 2);
}

std::vector<std::vector<uint8_t>> Connection::QueuedFrames() const {
    std::vector<std::vector<uint8_t>> frames;
    size_t at = outHead;
    for (uint32_t size : outSizes) {
        frames.emplace_back(outBytes.begin() + std::ptrdiff_t(at), outBytes.begin() + std::ptrdiff_t(at + size));
        at += size;
    }
    return frames;
}

void Connection::ClearQueues() {
    inQueue.clear();
    inHead = 0;
    outBytes.clear();
    outHead = 0;
    outSizes.clear();
    outSent = 0;
}

void Connection::Disconnect() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        state = kIdle;
        ++attempt;
    }
    delete socket;
    socket = nullptr;
    ClearQueues();
}

bool Connection::Fail(int newState, int error) {
    delete socket;
    socket = nullptr;
    std::lock_guard<std::mutex> lock(mutex);
    state = newState;
    lastError = error;
    return false;
}

bool Connection::ReceiveStep() {
    const int ready = socket->WaitReadable();
    if (ready == 0)
        return true;
    if (ready < 0)
        return Fail(kReceiveFailed, platform::GetSockets().LastError());
    int room = 0;
    uint8_t* space = ReceiveSpace(room);
    if (room <= 0)
        return Fail(kReceiveFailed, platform::kSockNoBuffers);
    const int received = socket->Receive(space, room);
    if (received > 0) {
        TakeReceived(received);
        return true;
    }
    if (received == 0)
        return Fail(kReceiveFailed, 0);  // the peer closed the connection
    const int error = platform::GetSockets().LastError();
    return IsTransient(error) || Fail(kReceiveFailed, error);
}

bool Connection::SendStep() {
    const int ready = socket->WaitWritable();
    if (ready == 0)
        return true;
    if (ready < 0)
        return Fail(kSendFailed, platform::GetSockets().LastError());
    const size_t size = outSizes.front();
    const int chunk = int(std::min(size - outSent, size_t(kSendChunk)));
    const int sent = socket->Send(outBytes.data() + outHead + outSent, chunk);
    if (sent < 0) {
        const int error = platform::GetSockets().LastError();
        return IsTransient(error) || Fail(kSendFailed, error);
    }
    outSent += size_t(std::min(sent, chunk));
    if (outSent >= size) {
        outSizes.pop_front();
        outHead += size;
        outSent = 0;
        // Emptied: start again at the front, keeping the room.
        if (outSizes.empty()) {
            outBytes.clear();
            outHead = 0;
        }
    }
    return true;
}

uint8_t* Connection::ReceiveSpace(int& room) {
    // Move the unsplit rest to the front, into a new buffer when frames of
    // the old one are still being read.
    if (recvBuffer->IsShared()) {
        InMessage::Block* fresh =
            InMessage::Block::Make(kReceiveBufferSize, recvBuffer->Bytes() + recvStart, size_t(recvFill - recvStart));
        recvBuffer->Release();
        recvBuffer = fresh;
    } else if (recvStart > 0 && recvFill > recvStart) {
        std::memmove(recvBuffer->Bytes(), recvBuffer->Bytes() + recvStart, size_t(recvFill - recvStart));
    }
    recvFill -= recvStart;
    recvStart = 0;
    room = kReceiveBufferSize - recvFill;
    return recvBuffer->Bytes() + recvFill;
}

void Connection::TakeReceived(int count) {
    recvFill += std::max(0, std::min(count, kReceiveBufferSize - recvFill));
    SplitFrames();
}

// Cuts every complete frame out of the received bytes. The frames keep
// reading their bytes where they were received: nothing is copied or
// allocated per frame.
void Connection::SplitFrames() {
    const uint8_t* buffer = recvBuffer->Bytes();
    // Frames popped earlier leave room at the front of the queue.
    if (inHead > 0) {
        inQueue.erase(inQueue.begin(), inQueue.begin() + std::ptrdiff_t(inHead));
        inHead = 0;
    }
    int start = recvStart;
    // A lone empty frame (two zero bytes) waits until more bytes arrive.
    while (recvFill - start > 2) {
        // Each frame's place depends on the length before it, a chain of
        // loads through up to 400 KB; asking for the bytes a little ahead
        // keeps the cut from waiting on memory at every frame.
        if (recvFill - start > 1024)
            __builtin_prefetch(buffer + start + 1024);
        const int payload = buffer[start] | buffer[start + 1] << 8;
        if (recvFill - start < payload + 2)
            break;
        if (payload < InMessage::kSkippedPayload) {
            inQueue.emplace_back();
            inQueue.back().Attach(recvBuffer, buffer + start, payload + 2);
        }
        start += payload + 2;
    }
    recvStart = start;
}
