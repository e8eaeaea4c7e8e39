#include "game/StatBars.h"

#include <algorithm>

StatBarRects PlaceStatBar(int position, int bar, int mx, int my, int tileWidth, int tileHeight, double ratio) {
    StatBarRects rects;
    if (position == 1) {
        rects.width = 15;
        rects.height = 13 * tileHeight + 2;
        rects.x = bar == 0 ? mx - 21 : mx + 17 * tileWidth + 5;
        rects.y = my - 1;
        const int filled = int(ratio * rects.height);
        rects.fillX = rects.x + 1;
        rects.fillY = rects.y + rects.height - filled + 1;
        rects.fillWidth = 13;
        rects.fillHeight = filled - 2;
        return rects;
    }
    const int half = (17 * tileWidth) / 2;
    rects.width = half - 4;
    rects.height = 15;
    rects.x = bar == 0 ? mx - 1 : mx + half + 6;
    rects.y = position == 2 ? my - 21 : my + 13 * tileHeight + 6;
    rects.fillX = rects.x + 1;
    rects.fillY = rects.y + 1;
    rects.fillWidth = int(ratio * rects.width) - 2;
    rects.fillHeight = 13;
    return rects;
}

// Unclamped, a value above its maximum would draw past the box and one below
// 0 a fill of negative size.
double StatRatio(int value, int maximum) {
    if (maximum <= 0)
        return 1.0;
    return std::clamp(double(value) / double(maximum), 0.0, 1.0);
}
