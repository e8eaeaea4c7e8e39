// A chat flood: 10 000 lines of 80 characters into one tab, through the chat
// log and the real text box. An append must cost the same whether the log is
// young or long; the counters compare the first and the last thousand lines.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "client/Client.h"
#include "game/ChatLog.h"
#include "game/ChatPane.h"

namespace {

constexpr int kLines = 10000;
constexpr int kMeasured = 1000;

void BM_ChatFlood(benchmark::State& state) {
    Client::Instance();  // the application object the chat log draws on
    ChatLog& log = *ChatLog::Instance();
    const std::string text(80 - 6, 'x');  // with "Ana: " and a blank, 80 characters
    double first = 0;
    double last = 0;
    for (auto _ : state) {
        log.Clear();
        log.AddChannelTab(ChatLog::kPublic, "Main");
        using Clock = std::chrono::steady_clock;
        Clock::time_point start = Clock::now();
        for (int i = 0; i < kLines; ++i) {
            if (i == kMeasured) {
                first += std::chrono::duration<double, std::micro>(Clock::now() - start).count();
            } else if (i == kLines - kMeasured) {
                start = Clock::now();
            }
            log.AddMessage("Ana", "Main", ChatLog::kSay, text + " " + std::to_string(i % 10));
        }
        last += std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        benchmark::DoNotOptimize(log.Panes().front()->box);
    }
    const double runs = double(state.iterations());
    state.counters["first1000_us_per_line"] = first / runs / kMeasured;
    state.counters["last1000_us_per_line"] = last / runs / kMeasured;
    state.counters["last_vs_first"] = first > 0 ? last / first : 0;
    log.Clear();
}
BENCHMARK(BM_ChatFlood)->Unit(benchmark::kMillisecond);

}  // namespace
