// Opens the main window the way the client does and prints, one line each,
// what the window driver needs to check: the folders, where the client area
// lies on the screen, every input event popped, and the close request.
#include <cstdarg>
#include <cstdio>
#include <thread>

#include "engine/Clock.h"
#include "engine/Folders.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "platform/Platform.h"
#include "platform/Win32.h"

namespace {

KEngine2* g_test = nullptr;

void Print(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::putchar('\n');
    std::fflush(stdout);
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The first close request is counted; the second ends the main loop, as
// the client's callback does in the end.
void OnCloseRequest() {
    static int requests = 0;
    Print("close-callback");
    if (++requests == 2)
        g_test->running = false;
}

// Shows a real message box through the platform, with or without the main
// window as its owner, and prints what a watcher thread saw while it was up:
//   box <caption> main-enabled <0|1> owner-is-main <0|1>
// The watcher presses the box's OK once it has looked.
void ShowBoxAndLook(const char* caption, HWND owner, HWND mainWindow) {
    std::thread watcher([caption, mainWindow] {
        HWND box = nullptr;
        const DWORD start = ::GetTickCount();
        while (!(box = ::FindWindowA("#32770", caption)) && ::GetTickCount() - start < 20000)
            ::Sleep(20);
        if (!box) {
            Print("box %s not-found", caption);
            return;
        }
        Print("box %s main-enabled %d owner-is-main %d", caption, ::IsWindowEnabled(mainWindow) ? 1 : 0,
              ::GetWindow(box, GW_OWNER) == mainWindow ? 1 : 0);
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    platform::ShowMessageBox("A box of the window test.", caption, platform::kMbOk, owner);
    watcher.join();
}

}  // namespace

int main() {
    GetTicks();
    g_test = new KEngine2();
    // As in the client: the wheel event carries the GUI's mouse position.
    GUIManager::Attach(*g_test);
    // The application-data folder is not created by GetAppDataFolder: its
    // parent is what the shell gave.
    const std::string appData = GetAppDataFolder();
    const std::string desktop = GetFolderPath();
    Print("appdata %s", appData.c_str());
    Print("desktop %s", desktop.c_str());
    Print("appdata-parent-is-folder %d", IsFolder(appData.substr(0, appData.rfind('/'))) ? 1 : 0);
    Print("desktop-is-folder %d", IsFolder(desktop) ? 1 : 0);

    g_test->SetSize(800, 600);
    g_test->SetTitle("Velmora Engine Test", true);
    if (!g_test->CreateMainWindow(false)) {
        Print("no-window");
        return 1;
    }
    g_test->closeCallback = &OnCloseRequest;

    HWND window = static_cast<HWND>(g_test->window);
    POINT origin = {0, 0};
    ::ClientToScreen(window, &origin);
    RECT client = {};
    ::GetClientRect(window, &client);
    Print("client %ld %ld %ld %ld", origin.x, origin.y, client.right, client.bottom);
    MINMAXINFO limits = {};
    ::SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    Print("min-track %ld %ld", limits.ptMinTrackSize.x, limits.ptMinTrackSize.y);
    // An owned box disables the main window while it is up; one without an
    // owner leaves it alone.
    ShowBoxAndLook("Velmora Owned Box", window, window);
    ShowBoxAndLook("Velmora Free Box", nullptr, window);
    Print("main-enabled-after %d", ::IsWindowEnabled(window) ? 1 : 0);
    Print("ready");

    while (g_test->running) {
        g_test->PumpMessages();
        while (g_test->HasEvents()) {
            const InputEvent event = g_test->PopEvent();
            Print("event %d %d %d %d", event.type, event.a, event.b, event.c);
        }
        ::Sleep(5);
    }
    Print("exit");
    delete g_test;
    return 0;
}
