#pragma once

#include "tools/gfxgen/GfxWriter.h"

// The side windows' title-bar buttons, 12 x 12: 891 minimise (window open),
// 892 restore (window minimised), 1734 the extra icon button.
bool DrawMinimizeIcon(GfxImage& image);
bool DrawRestoreIcon(GfxImage& image);
bool DrawSideIconButton(GfxImage& image);
