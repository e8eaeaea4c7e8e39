#include "engine/SpriteStore.h"

#include <cstring>
#include <new>
#include <vector>

#include "engine/GraphicsEngine.h"
#include "engine/KEngine2.h"
#include "platform/LittleEndian.h"
#include "platform/WholeFile.h"

SpriteStore::SpriteStore()
    : sprites_(new std::unique_ptr<Sprite>[kMaxSprites]), records_(new std::unique_ptr<SpriteRecord>[kMaxSprites]) {}

SpriteStore::~SpriteStore() { ReleaseTextures(); }

using platform::ReadU16;
using platform::ReadU32;

uint32_t SpriteStore::Load(const std::string& path) {
    cutShort_ = false;
    std::vector<uint8_t> file;
    if (!platform::ReadWholeFile(path, file))
        return 0;
    return LoadFromBytes(file);
}

uint32_t SpriteStore::LoadFromBytes(const std::vector<uint8_t>& file) {
    cutShort_ = true;
    if (file.size() < 8)
        return 0;
    const uint32_t stamp = ReadU32(&file[0]);
    const int32_t count = int32_t(ReadU32(&file[4]));

    // Every read is checked: an entry that a short file ends inside is dropped
    // with everything after it, and a size larger than what is left is refused.
    // Entries past the table's end are walked but not kept, so a file cut
    // there is told as well.
    size_t pos = 8;
    bool storing = true;  // until memory runs out: the rest stays absent
    for (int32_t id = 1; id < count; ++id) {
        if (file.size() - pos < 8)
            return stamp;
        const uint16_t width = ReadU16(&file[pos]);
        const uint16_t height = ReadU16(&file[pos + 2]);
        const uint32_t size = ReadU32(&file[pos + 4]);
        pos += 8;
        if (size > file.size() - pos)
            return stamp;
        if (storing && id < kMaxSprites)
            storing = StoreRecord(id, width, height, &file[pos], size);
        pos += size;
    }
    cutShort_ = false;
    return stamp;
}

bool SpriteStore::StoreRecord(int id, uint16_t width, uint16_t height, const uint8_t* data, uint32_t size) {
    auto record = std::make_unique<SpriteRecord>();
    record->width = width;
    record->height = height;
    record->size = size;
    record->data.reset(new (std::nothrow) uint8_t[size ? size : 1]);
    if (!record->data)
        return false;
    if (size)
        std::memcpy(record->data.get(), data, size);
    records_[id] = std::move(record);
    return true;
}

void DecodeRunLength(const uint8_t* data, uint32_t size, uint8_t* pixels, uint64_t pixelCount) {
    uint32_t position = 0;
    uint32_t run = 0;
    for (uint64_t i = 0; i < pixelCount; ++i) {
        uint8_t* out = pixels + i * 4;
        if (uint64_t(position) + 4 <= size) {
            if (run == 0) {
                if (data[position] == 1) {
                    run = data[position + 1];
                    position += 2;
                } else {
                    std::memcpy(out, data + position, 4);
                    position += 4;
                    continue;
                }
            }
            if (run != 0)
                --run;
        } else {
            run = 0;
        }
        std::memset(out, 0, 4);
    }
}

SpriteRecord* SpriteStore::DecodeSprite(uint32_t id) {
    if (id >= uint32_t(kMaxSprites))
        return nullptr;
    SpriteRecord* record = records_[id].get();
    if (!record || record->pixels)
        return record;
    const uint64_t pixelCount = uint64_t(record->width) * record->height;
    record->pixels.reset(new (std::nothrow) uint8_t[pixelCount > 0 ? pixelCount * 4 : 1]);
    if (!record->pixels) {
        // Out of memory: the record counts as absent from now on.
        records_[id].reset();
        return nullptr;
    }
    DecodeRunLength(record->data.get(), record->data ? record->size : 0, record->pixels.get(), pixelCount);
    record->data.reset();
    return record;
}

Sprite* SpriteStore::GetSprite(int id) {
    if (id < 1 || id >= kMaxSprites)
        return nullptr;
    if (Sprite* sprite = sprites_[id].get())
        return sprite;
    SpriteRecord* record = DecodeSprite(uint32_t(id));
    // A record without pixels to show makes no sprite (back ends would divide by
    // its size).
    if (!record || record->width == 0 || record->height == 0)
        return nullptr;
    auto sprite = std::make_unique<Sprite>(record->width, record->height);
    KEngine2* owner = GetOwner();
    if (owner && owner->engine)
        owner->engine->GenerateSprite(sprite.get(), record, false);
    sprites_[id] = std::move(sprite);
    return sprites_[id].get();
}

void SpriteStore::ReleaseTextures() {
    for (int id = 0; id < kMaxSprites; ++id)
        sprites_[id].reset();
}

const SpriteRecord* SpriteStore::GetRecord(int id) const {
    if (id < 0 || id >= kMaxSprites)
        return nullptr;
    return records_[id].get();
}
