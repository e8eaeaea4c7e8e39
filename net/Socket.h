#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Sockets.h"

// One IPv4 socket of the platform, closed when the object goes. Shared by the
// game connection and the HTTP client.
class Socket {
public:
    Socket();
    ~Socket();
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    // An IPv4 stream socket with TCP_NODELAY on; false when none can be made.
    bool CreateTcp();
    // An IPv4 datagram socket with SO_REUSEADDR on; true when the option was set.
    bool CreateUdp();
    // Looks the name up, takes its first IPv4 address and connects to it,
    // blocking; false when the name does not resolve or the connect fails
    // (the platform's last error says why).
    bool Connect(const std::string& host, uint16_t port);
    bool SetBlocking(bool blocking);

    platform::SocketHandle GetHandle() const { return handle; }
    platform::SocketSet* GetFdSet() { return fdSet.get(); }

    // One select with a zero time-out on this socket alone: 1 ready, 0 not
    // ready, -1 failed. Nothing here ever waits.
    int WaitReadable();
    int WaitWritable();
    // Bytes accepted or received, 0 when the peer has closed (receive only),
    // -1 on an error.
    int Send(const uint8_t* bytes, int count);
    int Receive(uint8_t* bytes, int count);

private:
    void Close();

    platform::SocketHandle handle = platform::kInvalidSocket;
    // The address of the last connect (network byte order) and its port.
    uint32_t address = 0;
    uint16_t port = 0;
    std::unique_ptr<platform::SocketSet> fdSet;
};
