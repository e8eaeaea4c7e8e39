// The zip reader on arbitrary bytes: open from memory, list every entry, find
// it again by name and extract it into memory piece by piece, as a package
// from the network would be read.
#include <cstddef>
#include <cstdint>

#include "net/ZipArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > UINT32_MAX)
        return 0;
    // With a password the decryption runs as well.
    ZipHandle* zip = ZipOpen(data, static_cast<uint32_t>(size), "velmora");
    if (!zip)
        return 0;
    // Deflate packs 1000 to 1: a few kilobytes can ask for gigabytes. A lower
    // limit keeps every run short without hiding any code path.
    ZipSetUnpackLimit(zip, 16u * 1024 * 1024);
    ZipEntry entry;
    ZipGetItem(zip, -1, &entry);
    const int32_t count = entry.index;
    uint8_t piece[4096];
    for (int32_t i = 0; i < count; ++i) {
        // Finding walks from the first entry: a few are enough to cover it
        // without making large archives quadratic.
        if (ZipGetItem(zip, i, &entry) == kZipSuccess && i < 64) {
            int32_t found = -1;
            ZipFindItem(zip, entry.name, true, &found, nullptr);
        }
        while (ZipUnzipItemToMemory(zip, i, piece, sizeof piece) == kZipMore) {
        }
    }
    char text[64];
    ZipFormatMessage(kZipLastResult, text, sizeof text);
    ZipClose(zip);
    return 0;
}
