// What the connection benchmarks feed the client: one full receive buffer of
// small frames, and the loop that times a step over it against memcpy.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "net/Connection.h"

struct Traffic {
    std::vector<uint8_t> bytes;
    int frames = 0;
    int pings = 0;
};

// Frames of pseudo-random payload sizes from 1 to 256 bytes, the last one
// filling the buffer exactly. With pingEvery > 0, about one in pingEvery is a
// ping frame (opcode 0x19 and a u16, answered with a pong); the others start
// with an opcode whose handler comes with a later message family, which ends
// the reading of the frame there. No frame holds an error opcode or a
// disconnect.
inline Traffic MixedMessages(int pingEvery) {
    constexpr int kBufferBytes = Connection::kReceiveBufferSize;
    Traffic traffic;
    std::vector<uint8_t>& bytes = traffic.bytes;
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 16;
    };
    while (int(bytes.size()) < kBufferBytes) {
        bool ping = pingEvery > 0 && next() % uint32_t(pingEvery) == 0;
        int payload = ping ? 3 : 1 + int(next() % 256);
        const int left = kBufferBytes - int(bytes.size());
        if (left - (payload + 2) < 3) {  // no room for another frame: take the rest
            payload = left - 2;
            ping = false;
        }
        bytes.push_back(uint8_t(payload));
        bytes.push_back(uint8_t(payload >> 8));
        if (ping) {
            bytes.push_back(0x19);
            bytes.push_back(uint8_t(next()));
            bytes.push_back(uint8_t(next()));
            ++traffic.pings;
        } else {
            // 0x04 to 0x40 but the disconnect and the ping.
            uint8_t opcode;
            do
                opcode = uint8_t(0x04 + next() % (0x40 - 0x04 + 1));
            while (opcode == 0x16 || opcode == 0x19);
            bytes.push_back(opcode);
            for (int i = 1; i < payload; ++i)
                bytes.push_back(uint8_t(next()));
        }
        ++traffic.frames;
    }
    return traffic;
}

// Each iteration copies the bytes into the connection's receive buffer with
// memcpy, as the socket would, hands them to the connection and runs `step`.
// Only the handing over and `step` are timed; `afterwards` runs untimed. The
// counter vs_memcpy is the memcpy's time divided by the timed part's,
// measured in the same iterations.
template <typename Step, typename Afterwards>
void TimeAgainstMemcpy(benchmark::State& state, Connection& connection, const Traffic& traffic, Step step,
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
    state.counters["vs_memcpy"] = stepSeconds > 0 ? copySeconds / stepSeconds : 0;
}
