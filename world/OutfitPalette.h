#pragma once

#include <cstdint>
#include <memory>

#include "world/OutfitSpriteCache.h"

struct Sprite;
struct SpriteRecord;

struct OutfitColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 255;
};

// The colours one outfit picture is made with.
struct OutfitColors {
    OutfitColor skin;
    OutfitColor addon;   // the addon layer
    OutfitColor second;  // the second layer
    OutfitColor red;     // the parts the mask marks red, green and blue
    OutfitColor green;
    OutfitColor blue;
};

// Player outfits are greyscale sprites coloured per player: the outfit values
// pick colours from a palette of 128 colours and six skin tones, and a mask
// sprite beside each frame says which pixel takes which colour.
//
// The nine outfit values: [0] the outfit's first sprite, [1] the addon layer's
// base sprite (0 none), [2] the second layer's base sprite (0 none), [3] and
// [4] the colours of those layers, [5] the skin tone, [6] [7] [8] the colours
// of the mask's red, green and blue parts. The server sends colour indexes as
// bytes (0 to 255) although the palette has 128 entries: indexes beyond it
// take its last colour, skin tones beyond the sixth take the sixth.
class OutfitPalette : public OutfitSpriteCache {
public:
    static constexpr int kColorCount = 128;
    static constexpr int kSkinCount = 6;

    static OutfitPalette* Instance();

    OutfitPalette();

    // A palette colour or skin tone, for any index.
    OutfitColor GetColor(int index) const;
    OutfitColor GetSkinColor(int index) const;
    OutfitColors ResolveColors(const int outfit[9]) const;

    // A new coloured sprite of one frame (owned by the caller), or null when
    // the frame has no image. layerOffset: the distance to the frame's mask
    // sprite; facing: 0 to 3.
    Sprite* MakeColoredSprite(int spriteId, int layerOffset, int facing, const int outfit[9]);
    Sprite* GetSprite(int spriteId, int pose, int frame, const int outfit[9]) override;

    OutfitColor colors[kColorCount];
    OutfitColor skinColors[8];

private:
    static void ClampColor(OutfitColor& color, int red, int green, int blue);
};

// True for the outfits whose pictures are coloured per player.
bool IsColorableOutfit(int spriteId);
// The first of an outfit's four pose frames.
int GetOutfitPoseSprite(int spriteId);

// Colours a frame: the pixels of the result (bottom row first, like every
// decoded image), or null without a base image. The result is as large as the
// largest of the base and the two layers; the base and the second layer sit at
// its right edge, the addon layer at its left. Layer pixels replace the base
// coloured by their own brightness; other base pixels take the colour their
// mask pixel selects, scaled by their brightness. Any image but the base may
// be null.
std::unique_ptr<SpriteRecord> ColorizeOutfitSprite(const SpriteRecord* base, const SpriteRecord* mask,
                                                   const SpriteRecord* addon, const SpriteRecord* second,
                                                   const OutfitColors& colors);
