// A loaded area's picture: the decoder writes the pixels from a palette table
// of its own, which must give exactly what MinimapChunk::SetPixel writes.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "sidewindows/MinimapFiles.h"

namespace {

TEST(MinimapAreaPixels, EveryCodeLandsWhereSetPixelPutsIt) {
    // Every code 0..255 in runs of varied length, so each column holds several.
    auto source = std::make_unique<MinimapChunk>(0, 0, 7);
    for (int cell = 0; cell < MinimapChunk::kCells; ++cell)
        source->colour[cell] = uint8_t((cell / 7 + cell / 1000) & 255);
    const std::vector<uint8_t> bytes = EncodeMinimapArea(source->colour);

    auto loaded = std::make_unique<MinimapChunk>(0, 0, 7);
    DecodeMinimapArea(bytes.data(), bytes.size(), *loaded);
    auto expected = std::make_unique<MinimapChunk>(0, 0, 7);
    for (int x = 0; x < MinimapChunk::kSide; ++x)
        for (int y = 0; y < MinimapChunk::kSide; ++y)
            expected->SetPixel(x, y, source->colour[MinimapChunk::Cell(x, y)]);

    EXPECT_EQ(std::memcmp(loaded->colour, source->colour, MinimapChunk::kCells), 0);
    EXPECT_EQ(std::memcmp(loaded->image.pixels.get(), expected->image.pixels.get(), size_t(MinimapChunk::kCells) * 4),
              0);
    EXPECT_TRUE(loaded->dirty);
    EXPECT_FALSE(loaded->modified);
}

}  // namespace
