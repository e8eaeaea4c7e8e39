#include "tools/gfxgen/SpriteTable.h"

#include "tools/gfxgen/ChatSprites.h"
#include "tools/gfxgen/DragCursor.h"
#include "tools/gfxgen/GlyphSheet.h"
#include "tools/gfxgen/Icons.h"
#include "tools/gfxgen/LoginBackdrop.h"
#include "tools/gfxgen/Logo.h"
#include "tools/gfxgen/MapSprites.h"
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
    // The game screen's notices: the tip box, its emblem and close button, the book.
    {1812, 500, 300, "book", DrawBook},
    {5722, 240, 66, "tip-box", DrawTipBackground},
    {5723, 32, 20, "tip-emblem", DrawTipEmblem},
    {5724, 32, 20, "tip-close", DrawTipClose},
    {1862, 64, 64, "translucent-black", DrawTranslucentBlackTile},
    {5762, 128, 128, "skin-dark-scratches", DrawDarkScratchesSkin},
    {5763, 128, 128, "skin-light-stripes", DrawLightStripesSkin},
    {5764, 128, 128, "skin-dark-stripes", DrawDarkStripesSkin},
    {6540, 400, 100, "logo", DrawLogo},
    // The map view.
    {386, 32, 32, "kind-overlay-3", DrawMapSprite<386>},
    {387, 32, 32, "kind-overlay-2", DrawMapSprite<387>},
    {1104, 20, 20, "icon-glow", DrawMapSprite<1104>},
    {2032, 18, 18, "creature-marker", DrawMapSprite<2032>},
    {3201, 32, 32, "hover-mark-0", DrawMapSprite<3201>},
    {3202, 32, 32, "hover-mark-1", DrawMapSprite<3202>},
    {3203, 32, 32, "hover-mark-2", DrawMapSprite<3203>},
    {3204, 32, 32, "hover-mark-3", DrawMapSprite<3204>},
    {3205, 32, 32, "hover-mark-4", DrawMapSprite<3205>},
    {3206, 32, 32, "hover-mark-5", DrawMapSprite<3206>},
    {3207, 32, 32, "hover-mark-6", DrawMapSprite<3207>},
    {3208, 32, 32, "hover-mark-7", DrawMapSprite<3208>},
    {3210, 32, 32, "attack-mark-0", DrawMapSprite<3210>},
    {3211, 32, 32, "attack-mark-1", DrawMapSprite<3211>},
    {3212, 32, 32, "attack-mark-2", DrawMapSprite<3212>},
    {3213, 32, 32, "attack-mark-3", DrawMapSprite<3213>},
    {3214, 32, 32, "attack-mark-4", DrawMapSprite<3214>},
    {3215, 32, 32, "attack-mark-5", DrawMapSprite<3215>},
    {3216, 32, 32, "attack-mark-6", DrawMapSprite<3216>},
    {3217, 32, 32, "attack-mark-7", DrawMapSprite<3217>},
    {3218, 32, 32, "follow-mark-0", DrawMapSprite<3218>},
    {3219, 32, 32, "follow-mark-1", DrawMapSprite<3219>},
    {3220, 32, 32, "follow-mark-2", DrawMapSprite<3220>},
    {3221, 32, 32, "follow-mark-3", DrawMapSprite<3221>},
    {3222, 32, 32, "follow-mark-4", DrawMapSprite<3222>},
    {3223, 32, 32, "follow-mark-5", DrawMapSprite<3223>},
    {3224, 32, 32, "follow-mark-6", DrawMapSprite<3224>},
    {3225, 32, 32, "follow-mark-7", DrawMapSprite<3225>},
    {3428, 32, 32, "walk-goal", DrawMapSprite<3428>},
    {4100, 32, 32, "effect-ring-0", DrawMapSprite<4100>},
    {4101, 32, 32, "effect-ring-1", DrawMapSprite<4101>},
    {4102, 32, 32, "effect-ring-2", DrawMapSprite<4102>},
    {4103, 32, 32, "effect-ring-3", DrawMapSprite<4103>},
    {4104, 32, 32, "effect-ring-4", DrawMapSprite<4104>},
    {4110, 32, 32, "effect-light-0", DrawMapSprite<4110>},
    {4111, 32, 32, "effect-light-1", DrawMapSprite<4111>},
    {4112, 32, 32, "effect-light-2", DrawMapSprite<4112>},
    {4113, 32, 32, "effect-light-3", DrawMapSprite<4113>},
    {4200, 32, 32, "arrow-south", DrawMapSprite<4200>},
    {4201, 32, 32, "arrow-west", DrawMapSprite<4201>},
    {4202, 32, 32, "arrow-north", DrawMapSprite<4202>},
    {4203, 32, 32, "arrow-east", DrawMapSprite<4203>},
    {4210, 32, 32, "fireball-0", DrawMapSprite<4210>},
    {4211, 32, 32, "fireball-1", DrawMapSprite<4211>},
    {4300, 32, 32, "pattern-ground-0", DrawMapSprite<4300>},
    {4301, 32, 32, "pattern-ground-1", DrawMapSprite<4301>},
    {4302, 32, 32, "pattern-ground-2", DrawMapSprite<4302>},
    {4303, 32, 32, "pattern-ground-3", DrawMapSprite<4303>},
    {4304, 32, 32, "pattern-ground-4", DrawMapSprite<4304>},
    {4305, 32, 32, "pattern-ground-5", DrawMapSprite<4305>},
    {4306, 32, 32, "pattern-ground-6", DrawMapSprite<4306>},
    {4307, 32, 32, "pattern-ground-7", DrawMapSprite<4307>},
    {4308, 32, 32, "pattern-ground-8", DrawMapSprite<4308>},
    {5617, 32, 32, "sparkle-0", DrawMapSprite<5617>},
    {5618, 32, 32, "sparkle-1", DrawMapSprite<5618>},
    {5619, 32, 32, "sparkle-2", DrawMapSprite<5619>},
    {5620, 32, 32, "sparkle-3", DrawMapSprite<5620>},
    {6231, 32, 32, "ember-0", DrawMapSprite<6231>},
    {6232, 32, 32, "ember-1", DrawMapSprite<6232>},
    {6233, 32, 32, "ember-2", DrawMapSprite<6233>},
    {6234, 32, 32, "ember-3", DrawMapSprite<6234>},
    {6239, 32, 32, "ember-pit", DrawMapSprite<6239>},
    {6608, 12, 12, "icon-party", DrawMapSprite<6608>},
    {6609, 12, 12, "icon-quest-giver", DrawMapSprite<6609>},
    {6610, 12, 12, "icon-outlaw", DrawMapSprite<6610>},
    {6611, 12, 12, "icon-trader", DrawMapSprite<6611>},
};

const size_t kSpriteCount = sizeof(kSprites) / sizeof(kSprites[0]);
