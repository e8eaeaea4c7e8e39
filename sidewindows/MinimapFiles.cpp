#include "sidewindows/MinimapFiles.h"

#include <cstdio>
#include <cstring>

#include "platform/LittleEndian.h"
#include "platform/Platform.h"
#include "platform/WholeFile.h"

using platform::PutU16;
using platform::PutU32;
using platform::ReadU16;
using platform::ReadU32;

std::string MinimapAreaFileName(int32_t baseX, int32_t baseY, int32_t floor) {
    char name[48];
    std::snprintf(name, sizeof name, "%04d%04d%02d.map", baseX / 256, baseY / 256, floor);
    return name;
}

void DecodeMinimapArea(const uint8_t* data, size_t size, MinimapChunk& chunk) {
    uint8_t value = 0;
    unsigned run = 0;
    size_t at = 0;
    for (int cell = 0; cell < MinimapChunk::kCells; ++cell) {
        if (run == 0) {
            if (size - at < 2)
                break;  // the file ends here: the rest stays unexplored
            value = data[at];
            run = data[at + 1];
            at += 2;
            if (run == 0)
                continue;  // a run of 0 skips this cell
        }
        --run;
        chunk.colour[cell] = value;
        if (value != 0)
            chunk.empty = false;
    }
    // Every pixel, as SetPixel writes it, from a table of the 256 codes: the
    // per-cell palette look-up was most of a load's time.
    uint8_t palette[256][4];
    for (int code = 0; code < 256; ++code) {
        const uint32_t pixel = MinimapPixel(uint8_t(code));
        for (int byte = 0; byte < 4; ++byte)
            palette[code][byte] = uint8_t(pixel >> (8 * byte));
    }
    // Row by row of the picture (tile y = 255 first), so the writes run on.
    uint8_t* out = chunk.image.pixels.get();
    for (int y = MinimapChunk::kSide - 1; y >= 0; --y)
        for (int x = 0; x < MinimapChunk::kSide; ++x, out += 4)
            std::memcpy(out, palette[chunk.colour[MinimapChunk::Cell(x, y)]], 4);
    chunk.dirty = true;
}

std::vector<uint8_t> EncodeMinimapArea(const uint8_t (&colours)[MinimapChunk::kCells]) {
    std::vector<uint8_t> out;
    uint8_t value = 0;
    unsigned count = 0;
    for (uint8_t c : colours) {
        if (count == 0) {
            value = c;
            count = 1;
        } else if (c == value && count < 255) {
            ++count;
        } else {
            out.push_back(value);
            out.push_back(uint8_t(count));
            value = c;
            count = 1;
        }
    }
    out.push_back(value);
    out.push_back(uint8_t(count));
    return out;
}

std::vector<MinimapMarker> DecodeMinimapMarkers(const uint8_t* data, size_t size) {
    std::vector<MinimapMarker> markers;
    if (size < 4)
        return markers;
    const uint32_t count = ReadU32(data);
    if (count > kMaxMinimapMarkers)
        return markers;
    size_t at = 4;
    for (uint32_t i = 0; i < count; ++i) {
        if (size - at < 13)
            break;  // a record cut off by the end of the file ends the list
        MinimapMarker marker;
        marker.x = ReadU16(data + at);
        marker.y = ReadU16(data + at + 2);
        marker.z = data[at + 4];
        marker.icon = ReadU32(data + at + 5);
        const uint32_t length = ReadU32(data + at + 9);
        at += 13;
        if (length > kMaxMinimapMarkerText || size - at < length)
            break;
        marker.text.assign(reinterpret_cast<const char*>(data + at), length);
        at += length;
        // The temple's marker of old files points at the wrong square.
        if (marker.x == 1046 && marker.y == 692 && marker.z == 7) {
            marker.x = 1076;
            marker.y = 666;
        }
        markers.push_back(std::move(marker));
    }
    return markers;
}

std::vector<uint8_t> EncodeMinimapMarkers(const std::vector<MinimapMarker>& markers) {
    std::vector<uint8_t> out;
    PutU32(out, uint32_t(markers.size()));
    for (const MinimapMarker& marker : markers) {
        PutU16(out, uint16_t(marker.x));
        PutU16(out, uint16_t(marker.y));
        out.push_back(uint8_t(marker.z));
        PutU32(out, marker.icon);
        PutU32(out, uint32_t(marker.text.size()));
        out.insert(out.end(), marker.text.begin(), marker.text.end());
    }
    return out;
}

std::vector<MinimapMarker> BuiltInMinimapMarkers() {
    struct Entry {
        int32_t x, y;
        const char* text;
    };
    static const Entry kEntries[] = {
        {1076, 666, "Temple (Sister Maelis)"},
        {1107, 698, "Depot, Market, Bank"},
        {1133, 722, "Post Office (Courier Dobbin)"},
        {1115, 746, "Potions (Alchemist Verna)"},
        {1071, 753, "Distance Fighting (Ranger Tolk)"},
        {1095, 732, "Food (Baker Hilde)"},
        {1085, 774, "Tasks (Warden Osric)"},
    };
    std::vector<MinimapMarker> markers;
    for (const Entry& entry : kEntries)
        markers.push_back({entry.x, entry.y, 7, kMinimapMarkerIcon, entry.text});
    return markers;
}

namespace {

constexpr size_t kOldHeader = 12;
constexpr size_t kOldRecord = 6;

bool OldHeaderIsSound(const uint8_t* header) { return ReadU32(header) == 0xDEAD && ReadU32(header + 4) == 1; }

// Hands on the whole records among the bytes; a part of one at the end is left.
void DecodeOldRecords(const uint8_t* data, size_t size, const std::function<void(const OldMinimapTile&)>& tile) {
    for (size_t at = 0; size - at >= kOldRecord; at += kOldRecord) {
        const OldMinimapTile record{ReadU16(data + at), ReadU16(data + at + 2), data[at + 4], data[at + 5]};
        if (record.z <= 16 && record.x <= 999 && record.y <= 3499)
            tile(record);
    }
}

}  // namespace

bool DecodeOldMinimap(const uint8_t* data, size_t size, const std::function<void(const OldMinimapTile&)>& tile) {
    if (size < kOldHeader || !OldHeaderIsSound(data))
        return false;
    DecodeOldRecords(data + kOldHeader, size - kOldHeader, tile);
    return true;
}

bool ReadMinimapAreaFile(const MinimapChunk& chunk, const MinimapFolders& folders, std::vector<uint8_t>& bytes) {
    const std::string name = MinimapAreaFileName(chunk.baseX, chunk.baseY, chunk.floor);
    return platform::ReadFileStart(folders.shipped + "/" + name, bytes, kMaxMinimapAreaBytes) ||
           platform::ReadFileStart(folders.user + "/" + name, bytes, kMaxMinimapAreaBytes);
}

bool ReadMinimapMarkersFile(const MinimapFolders& folders, std::vector<uint8_t>& bytes) {
    return platform::ReadFileStart(folders.user + "/markers.map", bytes, kMaxMinimapMarkersBytes);
}

bool LoadMinimapChunk(MinimapChunk& chunk, const MinimapFolders& folders) {
    std::vector<uint8_t> bytes;
    if (!ReadMinimapAreaFile(chunk, folders, bytes))
        return false;
    DecodeMinimapArea(bytes.data(), bytes.size(), chunk);
    return true;
}

void SaveMinimapChunk(const MinimapChunk& chunk, const MinimapFolders& folders) {
    if (!chunk.modified || chunk.empty)
        return;
    platform::MakeDirectory(folders.user);
    platform::WriteFileSafely(folders.user + "/" + MinimapAreaFileName(chunk.baseX, chunk.baseY, chunk.floor),
                    EncodeMinimapArea(chunk.colour));
}

std::vector<MinimapMarker> LoadMinimapMarkers(const MinimapFolders& folders) {
    std::vector<uint8_t> bytes;
    if (!ReadMinimapMarkersFile(folders, bytes))
        return BuiltInMinimapMarkers();
    return DecodeMinimapMarkers(bytes.data(), bytes.size());
}

bool SaveMinimapMarkers(const std::vector<MinimapMarker>& markers, const MinimapFolders& folders) {
    // Without the folder every change of a new player's markers would be lost.
    platform::MakeDirectory(folders.user);
    return platform::WriteFileSafely(folders.user + "/markers.map", EncodeMinimapMarkers(markers));
}

OldMinimapResult ConvertOldMinimapFile(const std::string& path, const std::function<bool()>& ask,
                                       const std::function<void(const OldMinimapTile&)>& tile) {
    // A file that cannot be opened is treated as absent: no question.
    FILE* probe = std::fopen(path.c_str(), "rb");
    if (!probe)
        return OldMinimapResult::Missing;
    std::fclose(probe);
    if (!ask())
        return OldMinimapResult::Declined;
    // Read a batch of whole records at a time: the file has no bound (a
    // record may stand in it any number of times), memory has.
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return OldMinimapResult::Unreadable;
    uint8_t header[kOldHeader];
    const bool converted = std::fread(header, 1, kOldHeader, file) == kOldHeader && OldHeaderIsSound(header);
    if (converted) {
        std::vector<uint8_t> batch(kOldMinimapBatchRecords * kOldRecord);
        size_t got = batch.size();
        while (got == batch.size()) {
            got = std::fread(batch.data(), 1, batch.size(), file);
            DecodeOldRecords(batch.data(), got, tile);
        }
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    // A file that could not be read to its end stays for the next game.
    if (failed)
        return OldMinimapResult::Unreadable;
    platform::RemoveFile(path);
    return converted ? OldMinimapResult::Converted : OldMinimapResult::Discarded;
}
