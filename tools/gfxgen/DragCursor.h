#pragma once

#include "tools/gfxgen/GfxWriter.h"

// 403, the drag cursor (32 x 32, hot spot at the top-left corner): an arrow
// pointer carrying a dashed box.
bool DrawDragCursor(GfxImage& image);
