#include "tools/gfxgen/TitleBarSprites.h"

#include "tools/gfxgen/Paint.h"

namespace {

bool Put(GfxImage& image, const GfxImage& picture) {
    if (picture.width != image.width || picture.height != image.height)
        return false;
    image = picture;
    return true;
}

const uint32_t kLight = Rgba(215, 215, 215);

}  // namespace

bool DrawMinimizeIcon(GfxImage& image) {
    return Put(image, FromPicture(
                          {
                              "............",
                              "............",
                              "............",
                              "............",
                              "............",
                              "............",
                              "............",
                              "............",
                              "..oooooooo..",
                              "..oooooooo..",
                              "............",
                              "............",
                          },
                          {{'o', kLight}}));
}

bool DrawRestoreIcon(GfxImage& image) {
    return Put(image, FromPicture(
                          {
                              "............",
                              ".oooooooooo.",
                              ".oooooooooo.",
                              ".o........o.",
                              ".o........o.",
                              ".o........o.",
                              ".o........o.",
                              ".o........o.",
                              ".o........o.",
                              ".oooooooooo.",
                              "............",
                              "............",
                          },
                          {{'o', kLight}}));
}

bool DrawSideIconButton(GfxImage& image) {
    return Put(image, FromPicture(
                          {
                              "............",
                              ".....oo.....",
                              ".....oo.....",
                              "............",
                              "....ooo.....",
                              ".....oo.....",
                              ".....oo.....",
                              ".....oo.....",
                              ".....oo.....",
                              "....oooo....",
                              "............",
                              "............",
                          },
                          {{'o', kLight}}));
}
