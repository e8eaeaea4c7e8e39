#include "tools/gfxgen/SpriteTable.h"

#include "tools/gfxgen/DragCursor.h"
#include "tools/gfxgen/GlyphSheet.h"
#include "tools/gfxgen/Icons.h"
#include "tools/gfxgen/LoginBackdrop.h"
#include "tools/gfxgen/Logo.h"
#include "tools/gfxgen/Skins.h"

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
};

const size_t kSpriteCount = sizeof(kSprites) / sizeof(kSprites[0]);
