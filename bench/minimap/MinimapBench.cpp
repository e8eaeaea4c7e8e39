// The world map over an explored minimap, and the area files the minimap
// loads its chunks from.
//
// BM_WorldMapFrame: one frame of the game screen with the world map open at
// zoom 0.25 (its widest view, about 14 x 8 chunks) over 16 x 10 explored
// chunks, through the recording engine.
// BM_WorldMapPan: the same map dragged 10 000 tiles over land never explored;
// the chunks held and the process's memory must not grow.
// BM_LoadAreaFile / BM_ReadAreaFile: an area file loaded into a chunk (read,
// run-length decoded, every pixel written) against a plain read of the same
// bytes.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "client/Client.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "game/GameInterface.h"
#include "platform/Platform.h"
#include "sidewindows/Minimap.h"
#include "sidewindows/MinimapFiles.h"
#include "sidewindows/WorldMapDialog.h"
#include "tests/support/ClientFixture.h"
#include "tests/support/RecordingEngine.h"
#include "tests/support/Scratch.h"
#include "tests/support/TestApp.h"
#include "tools/gfxgen/GfxWriter.h"
#include "world/Camera.h"
#include "world/Map.h"

namespace {

// A colour for every tile of an explored landscape: grass with lakes, roads
// every 32 tiles, walls around blocks and a few stone tiles, so runs are of
// mixed lengths as in real exploration.
uint8_t Landscape(int x, int y) {
    if ((x & 31) == 0 || (y & 31) == 0)
        return 5;
    if (((x - 40) * (x - 40) + (y - 90) * (y - 90)) % 7919 < 900)
        return 2;
    if ((x & 63) > 40 && (x & 63) < 56 && ((y & 63) == 44 || (y & 63) == 58))
        return 3;
    if (((x * 7 + y * 13) & 127) == 0)
        return 6;
    return 1;
}

// Process memory in KB (resident set), from /proc on Linux.
long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

// A client in the game with the player at (8200, 5200) on floor 7 and the
// 16 x 10 chunks around it explored.
class ExploredGame {
public:
    static constexpr int kPlayerX = 8200;
    static constexpr int kPlayerY = 5200;

    ExploredGame() {
        GfxWriter writer;
        writer.Put(2, MakeTestGlyphSheet());
        writer.Put(403, GfxImage(32, 32));
        writer.Put(5764, GfxImage(128, 128));
        writer.Put(5768, GfxImage(18, 18));
        writer.Put(6195, GfxImage(64, 13));
        writer.Put(6196, GfxImage(64, 13));
        writer.Write(fixture.dir.Path("velmora.gfx"), 1500000000);
        fixture.WriteOptions("[options]\nfpslimit=0\n");
        client = &fixture.MakeClient();
        if (!client->Init())
            return;
        client->StartGame(false);
        Camera* camera = client->game->map->camera;
        camera->x = kPlayerX - 8;
        camera->y = kPlayerY - 6;
        camera->z = 7;
        Minimap* minimap = client->game->minimap;
        const int firstX = (kPlayerX & 0xFF00) - 8 * 256;
        const int firstY = (kPlayerY & 0xFF00) - 5 * 256;
        for (int x = firstX; x < firstX + 16 * 256; ++x)
            for (int y = firstY; y < firstY + 10 * 256; ++y)
                minimap->SetTile(uint16_t(x), uint16_t(y), 7, Landscape(x, y), 100);
        // A marker every 64 tiles, as a well-marked map has.
        for (int x = firstX; x < firstX + 16 * 256; x += 64)
            for (int y = firstY; y < firstY + 10 * 256; y += 64)
                minimap->markers.push_back({x, y, 7, kMinimapMarkerIcon, "marker"});
        client->game->worldMap->Open();
        client->game->worldMap->zoom = 0.25f;
        ready = true;
    }

    void Frame() {
        client->game->Update();
        Graphics* graphics = client->app->graphics;
        graphics->BeginScene();
        client->game->Draw();
        client->app->gui->Update();
        graphics->EndScene();
        calls = Engine().calls.size();
        Engine().Clear();
    }

    RecordingEngine& Engine() { return *static_cast<RecordingEngine*>(client->app->engine); }
    size_t Chunks() const { return client->game->minimap->chunks.size(); }

    ClientFixture fixture;
    Client* client = nullptr;
    bool ready = false;
    size_t calls = 0;
};

void BM_WorldMapFrame(benchmark::State& state) {
    ExploredGame game;
    if (!game.ready) {
        state.SkipWithError("the client did not start");
        return;
    }
    game.Frame();  // the textures are made once, in the first frame
    for (auto _ : state)
        game.Frame();
    state.counters["chunks_held"] = double(game.Chunks());
    state.counters["engine_calls_per_frame"] = double(game.calls);
}
BENCHMARK(BM_WorldMapFrame)->Unit(benchmark::kMillisecond);

// Each iteration drags the view 10 000 tiles east and 10 000 south over land
// never explored, 100 tiles a frame, and back.
void BM_WorldMapPan(benchmark::State& state) {
    ExploredGame game;
    if (!game.ready) {
        state.SkipWithError("the client did not start");
        return;
    }
    WorldMapDialog& map = *game.client->game->worldMap;
    map.centerX = 20000;
    map.centerY = 20000;
    game.Frame();
    const size_t chunksBefore = game.Chunks();
    const long kbBefore = ResidentKb();
    for (auto _ : state) {
        for (int step = 0; step <= 100; ++step) {
            map.centerX = 20000 + step * 100;
            map.centerY = 20000 + step * 100;
            game.Frame();
        }
    }
    state.counters["chunks_before"] = double(chunksBefore);
    state.counters["chunks_after"] = double(game.Chunks());
    state.counters["rss_growth_kb"] = double(ResidentKb() - kbBefore);
}
BENCHMARK(BM_WorldMapPan)->Unit(benchmark::kMillisecond)->Iterations(5);

// Area files in a scratch folder: a landscape (arg 0) and the longest file
// there is, every cell a run of its own (arg 1).
class AreaFiles {
public:
    static constexpr int kFiles = 16;

    explicit AreaFiles(bool worst) : dir_("minimap_bench") {
        folders.shipped = dir_.Path("minimap");
        folders.user = dir_.Path("user");
        platform::MakeDirectory(folders.user);
        auto chunk = std::make_unique<MinimapChunk>(0, 0, 7);
        for (int i = 0; i < kFiles; ++i) {
            for (int x = 0; x < 256; ++x)
                for (int y = 0; y < 256; ++y)
                    chunk->colour[MinimapChunk::Cell(x, y)] =
                        worst ? uint8_t(1 + ((x + y) & 1)) : Landscape(i * 256 + x, y);
            const std::vector<uint8_t> bytes = EncodeMinimapArea(chunk->colour);
            const std::string path = folders.user + "/" + MinimapAreaFileName(i * 256, 0, 7);
            std::FILE* file = std::fopen(path.c_str(), "wb");
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
            paths.push_back(path);
            bytes_ += bytes.size();
        }
    }

    size_t Bytes() const { return bytes_; }

    MinimapFolders folders;
    std::vector<std::string> paths;

private:
    ScratchDir dir_;
    size_t bytes_ = 0;
};

size_t RawRead(const std::string& path, std::vector<uint8_t>& buffer) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return 0;
    const size_t got = std::fread(buffer.data(), 1, buffer.size(), file);
    std::fclose(file);
    benchmark::DoNotOptimize(buffer.data());
    return got;
}

// Timed: LoadMinimapChunk of every file into a new chunk's arrays (the chunk
// is made untimed). Untimed, the same files read raw, for vs_raw_read.
void BM_LoadAreaFile(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    AreaFiles files(state.range(0) != 0);
    std::vector<uint8_t> buffer(2 * MinimapChunk::kCells);
    std::vector<std::unique_ptr<MinimapChunk>> chunks;
    for (int i = 0; i < AreaFiles::kFiles; ++i)
        chunks.push_back(std::make_unique<MinimapChunk>(i * 256, 0, 7));
    double loadSeconds = 0;
    double rawSeconds = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        for (auto& chunk : chunks)
            LoadMinimapChunk(*chunk, files.folders);
        const double loaded = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(loaded);
        loadSeconds += loaded;
        benchmark::DoNotOptimize(chunks.front()->colour[1000]);
        const Clock::time_point rawStart = Clock::now();
        for (const std::string& path : files.paths)
            benchmark::DoNotOptimize(RawRead(path, buffer));
        rawSeconds += std::chrono::duration<double>(Clock::now() - rawStart).count();
    }
    const double loads = double(state.iterations()) * AreaFiles::kFiles;
    state.counters["us_per_chunk"] = loads > 0 ? loadSeconds / loads * 1e6 : 0;
    state.counters["vs_raw_read"] = rawSeconds > 0 ? loadSeconds / rawSeconds : 0;
    state.counters["file_bytes"] = double(files.Bytes()) / AreaFiles::kFiles;
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(files.Bytes()));
}
BENCHMARK(BM_LoadAreaFile)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
