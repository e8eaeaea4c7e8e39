#include "platform/Platform.h"

#include <atomic>

namespace platform {

// The system's own services, defined by PlatformWin32.cpp or PlatformPosix.cpp.
Clock& SystemClock();
KeyState& SystemKeyState();
Clipboard& SystemClipboard();
MessageBoxes& SystemMessageBoxes();
Shell& SystemShell();
Process& SystemProcess();
KnownFolders& SystemKnownFolders();

namespace {
// The clock is read from the status and screenshot threads as well.
std::atomic<Clock*> g_clock{nullptr};
KeyState* g_keys = nullptr;
Clipboard* g_clipboard = nullptr;
MessageBoxes* g_boxes = nullptr;
Shell* g_shell = nullptr;
Process* g_process = nullptr;
KnownFolders* g_folders = nullptr;
}  // namespace

Clock& GetClock() {
    Clock* clock = g_clock.load();
    return clock ? *clock : SystemClock();
}
void SetClock(Clock* clock) { g_clock.store(clock); }

KeyState& GetKeyState() { return g_keys ? *g_keys : SystemKeyState(); }
void SetKeyState(KeyState* keys) { g_keys = keys; }

Clipboard& GetClipboard() { return g_clipboard ? *g_clipboard : SystemClipboard(); }
void SetClipboard(Clipboard* clipboard) { g_clipboard = clipboard; }

MessageBoxes& GetMessageBoxes() { return g_boxes ? *g_boxes : SystemMessageBoxes(); }
void SetMessageBoxes(MessageBoxes* boxes) { g_boxes = boxes; }

Shell& GetShell() { return g_shell ? *g_shell : SystemShell(); }
void SetShell(Shell* shell) { g_shell = shell; }

Process& GetProcess() { return g_process ? *g_process : SystemProcess(); }
void SetProcess(Process* process) { g_process = process; }

KnownFolders& GetKnownFolders() { return g_folders ? *g_folders : SystemKnownFolders(); }
void SetKnownFolders(KnownFolders* folders) { g_folders = folders; }

}  // namespace platform
