// Result texts, the last result, and the checks every call makes of its handle.
#include <gtest/gtest.h>

#include "tests/support/ZipTestSupport.h"

namespace {

TEST(ZipMessage, EveryCodeHasItsText) {
    const std::pair<uint32_t, const char*> cases[] = {
        {0x0, "Success"},
        {0x100, "Culdn't duplicate handle"},
        {0x200, "Couldn't create/open file"},
        {0x300, "Failed to allocate memory"},
        {0x400, "Error writing to file"},
        {0x500, "File not found in the zipfile"},
        {0x600, "Still more data to unzip"},
        {0x700, "Zipfile is corrupt or not a zipfile"},
        {0x800, "Error reading file"},
        {0x1000, "Correct password required"},
        {0x10000, "Caller: faulty arguments"},
        {0x20000, "Caller: can only get memory of a memory zipfile"},
        {0x30000, "Caller: not enough space allocated for memory zipfile"},
        {0x40000, "Caller: there was a previous error"},
        {0x50000, "Caller: additions to the zip have already been ended"},
        {0x60000, "Zip-bug: the anticipated size turned out wrong"},
        {0x70000, "Caller: the file had already been partially unzipped"},
        {0x80000, "Caller: mixing creation and opening of zip"},
        {0x1000000, "Zip-bug: internal initialisation not completed"},
        {0x2000000, "Zip-bug: trying to seek the unseekable"},
        {0x4000000, "Zip-bug: tried to change mind, but not allowed"},
        {0x5000000, "Zip-bug: an internal error during flation"},
        {0x2, "unknown zip result code"},
        {0x700000, "unknown zip result code"},
    };
    for (const auto& c : cases) {
        char text[80];
        EXPECT_EQ(ZipFormatMessage(c.first, text, sizeof text), std::string(c.second).size());
        EXPECT_STREQ(text, c.second);
    }
}

TEST(ZipMessage, TextIsCutToTheBufferAndAlwaysTerminated) {
    char text[10];
    std::fill(std::begin(text), std::end(text), 'x');
    EXPECT_EQ(ZipFormatMessage(kZipCorrupt, text, 10), 35u);
    EXPECT_STREQ(text, "Zipfile i");
    text[0] = 'x';
    EXPECT_EQ(ZipFormatMessage(kZipCorrupt, text, 1), 35u);
    EXPECT_EQ(text[0], '\0');
    EXPECT_EQ(ZipFormatMessage(kZipCorrupt, nullptr, 10), 35u);
    text[0] = 'x';
    EXPECT_EQ(ZipFormatMessage(kZipCorrupt, text, 0), 35u);
    EXPECT_EQ(text[0], 'x');
}

TEST(ZipMessage, LastResultFollowsEveryCall) {
    auto archive = Archive::Open("stored.zip");
    ZipEntry entry;
    EXPECT_EQ(ZipGetItem(archive->handle, 50, &entry), kZipArguments);
    char text[80];
    ZipFormatMessage(kZipLastResult, text, sizeof text);
    EXPECT_STREQ(text, "Caller: faulty arguments");
    EXPECT_EQ(ZipGetItem(archive->handle, 0, &entry), kZipSuccess);
    EXPECT_EQ(LastResult(), kZipSuccess);
    int32_t index;
    EXPECT_EQ(ZipFindItem(archive->handle, "nothing", false, &index, nullptr), kZipNotFound);
    EXPECT_EQ(LastResult(), kZipNotFound);
}

TEST(ZipMessage, EveryCallChecksItsHandle) {
    ZipHandle other{2, nullptr};
    ZipEntry entry;
    int32_t index;
    char buffer[4];
    for (ZipHandle* handle : {static_cast<ZipHandle*>(nullptr), &other}) {
        const uint32_t expected = handle ? kZipMixed : kZipArguments;
        EXPECT_EQ(ZipGetItem(handle, 0, &entry), expected);
        EXPECT_EQ(LastResult(), expected);
        EXPECT_EQ(ZipFindItem(handle, "a", false, &index, &entry), expected);
        EXPECT_EQ(ZipUnzipItem(handle, 0, buffer, 4, kZipToMemory), expected);
        EXPECT_EQ(ZipUnzipItemToFile(handle, 0, "a"), expected);
        EXPECT_EQ(ZipUnzipItemToHandle(handle, 0, platform::kNoFile), expected);
        EXPECT_EQ(ZipUnzipItemToMemory(handle, 0, buffer, 4), expected);
        EXPECT_EQ(ZipSetBaseDir(handle, "a"), expected);
        EXPECT_EQ(ZipSetUnpackLimit(handle, 1), expected);
        EXPECT_EQ(ZipClose(handle), expected);
    }
}

TEST(ZipMessage, FaultyArgumentsAreRefused) {
    auto archive = Archive::Open("stored.zip");
    ZipHandle* zip = archive->handle;
    char buffer[4];
    EXPECT_EQ(ZipUnzipItem(zip, 0, buffer, 4, 0), kZipArguments);
    EXPECT_EQ(ZipUnzipItem(zip, 0, buffer, 4, 4), kZipArguments);
    EXPECT_EQ(ZipUnzipItem(zip, 0, nullptr, 0, kZipToFile), kZipArguments);
    EXPECT_EQ(ZipUnzipItemToMemory(zip, 0, nullptr, 4), kZipArguments);
    EXPECT_EQ(ZipUnzipItemToMemory(zip, 0, buffer, 0), kZipArguments);
    for (int32_t index : {-1, 10})
        EXPECT_EQ(ZipUnzipItemToFile(zip, index, "x"), kZipArguments) << index;
    EXPECT_EQ(ZipUnzipItemToMemory(zip, 10, buffer, 4), kZipArguments);
    int32_t index = 5;
    EXPECT_EQ(ZipFindItem(zip, "readme.txt", false, nullptr, nullptr), kZipArguments);
    EXPECT_EQ(ZipFindItem(zip, "readme.txt", false, &index, nullptr), kZipSuccess);
    EXPECT_EQ(index, 0);
}

}  // namespace
