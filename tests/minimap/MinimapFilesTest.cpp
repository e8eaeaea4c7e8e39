// The minimap's stored forms: the run-length area files, the markers file and
// the old single file, as bytes and through the folders they live in.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "sidewindows/MinimapFiles.h"
#include "tests/support/Scratch.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::unique_ptr<MinimapChunk> NewChunk() { return std::make_unique<MinimapChunk>(256, 512, 7); }

Bytes Pairs(std::initializer_list<std::pair<int, int>> pairs) {
    Bytes out;
    for (auto [value, run] : pairs) {
        out.push_back(uint8_t(value));
        out.push_back(uint8_t(run));
    }
    return out;
}

Bytes U32(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }

Bytes MarkerRecord(uint16_t x, uint16_t y, uint8_t z, uint32_t icon, const std::string& text) {
    Bytes out = {uint8_t(x), uint8_t(x >> 8), uint8_t(y), uint8_t(y >> 8), z};
    Bytes tail = U32(icon);
    out.insert(out.end(), tail.begin(), tail.end());
    tail = U32(uint32_t(text.size()));
    out.insert(out.end(), tail.begin(), tail.end());
    out.insert(out.end(), text.begin(), text.end());
    return out;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

TEST(MinimapAreaFile, NameIsHighBytesOfTheBaseAndTheFloor) {
    EXPECT_EQ(MinimapAreaFileName(256, 512, 7), "0001000207.map");
    EXPECT_EQ(MinimapAreaFileName(0xFF00, 0, 15), "0255000015.map");
}

TEST(MinimapAreaFile, RunLengthEncoding) {
    auto chunk = NewChunk();
    // 255 equal values, then 256: one pair, then two.
    for (int i = 0; i < 255; ++i)
        chunk->colour[i] = 9;
    Bytes bytes = EncodeMinimapArea(chunk->colour);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), Pairs({{9, 255}, {0, 255}}));
    chunk->colour[255] = 9;
    bytes = EncodeMinimapArea(chunk->colour);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), Pairs({{9, 255}, {9, 1}}));

    // A run of colour 7 over the end of x = 3 and the start of x = 4 is one pair.
    chunk = NewChunk();
    for (int y = 250; y < 256; ++y)
        chunk->colour[MinimapChunk::Cell(3, y)] = 7;
    for (int y = 0; y < 4; ++y)
        chunk->colour[MinimapChunk::Cell(4, y)] = 7;
    bytes = EncodeMinimapArea(chunk->colour);
    int sevens = 0;
    for (size_t i = 0; i < bytes.size(); i += 2)
        if (bytes[i] == 7) {
            ++sevens;
            EXPECT_EQ(bytes[i + 1], 10);
        }
    EXPECT_EQ(sevens, 1);

    // A one-colour chunk: 257 runs of 255 and one of 1.
    chunk = NewChunk();
    bytes = EncodeMinimapArea(chunk->colour);
    ASSERT_EQ(bytes.size(), 516u);
    EXPECT_EQ(bytes[514], 0);
    EXPECT_EQ(bytes[515], 1);
}

TEST(MinimapAreaFile, DecodeRoundTripsAndWritesEveryPixel) {
    auto source = NewChunk();
    for (int cell = 0; cell < MinimapChunk::kCells; ++cell)
        source->colour[cell] = uint8_t((cell * 7 / 300) % 7);
    const Bytes bytes = EncodeMinimapArea(source->colour);
    auto loaded = NewChunk();
    DecodeMinimapArea(bytes.data(), bytes.size(), *loaded);
    EXPECT_EQ(Bytes(loaded->colour, loaded->colour + MinimapChunk::kCells),
              Bytes(source->colour, source->colour + MinimapChunk::kCells));
    EXPECT_FALSE(loaded->empty);
    EXPECT_FALSE(loaded->modified);
    EXPECT_TRUE(loaded->dirty);
    // Tile (x, y) is column x, row 255 - y from the bottom; colour 1 is green.
    const int x = 40, y = 3;
    loaded->colour[MinimapChunk::Cell(x, y)] = 1;
    loaded->SetPixel(x, y, 1);
    const uint8_t* pixel = loaded->image.Pixel(x, 255 - y);
    EXPECT_EQ(Bytes(pixel, pixel + 4), (Bytes{0, 200, 0, 255}));
}

TEST(MinimapAreaFile, RunOfZeroSkipsACellAndAShortFileLeavesTheRestUnexplored) {
    auto chunk = NewChunk();
    const Bytes skip = Pairs({{5, 2}, {9, 0}, {6, 1}});
    DecodeMinimapArea(skip.data(), skip.size(), *chunk);
    EXPECT_EQ(chunk->colour[0], 5);
    EXPECT_EQ(chunk->colour[1], 5);
    EXPECT_EQ(chunk->colour[2], 0);  // skipped
    EXPECT_EQ(chunk->colour[3], 6);
    EXPECT_EQ(chunk->colour[4], 0);  // the file ended

    // A cut-off pair, or nothing at all, reads no colour and keeps the chunk empty.
    for (const Bytes& cut : {Bytes{3}, Bytes{}}) {
        chunk = NewChunk();
        DecodeMinimapArea(cut.data(), cut.size(), *chunk);
        EXPECT_TRUE(chunk->empty);
        EXPECT_EQ(chunk->colour[MinimapChunk::kCells - 1], 0);
    }
}

TEST(MinimapMarkersFile, Decoding) {
    struct Case {
        const char* what;
        Bytes file;
        std::vector<std::string> texts;
    };
    const Bytes one = MarkerRecord(10, 20, 7, 5768, "camp");
    const Bytes two = MarkerRecord(30, 40, 6, 5768, "");
    const Bytes tooLong = MarkerRecord(1, 2, 7, 5768, std::string(256, 'x'));
    const Case cases[] = {
        {"count 0", U32(0), {}},
        {"count above 49 999 reads nothing", Cat({U32(50000), one}), {}},
        {"two records", Cat({U32(2), one, two}), {"camp", ""}},
        {"a text above 255 ends the list", Cat({U32(3), one, tooLong, two}), {"camp"}},
        {"a record cut off in its fields", Cat({U32(2), one, Bytes(two.begin(), two.begin() + 7)}), {"camp"}},
        {"a record cut off in its text", Cat({U32(2), two, Bytes(one.begin(), one.end() - 1)}), {""}},
        {"a count larger than the records", Cat({U32(49999), one}), {"camp"}},
        {"no count", Bytes{1, 0}, {}},
    };
    for (const Case& c : cases) {
        const auto markers = DecodeMinimapMarkers(c.file.data(), c.file.size());
        std::vector<std::string> texts;
        for (const auto& marker : markers)
            texts.push_back(marker.text);
        EXPECT_EQ(texts, c.texts) << c.what;
    }
}

TEST(MinimapMarkersFile, RoundTripTruncationAndTheMovedTemple) {
    const std::vector<MinimapMarker> markers = {
        {1046, 692, 7, 5768, "old temple"}, {70000 + 5, 65536 + 9, 7, 5768, ""}, {1, 2, 3, 42, "x"}};
    const Bytes bytes = EncodeMinimapMarkers(markers);
    const auto back = DecodeMinimapMarkers(bytes.data(), bytes.size());
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[0].x, 1076);
    EXPECT_EQ(back[0].y, 666);
    EXPECT_EQ(back[1].x, (70000 + 5) & 0xFFFF);
    EXPECT_EQ(back[1].y, 9);
    EXPECT_EQ(back[1].text, "");
    EXPECT_EQ(back[2].icon, 42u);
    EXPECT_EQ(back[2].z, 3);
}

TEST(OldMinimapFile, BoundsAndMagic) {
    auto record = [](uint16_t x, uint16_t y, uint8_t z, uint8_t colour) {
        return Bytes{uint8_t(x), uint8_t(x >> 8), uint8_t(y), uint8_t(y >> 8), z, colour};
    };
    const Bytes file = Cat({U32(0xDEAD), U32(1), U32(99), record(10, 10, 16, 1), record(10, 10, 17, 2),
                            record(1000, 10, 7, 3), record(999, 3499, 7, 4), record(10, 3500, 7, 5), Bytes{1, 2, 3}});
    std::vector<int> colours;
    EXPECT_TRUE(DecodeOldMinimap(file.data(), file.size(), [&](const OldMinimapTile& t) { colours.push_back(t.colour); }));
    EXPECT_EQ(colours, (std::vector<int>{1, 4}));

    for (const Bytes& wrong : {Cat({U32(0xBEEF), U32(1), U32(0)}), Cat({U32(0xDEAD), U32(2), U32(0)}), Bytes{0xAD}})
        EXPECT_FALSE(DecodeOldMinimap(wrong.data(), wrong.size(), [&](const OldMinimapTile&) { FAIL(); }));
}

TEST(MinimapChunk, RecordingTiles) {
    EXPECT_NE(MinimapChunkKey(255, 255, 7), MinimapChunkKey(256, 256, 7));
    EXPECT_NE(MinimapChunkKey(10, 10, 7), MinimapChunkKey(10, 10, 8));
    EXPECT_EQ(MinimapChunkKey(0xFFFF, 0xFF01, 15), 0xFFFF000Fu);

    MinimapChunk chunk(0, 0, 7);
    chunk.SetTile(3, 4, 0, 0);  // the same colour, speed 0: nothing changes
    EXPECT_FALSE(chunk.modified);
    EXPECT_FALSE(chunk.dirty);
    EXPECT_EQ(chunk.GetSpeed(3, 4), 100);

    chunk.SetTile(3, 4, 2, 150);
    EXPECT_TRUE(chunk.modified && chunk.dirty);
    EXPECT_FALSE(chunk.empty);
    EXPECT_EQ(chunk.GetColor(3, 4), 2);
    EXPECT_EQ(chunk.GetSpeed(3, 4), 150);

    chunk.modified = chunk.dirty = false;
    chunk.SetTile(3, 4, 2, 0);  // speed 0 never overwrites a recorded speed
    EXPECT_FALSE(chunk.modified || chunk.dirty);
    EXPECT_EQ(chunk.GetSpeed(3, 4), 150);

    chunk.SetTile(3, 4, 0, 150);  // back to 0: modified, transparent, not empty again
    EXPECT_TRUE(chunk.modified && chunk.dirty);
    EXPECT_FALSE(chunk.empty);
    const uint8_t* pixel = chunk.image.Pixel(3, 251);
    EXPECT_EQ(Bytes(pixel, pixel + 4), (Bytes{0, 0, 0, 0}));
}

class MinimapFolderTest : public ::testing::Test {
protected:
    ScratchDir scratch{"minimap-files"};
    MinimapFolders folders{scratch.Path("minimap"), scratch.Path("appdata/minimap")};
    void SetUp() override { platform::MakeDirectory(scratch.Path("appdata")); }
};

TEST_F(MinimapFolderTest, SaveRulesAndFolderPrecedence) {
    MinimapChunk speedsOnly(256, 512, 7);
    speedsOnly.SetTile(1, 1, 0, 120);  // modified but never coloured
    SaveMinimapChunk(speedsOnly, folders);
    EXPECT_FALSE(platform::FileExists(folders.user + "/0001000207.map"));

    MinimapChunk resetToZero(256, 512, 7);
    resetToZero.SetTile(1, 1, 5, 100);
    resetToZero.SetTile(1, 1, 0, 100);
    SaveMinimapChunk(resetToZero, folders);  // makes the missing folder
    ASSERT_TRUE(platform::FileExists(folders.user + "/0001000207.map"));
    EXPECT_EQ(ReadFileBytes(folders.user + "/0001000207.map").size(), 516u);

    MinimapChunk coloured(256, 512, 7);
    coloured.SetTile(2, 2, 3, 100);
    SaveMinimapChunk(coloured, folders);
    MinimapChunk loaded(256, 512, 7);
    LoadMinimapChunk(loaded, folders);
    EXPECT_EQ(loaded.GetColor(2, 2), 3);
    EXPECT_FALSE(loaded.modified);
    EXPECT_FALSE(platform::FileExists(folders.user + "/0001000207.map.tmp"));

    // A shipped area file wins over the player's own.
    platform::MakeDirectory(folders.shipped);
    const Bytes shipped = Pairs({{6, 1}});
    WriteFileBytes(folders.shipped + "/0001000207.map", std::string(shipped.begin(), shipped.end()));
    MinimapChunk fromShipped(256, 512, 7);
    LoadMinimapChunk(fromShipped, folders);
    EXPECT_EQ(fromShipped.GetColor(0, 0), 6);
    EXPECT_EQ(fromShipped.GetColor(2, 2), 0);

    MinimapChunk missing(0, 0, 7);
    LoadMinimapChunk(missing, folders);
    EXPECT_TRUE(missing.empty);
    EXPECT_FALSE(missing.dirty);
}

TEST_F(MinimapFolderTest, MarkersFile) {
    const auto builtIn = LoadMinimapMarkers(folders);
    ASSERT_EQ(builtIn.size(), 7u);
    EXPECT_EQ(builtIn[0].x, 1076);
    EXPECT_EQ(builtIn[1].text, "Depot, Market, Bank");
    for (const auto& marker : builtIn)
        EXPECT_EQ(marker.icon, kMinimapMarkerIcon);

    // Saving before the folder exists makes it rather than losing the change.
    std::vector<MinimapMarker> markers = {{100, 200, 7, 5768, "camp"}};
    ASSERT_TRUE(SaveMinimapMarkers(markers, folders));
    const auto back = LoadMinimapMarkers(folders);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].text, "camp");

    ASSERT_TRUE(SaveMinimapMarkers({}, folders));
    EXPECT_TRUE(LoadMinimapMarkers(folders).empty());  // count 0 is not the built-in list
}

// A file of the bytes followed by a hole (read as zeros) up to `size`, which
// takes no room on the disk.
void WriteOversized(const std::string& path, const Bytes& bytes, uintmax_t size) {
    WriteFileBytes(path, std::string(bytes.begin(), bytes.end()));
    std::filesystem::resize_file(path, size);
}

constexpr uintmax_t kHugeFile = uintmax_t(64) << 20;

TEST_F(MinimapFolderTest, AreaFilesAreReadNoFurtherThanTheirLastCell) {
    // The longest file: a pair for every cell, each colour differing from
    // the one before it.
    Bytes longest;
    for (int cell = 0; cell < MinimapChunk::kCells; ++cell) {
        longest.push_back(uint8_t(1 + cell % 250));
        longest.push_back(1);
    }
    ASSERT_EQ(longest.size(), kMaxMinimapAreaBytes);
    platform::MakeDirectory(folders.user);
    const std::string path = folders.user + "/0001000207.map";
    const struct {
        const char* name;
        uintmax_t size;
    } cases[] = {
        {"the longest file", longest.size()},
        {"the longest file followed by 64 MiB", kHugeFile},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteOversized(path, longest, c.size);
        auto chunk = NewChunk();
        Bytes read;
        ASSERT_TRUE(ReadMinimapAreaFile(*chunk, folders, read));
        EXPECT_EQ(read.size(), kMaxMinimapAreaBytes);
        ASSERT_TRUE(LoadMinimapChunk(*chunk, folders));
        EXPECT_EQ(chunk->GetColor(0, 0), 1);
        EXPECT_EQ(chunk->GetColor(255, 255), 1 + (MinimapChunk::kCells - 1) % 250);
    }
}

TEST_F(MinimapFolderTest, TheMarkersFileIsReadNoFurtherThanTheLargestOneGoes) {
    // The largest markers file: the most markers, each with the longest text.
    const std::string longestText(kMaxMinimapMarkerText, 'm');
    Bytes largest = U32(kMaxMinimapMarkers);
    for (uint32_t i = 0; i < kMaxMinimapMarkers; ++i) {
        const Bytes record = MarkerRecord(uint16_t(i), 3, 7, i, longestText);
        largest.insert(largest.end(), record.begin(), record.end());
    }
    ASSERT_EQ(largest.size(), kMaxMinimapMarkersBytes);
    const Bytes two = Cat({U32(2), MarkerRecord(1, 2, 7, 5, "a"), MarkerRecord(3, 4, 6, 5, "b")});
    platform::MakeDirectory(folders.user);
    const std::string path = folders.user + "/markers.map";
    const struct {
        const char* name;
        const Bytes& bytes;
        uintmax_t size;
        size_t read;
        size_t markers;
    } cases[] = {
        {"the largest file", largest, largest.size(), kMaxMinimapMarkersBytes, kMaxMinimapMarkers},
        {"two markers followed by 64 MiB", two, kHugeFile, kMaxMinimapMarkersBytes, 2},
        {"two markers", two, two.size(), two.size(), 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteOversized(path, c.bytes, c.size);
        Bytes read;
        ASSERT_TRUE(ReadMinimapMarkersFile(folders, read));
        EXPECT_EQ(read.size(), c.read);
        const auto markers = LoadMinimapMarkers(folders);
        ASSERT_EQ(markers.size(), c.markers);
        EXPECT_EQ(markers.back().text, c.markers == 2 ? "b" : longestText);
    }
}

TEST_F(MinimapFolderTest, TheOldFileIsConvertedABatchAtATime) {
    // Records over three batches and the start of a fourth, then part of one.
    const size_t count = 3 * kOldMinimapBatchRecords + 5;
    Bytes file = Cat({U32(0xDEAD), U32(1), U32(uint32_t(count))});
    for (size_t i = 0; i < count; ++i) {
        const Bytes record = {uint8_t(i % 1000), uint8_t((i % 1000) >> 8), uint8_t(i / 1000), 0, 7, uint8_t(i)};
        file.insert(file.end(), record.begin(), record.end());
    }
    file.insert(file.end(), {1, 2, 3});
    const std::string path = scratch.Path("minimap.map");
    WriteFileBytes(path, std::string(file.begin(), file.end()));
    size_t handed = 0;
    bool inOrder = true;
    auto collect = [&](const OldMinimapTile& tile) {
        inOrder = inOrder && tile.x == handed % 1000 && tile.y == handed / 1000 && tile.colour == uint8_t(handed);
        ++handed;
    };
    EXPECT_EQ(ConvertOldMinimapFile(path, [] { return true; }, collect), OldMinimapResult::Converted);
    EXPECT_EQ(handed, count);
    EXPECT_TRUE(inOrder);
    EXPECT_FALSE(platform::FileExists(path));

    // A header cut short is a wrong one: nothing is handed on, the file goes.
    WriteFileBytes(path, std::string("\xAD\xDE\0\0\1", 5));
    EXPECT_EQ(ConvertOldMinimapFile(path, [] { return true; }, collect), OldMinimapResult::Discarded);
    EXPECT_EQ(handed, count);
    EXPECT_FALSE(platform::FileExists(path));
}

TEST_F(MinimapFolderTest, OldFileConversion) {
    const std::string path = scratch.Path("minimap.map");
    auto never = []() { return false; };
    auto yes = []() { return true; };
    std::vector<OldMinimapTile> tiles;
    auto collect = [&](const OldMinimapTile& tile) { tiles.push_back(tile); };

    EXPECT_EQ(ConvertOldMinimapFile(path, yes, collect), OldMinimapResult::Missing);

    const Bytes good = Cat({U32(0xDEAD), U32(1), U32(1), Bytes{10, 0, 20, 0, 7, 2}});
    WriteFileBytes(path, std::string(good.begin(), good.end()));
    EXPECT_EQ(ConvertOldMinimapFile(path, never, collect), OldMinimapResult::Declined);
    EXPECT_TRUE(platform::FileExists(path));
    EXPECT_EQ(ConvertOldMinimapFile(path, yes, collect), OldMinimapResult::Converted);
    EXPECT_FALSE(platform::FileExists(path));
    ASSERT_EQ(tiles.size(), 1u);
    EXPECT_EQ(tiles[0].y, 20);

    const Bytes wrong = Cat({U32(0xBEEF), U32(1), U32(1), Bytes{10, 0, 20, 0, 7, 2}});
    WriteFileBytes(path, std::string(wrong.begin(), wrong.end()));
    EXPECT_EQ(ConvertOldMinimapFile(path, yes, collect), OldMinimapResult::Discarded);
    EXPECT_FALSE(platform::FileExists(path));
    EXPECT_EQ(tiles.size(), 1u);

    // A "minimap.map" that cannot be opened (Windows) or read (a folder opens
    // on POSIX systems) is neither converted nor deleted, whatever the answer.
    ASSERT_TRUE(platform::MakeDirectory(path));
    const OldMinimapResult folder = ConvertOldMinimapFile(path, yes, collect);
    EXPECT_TRUE(folder == OldMinimapResult::Missing || folder == OldMinimapResult::Unreadable);
    EXPECT_TRUE(platform::FileExists(path));
    EXPECT_EQ(tiles.size(), 1u);
}

}  // namespace
