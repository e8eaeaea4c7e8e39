// The graphics file: the records read from its bytes and every record decoded
// into pixels.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/SpriteStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4 << 20)
        return 0;
    SpriteStore store;
    store.LoadFromBytes(std::vector<uint8_t>(data, data + size));
    volatile uint32_t sum = 0;
    for (int id = 1; id < SpriteStore::kMaxSprites; ++id) {
        const SpriteRecord* record = store.GetRecord(id);
        if (!record)
            continue;
        // The pixels take width x height x 4 bytes whatever the data hold: a
        // header of 65535 x 65535 asks for 16 GiB, which the store refuses
        // cleanly when the system does. Within the fuzzer's memory limit the
        // decoder's reading of the data is what counts.
        if (uint64_t(record->width) * record->height > 4u << 20)
            continue;
        const SpriteRecord* decoded = store.DecodeSprite(uint32_t(id));
        if (decoded && decoded->width && decoded->height)
            sum = sum + decoded->Pixel(decoded->width - 1, decoded->height - 1)[3];
    }
    return 0;
}
