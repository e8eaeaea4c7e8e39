#include "world/OutfitPalette.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "engine/GraphicsEngine.h"
#include "engine/KEngine2.h"
#include "engine/Sprite.h"
#include "engine/SpriteStore.h"

namespace {

// 16 groups of eight shades, red, green, blue.
const uint8_t kPalette[OutfitPalette::kColorCount][3] = {
    {255, 255, 255}, {210, 210, 210}, {170, 170, 170}, {130, 130, 130},
    {110, 110, 110}, {90, 90, 90},    {50, 50, 50},    {20, 20, 20},
    {255, 150, 150}, {240, 130, 130}, {220, 110, 110}, {200, 90, 90},
    {180, 70, 70},   {160, 50, 50},   {140, 30, 30},   {120, 30, 30},
    {255, 230, 190}, {190, 180, 140}, {190, 160, 100}, {190, 150, 60},
    {190, 130, 0},   {255, 170, 0},   {190, 130, 0},   {130, 90, 0},
    {255, 255, 190}, {190, 190, 140}, {190, 190, 100}, {190, 190, 60},
    {255, 255, 0},   {190, 190, 0},   {130, 130, 0},   {100, 100, 0},
    {230, 255, 190}, {180, 190, 140}, {160, 190, 100}, {150, 190, 60},
    {170, 255, 0},   {170, 190, 0},   {170, 130, 0},   {90, 130, 0},
    {210, 255, 190}, {160, 190, 140}, {130, 190, 90},  {110, 190, 60},
    {80, 225, 0},    {60, 190, 0},    {60, 130, 0},    {40, 130, 0},
    {190, 255, 190}, {140, 190, 140}, {100, 190, 100}, {60, 190, 60},
    {40, 190, 40},   {0, 250, 0},     {0, 190, 0},     {0, 125, 0},
    {190, 255, 210}, {140, 190, 160}, {90, 190, 130},  {60, 190, 100},
    {30, 190, 100},  {0, 255, 90},    {0, 190, 70},    {0, 130, 40},
    {190, 255, 230}, {140, 190, 170}, {100, 190, 160}, {60, 190, 150},
    {0, 255, 170},   {0, 220, 150},   {0, 190, 130},   {0, 130, 90},
    {190, 255, 255}, {150, 190, 190}, {100, 190, 180}, {60, 190, 190},
    {0, 250, 250},   {0, 220, 220},   {0, 190, 190},   {0, 130, 130},
    {190, 230, 250}, {140, 170, 190}, {90, 160, 190},  {70, 150, 190},
    {0, 170, 255},   {0, 150, 220},   {0, 130, 190},   {0, 90, 130},
    {190, 210, 255}, {140, 160, 190}, {100, 130, 190}, {60, 110, 190},
    {0, 90, 255},    {0, 80, 220},    {0, 60, 190},    {0, 40, 130},
    {210, 190, 250}, {160, 140, 190}, {130, 100, 190}, {110, 60, 190},
    {80, 0, 250},    {70, 0, 220},    {60, 0, 190},    {40, 0, 120},
    {250, 190, 230}, {190, 140, 180}, {190, 100, 160}, {190, 60, 150},
    {255, 0, 170},   {220, 0, 150},   {190, 0, 130},   {130, 0, 80},
    {255, 190, 210}, {190, 140, 160}, {190, 100, 130}, {190, 60, 100},
    {255, 0, 80},    {220, 0, 70},    {190, 0, 60},    {130, 0, 40},
    {240, 200, 200}, {190, 140, 150}, {190, 90, 100},  {190, 60, 70},
    {250, 0, 0},     {220, 0, 0},     {190, 0, 0},     {130, 0, 0},
};

const uint8_t kSkinTones[OutfitPalette::kSkinCount][3] = {
    {215, 185, 150}, {200, 160, 115}, {155, 110, 60}, {90, 65, 35}, {190, 146, 75}, {190, 115, 75},
};

// The outfits coloured per player, and the first sprite of their pose frames.
struct ColorableOutfit {
    int spriteId;
    int poseSprite;
};
const ColorableOutfit kColorableOutfits[] = {
    {10, 370},     {145, 378},    {806, 830},    {838, 862},    {1040, 1064},  {1161, 1185},
    {4780, 4804},  {4812, 4836},  {4844, 4868},  {4876, 4900},  {4908, 4932},  {5730, 5754},
};

// Decoded pixels are blue, green, red, alpha.
enum { kBlue = 0, kGreen = 1, kRed = 2, kAlpha = 3 };

const SpriteRecord* Image(SpriteStore* store, int id) {
    if (!store || id <= 0)
        return nullptr;
    const SpriteRecord* record = store->DecodeSprite(uint32_t(id));
    return record && record->pixels ? record : nullptr;
}

// The pixel of an image at a result column and row, or null outside it.
const uint8_t* PixelAt(const SpriteRecord* image, int column, int row) {
    if (!image || !image->pixels || column < 0 || column >= image->width || row < 0 || row >= image->height)
        return nullptr;
    return image->Pixel(column, row);
}

void Shade(uint8_t* out, const OutfitColor& color, uint8_t brightness) {
    out[kRed] = uint8_t(std::min(255, color.red * brightness / 255));
    out[kGreen] = uint8_t(std::min(255, color.green * brightness / 255));
    out[kBlue] = uint8_t(std::min(255, color.blue * brightness / 255));
    out[kAlpha] = 255;
}

// A layer pixel that is not fully transparent replaces what lies below it:
// pure black stays black, anything else is the layer's colour scaled by the
// pixel's red.
bool TakeLayer(uint8_t* out, const uint8_t* layer, const OutfitColor& color) {
    if (!layer || layer[kAlpha] == 0)
        return false;
    if (layer[kRed] == 0 && layer[kGreen] == 0 && layer[kBlue] == 0) {
        const uint8_t black[4] = {0, 0, 0, 255};
        std::memcpy(out, black, 4);
    } else {
        Shade(out, color, layer[kRed]);
    }
    return true;
}

const OutfitColor* MaskColor(const uint8_t* mask, const OutfitColors& colors) {
    const uint8_t black[4] = {0, 0, 0, 0};
    const uint8_t* m = mask ? mask : black;
    const int r = m[kRed], g = m[kGreen], b = m[kBlue];
    if (r == 255 && g == 255 && b == 0)
        return &colors.skin;
    if (r == 255 && g == 0 && b == 0)
        return &colors.red;
    if (r == 0 && g == 255 && b == 0)
        return &colors.green;
    if (r == 0 && g == 0 && b == 255)
        return &colors.blue;
    return nullptr;
}

}  // namespace

OutfitPalette* OutfitPalette::Instance() {
    static OutfitPalette* palette = new OutfitPalette();
    return palette;
}

OutfitPalette::OutfitPalette() {
    for (int i = 0; i < kColorCount; ++i)
        ClampColor(colors[i], kPalette[i][0], kPalette[i][1], kPalette[i][2]);
    for (int i = 0; i < kSkinCount; ++i)
        ClampColor(skinColors[i], kSkinTones[i][0], kSkinTones[i][1], kSkinTones[i][2]);
    // The last two skin entries stay opaque black.
}

void OutfitPalette::ClampColor(OutfitColor& color, int red, int green, int blue) {
    color.red = uint8_t(std::clamp(red, 0, 255));
    color.green = uint8_t(std::clamp(green, 0, 255));
    color.blue = uint8_t(std::clamp(blue, 0, 255));
    color.alpha = 255;
}

OutfitColor OutfitPalette::GetColor(int index) const { return colors[std::clamp(index, 0, kColorCount - 1)]; }

OutfitColor OutfitPalette::GetSkinColor(int index) const { return skinColors[std::clamp(index, 0, kSkinCount - 1)]; }

OutfitColors OutfitPalette::ResolveColors(const int outfit[9]) const {
    OutfitColors resolved;
    resolved.skin = GetSkinColor(outfit[5]);
    resolved.addon = GetColor(outfit[3]);
    resolved.second = GetColor(outfit[4]);
    resolved.red = GetColor(outfit[6]);
    resolved.green = GetColor(outfit[7]);
    resolved.blue = GetColor(outfit[8]);
    return resolved;
}

Sprite* OutfitPalette::MakeColoredSprite(int spriteId, int layerOffset, int facing, const int outfit[9]) {
    SpriteStore* store = g_app ? g_app->sprites : nullptr;
    const int addonId = outfit[1] != 0 ? outfit[1] + facing : 0;
    int secondId = 0;
    if (outfit[2] != 0 && (facing == 0 || facing == 3))
        secondId = facing == 0 ? outfit[2] : outfit[2] + 1;

    const SpriteRecord* base = Image(store, spriteId);
    if (!base)
        return nullptr;
    std::unique_ptr<SpriteRecord> colored = ColorizeOutfitSprite(
        base, Image(store, spriteId + layerOffset), Image(store, addonId), Image(store, secondId),
        ResolveColors(outfit));
    if (!colored || colored->width == 0 || colored->height == 0)
        return nullptr;
    Sprite* sprite = new Sprite(colored->width, colored->height);
    if (g_app && g_app->engine)
        g_app->engine->GenerateSprite(sprite, colored.get(), false);
    return sprite;
}

Sprite* OutfitPalette::GetSprite(int spriteId, int pose, int frame, const int outfit[9]) {
    return MakeColoredSprite(spriteId, pose, frame, outfit);
}

bool IsColorableOutfit(int spriteId) {
    for (const ColorableOutfit& outfit : kColorableOutfits)
        if (outfit.spriteId == spriteId)
            return true;
    return false;
}

int GetOutfitPoseSprite(int spriteId) {
    for (const ColorableOutfit& outfit : kColorableOutfits)
        if (outfit.spriteId == spriteId)
            return outfit.poseSprite;
    return spriteId;
}

std::unique_ptr<SpriteRecord> ColorizeOutfitSprite(const SpriteRecord* base, const SpriteRecord* mask,
                                                   const SpriteRecord* addon, const SpriteRecord* second,
                                                   const OutfitColors& colors) {
    if (!base || !base->pixels)
        return nullptr;
    int width = base->width;
    int height = base->height;
    for (const SpriteRecord* layer : {addon, second}) {
        if (layer) {
            width = std::max<int>(width, layer->width);
            height = std::max<int>(height, layer->height);
        }
    }
    auto result = std::make_unique<SpriteRecord>();
    result->width = uint16_t(width);
    result->height = uint16_t(height);
    const size_t bytes = size_t(width) * size_t(height) * 4;
    result->pixels.reset(new (std::nothrow) uint8_t[bytes ? bytes : 1]);
    if (!result->pixels)
        return nullptr;

    if (!mask && !addon && !second) {
        std::memcpy(result->pixels.get(), base->pixels.get(), bytes);
        return result;
    }

    // Rows count from the bottom, as decoded images keep them, so the base and
    // a taller layer share their bottom row.
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* out = result->pixels.get() + (size_t(y) * size_t(width) + size_t(x)) * 4;
            const int baseColumn = base->width - width + x;
            const uint8_t* basePixel = PixelAt(base, baseColumn, y);

            bool layered = false;
            if (second)
                layered |= TakeLayer(out, PixelAt(second, second->width - width + x, y), colors.second);
            if (addon)
                layered |= TakeLayer(out, PixelAt(addon, x, y), colors.addon);
            if (layered)
                continue;

            if (!basePixel || basePixel[kAlpha] == 0) {
                std::memset(out, 0, 4);
                continue;
            }
            std::memcpy(out, basePixel, 4);
            const OutfitColor* color = MaskColor(PixelAt(mask, baseColumn, y), colors);
            if (!color)
                continue;
            if (basePixel[kRed] == 0 && basePixel[kGreen] == 0 && basePixel[kBlue] == 0) {
                const uint8_t black[4] = {0, 0, 0, 255};
                std::memcpy(out, black, 4);
            } else {
                Shade(out, *color, basePixel[kRed]);
            }
        }
    }
    return result;
}
