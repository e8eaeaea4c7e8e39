// The operating-system services that the portable code of the client needs.
//
// Everything above this layer is plain C++ that also builds and runs on Linux,
// so that it can be tested quickly under the sanitizers. The Windows build
// implements these calls with the real Win32 functions (PlatformWin32.cpp), the
// native build with POSIX ones (PlatformPosix.cpp).
//
// Tests replace the clock, the key state, the clipboard, the message box, the
// shell, the process exit and the known folders with their own objects (see
// the Set... functions below); a test's message box answers from a script and
// never blocks, and its process exit only records the code.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>

namespace platform {

// Message-box styles and answers, with their Win32 values so that the
// numbers mean the same thing in both builds.
enum : unsigned {
    kMbOk = 0x0,
    kMbYesNo = 0x4,
    kMbIconError = 0x10,
    kMbIconQuestion = 0x20,
    kMbIconExclamation = 0x30,
    kMbIconInformation = 0x40,
};
enum : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };
// Show commands of a started program's window (SW_...).
enum : int { kSwShowNormal = 1, kSwShow = 5 };

// Virtual-key codes the portable code asks about.
enum : int {
    kVkBack = 0x08,
    kVkTab = 0x09,
    kVkReturn = 0x0D,
    kVkShift = 0x10,
    kVkControl = 0x11,
    kVkMenu = 0x12,
    kVkEscape = 0x1B,
    kVkSpace = 0x20,
    kVkEnd = 0x23,
    kVkHome = 0x24,
    kVkLeft = 0x25,
    kVkUp = 0x26,
    kVkRight = 0x27,
    kVkDown = 0x28,
    kVkDelete = 0x2E,
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t TickCount() = 0;             // GetTickCount
    virtual uint64_t PerformanceCounter() = 0;    // QueryPerformanceCounter
    virtual uint64_t PerformanceFrequency() = 0;  // QueryPerformanceFrequency
};

class KeyState {
public:
    virtual ~KeyState() = default;
    // GetAsyncKeyState: the key is physically down right now.
    virtual bool IsAsyncKeyDown(int virtualKey) = 0;
    // GetKeyState: the key was down when the current message was queued.
    virtual bool IsKeyDown(int virtualKey) = 0;
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // False when the clipboard holds no text or cannot be opened or read.
    virtual bool GetText(std::string& text) = 0;
    // False when the clipboard cannot be opened; it then stays as it was.
    virtual bool SetText(const std::string& text) = 0;
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A modal box with the given kMb... style; returns a kId... answer. An
    // owner window (an HWND; null for none) is disabled while the box is up.
    virtual int Show(const std::string& text, const std::string& caption, unsigned style, void* owner) = 0;
};

class Shell {
public:
    virtual ~Shell() = default;
    // ShellExecuteA(null, "open", target, parameters, null, showCommand):
    // opens a web page in the browser or starts a program. True on success.
    virtual bool Open(const std::string& target, const std::string& parameters, int showCommand) = 0;
};

class Process {
public:
    virtual ~Process() = default;
    // Ends the program at once with the exit code: the C runtime's streams
    // are flushed, nothing else is saved, closed or destroyed first (no
    // static destructors, no DLL detach). The system's own never returns.
    virtual void Exit(int code) = 0;
};

// The object behind each service. Passing null restores the system's own.
Clock& GetClock();
void SetClock(Clock* clock);
KeyState& GetKeyState();
void SetKeyState(KeyState* keys);
Clipboard& GetClipboard();
void SetClipboard(Clipboard* clipboard);
MessageBoxes& GetMessageBoxes();
void SetMessageBoxes(MessageBoxes* boxes);
Shell& GetShell();
void SetShell(Shell* shell);
Process& GetProcess();
void SetProcess(Process* process);

// Shorthands for the calls above.
inline int ShowMessageBox(const std::string& text, const std::string& caption, unsigned style,
                          void* owner = nullptr) {
    return GetMessageBoxes().Show(text, caption, style, owner);
}
inline bool OpenInShell(const std::string& target, const std::string& parameters = std::string(),
                        int showCommand = kSwShowNormal) {
    return GetShell().Open(target, parameters, showCommand);
}
inline void EndProcess(int code) { GetProcess().Exit(code); }

// Folders and files.
// AppData is the user's roaming folder, CommonAppData the one shared by every
// user of the machine.
enum class KnownFolder { AppData, Desktop, CommonAppData };

class KnownFolders {
public:
    virtual ~KnownFolders() = default;
    // SHGetFolderPathA; an empty string when the shell cannot give the folder.
    virtual std::string Get(KnownFolder folder) = 0;
};
KnownFolders& GetKnownFolders();
void SetKnownFolders(KnownFolders* folders);
inline std::string GetKnownFolder(KnownFolder folder) { return GetKnownFolders().Get(folder); }

// _mkdir; true when the folder was made or already exists.
bool MakeDirectory(const std::string& path);
bool FileExists(const std::string& path);
bool RemoveFile(const std::string& path);
// Replaces `to` by `from` in one step where the system allows it.
bool ReplaceFile(const std::string& from, const std::string& to);
// Hands what was written to an open file on to the disk (FlushFileBuffers,
// fsync), past the system's own caches; the C library's buffer must have been
// flushed first. False when the system reports a failure.
bool FlushToDisk(std::FILE* file);

void SleepMs(uint32_t milliseconds);

// The local time of a calendar time, safe to call from any thread (localtime
// shares one buffer between threads on some systems). False when the time
// cannot be converted.
bool LocalTime(std::time_t time, std::tm& out);

}  // namespace platform
