// Building and queueing requests, against memcpy of the same bytes: a walking
// path of 255 steps, a chat message of 16 000 bytes, and a burst of 1 000
// requests of one byte.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <vector>

#include "engine/gui/GUITab.h"
#include "game/ChatLog.h"
#include "game/ChatPane.h"
#include "net/Connection.h"
#include "protocol/Protocol.h"

namespace {

using Clock = std::chrono::steady_clock;

// Each iteration runs `send` `calls` times, then copies the frames it queued
// with one memcpy each into a buffer of their total size; the queue is
// emptied untimed. Counters: ns_per_byte (of the queued frames, length
// prefixes included) and times_memcpy, the sending time over the copying
// time. The aim for the large messages is a times_memcpy of at most 10.
void TimeSending(benchmark::State& state, int calls, const std::function<void(Protocol&)>& send) {
    // Chat goes to the active tab "Main".
    GUITab tab;
    tab.active = true;
    ChatPane main(2, "Main", &tab, nullptr);
    ChatLog::Instance()->panes = {&main};
    Protocol protocol;
    Connection& connection = *protocol.connection;
    send(protocol);
    const std::vector<std::vector<uint8_t>> frames = connection.QueuedFrames();
    connection.ClearQueues();
    if (frames.empty()) {
        ChatLog::Instance()->panes.clear();
        state.SkipWithError("nothing was queued");
        return;
    }
    const size_t frameBytes = frames[0].size();
    std::vector<uint8_t> copy(frameBytes * size_t(calls));
    double sendSeconds = 0;
    double copySeconds = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < calls; ++i)
            send(protocol);
        const Clock::time_point sent = Clock::now();
        for (int i = 0; i < calls; ++i)
            std::memcpy(copy.data() + size_t(i) * frameBytes, frames[0].data(), frameBytes);
        benchmark::ClobberMemory();
        const Clock::time_point copied = Clock::now();
        connection.ClearQueues();
        const double seconds = std::chrono::duration<double>(sent - start).count();
        state.SetIterationTime(seconds);
        sendSeconds += seconds;
        copySeconds += std::chrono::duration<double>(copied - sent).count();
    }
    const double bytes = double(frameBytes) * calls * double(state.iterations());
    state.SetBytesProcessed(int64_t(bytes));
    state.counters["frame_bytes"] = double(frameBytes);
    state.counters["ns_per_byte"] = bytes > 0 ? sendSeconds * 1e9 / bytes : 0;
    state.counters["times_memcpy"] = copySeconds > 0 ? sendSeconds / copySeconds : 0;
    ChatLog::Instance()->panes.clear();
}

void BM_WalkPath255(benchmark::State& state) {
    std::vector<int> steps(255);
    for (size_t i = 0; i < steps.size(); ++i)
        steps[i] = 1 + int(i % 8);
    TimeSending(state, 100, [&](Protocol& p) { p.SendWalkPath(steps, 1000, 2000, 7); });
}
BENCHMARK(BM_WalkPath255)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_ChatMessage16000(benchmark::State& state) {
    const std::string text(16000, 'x');
    TimeSending(state, 10, [&](Protocol& p) { p.SendChatMessage(text); });
}
BENCHMARK(BM_ChatMessage16000)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_OneByteBurst1000(benchmark::State& state) {
    TimeSending(state, 1000, [](Protocol& p) { p.SendRequestQuests(); });
}
BENCHMARK(BM_OneByteBurst1000)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
