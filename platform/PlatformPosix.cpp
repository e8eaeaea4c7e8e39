// POSIX implementation of the platform layer, for the native build.
//
// The native build has no desktop: there is no real clipboard, no message box
// and no browser. Those services behave as a user who is not there would: the
// clipboard stays empty, a message box takes its first button, nothing opens.
#include "platform/Platform.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

uint64_t MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000000000ull + static_cast<uint64_t>(now.tv_nsec);
}

class PosixClock : public Clock {
public:
    uint32_t TickCount() override { return static_cast<uint32_t>(MonotonicNanoseconds() / 1000000ull); }
    uint64_t PerformanceCounter() override { return MonotonicNanoseconds(); }
    uint64_t PerformanceFrequency() override { return 1000000000ull; }
};

class NoKeys : public KeyState {
public:
    bool IsAsyncKeyDown(int) override { return false; }
    bool IsKeyDown(int) override { return false; }
};

class ProcessClipboard : public Clipboard {
public:
    bool GetText(std::string& text) override {
        text = text_;
        return has_;
    }
    bool SetText(const std::string& text) override {
        text_ = text;
        has_ = true;
        return true;
    }

private:
    std::string text_;
    bool has_ = false;
};

class StderrMessageBoxes : public MessageBoxes {
public:
    int Show(const std::string& text, const std::string& caption, unsigned style, void*) override {
        std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
        return (style & 0xF) == kMbYesNo ? kIdYes : kIdOk;
    }
};

class NoShell : public Shell {
public:
    bool Open(const std::string&, const std::string&, int) override { return false; }
};

class PosixProcess : public Process {
public:
    void Exit(int code) override {
        std::fflush(nullptr);
        std::_Exit(code);
    }
};

class XdgFolders : public KnownFolders {
public:
    std::string Get(KnownFolder folder) override {
        const char* home = std::getenv("HOME");
        if (!home || !*home)
            return std::string();
        if (folder == KnownFolder::AppData) {
            const char* config = std::getenv("XDG_CONFIG_HOME");
            return config && *config ? std::string(config) : std::string(home) + "/.config";
        }
        if (folder == KnownFolder::CommonAppData) {
            const char* data = std::getenv("XDG_DATA_HOME");
            return data && *data ? std::string(data) : std::string(home) + "/.local/share";
        }
        return std::string(home) + "/Desktop";
    }
};

}  // namespace

Clock& SystemClock() { static PosixClock clock; return clock; }
KeyState& SystemKeyState() { static NoKeys keys; return keys; }
Clipboard& SystemClipboard() { static ProcessClipboard clipboard; return clipboard; }
MessageBoxes& SystemMessageBoxes() { static StderrMessageBoxes boxes; return boxes; }
Shell& SystemShell() { static NoShell shell; return shell; }
Process& SystemProcess() { static PosixProcess process; return process; }
KnownFolders& SystemKnownFolders() { static XdgFolders folders; return folders; }

bool MakeDirectory(const std::string& path) {
    return ::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}

bool FileExists(const std::string& path) {
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0;
}

bool RemoveFile(const std::string& path) { return std::remove(path.c_str()) == 0; }

bool ReplaceFile(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool FlushToDisk(std::FILE* file) { return ::fsync(::fileno(file)) == 0; }

void SleepMs(uint32_t milliseconds) { ::usleep(static_cast<useconds_t>(milliseconds) * 1000u); }

bool LocalTime(std::time_t time, std::tm& out) { return ::localtime_r(&time, &out) != nullptr; }

}  // namespace platform
