#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "world/ItemRecord.h"

// Item id to name, flags and small values, for ids 0 to 19999, kept between
// runs in "itemscache.dat" in the user's application-data folder. The game
// login sends the cached table's version; the server sends records only when
// it is out of date, and the start of the game gives the version to save.
//
// The file, little-endian: u32 version, u16 record count, the byte 0xFF, then
// the records: u16 id, u8 ground flag, u8 minimap colour, u32 flags, u16
// pattern size, u16 animation frames, u16 name length N, f32 ground speed, N
// name bytes each stored as its value minus 1.
//
// The file is untrusted: anything inconsistent in it (a wrong marker, a name
// longer than 255 bytes, a ground speed that is no usable number, a record cut
// short, bytes behind the last record) discards the whole file and leaves the
// version 0, so that the server sends every record again.
class ItemsCache {
public:
    static constexpr unsigned kMaxItems = 20000;
    static constexpr size_t kMaxNameLength = 255;

    // The cache of the program, loaded from the file on first use.
    static ItemsCache* Instance();

    ItemsCache();
    ~ItemsCache();
    ItemsCache(const ItemsCache&) = delete;
    ItemsCache& operator=(const ItemsCache&) = delete;

    // The record of an id, or null.
    ItemRecord* Get(unsigned id) const;
    // The name of an id, or "Unknown Item".
    std::string GetName(unsigned id) const;
    // Stores a record the cache then owns; ids above 19999 are ignored (and
    // the record deleted).
    void Set(ItemRecord* record, uint16_t id);

    // Reads "itemscache.dat"; a missing or bad file leaves version 0.
    void Load();
    // Sets the version and writes the whole table to "itemscache.dat".
    void Save(uint32_t newVersion);

    // The same on a given file, and on bytes in memory (which the fuzz target
    // drives). Loading is all or nothing: false, with nothing taken and
    // version 0, for a file that cannot be read or is inconsistent.
    bool LoadFile(const std::string& path);
    bool LoadFromBytes(const uint8_t* bytes, size_t size);
    // Written to a temporary file that then replaces the old one, so that a
    // failed write never leaves a half-written cache. False when nothing was
    // written; the version is then unchanged.
    bool SaveFile(uint32_t newVersion, const std::string& path);
    std::vector<uint8_t> SaveToBytes() const;

    static std::string FilePath();

    uint32_t version = 0;

private:
    std::unique_ptr<std::unique_ptr<ItemRecord>[]> slots;
};
