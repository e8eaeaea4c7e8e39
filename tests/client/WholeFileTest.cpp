// Reading files whole and reading only their start, as the program's own
// files are read.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/WholeFile.h"
#include "tests/support/Scratch.h"

namespace {

TEST(WholeFileTest, OnlyTheStartOfAFileIsReadUpToTheLimit) {
    ScratchDir dir("whole-file");
    const std::string path = dir.Path("file.bin");
    const std::string start = "0123456789";
    const struct {
        const char* name;
        uintmax_t size;  // the start, then a hole up to this size
        size_t limit;
        size_t read;
    } cases[] = {
        {"shorter than the limit", 10, 16, 10},
        {"as long as the limit", 10, 10, 10},
        {"one byte longer", 10, 9, 9},
        {"a limit of 0", 10, 0, 0},
        {"64 MiB against a limit of 4 KiB", uintmax_t(64) << 20, 4096, 4096},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(path, start);
        std::filesystem::resize_file(path, c.size);
        std::string text;
        ASSERT_TRUE(platform::ReadFileStart(path, text, c.limit));
        EXPECT_EQ(text.size(), c.read);
        EXPECT_EQ(text.substr(0, 10), start.substr(0, c.read));
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(platform::ReadFileStart(path, bytes, c.limit));
        EXPECT_EQ(bytes.size(), c.read);
    }
    std::string text = "old";
    EXPECT_FALSE(platform::ReadFileStart(dir.Path("missing.bin"), text, 10));
}

}  // namespace
