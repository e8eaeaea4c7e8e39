// gfxgen: writes the client's graphics file, velmora.gfx.
#include <cstdio>

#include "tools/gfxgen/GfxWriter.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gfxgen <output file>\n");
        return 2;
    }
    GfxWriter writer;
    for (int id : {2, 3, 5, 6, 8, 9, 403, 1373, 1374, 1862, 5762, 5763, 5764, 6540}) {
        GfxImage image(32, 32);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                image.Set(x, y, 0xFF000000u | uint32_t(id * 37 + x * 5) << 8 | uint32_t(y * 7));
        writer.Put(id, image);
    }
    return writer.Write(argv[1], 1500000000) ? 0 : 1;
}
