// Cutting a full receive buffer of small frames into messages, against memcpy
// of the same bytes.
//
// One iteration hands the connection 400 000 received bytes of frames with
// payloads of 1 to 256 bytes, cuts them into InMessages, and takes each one
// out with a trivial per-frame step (reading its opcode): the path every
// server message takes before its handler. The bytes are put
// into the receive buffer outside the timing, as the socket would.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "net/Connection.h"

namespace {

constexpr int kBufferBytes = Connection::kReceiveBufferSize;

// Frames of pseudo-random payload sizes, the last one filling the buffer exactly.
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

void BM_SplitFrames(benchmark::State& state) {
    int frameCount = 0;
    const std::vector<uint8_t> source = MixedFrames(&frameCount);
    Connection connection;
    uint64_t opcodes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        int room = 0;
        std::memcpy(connection.ReceiveSpace(room), source.data(), source.size());
        state.ResumeTiming();
        connection.TakeReceived(int(source.size()));
        InMessage message;
        while (connection.PopIncoming(message))
            opcodes += message.ReadU8();
    }
    benchmark::DoNotOptimize(opcodes);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(source.size()));
    state.counters["frames"] = frameCount;
}
BENCHMARK(BM_SplitFrames)->Unit(benchmark::kMicrosecond);

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
