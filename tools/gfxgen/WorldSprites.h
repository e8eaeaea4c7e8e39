#pragma once

#include "tools/gfxgen/GfxWriter.h"

// The things of the fake server's world, all 32 x 32: the ground and items
// (grass 100, water 102, stone wall 103, gold coins 110 with their stack
// pictures 111 to 115, a flower 120 with its animation frames 121 to 123, a
// tree crown 125, a torch 130), the player outfit 10 (frames 10 to 21 with
// their colour masks 22 to 33, pose frames 370 to 373 with masks 374 to 377)
// and a monster outfit 600 (frames 600 to 611, drawn in its own colours).
bool DrawWorldSprite(int id, GfxImage& image);

template <int Id>
bool DrawWorld(GfxImage& image) {
    return DrawWorldSprite(Id, image);
}
