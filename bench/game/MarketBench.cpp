// The item market's row filter over 5 000 offers, in a client in the game
// with the market open on "All Items" (every row in the table):
// BM_MarketRefreshRows is the filter a listing, a tab or a category change
// runs; BM_MarketSearchChange is one frame of the market window after the
// search text changed, which filters once. The time is per call; the aim is
// under 2 ms for each.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "client/Client.h"
#include "dialogs/trade/MarketDialog.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameInterface.h"
#include "tests/support/ClientFixture.h"

namespace {

constexpr int kOffers = 5000;

// A client in the game whose market holds kOffers offers of varied names,
// categories, sides and players, shown on "All Items".
struct MarketOpen {
    MarketOpen() {
        Client& made = fixture.StartClient();
        made.StartGame(false);
        if (!made.game)
            return;
        client = &made;
        market = made.game->market;
        market->Open();
        for (int i = 0; i < kOffers; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "%s %05d", i % 3 ? "torch" : "flower", i);
            market->InsertOffer(name, i % 7 ? "Brenna" : "Aldric", uint32_t(100 + i % 50), uint32_t(1 + i % 9),
                                1.5f, uint32_t(1 + i % 15), i % 2 == 0);
        }
        market->ShowCategory(-1);
        search = dynamic_cast<GUITextbox*>(made.app->gui->FindControl(MarketDialog::kSearchBox));
    }
    ClientFixture fixture;
    Client* client = nullptr;
    MarketDialog* market = nullptr;
    GUITextbox* search = nullptr;
};

void BM_MarketRefreshRows(benchmark::State& state) {
    MarketOpen open;
    if (!open.market) {
        state.SkipWithError("the client did not enter the game");
        return;
    }
    // With a search text, as the filter runs after a listing while one is typed.
    if (open.search)
        open.search->SetText("torch 0");
    for (auto _ : state)
        open.market->RefreshRows();
}
BENCHMARK(BM_MarketRefreshRows)->Unit(benchmark::kMillisecond);

void BM_MarketSearchChange(benchmark::State& state) {
    MarketOpen open;
    if (!open.market || !open.search) {
        state.SkipWithError("the client did not enter the game with the market");
        return;
    }
    // Two texts in turn, so that every frame sees a change.
    const std::string texts[] = {"torch 0", "flower 1"};
    size_t next = 0;
    for (auto _ : state) {
        open.search->SetText(texts[next]);
        next ^= 1;
        open.market->Draw();
    }
}
BENCHMARK(BM_MarketSearchChange)->Unit(benchmark::kMillisecond);

}  // namespace
