#include "tools/gfxgen/SpriteTable.h"

#include "tools/gfxgen/DragCursor.h"
#include "tools/gfxgen/GlyphSheet.h"
#include "tools/gfxgen/Icons.h"
#include "tools/gfxgen/LoginBackdrop.h"
#include "tools/gfxgen/Logo.h"
#include "tools/gfxgen/Skins.h"
#include "tools/gfxgen/WorldSprites.h"

// Sizes the program depends on: the glyph sheet is 32 x 8 cells of 16 x 16; the
// login backdrop is a 2048 x 1024 texture whose left 1920 columns hold the
// picture; the drag cursor is 32 x 32. The logo is drawn scaled to 400 x 100,
// so it is made at that size. Skins are tiled, and a larger tile means fewer
// draw calls and less visible repetition.
const SpriteEntry kSprites[] = {
    {2, 512, 128, "glyph-sheet", DrawGlyphSheet},
    {3, 2048, 1024, "login-backdrop", DrawLoginBackdrop},
    {5, 9, 9, "arrow-up", DrawArrowUp},
    {6, 9, 9, "arrow-down", DrawArrowDown},
    {8, 9, 9, "arrow-left", DrawArrowLeft},
    {9, 9, 9, "arrow-right", DrawArrowRight},
    {403, 32, 32, "drag-cursor", DrawDragCursor},
    {1373, 128, 128, "skin-earth", DrawEarthSkin},
    {1374, 128, 128, "skin-dust", DrawDustSkin},
    {1862, 64, 64, "translucent-black", DrawTranslucentBlackTile},
    {5762, 128, 128, "skin-dark-scratches", DrawDarkScratchesSkin},
    {5763, 128, 128, "skin-light-stripes", DrawLightStripesSkin},
    {5764, 128, 128, "skin-dark-stripes", DrawDarkStripesSkin},
    {6540, 400, 100, "logo", DrawLogo},
    // The fake server's world: its items, the player outfit 10 and a monster.
    {100, 32, 32, "grass", DrawWorld<100>},
    {102, 32, 32, "water", DrawWorld<102>},
    {103, 32, 32, "stone-wall", DrawWorld<103>},
    {110, 32, 32, "gold-coins-0", DrawWorld<110>},
    {111, 32, 32, "gold-coins-1", DrawWorld<111>},
    {112, 32, 32, "gold-coins-2", DrawWorld<112>},
    {113, 32, 32, "gold-coins-3", DrawWorld<113>},
    {114, 32, 32, "gold-coins-4", DrawWorld<114>},
    {115, 32, 32, "gold-coins-5", DrawWorld<115>},
    {120, 32, 32, "flower-0", DrawWorld<120>},
    {121, 32, 32, "flower-1", DrawWorld<121>},
    {122, 32, 32, "flower-2", DrawWorld<122>},
    {123, 32, 32, "flower-3", DrawWorld<123>},
    {125, 32, 32, "tree-crown", DrawWorld<125>},
    {130, 32, 32, "torch", DrawWorld<130>},
    {10, 32, 32, "outfit-10-frame-0", DrawWorld<10>},
    {11, 32, 32, "outfit-10-frame-1", DrawWorld<11>},
    {12, 32, 32, "outfit-10-frame-2", DrawWorld<12>},
    {13, 32, 32, "outfit-10-frame-3", DrawWorld<13>},
    {14, 32, 32, "outfit-10-frame-4", DrawWorld<14>},
    {15, 32, 32, "outfit-10-frame-5", DrawWorld<15>},
    {16, 32, 32, "outfit-10-frame-6", DrawWorld<16>},
    {17, 32, 32, "outfit-10-frame-7", DrawWorld<17>},
    {18, 32, 32, "outfit-10-frame-8", DrawWorld<18>},
    {19, 32, 32, "outfit-10-frame-9", DrawWorld<19>},
    {20, 32, 32, "outfit-10-frame-10", DrawWorld<20>},
    {21, 32, 32, "outfit-10-frame-11", DrawWorld<21>},
    {22, 32, 32, "outfit-10-mask-0", DrawWorld<22>},
    {23, 32, 32, "outfit-10-mask-1", DrawWorld<23>},
    {24, 32, 32, "outfit-10-mask-2", DrawWorld<24>},
    {25, 32, 32, "outfit-10-mask-3", DrawWorld<25>},
    {26, 32, 32, "outfit-10-mask-4", DrawWorld<26>},
    {27, 32, 32, "outfit-10-mask-5", DrawWorld<27>},
    {28, 32, 32, "outfit-10-mask-6", DrawWorld<28>},
    {29, 32, 32, "outfit-10-mask-7", DrawWorld<29>},
    {30, 32, 32, "outfit-10-mask-8", DrawWorld<30>},
    {31, 32, 32, "outfit-10-mask-9", DrawWorld<31>},
    {32, 32, 32, "outfit-10-mask-10", DrawWorld<32>},
    {33, 32, 32, "outfit-10-mask-11", DrawWorld<33>},
    {370, 32, 32, "outfit-10-pose-0", DrawWorld<370>},
    {371, 32, 32, "outfit-10-pose-1", DrawWorld<371>},
    {372, 32, 32, "outfit-10-pose-2", DrawWorld<372>},
    {373, 32, 32, "outfit-10-pose-3", DrawWorld<373>},
    {374, 32, 32, "outfit-10-pose-mask-0", DrawWorld<374>},
    {375, 32, 32, "outfit-10-pose-mask-1", DrawWorld<375>},
    {376, 32, 32, "outfit-10-pose-mask-2", DrawWorld<376>},
    {377, 32, 32, "outfit-10-pose-mask-3", DrawWorld<377>},
    {600, 32, 32, "monster-600-frame-0", DrawWorld<600>},
    {601, 32, 32, "monster-600-frame-1", DrawWorld<601>},
    {602, 32, 32, "monster-600-frame-2", DrawWorld<602>},
    {603, 32, 32, "monster-600-frame-3", DrawWorld<603>},
    {604, 32, 32, "monster-600-frame-4", DrawWorld<604>},
    {605, 32, 32, "monster-600-frame-5", DrawWorld<605>},
    {606, 32, 32, "monster-600-frame-6", DrawWorld<606>},
    {607, 32, 32, "monster-600-frame-7", DrawWorld<607>},
    {608, 32, 32, "monster-600-frame-8", DrawWorld<608>},
    {609, 32, 32, "monster-600-frame-9", DrawWorld<609>},
    {610, 32, 32, "monster-600-frame-10", DrawWorld<610>},
    {611, 32, 32, "monster-600-frame-11", DrawWorld<611>},
};

const size_t kSpriteCount = sizeof(kSprites) / sizeof(kSprites[0]);
