#pragma once

// Where the health and mana bars go around the game field: position 1 at its
// sides, 2 above, 3 (and any other non-zero value) below. The box is the
// sunken frame; the fill the part of the bar sprite the ratio shows.
struct StatBarRects {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int fillX = 0;
    int fillY = 0;
    int fillWidth = 0;   // 0 or less: nothing to fill
    int fillHeight = 0;
};

// bar 0 health, 1 mana; mx, my the field's top-left corner.
StatBarRects PlaceStatBar(int position, int bar, int mx, int my, int tileWidth, int tileHeight, double ratio);
// value / maximum kept within 0 .. 1; 1 without a maximum.
double StatRatio(int value, int maximum);
