// "itemscache.dat": the whole table read from the file's bytes, every record
// looked at, and the table written out and read again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "world/ItemsCache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4 << 20)
        return 0;
    ItemsCache cache;
    if (!cache.LoadFromBytes(data, size))
        return 0;
    volatile uint32_t sum = 0;
    for (unsigned id = 0; id < ItemsCache::kMaxItems; ++id)
        if (const ItemRecord* record = cache.Get(id))
            sum = sum + uint32_t(record->name.size()) + record->flags;
    // What loads must save and load again to the same bytes.
    const std::vector<uint8_t> saved = cache.SaveToBytes();
    ItemsCache again;
    if (!again.LoadFromBytes(saved.data(), saved.size()) || again.SaveToBytes() != saved)
        std::abort();
    return 0;
}
