#include "tools/gfxgen/MinimapSprites.h"

#include "tools/gfxgen/Paint.h"

namespace {

bool Put(GfxImage& image, const GfxImage& picture) {
    if (picture.width != image.width || picture.height != image.height)
        return false;
    image = picture;
    return true;
}

}  // namespace

// A red pin with a dark outline and a light centre, readable on every
// minimap colour (grass, water, walls, roads, stone and the black of the
// unexplored land).
bool DrawMapMarker(GfxImage& image) {
    return Put(image, FromPicture(
                          {
                              "..................",
                              "......kkkkkk......",
                              "....kkrrrrrrkk....",
                              "...krrrrrrrrrrk...",
                              "..krrrrwwwwrrrrk..",
                              "..krrrwwwwwwrrrk..",
                              ".krrrwwwwwwwwrrrk.",
                              ".krrrwwwwwwwwrrrk.",
                              ".krrrwwwwwwwwrrrk.",
                              ".krrrwwwwwwwwrrrk.",
                              "..krrrwwwwwwrrrk..",
                              "..krrrrwwwwrrrrk..",
                              "...krrrrrrrrrrk...",
                              "....kkrrrrrrkk....",
                              "......krrrrk......",
                              ".......krrk.......",
                              "........kk........",
                              "..................",
                          },
                          {{'k', Rgba(30, 10, 10)}, {'r', Rgba(210, 40, 40)}, {'w', Rgba(250, 240, 230)}}));
}
