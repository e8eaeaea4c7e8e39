// gfxgen: writes the client's graphics file, velmora.gfx, from the pictures of
// SpriteTable.cpp. With --png-dir it also reads the file back through the
// sprite store and saves every sprite, and previews of the font, the drag
// cursor and the login screen, as PNG files to look at.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/gfxgen/GfxWriter.h"
#include "tools/gfxgen/Preview.h"
#include "tools/gfxgen/SpriteTable.h"

namespace {
int Usage() {
    std::fprintf(stderr, "usage: gfxgen <output file> [--png-dir <folder>]\n");
    return 2;
}
}  // namespace

int main(int argc, char** argv) {
    std::string output;
    std::string pngDir;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--png-dir") == 0 && i + 1 < argc)
            pngDir = argv[++i];
        else if (argv[i][0] != '-' && output.empty())
            output = argv[i];
        else
            return Usage();
    }
    if (output.empty())
        return Usage();

    GfxWriter writer;
    for (size_t i = 0; i < kSpriteCount; ++i) {
        const SpriteEntry& entry = kSprites[i];
        GfxImage image(entry.width, entry.height);
        if (!entry.draw(image) || image.width != entry.width || image.height != entry.height) {
            std::fprintf(stderr, "gfxgen: cannot draw sprite %d (%s)\n", entry.id, entry.name);
            return 1;
        }
        writer.Put(entry.id, image);
    }
    if (!writer.Write(output, kGfxStamp)) {
        std::fprintf(stderr, "gfxgen: cannot write %s\n", output.c_str());
        return 1;
    }
    if (!pngDir.empty() && !WritePreviews(output, pngDir))
        return 1;
    return 0;
}
