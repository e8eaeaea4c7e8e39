// What the connection benchmarks feed the client: one full receive buffer of
// valid frames, and the loop that times a step over it against memcpy.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "net/Connection.h"
#include "protocol/Protocol.h"
#include "tests/support/traffic/ServerTraffic.h"

// One full receive buffer of frames packed from the fake server's sample
// messages (tests/support/traffic), each frame one to four messages; with
// pingEvery > 0 about one frame in pingEvery is a ping
// instead, answered with a pong. The messages that act on the connection or
// the login (new version, character list, enter game, disconnect) are left
// out: they would end the stream or start the game.
inline ServerTraffic GameTraffic(int pingEvery) {
    return MakeServerTraffic(size_t(Connection::kReceiveBufferSize), pingEvery, [](int opcode) {
        const bool connectionLevel = opcode <= 0x03 || opcode == 0x16 || opcode == 0x19;
        return !connectionLevel;
    });
}

// Each iteration copies the bytes into the connection's receive buffer with
// memcpy, as the socket would, hands them to the connection and runs `step`.
// Only the handing over and `step` are timed; `afterwards` runs untimed. The
// counter vs_memcpy is the memcpy's time divided by the timed part's,
// measured in the same iterations.
template <typename Step, typename Afterwards>
void TimeAgainstMemcpy(benchmark::State& state, Connection& connection, const ServerTraffic& traffic, Step step,
                       Afterwards afterwards) {
    using Clock = std::chrono::steady_clock;
    const std::vector<uint8_t>& source = traffic.bytes;
    double stepSeconds = 0;
    double copySeconds = 0;
    for (auto _ : state) {
        int room = 0;
        uint8_t* space = connection.ReceiveSpace(room);
        const Clock::time_point copyStart = Clock::now();
        std::memcpy(space, source.data(), source.size());
        benchmark::ClobberMemory();
        const Clock::time_point start = Clock::now();
        connection.TakeReceived(int(source.size()));
        step();
        const Clock::time_point end = Clock::now();
        afterwards();
        const double seconds = std::chrono::duration<double>(end - start).count();
        state.SetIterationTime(seconds);
        stepSeconds += seconds;
        copySeconds += std::chrono::duration<double>(start - copyStart).count();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(source.size()));
    state.counters["frames"] = traffic.frames;
    state.counters["messages"] = traffic.messages;
    state.counters["vs_memcpy"] = stepSeconds > 0 ? copySeconds / stepSeconds : 0;
}
