// Loading a full graphics file (all 19 999 sprites) with SpriteStore::Load,
// against a plain read of the same file: the loader should cost little more
// than reading the bytes.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "engine/SpriteStore.h"
#include "tools/gfxgen/GfxWriter.h"

namespace {

// A picture of 32 x 32 whose kind varies with the id, as a real file mixes
// them: opaque tiles, shapes with transparent surroundings, sparse effects and
// empty slots.
GfxImage SamplePicture(int id) {
    GfxImage image(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const uint32_t noise = uint32_t(x) * 73856093u ^ uint32_t(y) * 19349663u ^ uint32_t(id) * 83492791u;
            const uint32_t colour = 0xFF000000u | (noise & 0x00FFFFFFu);
            bool opaque = false;
            switch (id % 4) {
            case 0: opaque = true; break;                                                // ground tile
            case 1: opaque = (x - 16) * (x - 16) + (y - 16) * (y - 16) < 150; break;     // an item
            case 2: opaque = (noise >> 24) < 40; break;                                   // an effect
            case 3: opaque = y > 8 && x > 4 && x < 28; break;                             // a creature
            }
            if (opaque)
                image.Set(x, y, colour);
        }
    return image;
}

// The file is written once for the whole program and removed at its end.
class SampleFile {
public:
    SampleFile() : path_("/tmp/velmora-bench-" + std::to_string(getpid()) + ".gfx") {
        GfxWriter writer;
        for (int id = 1; id < SpriteStore::kMaxSprites; ++id)
            writer.Put(id, SamplePicture(id));
        writer.Write(path_, 1500000000);
        if (FILE* file = std::fopen(path_.c_str(), "rb")) {
            std::fseek(file, 0, SEEK_END);
            size_ = size_t(std::ftell(file));
            std::fclose(file);
        }
    }
    ~SampleFile() { std::remove(path_.c_str()); }
    const std::string& path() const { return path_; }
    size_t size() const { return size_; }

private:
    std::string path_;
    size_t size_ = 0;
};

const SampleFile& Sample() {
    static SampleFile file;
    return file;
}

// The baseline: the whole file in one fread into a fresh buffer.
size_t RawRead(const std::string& path, size_t size) {
    std::unique_ptr<uint8_t[]> buffer(new uint8_t[size]);
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return 0;
    const size_t got = std::fread(buffer.get(), 1, size, file);
    std::fclose(file);
    benchmark::DoNotOptimize(buffer.get());
    return got;
}

void BM_RawRead(benchmark::State& state) {
    const SampleFile& sample = Sample();
    for (auto _ : state)
        benchmark::DoNotOptimize(RawRead(sample.path(), sample.size()));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(sample.size()));
}
BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond);

// Each iteration loads the file into a new store and, untimed, reads it raw
// once more, so that the counter vs_raw_read (load time / raw time) compares
// the two under the same conditions. Freeing the store is not timed either.
void BM_SpriteStoreLoad(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const SampleFile& sample = Sample();
    double loadSeconds = 0;
    double rawSeconds = 0;
    for (auto _ : state) {
        auto store = std::make_unique<SpriteStore>();
        const Clock::time_point start = Clock::now();
        const uint32_t stamp = store->Load(sample.path());
        const Clock::time_point loaded = Clock::now();
        benchmark::DoNotOptimize(stamp);
        state.SetIterationTime(std::chrono::duration<double>(loaded - start).count());
        loadSeconds += std::chrono::duration<double>(loaded - start).count();
        store.reset();
        const Clock::time_point rawStart = Clock::now();
        benchmark::DoNotOptimize(RawRead(sample.path(), sample.size()));
        rawSeconds += std::chrono::duration<double>(Clock::now() - rawStart).count();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(sample.size()));
    state.counters["vs_raw_read"] = rawSeconds > 0 ? loadSeconds / rawSeconds : 0;
    state.counters["file_MB"] = double(sample.size()) / 1e6;
}
BENCHMARK(BM_SpriteStoreLoad)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
