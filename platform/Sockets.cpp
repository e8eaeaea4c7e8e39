#include "platform/Sockets.h"

#include <atomic>

namespace platform {

// The system's own sockets, defined by SocketsWin32.cpp or SocketsPosix.cpp.
Sockets& SystemSockets();

namespace {
std::atomic<Sockets*> g_sockets{nullptr};
}  // namespace

Sockets& GetSockets() {
    Sockets* sockets = g_sockets.load();
    return sockets ? *sockets : SystemSockets();
}

void SetSockets(Sockets* sockets) { g_sockets.store(sockets); }

}  // namespace platform
