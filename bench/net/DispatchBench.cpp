// Cutting a full receive buffer of small frames into messages and handing
// each to the protocol's dispatcher, against memcpy of the same bytes.
#include "bench/net/Traffic.h"

#include "net/InMessage.h"

namespace {

// The frames are cut and every one is dispatched as Protocol::Poll does; the
// pongs the pings ask for are queued on the way and dropped between
// iterations, untimed, as sending would. The aim for vs_memcpy is at least
// 0.25.
//
// The argument is how often a ping comes: every 64th frame stands for a
// burst of game traffic (a server pings every few seconds), every 8th for a
// ping-heavy stream, in which queuing the pongs is most of the cost.
void BM_SplitAndDispatch(benchmark::State& state) {
    const ServerTraffic traffic = GameTraffic(int(state.range(0)));
    Protocol protocol;
    Connection& connection = *protocol.connection;
    size_t pongs = 0;
    TimeAgainstMemcpy(
        state, connection, traffic,
        [&] {
            InMessage message;
            while (connection.PopIncoming(message))
                protocol.Dispatch(message);
        },
        [&] {
            pongs = connection.OutgoingCount();
            connection.ClearQueues();
        });
    if (pongs != size_t(traffic.pings))
        state.SkipWithError("the pings were not all answered");
    state.counters["pings"] = traffic.pings;
}
BENCHMARK(BM_SplitAndDispatch)->Arg(64)->Arg(8)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
