#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/Block.h"
#include "engine/Sprite.h"

// Every image of the client is a sprite of the graphics file, addressed by id.
// The whole file is read once at start-up into run-length records; a record is
// decoded into pixels the first time it is needed, and the back end's image is
// made the first time the sprite is drawn.
//
// The graphics file, little-endian:
//   u32 version stamp, i32 count, then count - 1 entries for ids 1, 2, ...:
//   u16 width, u16 height, u32 size, size bytes of run-length data.
// Run-length data: a byte 1 and a count n gives n transparent pixels; any other
// 4 bytes are one pixel (blue, green, red, alpha). Pixels run bottom row first,
// without regard to row ends.
class SpriteStore : public Block {
public:
    static constexpr int kMaxSprites = 20000;  // ids 1 to 19999
    // Stamps at or below this mark a graphics file too old for this client.
    static constexpr int32_t kOldestStamp = 1403107799;

    SpriteStore();
    ~SpriteStore() override;

    // Reads the file; returns its version stamp, or 0 when it cannot be opened.
    uint32_t Load(const std::string& path);
    // The same for the file's bytes; 0 when they are too few for the header.
    uint32_t LoadFromBytes(const std::vector<uint8_t>& file);
    // Whether the last file loaded ended inside its header or before the end
    // of an entry its count announces (also one past id 19999). The entries
    // before the cut are kept, but a cut file lacks pictures that every
    // screen relies on.
    bool CutShort() const { return cutShort_; }
    // The record with its pixels decoded, or null.
    SpriteRecord* DecodeSprite(uint32_t id);
    // The drawable sprite, made through the active engine on first use, or null.
    Sprite* GetSprite(int id);
    // Frees every back-end image; the records stay, so sprites are made again
    // through the next engine without decoding again.
    void ReleaseTextures();

    // The record as loaded, decoded or not; null when there is none.
    const SpriteRecord* GetRecord(int id) const;

private:
    // False when memory for the record cannot be had.
    bool StoreRecord(int id, uint16_t width, uint16_t height, const uint8_t* data, uint32_t size);

    std::unique_ptr<std::unique_ptr<Sprite>[]> sprites_;
    std::unique_ptr<std::unique_ptr<SpriteRecord>[]> records_;
    bool cutShort_ = false;
};

// Decodes run-length data into width x height pixels. Data that end early leave
// the rest transparent; nothing past `size` bytes is read.
void DecodeRunLength(const uint8_t* data, uint32_t size, uint8_t* pixels, uint64_t pixelCount);
