#include "tests/support/traffic/ServerTraffic.h"

#include "net/InMessage.h"

namespace {

constexpr int kMaxMessagesPerFrame = 4;
// A longer frame is skipped unread by the connection: it would count for
// nothing.
constexpr size_t kMaxFramePayload = size_t(InMessage::kSkippedPayload) - 1;

}  // namespace

const std::vector<ServerSample>& ServerSamples() {
    static const std::vector<ServerSample> samples = {
#include "ServerSamples.inc"
    };
    return samples;
}

std::vector<uint8_t> PingMessage(uint16_t value) { return {0x19, uint8_t(value), uint8_t(value >> 8)}; }

ServerTraffic MakeServerTraffic(size_t capacity, int pingEvery, const std::function<bool(int opcode)>& use,
                                uint32_t seed) {
    std::vector<const ServerSample*> usable;
    for (const ServerSample& sample : ServerSamples())
        if (!sample.payload.empty() && use && use(sample.payload[0]))
            usable.push_back(&sample);

    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 16;
    };
    ServerTraffic traffic;
    for (;;) {
        std::vector<uint8_t> payload;
        int messages = 0;
        const bool ping = usable.empty() || (pingEvery > 0 && next() % uint32_t(pingEvery) == 0);
        if (ping) {
            payload = PingMessage(uint16_t(next()));
            messages = 1;
        } else {
            const int count = 1 + int(next() % kMaxMessagesPerFrame);
            for (int i = 0; i < count; ++i) {
                const ServerSample& sample = *usable[next() % usable.size()];
                const std::vector<uint8_t>& message = sample.payload;
                if (payload.size() + message.size() > kMaxFramePayload)
                    break;
                payload.insert(payload.end(), message.begin(), message.end());
                ++messages;
                if (sample.endsFrame)
                    break;
            }
            if (messages == 0)
                break;  // samples too large for a frame: nothing sensible to send
        }
        if (traffic.bytes.size() + 2 + payload.size() > capacity)
            break;
        traffic.bytes.push_back(uint8_t(payload.size()));
        traffic.bytes.push_back(uint8_t(payload.size() >> 8));
        traffic.bytes.insert(traffic.bytes.end(), payload.begin(), payload.end());
        ++traffic.frames;
        traffic.messages += messages;
        traffic.pings += ping ? 1 : 0;
    }
    return traffic;
}
