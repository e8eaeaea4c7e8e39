#include "tests/support/LoopbackPeer.h"

#include "tests/support/LoopbackSockets.h"

using namespace loopback;

namespace {

bool SendBytes(uintptr_t handle, const uint8_t* bytes, size_t size) {
    while (size > 0) {
        const long sent = SendSome(handle, bytes, size);
        if (sent <= 0)
            return false;
        bytes += sent;
        size -= size_t(sent);
    }
    return true;
}

}  // namespace

LoopbackPeer::~LoopbackPeer() { Close(); }

void LoopbackPeer::Close() {
    if (handle_ != kNone)
        CloseSocket(handle_);
    handle_ = kNone;
}

bool LoopbackPeer::Send(const std::vector<uint8_t>& bytes) { return SendBytes(handle_, bytes.data(), bytes.size()); }

bool LoopbackPeer::Send(const std::string& bytes) {
    return SendBytes(handle_, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

std::vector<uint8_t> LoopbackPeer::Receive(size_t count, int timeoutMs) {
    std::vector<uint8_t> bytes;
    while (bytes.size() < count && WaitReadable(handle_, timeoutMs)) {
        uint8_t chunk[4096];
        const size_t wanted = count - bytes.size() < sizeof chunk ? count - bytes.size() : sizeof chunk;
        const long received = ReceiveSome(handle_, chunk, wanted);
        if (received <= 0)
            break;
        bytes.insert(bytes.end(), chunk, chunk + received);
    }
    return bytes;
}

bool LoopbackPeer::IsQuiet(int timeoutMs) { return !WaitReadable(handle_, timeoutMs); }

LoopbackListener::LoopbackListener() { handle_ = Listen(port_); }

LoopbackListener::~LoopbackListener() {
    if (handle_ != kNone)
        CloseSocket(handle_);
}

bool LoopbackListener::IsListening() const { return handle_ != kNone; }

std::unique_ptr<LoopbackPeer> LoopbackListener::Accept(int timeoutMs) {
    if (handle_ == kNone || !WaitReadable(handle_, timeoutMs))
        return nullptr;
    const uintptr_t peer = AcceptOne(handle_);
    return peer == kNone ? nullptr : std::make_unique<LoopbackPeer>(peer);
}

uint16_t RefusingPort() {
    LoopbackListener listener;
    return listener.Port();
}
