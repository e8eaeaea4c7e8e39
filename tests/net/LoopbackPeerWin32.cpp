// The loopback peer over Windows Sockets.
#include "tests/net/LoopbackPeer.h"

#include "platform/Win32.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace {

constexpr uintptr_t kNone = ~uintptr_t(0);

SOCKET Handle(uintptr_t handle) { return static_cast<SOCKET>(handle); }

void Start() {
    static bool started = [] {
        WSADATA data;
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    (void)started;
}

bool WaitReadable(uintptr_t handle, int timeoutMs) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(Handle(handle), &set);
    timeval wait{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    return ::select(0, &set, nullptr, nullptr, &wait) > 0;
}

bool SendBytes(uintptr_t handle, const uint8_t* bytes, size_t size) {
    while (size > 0) {
        const int sent = ::send(Handle(handle), reinterpret_cast<const char*>(bytes), int(size), 0);
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
        ::closesocket(Handle(handle_));
    handle_ = kNone;
}

bool LoopbackPeer::Send(const std::vector<uint8_t>& bytes) { return SendBytes(handle_, bytes.data(), bytes.size()); }

bool LoopbackPeer::Send(const std::string& bytes) {
    return SendBytes(handle_, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

std::vector<uint8_t> LoopbackPeer::Receive(size_t count, int timeoutMs) {
    std::vector<uint8_t> bytes;
    while (bytes.size() < count && WaitReadable(handle_, timeoutMs)) {
        char chunk[4096];
        const size_t wanted = count - bytes.size() < sizeof chunk ? count - bytes.size() : sizeof chunk;
        const int received = ::recv(Handle(handle_), chunk, int(wanted), 0);
        if (received <= 0)
            break;
        bytes.insert(bytes.end(), chunk, chunk + received);
    }
    return bytes;
}

bool LoopbackPeer::IsQuiet(int timeoutMs) { return !WaitReadable(handle_, timeoutMs); }

LoopbackListener::LoopbackListener() : handle_(kNone) {
    Start();
    const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (socket == INVALID_SOCKET)
        return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    if (::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(socket, 8) != 0 ||
        ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        ::closesocket(socket);
        return;
    }
    handle_ = uintptr_t(socket);
    port_ = ntohs(address.sin_port);
}

LoopbackListener::~LoopbackListener() {
    if (handle_ != kNone)
        ::closesocket(Handle(handle_));
}

bool LoopbackListener::IsListening() const { return handle_ != kNone; }

std::unique_ptr<LoopbackPeer> LoopbackListener::Accept(int timeoutMs) {
    if (handle_ == kNone || !WaitReadable(handle_, timeoutMs))
        return nullptr;
    const SOCKET socket = ::accept(Handle(handle_), nullptr, nullptr);
    return socket == INVALID_SOCKET ? nullptr : std::make_unique<LoopbackPeer>(uintptr_t(socket));
}

uint16_t RefusingPort() {
    LoopbackListener listener;
    return listener.Port();
}
