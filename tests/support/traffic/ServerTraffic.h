// Valid server traffic, shared by the tests and the benchmarks: the fake
// server's sample of every message it knows (tests/fakeserver/server_messages.py,
// SAMPLES and VARIANTS, written out at build time), and frames packed from
// them as a server packs them. Later work extends it through the samples:
// each message that gets a handler gets a sample there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

struct ServerSample {
    const char* label;
    std::vector<uint8_t> payload;  // the opcode and the message's fields
    // Its count claims more than its bytes hold: read to the end of its
    // frame, it must be the frame's last message.
    bool endsFrame = false;
};

// Every sample, in the table's order, samples before variants.
const std::vector<ServerSample>& ServerSamples();

// The ping message (0x19) with its value, which the client answers with a pong.
std::vector<uint8_t> PingMessage(uint16_t value);

struct ServerTraffic {
    std::vector<uint8_t> bytes;  // frames back to back, each with its u16 length
    int frames = 0;
    int messages = 0;  // pings included
    int pings = 0;
};

// Frames for a receive buffer of `capacity` bytes, as many as fit. Each holds
// one to four messages drawn pseudo-randomly (from `seed`) among the samples
// whose opcode `use` accepts (a sample that ends its frame comes last in it); with pingEvery > 0 about one frame in pingEvery
// is a ping of its own instead. Without a usable sample every frame is a ping.
ServerTraffic MakeServerTraffic(size_t capacity, int pingEvery, const std::function<bool(int opcode)>& use,
                                uint32_t seed = 12345);
