#include "engine/Clock.h"

#include <atomic>

#include "platform/Platform.h"

namespace {
std::atomic<bool> g_ticksBaseSet{false};
std::atomic<uint32_t> g_ticksBase{0};
uint64_t g_frequency = 0;
uint64_t g_counterBase = 0;
}  // namespace

uint32_t GetTicks() {
    const uint32_t now = platform::GetClock().TickCount();
    if (!g_ticksBaseSet.load()) {
        g_ticksBase.store(now);
        g_ticksBaseSet.store(true);
    }
    return now - g_ticksBase.load();
}

uint64_t GetMilliseconds() {
    platform::Clock& clock = platform::GetClock();
    const uint64_t counter = clock.PerformanceCounter();
    if (g_frequency == 0) {
        g_frequency = clock.PerformanceFrequency();
        g_counterBase = counter;
        if (g_frequency == 0)
            return 0;
    }
    return (counter - g_counterBase) * 1000u / g_frequency;
}

void ResetClocks() {
    g_ticksBaseSet.store(false);
    g_frequency = 0;
    g_counterBase = 0;
}
