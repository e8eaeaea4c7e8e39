#include "net/Socket.h"

Socket::Socket() : fdSet(new platform::SocketSet()) {}

Socket::~Socket() { Close(); }

void Socket::Close() {
    if (handle != platform::kInvalidSocket)
        platform::GetSockets().Close(handle);
    handle = platform::kInvalidSocket;
}

bool Socket::CreateTcp() {
    Close();
    platform::Sockets& sockets = platform::GetSockets();
    handle = sockets.Open(true);
    fdSet->count = 0;
    if (handle == platform::kInvalidSocket)
        return false;
    sockets.SetNoDelay(handle);
    return true;
}

bool Socket::CreateUdp() {
    Close();
    platform::Sockets& sockets = platform::GetSockets();
    handle = sockets.Open(false);
    fdSet->count = 0;
    return handle != platform::kInvalidSocket && sockets.SetReuseAddress(handle);
}

bool Socket::Connect(const std::string& host, uint16_t port) {
    platform::Sockets& sockets = platform::GetSockets();
    uint32_t resolved = 0;
    if (!sockets.Resolve(host, resolved))
        return false;
    address = resolved;
    this->port = port;
    return sockets.Connect(handle, resolved, port);
}

bool Socket::SetBlocking(bool blocking) { return platform::GetSockets().SetBlocking(handle, blocking); }

int Socket::WaitReadable() {
    fdSet->Only(handle);
    return platform::GetSockets().Select(fdSet.get(), nullptr, 0) < 0 ? -1 : int(fdSet->count != 0);
}

int Socket::WaitWritable() {
    fdSet->Only(handle);
    return platform::GetSockets().Select(nullptr, fdSet.get(), 0) < 0 ? -1 : int(fdSet->count != 0);
}

int Socket::Send(const uint8_t* bytes, int count) { return platform::GetSockets().Send(handle, bytes, count); }

int Socket::Receive(uint8_t* bytes, int count) { return platform::GetSockets().Receive(handle, bytes, count); }
