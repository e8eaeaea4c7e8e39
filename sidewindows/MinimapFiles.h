#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "sidewindows/MinimapChunk.h"

// The stored forms of the explored map: one run-length file of colour codes
// per chunk, the markers file, and the old single file of tiles that is
// converted once. The codecs work on bytes; the file layer below them finds,
// reads and writes the files.

// "%04d%04d%02d.map" of base x / 256, base y / 256 and the floor.
std::string MinimapAreaFileName(int32_t baseX, int32_t baseY, int32_t floor);

// Pairs of (colour, run) over the cells in index order; a run of 0 skips a
// cell. Decoding stops after the last cell or at the end of the bytes, so a
// short file leaves the rest of the chunk unexplored (colour 0). Every cell's
// pixel is written, and empty is cleared when a non-zero colour was read.
void DecodeMinimapArea(const uint8_t* data, size_t size, MinimapChunk& chunk);
std::vector<uint8_t> EncodeMinimapArea(const uint8_t (&colours)[MinimapChunk::kCells]);

// The markers file: a u32 count, then per marker x and y (u16), z (u8), icon
// (u32), text length (u32) and the text. A count above 49 999 gives no marker;
// a text longer than 255 bytes or a record cut off by the end of the file ends
// the list, keeping the markers before it.
constexpr uint32_t kMaxMinimapMarkers = 49999;
constexpr size_t kMaxMinimapMarkerText = 255;
std::vector<MinimapMarker> DecodeMinimapMarkers(const uint8_t* data, size_t size);
std::vector<uint8_t> EncodeMinimapMarkers(const std::vector<MinimapMarker>& markers);
// The markers a player without a markers file starts with.
std::vector<MinimapMarker> BuiltInMinimapMarkers();
constexpr uint32_t kMinimapMarkerIcon = 5768;

// The most bytes each file can put to use: an area file codes every cell in a
// pair of its own at most, and the largest markers file holds the most
// markers, each with the longest text. Files are read no further, so a huge
// file costs no more than a full one (decoding stops there anyway).
constexpr size_t kMaxMinimapAreaBytes = 2 * size_t(MinimapChunk::kCells);
constexpr size_t kMaxMinimapMarkersBytes = 4 + size_t(kMaxMinimapMarkers) * (13 + kMaxMinimapMarkerText);

// The old single file: magic 0xDEAD, version 1, a count, then 6-byte records
// (x, y as u16, z, colour) to the end. Hands every record within the old
// world's bounds (z <= 16, x <= 999, y <= 3499) to `tile`; false, with no
// record handed on, when magic or version is wrong.
struct OldMinimapTile {
    uint16_t x;
    uint16_t y;
    uint8_t z;
    uint8_t colour;
};
bool DecodeOldMinimap(const uint8_t* data, size_t size, const std::function<void(const OldMinimapTile&)>& tile);
// The old file is read this many records at a time.
constexpr size_t kOldMinimapBatchRecords = 16384;

// The folders the area files are looked for in: the working directory's
// "minimap" (read only) first, then the user's.
struct MinimapFolders {
    std::string shipped;  // "minimap" below the working directory
    std::string user;     // the application data folder + "/minimap"
};

// The first kMaxMinimapAreaBytes bytes of the chunk's area file, the shipped
// one first; false when neither opens.
bool ReadMinimapAreaFile(const MinimapChunk& chunk, const MinimapFolders& folders, std::vector<uint8_t>& bytes);
// The first kMaxMinimapMarkersBytes bytes of the markers file; false when it
// cannot be opened.
bool ReadMinimapMarkersFile(const MinimapFolders& folders, std::vector<uint8_t>& bytes);
// Fills a new chunk from its area file, the shipped one first; a missing file
// leaves the chunk as it is (false). The loaded chunk is not marked modified.
bool LoadMinimapChunk(MinimapChunk& chunk, const MinimapFolders& folders);
// Writes a chunk that changed and holds a colour to the user's folder, made
// first when missing. The file is written beside and swapped in, so a crash
// mid-write cannot leave a cut-off file.
void SaveMinimapChunk(const MinimapChunk& chunk, const MinimapFolders& folders);
// The user's markers, or the built-in ones when there is no markers file.
std::vector<MinimapMarker> LoadMinimapMarkers(const MinimapFolders& folders);
// Writes the markers file, making the user's folder first when missing.
bool SaveMinimapMarkers(const std::vector<MinimapMarker>& markers, const MinimapFolders& folders);

// The old single file at `path`: when it opens, `ask` decides (the player's
// Yes or No); on Yes the records go to `tile`, read a batch at a time, and the
// file is deleted, also when its magic or version is wrong. On No, or when it
// opens but cannot be read to its end, it stays for the next game.
enum class OldMinimapResult { Missing, Declined, Converted, Discarded, Unreadable };
OldMinimapResult ConvertOldMinimapFile(const std::string& path, const std::function<bool()>& ask,
                                       const std::function<void(const OldMinimapTile&)>& tile);
