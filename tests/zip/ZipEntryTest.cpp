// Entry information: names, sizes, attributes and times as the archives hold
// them, the cleaning of names, the extended timestamp, finding by name, and
// the codes of entries whose headers are broken.
#include <gtest/gtest.h>

#include "net/ZipReader.h"
#include "tests/support/ZipTestSupport.h"

namespace {

struct TreeItem {
    const char* name;
    int64_t mtime;
    uint32_t attributes;
};

// The files the archives were made from, in the order zip was given them.
const TreeItem kTree[] = {
    {"readme.txt", 1600000000, 0x20},
    {"readonly.txt", 1600000100, 0x21},
    {"data/", 1600000200, 0x30},
    {"data/text.txt", 1600000300, 0x20},
    {"data/noise.bin", 1600000401, 0x20},
    {"data/empty.dat", 1600000500, 0x20},
    {"data/deep/", 1600000600, 0x30},
    {"data/deep/nested/", 1600000700, 0x30},
    {"data/deep/nested/leaf.txt", 1600000800, 0x20},
    {"data/emptydir/", 1600000900, 0x30},
};

// 2020-09-01 00:00:00, the DOS time of the entries written by the fixture script.
const int64_t kCraftedDosTime = 1598918400;

TEST(ZipEntry, ListingMatchesTheFilesTheArchiveWasMadeFrom) {
    struct Source {
        const char* fixture;
        bool extendedTime;
    };
    const Source sources[] = {{"stored.zip", true},  {"deflated.zip", true}, {"notime.zip", false},
                              {"encrypted.zip", true}, {"comment.zip", true}, {"sfx.zip", true},
                              {"prefixed.zip", true}};
    for (const Source& source : sources) {
        SCOPED_TRACE(source.fixture);
        auto archive = Archive::Open(source.fixture);
        ASSERT_NE(archive->handle, nullptr);
        for (int32_t i = 0; i < 10; ++i) {
            const TreeItem& item = kTree[i];
            SCOPED_TRACE(item.name);
            ZipEntry entry;
            ASSERT_EQ(ZipGetItem(archive->handle, i, &entry), kZipSuccess);
            EXPECT_EQ(entry.index, i);
            EXPECT_EQ(entry.name, item.name);
            EXPECT_EQ(entry.attributes, item.attributes);
            std::string bytes;
            if (!(item.attributes & 0x10)) {
                ASSERT_TRUE(ReadWholeFile(TreeFile(item.name), &bytes));
            }
            EXPECT_EQ(entry.uncompressedSize, bytes.size());
            if (std::string(source.fixture) == "stored.zip") {
                EXPECT_EQ(entry.compressedSize, bytes.size());
            }
            // The DOS time holds even seconds (zip rounds odd ones up); the
            // extended timestamp the exact one.
            const uint64_t dosTime = FileTimeOf((item.mtime + 1) & ~int64_t{1});
            EXPECT_EQ(entry.modificationTime, source.extendedTime ? FileTimeOf(item.mtime) : dosTime);
            EXPECT_EQ(entry.creationTime, dosTime);
            if (!source.extendedTime) {
                EXPECT_EQ(entry.accessTime, dosTime);
            }
        }
    }
}

TEST(ZipEntry, IndexOutsideTheArchiveIsAFaultyArgument) {
    auto archive = Archive::Open("stored.zip");
    ZipEntry entry;
    for (int32_t index : {-2, 10, 11, 1000000})
        EXPECT_EQ(ZipGetItem(archive->handle, index, &entry), kZipArguments) << index;
    EXPECT_EQ(ZipGetItem(archive->handle, 0, nullptr), kZipArguments);
}

TEST(ZipEntry, EntriesCanBeAskedForInAnyOrder) {
    auto archive = Archive::Open("deflated.zip");
    ZipEntry entry;
    for (int32_t index : {8, 2, 9, 0, 5, 5, 1}) {
        ASSERT_EQ(ZipGetItem(archive->handle, index, &entry), kZipSuccess);
        EXPECT_EQ(entry.name, kTree[index].name);
    }
}

TEST(ZipEntry, SameIndexTwiceIsAnsweredFromTheCache) {
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(FixturePath("stored.zip"), &bytes));
    ZipHandle* zip = ZipOpen(bytes.data(), static_cast<uint32_t>(bytes.size()), nullptr);
    ASSERT_NE(zip, nullptr);
    ZipEntry first, again;
    ASSERT_EQ(ZipGetItem(zip, 3, &first), kZipSuccess);
    // Spoil the archive behind the reader's back: only the cache can answer now.
    std::fill(bytes.begin(), bytes.end(), '\0');
    ASSERT_EQ(ZipGetItem(zip, 3, &again), kZipSuccess);
    EXPECT_EQ(again.name, first.name);
    EXPECT_EQ(again.modificationTime, first.modificationTime);
    EXPECT_EQ(ZipGetItem(zip, 4, &again), kZipCorrupt);
    ZipClose(zip);
}

TEST(ZipEntry, NamesAreCleanedOfDrivesLeadingSlashesAndParentSteps) {
    struct NameCase {
        const char* stored;
        const char* reported;
    };
    const NameCase cases[] = {
        {"good.txt", "good.txt"},
        {"../evil1.txt", "../evil1.txt"},          // two dots and no slash in front: unchanged
        {"..\\evil2.txt", "..\\evil2.txt"},
        {"a/../../evil3.txt", "../evil3.txt"},
        {"sub/..", "sub/.."},
        {"x:y.txt", "y.txt"},                       // a drive letter goes
        {"ab:cd.txt", "ab:cd.txt"},
        {"C:\\dir\\..\\clean1.txt", "clean1.txt"},
        {"/abs/clean2.txt", "abs/clean2.txt"},
        {"sub/../", ""},
        {"sub\\..\\..\\evil4.txt", "..\\evil4.txt"},
        {"CON", "CON"},
    };
    auto archive = Archive::Open("names.zip");
    ASSERT_NE(archive->handle, nullptr);
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.stored);
        const int32_t index = IndexOf(archive->handle, c.stored);
        ASSERT_GE(index, 0);
        ZipEntry entry;
        ASSERT_EQ(ZipGetItem(archive->handle, index, &entry), kZipSuccess);
        EXPECT_EQ(entry.name, c.reported);
    }
}

// The cleaning rules applied literally: cut the front again and again.
std::string CleanStepByStep(std::string name) {
    for (;;) {
        if (name.size() >= 2 && name[1] == ':') {
            name.erase(0, 2);
        } else if (!name.empty() && (name[0] == '/' || name[0] == '\\')) {
            name.erase(0, 1);
        } else {
            size_t at = std::string::npos;
            for (const char* step : {"\\..\\", "\\../", "/../", "/..\\"}) {
                at = name.find(step);
                if (at != std::string::npos)
                    break;
            }
            if (at == std::string::npos)
                return name;
            name.erase(0, at + 4);
        }
    }
}

TEST(ZipEntry, CleaningGivesWhatTheRulesGiveStepByStep) {
    // Names from the characters that matter, in every order a small generator makes.
    const char alphabet[] = {'a', '/', '\\', '.', ':'};
    uint32_t seed = 1;
    for (int n = 0; n < 20000; ++n) {
        std::string name;
        const int length = n % 24;
        for (int i = 0; i < length; ++i) {
            seed = seed * 1103515245u + 12345u;
            name += alphabet[(seed >> 16) % 5];
        }
        ASSERT_EQ(ZipReader::CleanName(name), CleanStepByStep(name)) << name;
    }
}

TEST(ZipEntry, ExtendedTimestampIsReadOnlyInsideItsBlockAndField) {
    const uint64_t dos = FileTimeOf(kCraftedDosTime);
    const uint64_t t0 = FileTimeOf(1500000000), t1 = FileTimeOf(1500000100), t2 = FileTimeOf(1500000200);
    struct TimeCase {
        const char* name;
        uint64_t modification, access, creation;
    };
    const TimeCase cases[] = {
        {"mtime-only", t0, dos, dos},
        {"all-three", t0, t1, t2},
        {"flags-only", dos, dos, dos},          // flags ask for three times, the block holds none
        {"cut-field", t0, dos, dos},            // the field ends inside the second time
        {"block-claims-more", t0, dos, dos},    // the block says 200 bytes, the field has 9
        {"block-smaller", t0, dos, dos},        // the second time lies outside its block
        {"after-big-block", t0, dos, dos},      // a block of 300 bytes comes first
        {"behind-other", t0, dos, dos},
        {"header-only", dos, dos, dos},
        {"truncated-header", dos, dos, dos},
    };
    auto archive = Archive::Open("extra.zip");
    ASSERT_NE(archive->handle, nullptr);
    for (const TimeCase& c : cases) {
        SCOPED_TRACE(c.name);
        ZipEntry entry;
        int32_t index = -1;
        ASSERT_EQ(ZipFindItem(archive->handle, c.name, false, &index, &entry), kZipSuccess);
        EXPECT_EQ(entry.modificationTime, c.modification);
        EXPECT_EQ(entry.accessTime, c.access);
        EXPECT_EQ(entry.creationTime, c.creation);
    }
}

TEST(ZipEntry, AttributesFollowTheSystemThatMadeTheArchive) {
    const std::pair<const char*, uint32_t> cases[] = {
        {"dos-all.txt", 0x27},        {"dos-dir/", 0x10},       {"ntfs-hidden.txt", 0x22},
        {"unix-dir/", 0x30},          {"unix-readonly.txt", 0x21}, {"unix-plain.txt", 0x20},
    };
    auto archive = Archive::Open("attributes.zip");
    ASSERT_NE(archive->handle, nullptr);
    for (const auto& c : cases) {
        ZipEntry entry;
        int32_t index = -1;
        ASSERT_EQ(ZipFindItem(archive->handle, c.first, false, &index, &entry), kZipSuccess) << c.first;
        EXPECT_EQ(entry.attributes, c.second) << c.first;
    }
}

TEST(ZipEntry, FindItemComparesStoredNamesExactlyOrIgnoringCase) {
    auto archive = Archive::Open("names.zip");
    ZipHandle* zip = archive->handle;
    int32_t index = 99;
    ZipEntry entry;
    EXPECT_EQ(ZipFindItem(zip, "C:\\dir\\..\\clean1.txt", false, &index, &entry), kZipSuccess);
    EXPECT_EQ(index, 7);
    EXPECT_EQ(entry.name, "clean1.txt");
    EXPECT_EQ(ZipFindItem(zip, "GOOD.TXT", true, &index, nullptr), kZipSuccess);
    EXPECT_EQ(index, 0);

    // Not found: the index and the entry say so, and the reader goes on working.
    const std::string missing[] = {"GOOD.TXT", "clean1.txt", "good.tx", std::string(300, 'a')};
    for (const std::string& name : missing) {
        index = 99;
        entry.name = "stale";
        EXPECT_EQ(ZipFindItem(zip, name, false, &index, &entry), kZipNotFound) << name;
        EXPECT_EQ(index, -1);
        EXPECT_EQ(entry.index, -1);
        EXPECT_EQ(entry.name, "");
    }
    EXPECT_EQ(ZipGetItem(zip, 2, &entry), kZipSuccess);
    EXPECT_EQ(entry.name, "..\\evil2.txt");
}

TEST(ZipEntry, BrokenHeadersGiveTheirCodeAndSpareTheOtherEntries) {
    struct BrokenCase {
        const char* fixture;
        int32_t index;
        uint32_t result;
    };
    const BrokenCase cases[] = {
        {"bad-local.zip", 0, kZipCorrupt},   // local signature
        {"bad-local.zip", 1, kZipCorrupt},   // local method differs
        {"bad-local.zip", 2, kZipSuccess},
        {"bad-local.zip", 3, kZipCorrupt},   // local CRC-32 differs
        {"bad-local.zip", 4, kZipCorrupt},   // offset into the middle of a header
        {"bad-local.zip", 5, kZipSuccess},
        {"bad-local.zip", 8, kZipCorrupt},   // local name length differs
        {"bad-local.zip", 9, kZipSuccess},
        {"cd-offset.zip", 0, kZipCorrupt},
        {"cd-offset.zip", 9, kZipCorrupt},
        {"bad-extra.zip", 9, kZipReadError},  // the local extra field runs past the end
        {"bad-extra.zip", 8, kZipSuccess},
        {"count-too-big.zip", 9, kZipSuccess},
        {"count-too-big.zip", 10, kZipCorrupt},  // the directory has ended
        {"count-too-big.zip", 12, kZipCorrupt},
        {"count-too-big.zip", 13, kZipArguments},
    };
    for (const BrokenCase& c : cases) {
        SCOPED_TRACE(std::string(c.fixture) + " entry " + std::to_string(c.index));
        auto archive = Archive::Open(c.fixture);
        ASSERT_NE(archive->handle, nullptr);
        ZipEntry entry;
        EXPECT_EQ(ZipGetItem(archive->handle, c.index, &entry), c.result);
        EXPECT_EQ(LastResult(), c.result);
        // Another entry is still reachable after the failure.
        if (std::string(c.fixture) != "cd-offset.zip") {
            EXPECT_EQ(ZipGetItem(archive->handle, 2, &entry), kZipSuccess);
        }
    }
}

}  // namespace
