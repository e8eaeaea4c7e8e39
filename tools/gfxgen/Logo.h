#pragma once

#include "tools/gfxgen/GfxWriter.h"

// 6540, the logo over the login panel, drawn at 400 x 100 with its lower 30
// rows behind the panel: "Velmora" in gold with a dark outline and shadow,
// "ONLINE" spaced out beneath between two rules.
bool DrawLogo(GfxImage& image);
