#pragma once

#include <cstdint>
#include <string>

// What the client knows of one item type, as the server sent it.
class ItemRecord {
public:
    // Item-type flags.
    enum : uint32_t {
        kLightSource = 0x01,
        kBlocksWalking = 0x02,
        kBlocksPathA = 0x08,
        kBlocksPathB = 0x10,
        kTopItem = 0x20,
        kClickTarget = 0x80,
        kStackable = 0x100,
        kHidesFloorsAbove = 0x10000,
        kAnimatedOutfit = 0x100000,
        kSingleSpriteStack = 0x200000,
    };

    ItemRecord() = default;

    // true asks whether the item blocks walking (0x02), false asks for 0x04.
    bool HasFlag(bool b) const { return (flags & (b ? 0x02u : 0x04u)) != 0; }
    uint16_t GetWord() const { return patternSize; }

    std::string name = "unknown";
    uint32_t flags = 0;
    uint16_t patternSize = 32;   // pixels of the sprite pattern; above 32 a larger repeating pattern
    uint8_t groundFlag = 0;      // 1 marks a ground item
    uint8_t animationFrames = 0; // extra animation sprites behind the item's sprite
    uint8_t minimapColor = 0;    // 0 for none
    uint8_t groundSpeed = 100;   // percent
};
