#pragma once

#include "tools/gfxgen/GfxWriter.h"

// 3, the login screen's background: a 2048 x 1024 texture whose left 1920 x 1024
// pixels hold the picture (the login screen draws only those, scaled to cover
// the window). A mountain landscape at dusk under a moon, with a castle on a
// far ridge; the middle, where the login panel sits, is quiet sky and haze.
bool DrawLoginBackdrop(GfxImage& image);
