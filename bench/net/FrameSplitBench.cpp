// Cutting a full receive buffer of small frames into messages, against memcpy
// of the same bytes.
#include "bench/net/Traffic.h"

#include "net/InMessage.h"

namespace {

// The frames are cut into messages and each is taken out with a trivial step
// (reading its opcode): the path every server message takes up to its
// handler, which is not part of this measure. The aim for vs_memcpy is at
// least 0.25.
void BM_SplitFrames(benchmark::State& state) {
    const ServerTraffic traffic = GameTraffic(0);
    Connection connection;
    uint64_t opcodes = 0;
    TimeAgainstMemcpy(
        state, connection, traffic,
        [&] {
            InMessage message;
            while (connection.PopIncoming(message))
                opcodes += message.ReadU8();
        },
        [] {});
    benchmark::DoNotOptimize(opcodes);
}
BENCHMARK(BM_SplitFrames)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The same bytes copied with memcpy again and again, for reference.
void BM_Memcpy(benchmark::State& state) {
    const std::vector<uint8_t> source = GameTraffic(0).bytes;
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
