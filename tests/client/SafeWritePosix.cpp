// A safe write hands the new file to the disk before it takes the old one's
// place, so a power loss leaves the old file or the new one, never an empty
// one. The system calls are watched by defining them in this program, which
// the linker prefers to the C library's; each passes on to the real one.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include "client/Client.h"
#include "platform/Platform.h"
#include "platform/WholeFile.h"
#include "tests/support/ClientFixture.h"
#include "tests/support/Scratch.h"

namespace {

std::vector<std::string>* watched = nullptr;  // the calls while a test watches
bool failFlush = false;

std::string FileOf(int descriptor) {
    char target[PATH_MAX] = {};
    const std::string link = "/proc/self/fd/" + std::to_string(descriptor);
    const ssize_t length = ::readlink(link.c_str(), target, sizeof target - 1);
    return length > 0 ? std::string(target, size_t(length)) : std::string("?");
}

template <class Function>
Function Real(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int fsync(int descriptor) {
    static const auto real = Real<int (*)(int)>("fsync");
    if (watched)
        watched->push_back("fsync " + FileOf(descriptor));
    if (failFlush) {
        errno = EIO;
        return -1;
    }
    return real(descriptor);
}

extern "C" int rename(const char* from, const char* to) noexcept {
    static const auto real = Real<int (*)(const char*, const char*)>("rename");
    if (watched)
        watched->push_back(std::string("rename ") + from + " -> " + to);
    return real(from, to);
}

namespace {

class SafeWriteTest : public ::testing::Test {
protected:
    SafeWriteTest() { watched = &calls; }
    ~SafeWriteTest() override {
        watched = nullptr;
        failFlush = false;
    }

    ScratchDir dir{"safewrite"};
    std::vector<std::string> calls;
};

TEST_F(SafeWriteTest, TheNewFileReachesTheDiskBeforeItReplacesTheOld) {
    const std::string path = dir.Path("velmora.ini");
    WriteFileBytes(path, "old");
    calls.clear();
    ASSERT_TRUE(platform::WriteFileSafely(path, std::string("new")));
    EXPECT_EQ(calls, (std::vector<std::string>{"fsync " + path + ".tmp", "rename " + path + ".tmp -> " + path}));
    EXPECT_EQ(ReadFileBytes(path), "new");
}

TEST_F(SafeWriteTest, AFailedFlushKeepsTheOldFile) {
    const std::string path = dir.Path("velmora.ini");
    WriteFileBytes(path, "old");
    failFlush = true;
    EXPECT_FALSE(platform::WriteFileSafely(path, std::string("new")));
    EXPECT_EQ(ReadFileBytes(path), "old");
    EXPECT_FALSE(platform::FileExists(path + ".tmp"));
}

// Leaving the game writes the options file once, with the layout in it.
TEST(SafeWriteClientTest, LeavingTheGameWritesTheOptionsOnce) {
    ClientFixture fixture;
    Client& client = fixture.StartClient();
    client.StartGame(false);
    std::vector<std::string> calls;
    watched = &calls;
    client.ReturnToMenu();
    watched = nullptr;
    const std::string options = fixture.OptionsFolder() + "/velmora.ini";
    size_t writes = 0;
    for (const std::string& call : calls)
        writes += call == "rename " + options + ".tmp -> " + options ? 1 : 0;
    EXPECT_EQ(writes, 1u);
}

}  // namespace
