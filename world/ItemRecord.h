#pragma once

#include <cstdint>
#include <string>

// Item-type flags of an item record.
enum ItemFlag : uint32_t {
    kItemLightSource = 0x01,
    kItemBlocksWalking = 0x02,
    kItemFlag04 = 0x04,             // only asked for through ItemRecord::HasFlag(false)
    kItemBlocksPath = 0x08,         // path search goes around it (see kItemAlwaysBlocksPath)
    kItemBlocksPathSoft = 0x10,     // path search goes around it when asked to
    kItemTop = 0x20,                // drawn above the creatures of its tile
    kItemElevates = 0x40,           // lifts the things drawn above it on its tile
    kItemClickTarget = 0x80,        // a click on its tile acts on it
    kItemStackable = 0x100,
    kItemUsable = 0x400,            // the context menu offers "Use"
    kItemOpenable = 0x800,          // the context menu offers "Open"
    kItemHidesFloorsAbove = 0x10000,
    kItemRotatedProjectile = 0x40000,  // a projectile drawn turned to its flight (OpenGL)
    kItemUndirectedProjectile = 0x80000,
    kItemAnimatedOutfit = 0x100000,  // an outfit of two alternating frames per facing
    kItemSingleSpriteStack = 0x200000,
};

// Item 203 blocks path search as if it had kItemBlocksPath, record or not.
constexpr int kItemAlwaysBlocksPath = 203;

// What the client knows of one item type, as the server sent it.
class ItemRecord {
public:
    ItemRecord() = default;

    // true asks whether the item blocks walking (0x02), false asks for 0x04.
    bool HasFlag(bool b) const { return (flags & (b ? 0x02u : 0x04u)) != 0; }
    uint16_t GetWord() const { return patternSize; }
    bool Has(uint32_t flag) const { return (flags & flag) != 0; }

    std::string name = "unknown";
    uint32_t flags = 0;
    uint16_t patternSize = 32;   // pixels of the sprite pattern; above 32 a larger repeating pattern
    uint8_t groundFlag = 0;      // 1 marks a ground item
    uint8_t animationFrames = 0; // extra animation sprites behind the item's sprite
    uint8_t minimapColor = 0;    // 0 for none
    uint8_t groundSpeed = 100;   // percent
};
