// Cutting a full receive buffer of small frames into messages, against memcpy
// of the same bytes.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "net/Connection.h"

namespace {

constexpr int kBufferBytes = Connection::kReceiveBufferSize;

// Frames of pseudo-random payload sizes from 1 to 256 bytes, the last one
// filling the buffer exactly.
std::vector<uint8_t> MixedFrames(int* frameCount) {
    std::vector<uint8_t> bytes;
    uint32_t seed = 12345;
    int frames = 0;
    while (int(bytes.size()) < kBufferBytes) {
        seed = seed * 1103515245u + 12345u;
        int payload = 1 + int((seed >> 16) % 256);
        const int left = kBufferBytes - int(bytes.size());
        if (left - (payload + 2) < 3)  // no room for another frame: take the rest
            payload = left - 2;
        bytes.push_back(uint8_t(payload));
        bytes.push_back(uint8_t(payload >> 8));
        for (int i = 0; i < payload; ++i)
            bytes.push_back(uint8_t(seed >> (i % 24)));
        ++frames;
    }
    *frameCount = frames;
    return bytes;
}

// Each iteration copies 400 000 received bytes into the connection's receive
// buffer with memcpy, as the socket would, and then cuts them into messages
// and takes each one out with a trivial step per frame (reading its opcode):
// the path every server message takes up to its handler, which is not part of
// this measure. Only the cutting and taking out are timed; the counter
// vs_memcpy is the memcpy's time divided by theirs, measured in the same
// iterations (the aim is at least 0.25).
void BM_SplitFrames(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    int frameCount = 0;
    const std::vector<uint8_t> source = MixedFrames(&frameCount);
    Connection connection;
    uint64_t opcodes = 0;
    double splitSeconds = 0;
    double copySeconds = 0;
    for (auto _ : state) {
        int room = 0;
        uint8_t* space = connection.ReceiveSpace(room);
        const Clock::time_point copyStart = Clock::now();
        std::memcpy(space, source.data(), source.size());
        benchmark::ClobberMemory();
        const Clock::time_point start = Clock::now();
        connection.TakeReceived(int(source.size()));
        InMessage message;
        while (connection.PopIncoming(message))
            opcodes += message.ReadU8();
        const Clock::time_point end = Clock::now();
        const double seconds = std::chrono::duration<double>(end - start).count();
        state.SetIterationTime(seconds);
        splitSeconds += seconds;
        copySeconds += std::chrono::duration<double>(start - copyStart).count();
    }
    benchmark::DoNotOptimize(opcodes);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(source.size()));
    state.counters["frames"] = frameCount;
    state.counters["vs_memcpy"] = splitSeconds > 0 ? copySeconds / splitSeconds : 0;
}
BENCHMARK(BM_SplitFrames)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The same bytes copied with memcpy again and again, for reference.
void BM_Memcpy(benchmark::State& state) {
    int frameCount = 0;
    const std::vector<uint8_t> source = MixedFrames(&frameCount);
    std::vector<uint8_t> target(source.size());
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(source.size()));
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMicrosecond);

}  // namespace
