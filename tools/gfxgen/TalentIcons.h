#pragma once

#include "tools/gfxgen/GfxWriter.h"

// The talents dialog's row icons, 18 x 18, drawn at their own size beside
// each talent: 5765 Durability, 5766 Spirituality, 5767 Legerity, 5769
// Aggression, 5770 Fortification, 5771 Resistance. The Expertise row draws
// sprite 5768, the minimap's marker.
bool DrawDurabilityIcon(GfxImage& image);
bool DrawSpiritualityIcon(GfxImage& image);
bool DrawLegerityIcon(GfxImage& image);
bool DrawAggressionIcon(GfxImage& image);
bool DrawFortificationIcon(GfxImage& image);
bool DrawResistanceIcon(GfxImage& image);
