// The host-name look-up, written once for both systems. SocketsWin32.cpp and
// SocketsPosix.cpp include this after their system's socket headers (which
// declare getaddrinfo, addrinfo and sockaddr_in alike); what differs, how a
// failure becomes the thread's last error, they pass in.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The first IPv4 address of a host, in network byte order. On failure calls
// fail(result) with getaddrinfo's error, or with 0 when the host has no IPv4
// address, and returns false.
template <class Fail>
bool LookUpHost(const std::string& host, uint32_t& address, Fail fail) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int result = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (result != 0) {
        fail(result);
        return false;
    }
    bool ok = false;
    for (addrinfo* entry = found; entry; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addrlen >= sizeof(sockaddr_in)) {
            address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr.s_addr;
            ok = true;
            break;
        }
    }
    ::freeaddrinfo(found);
    if (!ok)
        fail(0);
    return ok;
}

}  // namespace platform
