// The loopback peer over POSIX sockets.
#include "tests/net/LoopbackPeer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr uintptr_t kNone = ~uintptr_t(0);

int Fd(uintptr_t handle) { return static_cast<int>(handle); }

bool WaitReadable(uintptr_t handle, int timeoutMs) {
    pollfd entry{Fd(handle), POLLIN, 0};
    return ::poll(&entry, 1, timeoutMs) > 0;
}

bool SendBytes(uintptr_t handle, const uint8_t* bytes, size_t size) {
    while (size > 0) {
        const ssize_t sent = ::send(Fd(handle), bytes, size, MSG_NOSIGNAL);
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
        ::close(Fd(handle_));
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
        const ssize_t received = ::recv(Fd(handle_), chunk, wanted, 0);
        if (received <= 0)
            break;
        bytes.insert(bytes.end(), chunk, chunk + received);
    }
    return bytes;
}

bool LoopbackPeer::IsQuiet(int timeoutMs) { return !WaitReadable(handle_, timeoutMs); }

LoopbackListener::LoopbackListener() : handle_(kNone) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 8) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        ::close(fd);
        return;
    }
    handle_ = uintptr_t(fd);
    port_ = ntohs(address.sin_port);
}

LoopbackListener::~LoopbackListener() {
    if (handle_ != kNone)
        ::close(Fd(handle_));
}

bool LoopbackListener::IsListening() const { return handle_ != kNone; }

std::unique_ptr<LoopbackPeer> LoopbackListener::Accept(int timeoutMs) {
    if (handle_ == kNone || !WaitReadable(handle_, timeoutMs))
        return nullptr;
    const int fd = ::accept(Fd(handle_), nullptr, nullptr);
    return fd < 0 ? nullptr : std::make_unique<LoopbackPeer>(uintptr_t(fd));
}

uint16_t RefusingPort() {
    LoopbackListener listener;
    return listener.Port();
}
