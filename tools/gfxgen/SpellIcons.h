#pragma once

#include "tools/gfxgen/GfxWriter.h"

// The hotkey bar's spell icons, 32 x 32, drawn at their own size inside a
// slot: 1418 "Light Healing" (every new player's F1), 1419 "Fireball" and
// 1420 "Ice Lance" (the fake server's other spells).
bool DrawLightHealingIcon(GfxImage& image);
bool DrawFireballIcon(GfxImage& image);
bool DrawIceLanceIcon(GfxImage& image);
