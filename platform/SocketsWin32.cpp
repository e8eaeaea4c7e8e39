// Windows Sockets for the Windows build.
#include "platform/Sockets.h"

// Win32.h leaves out the old winsock.h, so winsock2.h can follow it.
#include "platform/Win32.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include "platform/HostLookup.h"

#include <mutex>

namespace platform {

namespace {

// Windows Sockets is started once for the whole process, before the first
// socket, and left running until the process ends.
void StartWindowsSockets() {
    static std::once_flag started;
    std::call_once(started, [] {
        WSADATA data;
        ::WSAStartup(MAKEWORD(2, 2), &data);
    });
}

class Win32Sockets : public Sockets {
public:
    SocketHandle Open(bool stream) override {
        StartWindowsSockets();
        const SOCKET socket = ::socket(AF_INET, stream ? SOCK_STREAM : SOCK_DGRAM, stream ? IPPROTO_TCP : IPPROTO_UDP);
        return socket == INVALID_SOCKET ? kInvalidSocket : static_cast<SocketHandle>(socket);
    }

    void Close(SocketHandle socket) override {
        if (socket != kInvalidSocket)
            ::closesocket(static_cast<SOCKET>(socket));
    }

    bool SetNoDelay(SocketHandle socket) override {
        const BOOL on = TRUE;
        return ::setsockopt(static_cast<SOCKET>(socket), IPPROTO_TCP, TCP_NODELAY,
                            reinterpret_cast<const char*>(&on), sizeof on) == 0;
    }

    bool SetReuseAddress(SocketHandle socket) override {
        const BOOL on = TRUE;
        return ::setsockopt(static_cast<SOCKET>(socket), SOL_SOCKET, SO_REUSEADDR,
                            reinterpret_cast<const char*>(&on), sizeof on) == 0;
    }

    bool SetBlocking(SocketHandle socket, bool blocking) override {
        u_long nonBlocking = blocking ? 0 : 1;
        return ::ioctlsocket(static_cast<SOCKET>(socket), FIONBIO, &nonBlocking) == 0;
    }

    bool Resolve(const std::string& host, uint32_t& address) override {
        StartWindowsSockets();
        return LookUpHost(host, address, [](int result) { ::WSASetLastError(result != 0 ? result : WSANO_DATA); });
    }

    bool Connect(SocketHandle socket, uint32_t address, uint16_t port) override {
        sockaddr_in target{};
        target.sin_family = AF_INET;
        target.sin_port = htons(port);
        target.sin_addr.s_addr = address;
        return ::connect(static_cast<SOCKET>(socket), reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0;
    }

    int Select(SocketSet* readable, SocketSet* writable, uint32_t timeoutMs) override {
        fd_set readSet;
        fd_set writeSet;
        if (!Fill(readSet, readable) || !Fill(writeSet, writable)) {
            ::WSASetLastError(WSAEINVAL);
            return -1;
        }
        timeval wait{};
        wait.tv_sec = long(timeoutMs / 1000);
        wait.tv_usec = long(timeoutMs % 1000) * 1000;
        const int ready = ::select(0, readable ? &readSet : nullptr, writable ? &writeSet : nullptr, nullptr, &wait);
        if (ready == SOCKET_ERROR)
            return -1;
        Keep(readSet, readable);
        Keep(writeSet, writable);
        return ready;
    }

    int Send(SocketHandle socket, const uint8_t* bytes, int count) override {
        const int sent = ::send(static_cast<SOCKET>(socket), reinterpret_cast<const char*>(bytes), count, 0);
        return sent == SOCKET_ERROR ? -1 : sent;
    }

    int Receive(SocketHandle socket, uint8_t* bytes, int count) override {
        const int received = ::recv(static_cast<SOCKET>(socket), reinterpret_cast<char*>(bytes), count, 0);
        return received == SOCKET_ERROR ? -1 : received;
    }

    int LastError() override { return ::WSAGetLastError(); }

private:
    static bool Fill(fd_set& set, const SocketSet* from) {
        FD_ZERO(&set);
        if (!from)
            return true;
        if (from->count > SocketSet::kCapacity || from->count > FD_SETSIZE)
            return false;
        for (uint32_t i = 0; i < from->count; ++i)
            FD_SET(static_cast<SOCKET>(from->handles[i]), &set);
        return true;
    }

    static void Keep(fd_set& set, SocketSet* into) {
        if (!into)
            return;
        uint32_t kept = 0;
        for (uint32_t i = 0; i < into->count; ++i)
            if (FD_ISSET(static_cast<SOCKET>(into->handles[i]), &set))
                into->handles[kept++] = into->handles[i];
        into->count = kept;
    }
};

}  // namespace

Sockets& SystemSockets() {
    static Win32Sockets sockets;
    return sockets;
}

}  // namespace platform
