// Stream sockets for the game connection and the HTTP client.
//
// The Windows build uses Windows Sockets (SocketsWin32.cpp), the native build
// POSIX sockets (SocketsPosix.cpp). Tests replace the whole service with their
// own object (SetSockets) to script what the network does.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// A socket handle wide enough for a Windows SOCKET and a POSIX descriptor.
using SocketHandle = uintptr_t;
constexpr SocketHandle kInvalidSocket = ~SocketHandle(0);

// Socket error numbers. Both builds report the Windows Sockets numbers: they
// reach the player's screen ("Connecting failed, error code #10061.") and
// must read the same whatever the build.
enum : int {
    kSockInterrupted = 10004,
    kSockBadHandle = 10009,
    kSockAccessDenied = 10013,
    kSockFault = 10014,
    kSockInvalidArgument = 10022,
    kSockTooManySockets = 10024,
    kSockWouldBlock = 10035,
    kSockInProgress = 10036,
    kSockAlready = 10037,
    kSockNotSocket = 10038,
    kSockMessageSize = 10040,
    kSockNoProtocolOption = 10042,
    kSockProtocolNotSupported = 10043,
    kSockOperationNotSupported = 10045,
    kSockFamilyNotSupported = 10047,
    kSockAddressInUse = 10048,
    kSockAddressNotAvailable = 10049,
    kSockNetworkDown = 10050,
    kSockNetworkUnreachable = 10051,
    kSockNetworkReset = 10052,
    kSockConnectionAborted = 10053,
    kSockConnectionReset = 10054,
    kSockNoBuffers = 10055,
    kSockAlreadyConnected = 10056,
    kSockNotConnected = 10057,
    kSockShutDown = 10058,
    kSockTimedOut = 10060,
    kSockConnectionRefused = 10061,
    kSockHostDown = 10064,
    kSockHostUnreachable = 10065,
    kSockSystemCallFailure = 10107,
    kSockHostNotFound = 11001,
    kSockTryAgain = 11002,
    kSockNoRecovery = 11003,
    kSockNoData = 11004,
};

// The handles a select waits on: a count and room for 64 handles, as Windows
// Sockets keeps them.
struct SocketSet {
    static constexpr uint32_t kCapacity = 64;
    uint32_t count = 0;
    SocketHandle handles[kCapacity] = {};

    void Only(SocketHandle socket) {
        count = 1;
        handles[0] = socket;
    }
};

// Each call sets the calling thread's last error when it fails.
class Sockets {
public:
    virtual ~Sockets() = default;
    // An IPv4 stream (TCP) or datagram (UDP) socket; kInvalidSocket on failure.
    virtual SocketHandle Open(bool stream) = 0;
    virtual void Close(SocketHandle socket) = 0;
    // TCP_NODELAY on: small requests leave at once.
    virtual bool SetNoDelay(SocketHandle socket) = 0;
    virtual bool SetReuseAddress(SocketHandle socket) = 0;
    virtual bool SetBlocking(SocketHandle socket, bool blocking) = 0;
    // Host-name lookup: the first IPv4 address, in network byte order.
    virtual bool Resolve(const std::string& host, uint32_t& address) = 0;
    // A blocking connect to an IPv4 address (network byte order) and a port.
    virtual bool Connect(SocketHandle socket, uint32_t address, uint16_t port) = 0;
    // Waits at most timeoutMs; leaves in each set (either may be null) only
    // the handles that are ready and returns how many there are, or -1.
    virtual int Select(SocketSet* readable, SocketSet* writable, uint32_t timeoutMs) = 0;
    // The number of bytes accepted, or -1.
    virtual int Send(SocketHandle socket, const uint8_t* bytes, int count) = 0;
    // The number of bytes received, 0 when the peer has closed, or -1.
    virtual int Receive(SocketHandle socket, uint8_t* bytes, int count) = 0;
    // The error number of this thread's last failed call.
    virtual int LastError() = 0;
};

// The object behind the service; passing null restores the system's own. It is
// read from the connect thread too, so set it before any connection starts.
Sockets& GetSockets();
void SetSockets(Sockets* sockets);

}  // namespace platform
