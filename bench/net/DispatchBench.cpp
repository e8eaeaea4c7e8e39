// Cutting a full receive buffer of small frames into messages and handing
// each to the protocol's dispatcher, against memcpy of the same bytes.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "net/Connection.h"
#include "net/InMessage.h"
#include "net/Protocol.h"

namespace {

constexpr int kBufferBytes = Connection::kReceiveBufferSize;

// Frames of pseudo-random payload sizes from 1 to 256 bytes, the last one
// filling the buffer exactly. About one in pingEvery is a ping frame (opcode
// 0x19 and a u16, answered with a pong); the others start with an opcode
// whose handler comes with a later message family, which ends the reading of
// the frame there. No frame holds an error opcode or a disconnect.
std::vector<uint8_t> MixedMessages(int pingEvery, int* frameCount, int* pingCount) {
    std::vector<uint8_t> bytes;
    uint32_t seed = 12345;
    int frames = 0;
    int pings = 0;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 16;
    };
    while (int(bytes.size()) < kBufferBytes) {
        bool ping = next() % uint32_t(pingEvery) == 0;
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
            ++pings;
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
        ++frames;
    }
    *frameCount = frames;
    *pingCount = pings;
    return bytes;
}

// Each iteration copies the 400 000 bytes into the connection's receive
// buffer with memcpy, as the socket would, then cuts them into frames and
// dispatches every frame as Protocol::Poll does; the pongs the pings ask for
// are queued on the way. Only the cutting and dispatching are timed; the
// counter vs_memcpy is the memcpy's time divided by theirs, measured in the
// same iterations (the aim is at least 0.25). The pongs are dropped between
// iterations, untimed, as sending would.
//
// The argument is how often a ping comes: every 64th frame stands for a
// burst of game traffic (a server pings every few seconds), every 8th for a
// ping-heavy stream, in which queuing the pongs is most of the cost.
void BM_SplitAndDispatch(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    int frameCount = 0;
    int pingCount = 0;
    const std::vector<uint8_t> source = MixedMessages(int(state.range(0)), &frameCount, &pingCount);
    Protocol protocol;
    Connection& connection = *protocol.connection;
    double dispatchSeconds = 0;
    double copySeconds = 0;
    size_t pongs = 0;
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
            protocol.Dispatch(message);
        const Clock::time_point end = Clock::now();
        pongs = connection.OutgoingCount();
        connection.ClearQueues();
        const double seconds = std::chrono::duration<double>(end - start).count();
        state.SetIterationTime(seconds);
        dispatchSeconds += seconds;
        copySeconds += std::chrono::duration<double>(start - copyStart).count();
    }
    if (pongs != size_t(pingCount))
        state.SkipWithError("the pings were not all answered");
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(source.size()));
    state.counters["frames"] = frameCount;
    state.counters["pings"] = pingCount;
    state.counters["vs_memcpy"] = dispatchSeconds > 0 ? copySeconds / dispatchSeconds : 0;
}
BENCHMARK(BM_SplitAndDispatch)->Arg(64)->Arg(8)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
