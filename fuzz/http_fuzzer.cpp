// The HTTP client's reading of an answer: the status line, the header lines,
// the announced length and the body, delivered in pieces of varying size as a
// network would deliver them.
#include <cstddef>
#include <cstdint>
#include <string>

#include "net/KHyperText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 1 << 20)
        return 0;
    // The first byte chooses the size of the pieces.
    const int piece = data[0] % 97 + 1;
    ++data;
    --size;
    KHyperText http;
    int result = 0;
    for (size_t at = 0; at < size && result == 0;) {
        const int take = static_cast<int>(size - at < size_t(piece) ? size - at : size_t(piece));
        result = http.Feed(data + at, take);
        at += size_t(take);
    }
    // What the users read once an answer is complete.
    volatile uint32_t sum = 0;
    if (http.body)
        for (int i = 0; i < http.GetBytesReceived(); ++i)
            sum = sum + http.body[i];
    for (const auto& header : http.headers)
        sum = sum + uint32_t(header.first.size() + header.second.size());
    return 0;
}
