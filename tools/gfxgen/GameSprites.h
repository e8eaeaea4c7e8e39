#pragma once

#include "tools/gfxgen/GfxWriter.h"

// The game screen's own pictures: the fills of the health and mana bars
// (64 x 13, stretched over the bar) and the chat buttons' icons (12 x 12):
// close the channel, the channel list, the ignore list.
bool DrawHealthFill(GfxImage& image);
bool DrawManaFill(GfxImage& image);
bool DrawCloseIcon(GfxImage& image);
bool DrawChannelListIcon(GfxImage& image);
bool DrawIgnoreListIcon(GfxImage& image);
