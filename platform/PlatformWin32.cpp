// Win32 implementation of the platform layer.
#include "platform/Platform.h"
#include "platform/Win32.h"

#include <direct.h>
#include <io.h>
#include <shellapi.h>
#include <shlobj.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform {

namespace {

class Win32Clock : public Clock {
public:
    uint32_t TickCount() override { return ::GetTickCount(); }
    uint64_t PerformanceCounter() override {
        LARGE_INTEGER value;
        ::QueryPerformanceCounter(&value);
        return static_cast<uint64_t>(value.QuadPart);
    }
    uint64_t PerformanceFrequency() override {
        LARGE_INTEGER value;
        ::QueryPerformanceFrequency(&value);
        return static_cast<uint64_t>(value.QuadPart);
    }
};

class Win32KeyState : public KeyState {
public:
    bool IsAsyncKeyDown(int virtualKey) override { return (::GetAsyncKeyState(virtualKey) & 0x8000) != 0; }
    bool IsKeyDown(int virtualKey) override { return (::GetKeyState(virtualKey) & 0x8000) != 0; }
};

class Win32Clipboard : public Clipboard {
public:
    bool GetText(std::string& text) override {
        text.clear();
        if (!::IsClipboardFormatAvailable(CF_TEXT) || !::OpenClipboard(nullptr))
            return false;
        bool ok = false;
        if (HANDLE block = ::GetClipboardData(CF_TEXT)) {
            // Never read past the block, even when its text has no terminating zero.
            const SIZE_T size = ::GlobalSize(block);
            if (const char* data = static_cast<const char*>(::GlobalLock(block))) {
                const void* end = std::memchr(data, 0, size);
                text.assign(data, end ? static_cast<const char*>(end) - data : size);
                ::GlobalUnlock(block);
                ok = true;
            }
        }
        ::CloseClipboard();
        return ok;
    }

    bool SetText(const std::string& text) override {
        if (!::OpenClipboard(nullptr))
            return false;
        ::EmptyClipboard();
        bool ok = false;
        if (HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 4)) {
            if (char* data = static_cast<char*>(::GlobalLock(block))) {
                std::memcpy(data, text.c_str(), text.size() + 1);
                ::GlobalUnlock(block);
                ok = ::SetClipboardData(CF_TEXT, block) != nullptr;  // the clipboard owns the block now
            }
            if (!ok)
                ::GlobalFree(block);
        }
        ::CloseClipboard();
        return ok;
    }
};

class Win32MessageBoxes : public MessageBoxes {
public:
    int Show(const std::string& text, const std::string& caption, unsigned style, void* owner) override {
        return ::MessageBoxA(static_cast<HWND>(owner), text.c_str(), caption.c_str(), style);
    }
};

class Win32Shell : public Shell {
public:
    bool Open(const std::string& target, const std::string& parameters, int showCommand) override {
        HINSTANCE result = ::ShellExecuteA(nullptr, "open", target.c_str(),
                                           parameters.empty() ? nullptr : parameters.c_str(), nullptr,
                                           showCommand);
        return reinterpret_cast<INT_PTR>(result) > 32;
    }
};

class Win32Process : public Process {
public:
    void Exit(int code) override {
        std::fflush(nullptr);
        // Not ExitProcess: its DLL detach and static destructors race the
        // threads a back end leaves running (Direct3D under Wine), and the
        // process is then sometimes killed by a signal instead of ending
        // with the code.
        ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(code));
        ::ExitProcess(static_cast<UINT>(code));
    }
};

class ShellFolders : public KnownFolders {
public:
    std::string Get(KnownFolder folder) override {
        char path[MAX_PATH] = {};
        const int csidl = folder == KnownFolder::AppData         ? CSIDL_APPDATA
                          : folder == KnownFolder::CommonAppData ? CSIDL_COMMON_APPDATA
                                                                 : CSIDL_DESKTOP;
        if (FAILED(::SHGetFolderPathA(nullptr, csidl, nullptr, 0, path)))
            return std::string();
        return path;
    }
};

}  // namespace

Clock& SystemClock() { static Win32Clock clock; return clock; }
KeyState& SystemKeyState() { static Win32KeyState keys; return keys; }
Clipboard& SystemClipboard() { static Win32Clipboard clipboard; return clipboard; }
MessageBoxes& SystemMessageBoxes() { static Win32MessageBoxes boxes; return boxes; }
Shell& SystemShell() { static Win32Shell shell; return shell; }
Process& SystemProcess() { static Win32Process process; return process; }
KnownFolders& SystemKnownFolders() { static ShellFolders folders; return folders; }

bool MakeDirectory(const std::string& path) {
    return _mkdir(path.c_str()) == 0 || errno == EEXIST;
}

bool FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool RemoveFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

bool ReplaceFile(const std::string& from, const std::string& to) {
    return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool FlushToDisk(std::FILE* file) {
    const HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file)));
    return handle != INVALID_HANDLE_VALUE && ::FlushFileBuffers(handle) != 0;
}

void SleepMs(uint32_t milliseconds) { ::Sleep(milliseconds); }

bool LocalTime(std::time_t time, std::tm& out) { return ::localtime_s(&out, &time) == 0; }

}  // namespace platform
