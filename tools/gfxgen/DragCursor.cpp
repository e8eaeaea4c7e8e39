#include "tools/gfxgen/DragCursor.h"

#include <algorithm>

#include "tools/gfxgen/Paint.h"

// The client makes a two-colour cursor from this sprite's red bytes: 128 lets
// the screen show through, 255 is white and anything else black; so every
// pixel is opaque (a transparent pixel would decode to red 0, black). It reads
// the sprite's rows in their stored order, which is bottom row first, as the
// cursor's rows from the top: the picture is stored upside down so that the
// cursor stands upright.
bool DrawDragCursor(GfxImage& image) {
    const GfxImage upright = FromPicture(
        {
            "#...............................",
            "##..............................",
            "#o#.............................",
            "#oo#............................",
            "#ooo#...........................",
            "#oooo#..........................",
            "#ooooo#.........................",
            "#oooooo#........................",
            "#ooooooo#.......................",
            "#oooooooo#......................",
            "#ooooooooo#.....................",
            "#oooooo#####....................",
            "#ooo#oo#........................",
            "#oo##oo#........................",
            "#o#..#oo#.......................",
            "##...#oo#.......................",
            "#.....#oo#......................",
            "......#oo#......................",
            ".......##...##oo##oo##oo##o#....",
            "............#..............#....",
            "............o..............o....",
            "............o..............o....",
            "............#..............#....",
            "............#..............#....",
            "............o..............o....",
            "............o..............o....",
            "............#..............#....",
            "............#..............#....",
            "............o#oo##oo##oo##oo....",
            "................................",
            "................................",
            "................................",
        },
        {{'.', Rgba(128, 128, 128)}, {'o', Rgba(255, 255, 255)}, {'#', Rgba(0, 0, 0)}});
    if (upright.width != image.width || upright.height != image.height)
        return false;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = upright.At(x, y);
            std::copy(p, p + 4, image.At(x, image.height - 1 - y));
        }
    return true;
}
