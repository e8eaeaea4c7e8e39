// Extraction to files, to an open file and to memory in pieces: the bytes,
// folders and times that come out, and every way an extraction fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/Files.h"
#include "tests/support/ZipTestSupport.h"

namespace {

const char* const kTreeNames[] = {
    "readme.txt",     "readonly.txt",   "data/", "data/text.txt", "data/noise.bin", "data/empty.dat",
    "data/deep/",     "data/deep/nested/", "data/deep/nested/leaf.txt", "data/emptydir/",
};
const int64_t kTreeTimes[] = {1600000000, 1600000100, 0, 1600000300, 1600000401,
                              1600000500, 0,          0, 1600000800, 0};

bool IsFolderName(const std::string& name) { return !name.empty() && name.back() == '/'; }

// Every file of the tree must have come out under `folder` byte for byte,
// with its time, and every folder must exist.
void ExpectTreeUnder(const std::string& folder, bool exactTimes) {
    for (int i = 0; i < 10; ++i) {
        const std::string name = kTreeNames[i];
        SCOPED_TRACE(name);
        const std::string path = folder + "/" + name;
        if (IsFolderName(name)) {
            EXPECT_TRUE(PathIsDirectory(path));
            continue;
        }
        std::string expected, actual;
        ASSERT_TRUE(ReadWholeFile(TreeFile(name), &expected));
        ASSERT_TRUE(ReadWholeFile(path, &actual));
        EXPECT_TRUE(actual == expected) << actual.size() << " bytes instead of " << expected.size();
        EXPECT_EQ(ModificationSeconds(path), exactTimes ? kTreeTimes[i] : ((kTreeTimes[i] + 1) & ~int64_t{1}));
    }
}

TEST(ZipExtract, EveryArchiveKindExtractsToFilesByteForByte) {
    struct Source {
        const char* fixture;
        const char* password;
        bool exactTimes;
    };
    const Source sources[] = {
        {"stored.zip", nullptr, true},  {"deflated.zip", nullptr, true}, {"notime.zip", nullptr, false},
        {"encrypted.zip", "velmora", true}, {"comment.zip", nullptr, true}, {"sfx.zip", nullptr, true},
        {"prefixed.zip", nullptr, true},
    };
    for (const Source& source : sources) {
        for (bool fromFile : {false, true}) {
            SCOPED_TRACE(std::string(source.fixture) + (fromFile ? " from its file" : " from memory"));
            const std::string folder = ScratchFolder("kinds");
            auto archive = Archive::Open(source.fixture, fromFile, source.password);
            ASSERT_NE(archive->handle, nullptr);
            ASSERT_EQ(ZipSetBaseDir(archive->handle, folder), kZipSuccess);
            for (int32_t i = 0; i < 10; ++i) {
                ZipEntry entry;
                ASSERT_EQ(ZipGetItem(archive->handle, i, &entry), kZipSuccess);
                EXPECT_EQ(ZipUnzipItemToFile(archive->handle, i, entry.name), kZipSuccess) << entry.name;
            }
            ExpectTreeUnder(folder, source.exactTimes);
        }
    }
}

TEST(ZipExtract, AbsolutePathsAsThePatcherGivesThemIgnoreTheBase) {
    const std::string folder = ScratchFolder("absolute");
    auto archive = Archive::Open("deflated.zip");
    ASSERT_EQ(ZipSetBaseDir(archive->handle, folder + "/unused"), kZipSuccess);
    ZipEntry entry;
    ASSERT_EQ(ZipGetItem(archive->handle, -1, &entry), kZipSuccess);
    for (int32_t i = 0, count = entry.index; i < count; ++i) {
        ASSERT_EQ(ZipGetItem(archive->handle, i, &entry), kZipSuccess);
        EXPECT_EQ(ZipUnzipItemToFile(archive->handle, i, folder + "/" + entry.name), kZipSuccess);
    }
    ExpectTreeUnder(folder, true);
    EXPECT_FALSE(PathExists(folder + "/unused"));
}

TEST(ZipExtract, BaseFolderAndTheFoldersOfThePathAreCreated) {
    const std::string folder = ScratchFolder("base");
    auto archive = Archive::Open("stored.zip");
    // No trailing slash: one is added.
    ASSERT_EQ(ZipSetBaseDir(archive->handle, folder + "/new"), kZipSuccess);
    EXPECT_EQ(ZipUnzipItemToFile(archive->handle, 7, "sub/dir/"), kZipSuccess);  // a folder entry
    EXPECT_TRUE(PathIsDirectory(folder + "/new/sub"));
    EXPECT_TRUE(PathIsDirectory(folder + "/new/sub/dir"));
    EXPECT_EQ(ZipUnzipItemToFile(archive->handle, 8, "x/y/leaf.txt"), kZipSuccess);
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(folder + "/new/x/y/leaf.txt", &bytes));
    EXPECT_EQ(bytes, "leaf\n");
    EXPECT_FALSE(PathExists(folder + "/newx"));
}

TEST(ZipExtract, ReadOnlyEntryBecomesAReadOnlyFile) {
    const std::string folder = ScratchFolder("readonly");
    auto archive = Archive::Open("deflated.zip");
    ASSERT_EQ(ZipUnzipItemToFile(archive->handle, 1, folder + "/readonly.txt"), kZipSuccess);
    ASSERT_EQ(ZipUnzipItemToFile(archive->handle, 0, folder + "/readme.txt"), kZipSuccess);
    EXPECT_TRUE(platform::GetPathAttributes(folder + "/readonly.txt") & platform::kFileReadOnly);
    EXPECT_FALSE(platform::GetPathAttributes(folder + "/readme.txt") & platform::kFileReadOnly);
}

TEST(ZipExtract, ToAnOpenFileWritesTheDataAndLeavesTheFileOpen) {
    const std::string folder = ScratchFolder("handle");
    auto archive = Archive::Open("deflated.zip");
    const std::string path = folder + "/out.bin";
    platform::FileHandle file = platform::CreateFileForWriting(path, 0);
    ASSERT_NE(file, platform::kNoFile);
    EXPECT_EQ(ZipUnzipItemToHandle(archive->handle, 4, file), kZipSuccess);
    EXPECT_EQ(ZipUnzipItemToHandle(archive->handle, 2, file), kZipSuccess);  // a folder writes nothing
    // The handle is still the caller's: more can be written through it.
    EXPECT_TRUE(platform::WriteToFile(file, "!", 1));
    platform::CloseFile(file);
    std::string expected, actual;
    ASSERT_TRUE(ReadWholeFile(TreeFile("data/noise.bin"), &expected));
    ASSERT_TRUE(ReadWholeFile(path, &actual));
    EXPECT_TRUE(actual == expected + "!");
}

TEST(ZipExtract, FailedWriteAndFailedCreateHaveTheirCodes) {
    const std::string folder = ScratchFolder("failures");
    auto archive = Archive::Open("deflated.zip");
    const std::string path = folder + "/readable.txt";
    platform::FileHandle file = platform::CreateFileForWriting(path, 0);
    platform::CloseFile(file);
    file = platform::OpenFileForReading(path);
    ASSERT_NE(file, platform::kNoFile);
    EXPECT_EQ(ZipUnzipItemToHandle(archive->handle, 3, file), kZipWriteError);
    platform::CloseFile(file);

    // A folder stands where the file should go.
    EXPECT_EQ(ZipUnzipItemToFile(archive->handle, 3, folder), kZipNoFile);
    EXPECT_TRUE(PathIsDirectory(folder));
    // The archive is still usable afterwards.
    EXPECT_EQ(ZipUnzipItemToFile(archive->handle, 3, folder + "/text.txt"), kZipSuccess);
}

TEST(ZipExtract, MemoryInPiecesDeliversEveryByteOnce) {
    struct PieceCase {
        const char* fixture;
        const char* entry;
        uint32_t piece;
    };
    const PieceCase cases[] = {
        {"deflated.zip", "data/text.txt", 100},   {"deflated.zip", "data/text.txt", 250},
        {"deflated.zip", "data/text.txt", 16384}, {"deflated.zip", "data/text.txt", 36000},
        {"deflated.zip", "data/text.txt", 36001}, {"stored.zip", "data/noise.bin", 1000},
        {"stored.zip", "data/noise.bin", 16385},  {"encrypted.zip", "data/noise.bin", 7000},
        {"deflated.zip", "data/empty.dat", 10},   {"deflated.zip", "readme.txt", 1},
    };
    for (const PieceCase& c : cases) {
        SCOPED_TRACE(std::string(c.fixture) + " " + c.entry + " in pieces of " + std::to_string(c.piece));
        auto archive = Archive::Open(c.fixture, false, "velmora");
        std::string expected, actual;
        ASSERT_TRUE(ReadWholeFile(TreeFile(c.entry), &expected));
        int more = 0;
        EXPECT_EQ(ExtractToMemory(archive->handle, IndexOf(archive->handle, c.entry), c.piece, &actual, &more),
                  kZipSuccess);
        EXPECT_TRUE(actual == expected);
        const size_t pieces = expected.empty() ? 1 : (expected.size() + c.piece - 1) / c.piece;
        EXPECT_EQ(static_cast<size_t>(more), pieces - 1);
    }
}

TEST(ZipExtract, AnotherCallBetweenPiecesStartsTheEntryAgain) {
    auto archive = Archive::Open("deflated.zip");
    std::vector<char> first(100), again(100);
    ASSERT_EQ(ZipUnzipItemToMemory(archive->handle, 3, first.data(), 100), kZipMore);
    ASSERT_EQ(ZipUnzipItemToMemory(archive->handle, 3, again.data(), 100), kZipMore);
    EXPECT_NE(first, again);
    ZipEntry entry;
    ASSERT_EQ(ZipGetItem(archive->handle, 0, &entry), kZipSuccess);
    ASSERT_EQ(ZipUnzipItemToMemory(archive->handle, 3, again.data(), 100), kZipMore);
    EXPECT_EQ(first, again);
    // Switching entries starts the other one from its beginning too.
    ASSERT_EQ(ZipUnzipItemToMemory(archive->handle, 0, again.data(), 100), kZipSuccess);
    EXPECT_EQ(std::string(again.data(), 20), "Velmora test archive");
}

TEST(ZipExtract, AfterTheLastPieceTheEntryStaysOpenForOneCallThatReadsNothing) {
    auto archive = Archive::Open("deflated.zip");
    for (const char* name : {"readme.txt", "data/text.txt"}) {
        SCOPED_TRACE(name);
        const int32_t index = IndexOf(archive->handle, name);
        std::string expected;
        ASSERT_TRUE(ReadWholeFile(TreeFile(name), &expected));
        std::string bytes;
        ASSERT_EQ(ExtractToMemory(archive->handle, index, 1000, &bytes), kZipSuccess);
        EXPECT_TRUE(bytes == expected);
        // The next call reads 0 bytes, leaves the buffer alone and succeeds.
        std::vector<char> after(1000, '#');
        EXPECT_EQ(ZipUnzipItemToMemory(archive->handle, index, after.data(), 1000), kZipSuccess);
        EXPECT_EQ(after, std::vector<char>(1000, '#'));
        // That closed the entry: the one after starts over.
        EXPECT_NE(ZipUnzipItemToMemory(archive->handle, index, after.data(), 1000), kZipArguments);
        EXPECT_EQ(std::string(after.data(), 20), expected.substr(0, 20));
    }
}

TEST(ZipExtract, PasswordsAreCheckedForEveryEntry) {
    struct PasswordCase {
        const char* password;
        const char* entry;
        uint32_t result;
    };
    const PasswordCase cases[] = {
        {"velmora", "crc-check.txt", kZipSuccess}, {"velmora", "time-check.txt", kZipSuccess},
        {"velmora", "empty.txt", kZipSuccess},     {"wrong", "crc-check.txt", kZipPassword},
        {"wrong", "time-check.txt", kZipPassword}, {"wrong", "empty.txt", kZipPassword},
        {nullptr, "crc-check.txt", kZipPassword},  {"", "time-check.txt", kZipPassword},
    };
    std::string secret;
    for (int i = 0; i < 50; ++i)
        secret += "the secret text ";
    for (const PasswordCase& c : cases) {
        SCOPED_TRACE(std::string(c.password ? c.password : "(none)") + " " + c.entry);
        const std::string folder = ScratchFolder("password");
        auto archive = Archive::Open("crypt.zip", false, c.password);
        const int32_t index = IndexOf(archive->handle, c.entry);
        const std::string expected = std::string(c.entry) == "empty.txt" ? "" : secret;
        std::string bytes;
        EXPECT_EQ(ExtractToMemory(archive->handle, index, 64, &bytes), c.result);
        if (c.result == kZipSuccess) {
            EXPECT_EQ(bytes, expected);
        }
        const std::string path = folder + "/" + c.entry;
        EXPECT_EQ(ZipUnzipItemToFile(archive->handle, index, path), c.result);
        EXPECT_EQ(PathExists(path), c.result == kZipSuccess);
    }
}

TEST(ZipExtract, ArchiveMadeWithAPasswordGivesNothingWithoutIt) {
    const std::string folder = ScratchFolder("nopassword");
    auto archive = Archive::Open("encrypted.zip");
    ASSERT_EQ(ZipSetBaseDir(archive->handle, folder), kZipSuccess);
    // The check byte catches a wrong password in 255 of 256 cases; the CRC-32 the rest.
    for (const char* name : {"readme.txt", "data/text.txt", "data/noise.bin"}) {
        EXPECT_NE(ZipUnzipItemToFile(archive->handle, IndexOf(archive->handle, name), name), kZipSuccess);
        EXPECT_FALSE(PathExists(folder + "/" + name)) << name;
    }
}

// Entries whose names would leave the destination folder or open a device are
// never written to a path, whether the path is relative or absolute; their
// data can still be read into memory.
TEST(ZipExtract, UnsafeNamesAreNeverWrittenToAPath) {
    struct NameCase {
        const char* stored;
        bool safe;
    };
    const NameCase cases[] = {
        {"good.txt", true},        {"../evil1.txt", false},  {"..\\evil2.txt", false},
        {"a/../../evil3.txt", false}, {"sub/..", false},     {"x:y.txt", true},
        {"ab:cd.txt", false},      {"C:\\dir\\..\\clean1.txt", true}, {"/abs/clean2.txt", true},
        {"sub/../", false},        {"CON", false},           {"con.txt", false},
        {"data/Nul.log", false},   {"COM1.txt", false},      {"lpt9", false},
        {"AUX", false},            {"PRN.doc", false},       {"com10.txt", true},
        {"sub\\..\\..\\evil4.txt", false}, {"...", false},   {"console.txt", true},
    };
    const std::string root = ScratchFolder("names");
    const std::string folder = root + "/inside";
    auto archive = Archive::Open("names.zip");
    ASSERT_EQ(ZipSetBaseDir(archive->handle, folder), kZipSuccess);
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.stored);
        const int32_t index = IndexOf(archive->handle, c.stored);
        ASSERT_GE(index, 0);
        ZipEntry entry;
        ASSERT_EQ(ZipGetItem(archive->handle, index, &entry), kZipSuccess);
        const uint32_t expected = c.safe ? kZipSuccess : kZipNoFile;
        EXPECT_EQ(ZipUnzipItemToFile(archive->handle, index, entry.name), expected);
        EXPECT_EQ(ZipUnzipItemToFile(archive->handle, index, folder + "/" + entry.name), expected);
        std::string bytes;
        EXPECT_EQ(ExtractToMemory(archive->handle, index, 100, &bytes), kZipSuccess);
        EXPECT_EQ(bytes, std::string(c.stored) + "\n");
        if (c.safe) {
            std::string written;
            EXPECT_TRUE(ReadWholeFile(folder + "/" + entry.name, &written));
            EXPECT_EQ(written, bytes);
        }
    }
    // Nothing landed beside the destination folder.
    for (const char* name : {"evil1.txt", "evil2.txt", "evil3.txt", "evil4.txt", "..\\evil2.txt"})
        EXPECT_FALSE(PathExists(root + "/" + name)) << name;
}

TEST(ZipExtract, DataThatDoesNotMatchItsCrcFailsAndLeavesNoFile) {
    const std::string folder = ScratchFolder("crc");
    auto archive = Archive::Open("bad-crc.zip");
    for (const char* name : {"readme.txt", "data/text.txt"}) {
        SCOPED_TRACE(name);
        const int32_t index = IndexOf(archive->handle, name);
        ZipEntry entry;
        EXPECT_EQ(ZipGetItem(archive->handle, index, &entry), kZipSuccess);
        EXPECT_EQ(ZipUnzipItemToFile(archive->handle, index, folder + "/" + name), kZipCorrupt);
        EXPECT_FALSE(PathExists(folder + "/" + name));
        std::string bytes;
        EXPECT_EQ(ExtractToMemory(archive->handle, index, 1000, &bytes), kZipCorrupt);
        const std::string path = folder + "/handle.bin";
        platform::FileHandle file = platform::CreateFileForWriting(path, 0);
        EXPECT_EQ(ZipUnzipItemToHandle(archive->handle, index, file), kZipCorrupt);
        platform::CloseFile(file);
    }
    // The intact entries of the same archive come out.
    EXPECT_EQ(ZipUnzipItemToFile(archive->handle, IndexOf(archive->handle, "data/noise.bin"), folder + "/n"),
              kZipSuccess);
}

TEST(ZipExtract, BrokenEntriesFailWithTheirCodeAndLeaveNoFile) {
    struct BrokenCase {
        const char* fixture;
        const char* entry;
        uint32_t toFile;
        uint32_t toMemory;
    };
    const BrokenCase cases[] = {
        {"bad-local.zip", "readme.txt", kZipCorrupt, kZipCorrupt},
        {"bad-local.zip", "data/text.txt", kZipCorrupt, kZipCorrupt},
        {"bad-local.zip", "data/empty.dat", kZipSuccess, kZipSuccess},
        {"bad-deflate.zip", "data/text.txt", kZipFlate, kZipFlate},
        {"bad-sizes.zip", "data/text.txt", kZipCorrupt, kZipCorrupt},   // one byte less than the data
        {"bad-sizes.zip", "data/noise.bin", kZipCorrupt, kZipCorrupt},  // 100 bytes more than the data
        {"bad-sizes.zip", "readme.txt", kZipCorrupt, kZipCorrupt},      // 600 MiB: over the limit
        {"bad-extra.zip", "data/emptydir/", kZipReadError, kZipCorrupt},
    };
    for (const BrokenCase& c : cases) {
        SCOPED_TRACE(std::string(c.fixture) + " " + c.entry);
        const std::string folder = ScratchFolder("broken");
        auto archive = Archive::Open(c.fixture);
        ASSERT_NE(archive->handle, nullptr);
        const int32_t index = IndexOf(archive->handle, c.entry);
        ASSERT_GE(index, 0);
        const std::string path = folder + "/out";
        EXPECT_EQ(ZipUnzipItemToFile(archive->handle, index, path), c.toFile);
        if (c.toFile != kZipSuccess) {
            EXPECT_FALSE(PathExists(path));
        }
        std::string bytes;
        EXPECT_EQ(ExtractToMemory(archive->handle, index, 4096, &bytes), c.toMemory);
    }
}

TEST(ZipExtract, EntriesPastTheEndOfTheDirectoryAreNotExtracted) {
    auto archive = Archive::Open("count-too-big.zip");
    char buffer[16];
    EXPECT_EQ(ZipUnzipItemToMemory(archive->handle, 10, buffer, sizeof buffer), kZipCorrupt);
    EXPECT_EQ(ZipUnzipItemToFile(archive->handle, 12, ScratchFolder("pastend") + "/x"), kZipCorrupt);
    EXPECT_EQ(ZipUnzipItemToMemory(archive->handle, 13, buffer, sizeof buffer), kZipArguments);
    EXPECT_EQ(ZipUnzipItemToMemory(archive->handle, 0, buffer, sizeof buffer), kZipMore);
}

TEST(ZipExtract, OneArchiveUnpacksNoMoreThanItsLimit) {
    const std::string folder = ScratchFolder("limit");
    auto archive = Archive::Open("deflated.zip");
    ZipHandle* zip = archive->handle;
    ASSERT_EQ(ZipSetUnpackLimit(zip, 60000), kZipSuccess);
    EXPECT_EQ(ZipUnzipItemToFile(zip, 3, folder + "/text.txt"), kZipSuccess);     // 36000 bytes
    EXPECT_EQ(ZipUnzipItemToFile(zip, 4, folder + "/noise.bin"), kZipCorrupt);    // 50000 more
    EXPECT_FALSE(PathExists(folder + "/noise.bin"));
    std::vector<char> buffer(100, 'z');
    EXPECT_EQ(ZipUnzipItemToMemory(zip, 4, buffer.data(), 100), kZipCorrupt);
    EXPECT_EQ(buffer, std::vector<char>(100, 'z'));
    EXPECT_EQ(ZipUnzipItemToFile(zip, 0, folder + "/readme.txt"), kZipSuccess);   // 33 bytes still fit
    // Extracting the same entry again counts again.
    EXPECT_EQ(ZipUnzipItemToFile(zip, 3, folder + "/text2.txt"), kZipCorrupt);
}

TEST(ZipExtract, DefaultLimitRefusesAnEntryOfSixHundredMegabytesBeforeReadingIt) {
    auto archive = Archive::Open("bad-sizes.zip");
    const int32_t index = IndexOf(archive->handle, "readme.txt");
    std::vector<char> buffer(100, 'z');
    EXPECT_EQ(ZipUnzipItemToMemory(archive->handle, index, buffer.data(), 100), kZipCorrupt);
    EXPECT_EQ(buffer, std::vector<char>(100, 'z'));
    // Under a higher limit the data is read (and then found short).
    ASSERT_EQ(ZipSetUnpackLimit(archive->handle, uint64_t{1} << 40), kZipSuccess);
    EXPECT_NE(ZipUnzipItemToMemory(archive->handle, index, buffer.data(), 100), kZipSuccess);
    EXPECT_EQ(std::string(buffer.data(), 20), "Velmora test archive");
}

}  // namespace
