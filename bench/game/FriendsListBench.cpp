// One friends-list message (0x18) of 500, 1 000 and 2 000 records, handed to
// the dispatcher of a client in the game: the records go into the friends
// window's three lists, and the shown list is sorted once at the end of the
// message. BM_FriendsRebuildPerRecord stores the same records with a rebuild
// after each one, as Friends::SetEntry does on its own: the cost the handler
// avoids (it grows as n^2 log n; a u16 count allows 65 535 records).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "client/Client.h"
#include "game/GameInterface.h"
#include "net/InMessage.h"
#include "protocol/Protocol.h"
#include "sidewindows/Friends.h"
#include "tests/support/ClientFixture.h"
#include "tests/support/LoginFixture.h"

namespace {

struct Record {
    std::string name;
    bool online;
    int list;
};

// Names with varied first bytes (capitals, small letters, bytes above 127),
// about half online, most on the list shown.
std::vector<Record> Records(int count) {
    std::vector<Record> records;
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "%cplayer%05d", "AbZq\xC9m"[i % 6], i);
        records.push_back({name, (i * 7) % 3 != 0, i % 5 == 4 ? 1 : 0});
    }
    return records;
}

Bytes FriendsFrame(const std::vector<Record>& records) {
    Wire w;
    w.U8(0x18).U16(uint32_t(records.size())).U8(1);
    for (const Record& r : records)
        w.Str(r.name).U8(r.online ? 1 : 0).U8(uint32_t(r.list));
    return Frame(w.bytes);
}

// A client that has entered the game on the recording engine.
struct InGame {
    InGame() {
        fixture.WriteGraphicsFile();
        fixture.WriteOptions("[options]\nfpslimit=0\n");
        Client& made = fixture.MakeClient();
        if (made.Init()) {
            made.StartGame(false);
            client = &made;
        }
    }
    ClientFixture fixture;
    Client* client = nullptr;
};

void BM_FriendsMessage(benchmark::State& state) {
    InGame game;
    if (!game.client || !game.client->game) {
        state.SkipWithError("the client did not enter the game");
        return;
    }
    const Bytes frame = FriendsFrame(Records(int(state.range(0))));
    Protocol* protocol = game.client->protocol;
    for (auto _ : state) {
        InMessage message(frame.data(), int(frame.size()));
        protocol->Dispatch(message);
        benchmark::DoNotOptimize(game.client->game->friends->view.data());
    }
    state.counters["shown"] = double(game.client->game->friends->view.size());
}
BENCHMARK(BM_FriendsMessage)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_FriendsRebuildPerRecord(benchmark::State& state) {
    InGame game;
    if (!game.client || !game.client->game) {
        state.SkipWithError("the client did not enter the game");
        return;
    }
    const std::vector<Record> records = Records(int(state.range(0)));
    Friends* friends = game.client->game->friends;
    for (auto _ : state) {
        friends->Clear();
        for (const Record& r : records)
            friends->SetEntry(r.name, r.online, r.list);
        benchmark::DoNotOptimize(friends->view.data());
    }
}
BENCHMARK(BM_FriendsRebuildPerRecord)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
