#pragma once

#include <cstdint>

// Milliseconds since the first call (which returns 0); GetTickCount based, so
// it wraps after about 49.7 days. Also called from the status and screenshot
// threads; the first call happens on the main thread at start-up.
uint32_t GetTicks();
// Milliseconds since the first call from the performance counter, for frame
// pacing.
uint64_t GetMilliseconds();
// Forgets both bases, so that the next calls count from zero again; tests use
// it after installing a fake clock.
void ResetClocks();
