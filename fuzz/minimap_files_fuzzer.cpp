// The minimap's stored files: one input is read as an area file, a markers
// file and an old single file. What decodes must encode and decode again to
// the same values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "sidewindows/MinimapFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 20)
        return 0;
    auto chunk = std::make_unique<MinimapChunk>(0, 0, 7);
    DecodeMinimapArea(data, size, *chunk);
    const std::vector<uint8_t> area = EncodeMinimapArea(chunk->colour);
    auto again = std::make_unique<MinimapChunk>(0, 0, 7);
    DecodeMinimapArea(area.data(), area.size(), *again);
    for (int cell = 0; cell < MinimapChunk::kCells; ++cell)
        if (again->colour[cell] != chunk->colour[cell])
            std::abort();

    const auto markers = DecodeMinimapMarkers(data, size);
    const std::vector<uint8_t> saved = EncodeMinimapMarkers(markers);
    if (EncodeMinimapMarkers(DecodeMinimapMarkers(saved.data(), saved.size())) != saved)
        std::abort();

    volatile unsigned sum = 0;
    DecodeOldMinimap(data, size, [&](const OldMinimapTile& tile) { sum = sum + tile.x + tile.colour; });
    return 0;
}
