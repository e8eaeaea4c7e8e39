#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/Json.h"

// The fake server's request decoder (tests/fakeserver/client_requests.py),
// run as a program over a file of frames: one JSON object per frame, with
// "error" for a frame it refuses. Native only (it starts Python); false with
// `error` set when the decoder could not be run.
bool DecodeFrames(const std::vector<std::vector<uint8_t>>& frames, std::vector<Json>& lines, std::string& error);

inline std::string Hex(const uint8_t* bytes, size_t count) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < count; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}
