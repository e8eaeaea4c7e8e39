#include "world/ItemsCache.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/Folders.h"
#include "platform/LittleEndian.h"
#include "platform/Platform.h"
#include "platform/WholeFile.h"

namespace {

constexpr size_t kHeaderSize = 7;
constexpr size_t kRecordHeaderSize = 18;
constexpr uint8_t kMarker = 0xFF;
// The largest file that can be valid: every record at its longest name.
constexpr size_t kLargestFile = kHeaderSize + 65535 * (kRecordHeaderSize + ItemsCache::kMaxNameLength);

using platform::PutU16;
using platform::PutU32;
using platform::ReadU16;
using platform::ReadU32;

// The stored ground speed is the low byte of the float cut toward zero (300.0
// reads as 44), taken only from a finite number that fits an int.
bool GroundSpeedFromFloat(float value, uint8_t& speed) {
    if (!std::isfinite(value) || value <= -2147483649.0f || value >= 2147483648.0f)
        return false;
    speed = uint8_t(uint32_t(int32_t(value)));
    return true;
}

}  // namespace

ItemsCache* ItemsCache::Instance() {
    static ItemsCache* cache = [] {
        ItemsCache* made = new ItemsCache();
        made->Load();
        return made;
    }();
    return cache;
}

ItemsCache::ItemsCache() : slots(new std::unique_ptr<ItemRecord>[kMaxItems]) {}

ItemsCache::~ItemsCache() = default;

ItemRecord* ItemsCache::Get(unsigned id) const { return id < kMaxItems ? slots[id].get() : nullptr; }

std::string ItemsCache::GetName(unsigned id) const {
    const ItemRecord* record = Get(id);
    return record ? record->name : std::string("Unknown Item");
}

void ItemsCache::Set(ItemRecord* record, uint16_t id) {
    if (id >= kMaxItems) {
        delete record;
        return;
    }
    slots[id].reset(record);
}

std::string ItemsCache::FilePath() { return GetAppDataFolder() + "/itemscache.dat"; }

void ItemsCache::Load() { LoadFile(FilePath()); }

void ItemsCache::Save(uint32_t newVersion) {
    platform::MakeDirectory(GetAppDataFolder());
    SaveFile(newVersion, FilePath());
}

bool ItemsCache::LoadFile(const std::string& path) {
    version = 0;
    // A file above the largest size is refused without being read whole.
    std::vector<uint8_t> bytes;
    return platform::ReadWholeFile(path, bytes, kLargestFile) && LoadFromBytes(bytes.data(), bytes.size());
}

bool ItemsCache::LoadFromBytes(const uint8_t* bytes, size_t size) {
    version = 0;
    if (size < kHeaderSize || size > kLargestFile || bytes[6] != kMarker)
        return false;
    const uint32_t fileVersion = ReadU32(bytes);
    const unsigned count = ReadU16(bytes + 4);

    // Everything is read aside first and taken only when the whole file is sound.
    std::vector<std::pair<uint16_t, std::unique_ptr<ItemRecord>>> loaded;
    loaded.reserve(count);
    size_t at = kHeaderSize;
    for (unsigned i = 0; i < count; ++i) {
        if (size - at < kRecordHeaderSize)
            return false;
        const uint8_t* p = bytes + at;
        const uint16_t id = ReadU16(p);
        const uint16_t nameLength = ReadU16(p + 12);
        float speed;
        std::memcpy(&speed, p + 14, sizeof speed);
        at += kRecordHeaderSize;
        if (nameLength > kMaxNameLength || size - at < nameLength)
            return false;
        auto record = std::make_unique<ItemRecord>();
        if (!GroundSpeedFromFloat(speed, record->groundSpeed))
            return false;
        record->groundFlag = p[2];
        record->minimapColor = p[3];
        record->flags = ReadU32(p + 4);
        record->patternSize = ReadU16(p + 8);
        record->animationFrames = p[10];
        record->name.resize(nameLength);
        for (size_t k = 0; k < nameLength; ++k)
            record->name[k] = char(uint8_t(bytes[at + k] + 1));
        at += nameLength;
        // Records of ids the cache has no room for are skipped.
        if (id < kMaxItems)
            loaded.emplace_back(id, std::move(record));
    }
    if (at != size)
        return false;

    for (auto& entry : loaded)
        slots[entry.first] = std::move(entry.second);
    version = fileVersion;
    return true;
}

std::vector<uint8_t> ItemsCache::SaveToBytes() const {
    std::vector<uint8_t> out;
    unsigned count = 0;
    for (unsigned id = 0; id < kMaxItems; ++id)
        count += slots[id] ? 1 : 0;
    PutU32(out, version);
    PutU16(out, uint16_t(count));
    out.push_back(kMarker);
    for (unsigned id = 0; id < kMaxItems; ++id) {
        const ItemRecord* record = slots[id].get();
        if (!record)
            continue;
        // A longer name would make the whole file unreadable next time.
        const size_t nameLength = std::min(record->name.size(), kMaxNameLength);
        PutU16(out, uint16_t(id));
        out.push_back(record->groundFlag);
        out.push_back(record->minimapColor);
        PutU32(out, record->flags);
        PutU16(out, record->patternSize);
        PutU16(out, record->animationFrames);
        PutU16(out, uint16_t(nameLength));
        const float speed = float(record->groundSpeed);
        uint32_t bits;
        std::memcpy(&bits, &speed, sizeof bits);
        PutU32(out, bits);
        for (size_t k = 0; k < nameLength; ++k)
            out.push_back(uint8_t(uint8_t(record->name[k]) - 1));
    }
    return out;
}

bool ItemsCache::SaveFile(uint32_t newVersion, const std::string& path) {
    const uint32_t oldVersion = version;
    version = newVersion;
    const std::vector<uint8_t> bytes = SaveToBytes();
    version = oldVersion;

    if (!platform::WriteFileSafely(path, bytes))
        return false;
    version = newVersion;
    return true;
}
