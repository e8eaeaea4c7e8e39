// Every fixture, broken or not, and every input kept from fuzzing
// (tests/zip/regressions) goes through what the fuzz target does: open from
// memory, list, find by name, extract each entry into memory. Under the
// sanitizers this catches reads outside the archive and undefined behaviour on
// exactly the inputs that once found them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/ZipTestSupport.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> HostileInputs() {
    std::vector<std::string> paths;
    std::string regressions = std::getenv("VELMORA_SOURCE_DIR") ? std::getenv("VELMORA_SOURCE_DIR") : ".";
#ifdef _WIN32
    if (!regressions.empty() && regressions[0] == '/')
        regressions = "Z:" + regressions;
#endif
    regressions += "/tests/zip/regressions";
    for (const std::string& folder : {FixturePath(""), regressions}) {
        std::error_code error;
        for (const auto& item : fs::directory_iterator(fs::u8path(folder), error))
            if (item.is_regular_file())
                paths.push_back(item.path().generic_string());
    }
    return paths;
}

TEST(ZipHostileInput, EveryFixtureAndKeptFuzzInputIsReadWithoutHarm) {
    const std::vector<std::string> inputs = HostileInputs();
    ASSERT_GT(inputs.size(), 20u);
    for (const std::string& path : inputs) {
        SCOPED_TRACE(path);
        std::string bytes;
        ASSERT_TRUE(ReadWholeFile(path, &bytes));
        bytes.reserve(1);
        ZipHandle* zip = ZipOpen(bytes.data(), static_cast<uint32_t>(bytes.size()), "velmora");
        if (!zip)
            continue;
        ZipSetUnpackLimit(zip, 16u * 1024 * 1024);
        ZipEntry entry;
        ASSERT_EQ(ZipGetItem(zip, -1, &entry), kZipSuccess);
        const int32_t count = entry.index;
        char piece[4096];
        for (int32_t i = 0; i < count; ++i) {
            if (ZipGetItem(zip, i, &entry) == kZipSuccess) {
                int32_t found = -1;
                const uint32_t result = ZipFindItem(zip, entry.name, true, &found, nullptr);
                EXPECT_EQ(result == kZipSuccess, found >= 0);
            }
            int pieces = 0;
            while (ZipUnzipItemToMemory(zip, i, piece, sizeof piece) == kZipMore)
                ASSERT_LT(++pieces, 5000);  // 16 MiB in pieces of 4 KiB at most
        }
        EXPECT_EQ(ZipClose(zip), kZipSuccess);
    }
}

}  // namespace
