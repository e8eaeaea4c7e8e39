// The loopback peer's socket calls over Windows Sockets.
#include "tests/support/LoopbackSockets.h"

#include "platform/Win32.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace loopback {
namespace {

SOCKET Handle(uintptr_t handle) { return static_cast<SOCKET>(handle); }

void Start() {
    static bool started = [] {
        WSADATA data;
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    (void)started;
}

}  // namespace

bool WaitReadable(uintptr_t handle, int timeoutMs) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(Handle(handle), &set);
    timeval wait{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    return ::select(0, &set, nullptr, nullptr, &wait) > 0;
}

long SendSome(uintptr_t handle, const uint8_t* bytes, size_t size) {
    return ::send(Handle(handle), reinterpret_cast<const char*>(bytes), int(size), 0);
}

long ReceiveSome(uintptr_t handle, uint8_t* bytes, size_t size) {
    return ::recv(Handle(handle), reinterpret_cast<char*>(bytes), int(size), 0);
}

void CloseSocket(uintptr_t handle) { ::closesocket(Handle(handle)); }

uintptr_t Listen(uint16_t& port) {
    Start();
    const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (socket == INVALID_SOCKET)
        return kNone;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    if (::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(socket, 8) != 0 ||
        ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        ::closesocket(socket);
        return kNone;
    }
    port = ntohs(address.sin_port);
    return uintptr_t(socket);
}

uintptr_t AcceptOne(uintptr_t listener) {
    const SOCKET socket = ::accept(Handle(listener), nullptr, nullptr);
    return socket == INVALID_SOCKET ? kNone : uintptr_t(socket);
}

}  // namespace loopback
