#pragma once

#include <benchmark/benchmark.h>

#include "client/Client.h"
#include "tests/support/ClientFixture.h"
#include "tools/gfxgen/GfxWriter.h"

// Writes the graphics file with what the benchmark put into `writer`, starts
// a client without frame pacing and enters the game; null (the benchmark
// skipped with an error) when the client did not start.
inline Client* StartBenchGame(ClientFixture& fixture, const GfxWriter& writer, benchmark::State& state) {
    writer.Write(fixture.dir.Path("velmora.gfx"), 1500000000);
    fixture.WriteOptions("[options]\nfpslimit=0\n");
    Client& client = fixture.MakeClient();
    if (!client.Init()) {
        state.SkipWithError("the client did not start");
        return nullptr;
    }
    client.StartGame(false);
    return &client;
}
