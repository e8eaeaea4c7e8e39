// The loopback peer's socket calls over POSIX sockets.
#include "tests/support/LoopbackSockets.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace loopback {
namespace {

int Fd(uintptr_t handle) { return static_cast<int>(handle); }

}  // namespace

bool WaitReadable(uintptr_t handle, int timeoutMs) {
    pollfd entry{Fd(handle), POLLIN, 0};
    return ::poll(&entry, 1, timeoutMs) > 0;
}

long SendSome(uintptr_t handle, const uint8_t* bytes, size_t size) {
    return long(::send(Fd(handle), bytes, size, MSG_NOSIGNAL));
}

long ReceiveSome(uintptr_t handle, uint8_t* bytes, size_t size) { return long(::recv(Fd(handle), bytes, size, 0)); }

void CloseSocket(uintptr_t handle) { ::close(Fd(handle)); }

uintptr_t Listen(uint16_t& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return kNone;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 8) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        ::close(fd);
        return kNone;
    }
    port = ntohs(address.sin_port);
    return uintptr_t(fd);
}

uintptr_t AcceptOne(uintptr_t listener) {
    const int fd = ::accept(Fd(listener), nullptr, nullptr);
    return fd < 0 ? kNone : uintptr_t(fd);
}

}  // namespace loopback
