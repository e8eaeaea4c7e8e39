// POSIX sockets for the native build, reporting Windows Sockets error numbers.
#include "platform/Sockets.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

#include "platform/HostLookup.h"

namespace platform {

namespace {

thread_local int t_lastError = 0;

int FromErrno(int error) {
    switch (error) {
    case EINTR: return kSockInterrupted;
    case EBADF: return kSockBadHandle;
    case EACCES: return kSockAccessDenied;
    case EFAULT: return kSockFault;
    case EINVAL: return kSockInvalidArgument;
    case EMFILE: case ENFILE: return kSockTooManySockets;
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
    case EAGAIN:
    // A non-blocking connect still under way is "would block" on Windows too.
    case EINPROGRESS: return kSockWouldBlock;
    case EALREADY: return kSockAlready;
    case ENOTSOCK: return kSockNotSocket;
    case EMSGSIZE: return kSockMessageSize;
    case ENOPROTOOPT: return kSockNoProtocolOption;
    case EPROTONOSUPPORT: return kSockProtocolNotSupported;
    case EOPNOTSUPP: return kSockOperationNotSupported;
    case EAFNOSUPPORT: return kSockFamilyNotSupported;
    case EADDRINUSE: return kSockAddressInUse;
    case EADDRNOTAVAIL: return kSockAddressNotAvailable;
    case ENETDOWN: return kSockNetworkDown;
    case ENETUNREACH: return kSockNetworkUnreachable;
    case ENETRESET: return kSockNetworkReset;
    case ECONNABORTED: return kSockConnectionAborted;
    // Writing to a connection the peer has reset.
    case EPIPE:
    case ECONNRESET: return kSockConnectionReset;
    case ENOBUFS: case ENOMEM: return kSockNoBuffers;
    case EISCONN: return kSockAlreadyConnected;
    case ENOTCONN: return kSockNotConnected;
    case ESHUTDOWN: return kSockShutDown;
    case ETIMEDOUT: return kSockTimedOut;
    case ECONNREFUSED: return kSockConnectionRefused;
    case EHOSTDOWN: return kSockHostDown;
    case EHOSTUNREACH: return kSockHostUnreachable;
    default: return kSockSystemCallFailure;
    }
}

int FromAddressInfoError(int error) {
    switch (error) {
    case EAI_NONAME: return kSockHostNotFound;
#ifdef EAI_NODATA
    case EAI_NODATA: return kSockNoData;
#endif
    case EAI_AGAIN: return kSockTryAgain;
    case EAI_MEMORY: return kSockNoBuffers;
    case EAI_SYSTEM: return FromErrno(errno);
    default: return kSockNoRecovery;
    }
}

bool Failed() {
    t_lastError = FromErrno(errno);
    return false;
}

int Descriptor(SocketHandle socket) { return static_cast<int>(socket); }

class PosixSockets : public Sockets {
public:
    SocketHandle Open(bool stream) override {
        const int fd = ::socket(AF_INET, stream ? SOCK_STREAM : SOCK_DGRAM, 0);
        if (fd < 0) {
            Failed();
            return kInvalidSocket;
        }
        return static_cast<SocketHandle>(fd);
    }

    void Close(SocketHandle socket) override {
        if (socket != kInvalidSocket)
            ::close(Descriptor(socket));
    }

    bool SetNoDelay(SocketHandle socket) override {
        const int on = 1;
        return ::setsockopt(Descriptor(socket), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on) == 0 || Failed();
    }

    bool SetReuseAddress(SocketHandle socket) override {
        const int on = 1;
        return ::setsockopt(Descriptor(socket), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) == 0 || Failed();
    }

    bool SetBlocking(SocketHandle socket, bool blocking) override {
        const int flags = ::fcntl(Descriptor(socket), F_GETFL, 0);
        if (flags < 0)
            return Failed();
        const int wanted = blocking ? flags & ~O_NONBLOCK : flags | O_NONBLOCK;
        return ::fcntl(Descriptor(socket), F_SETFL, wanted) == 0 || Failed();
    }

    bool Resolve(const std::string& host, uint32_t& address) override {
        return LookUpHost(host, address,
                          [](int result) { t_lastError = result != 0 ? FromAddressInfoError(result) : kSockNoData; });
    }

    bool Connect(SocketHandle socket, uint32_t address, uint16_t port) override {
        sockaddr_in target{};
        target.sin_family = AF_INET;
        target.sin_port = htons(port);
        target.sin_addr.s_addr = address;
        while (::connect(Descriptor(socket), reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
            // An interrupted blocking connect goes on in the background; wait for it.
            if (errno != EINTR)
                return Failed();
            pollfd entry{Descriptor(socket), POLLOUT, 0};
            while (::poll(&entry, 1, -1) < 0)
                if (errno != EINTR)
                    return Failed();
            int error = 0;
            socklen_t size = sizeof error;
            if (::getsockopt(Descriptor(socket), SOL_SOCKET, SO_ERROR, &error, &size) != 0)
                return Failed();
            if (error == 0)
                return true;
            errno = error;
            return Failed();
        }
        return true;
    }

    int Select(SocketSet* readable, SocketSet* writable, uint32_t timeoutMs) override {
        // poll() has no limit on descriptor numbers, unlike select's fd_set.
        std::vector<pollfd> entries;
        const uint32_t readCount = readable ? readable->count : 0;
        const uint32_t writeCount = writable ? writable->count : 0;
        if (readCount > SocketSet::kCapacity || writeCount > SocketSet::kCapacity) {
            t_lastError = kSockInvalidArgument;
            return -1;
        }
        for (uint32_t i = 0; i < readCount; ++i)
            entries.push_back(pollfd{Descriptor(readable->handles[i]), POLLIN, 0});
        for (uint32_t i = 0; i < writeCount; ++i)
            entries.push_back(pollfd{Descriptor(writable->handles[i]), POLLOUT, 0});
        if (::poll(entries.data(), entries.size(), static_cast<int>(timeoutMs)) < 0) {
            Failed();
            return -1;
        }
        for (const pollfd& entry : entries) {
            if (entry.revents & POLLNVAL) {
                t_lastError = kSockNotSocket;
                return -1;
            }
        }
        // As select does, an error or a hang-up counts as ready: the next
        // receive or send reports it.
        int ready = 0;
        const short readMask = POLLIN | POLLERR | POLLHUP;
        const short writeMask = POLLOUT | POLLERR | POLLHUP;
        ready += Keep(readable, entries.data(), readMask);
        ready += Keep(writable, entries.data() + readCount, writeMask);
        return ready;
    }

    int Send(SocketHandle socket, const uint8_t* bytes, int count) override {
        // A peer that has gone must give an error, not end the process.
        const ssize_t sent = ::send(Descriptor(socket), bytes, count > 0 ? size_t(count) : 0, MSG_NOSIGNAL);
        if (sent < 0) {
            Failed();
            return -1;
        }
        return static_cast<int>(sent);
    }

    int Receive(SocketHandle socket, uint8_t* bytes, int count) override {
        const ssize_t received = ::recv(Descriptor(socket), bytes, count > 0 ? size_t(count) : 0, 0);
        if (received < 0) {
            Failed();
            return -1;
        }
        return static_cast<int>(received);
    }

    int LastError() override { return t_lastError; }

private:
    static int Keep(SocketSet* set, const pollfd* entries, short mask) {
        if (!set)
            return 0;
        uint32_t kept = 0;
        for (uint32_t i = 0; i < set->count; ++i)
            if (entries[i].revents & mask)
                set->handles[kept++] = set->handles[i];
        set->count = kept;
        return static_cast<int>(kept);
    }
};

}  // namespace

Sockets& SystemSockets() {
    static PosixSockets sockets;
    return sockets;
}

}  // namespace platform
