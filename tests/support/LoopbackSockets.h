// The few socket calls the loopback peer needs, one file per system
// (LoopbackPeerPosix.cpp, LoopbackPeerWin32.cpp).
#pragma once

#include <cstddef>
#include <cstdint>

namespace loopback {

constexpr uintptr_t kNone = ~uintptr_t(0);

bool WaitReadable(uintptr_t handle, int timeoutMs);
// The bytes taken, or 0 and less when the call failed.
long SendSome(uintptr_t handle, const uint8_t* bytes, size_t size);
// The bytes read, 0 when the other end has closed, or less on failure.
long ReceiveSome(uintptr_t handle, uint8_t* bytes, size_t size);
void CloseSocket(uintptr_t handle);
// A socket listening on 127.0.0.1 on a port the system picks, or kNone.
uintptr_t Listen(uint16_t& port);
// The waiting connection, or kNone.
uintptr_t AcceptOne(uintptr_t listener);

}  // namespace loopback
