// Opens the main window the way the client does and prints, one line each,
// what the window driver needs to check: the folders, where the client area
// lies on the screen, every input event popped, and the close request.
#include <cstdarg>
#include <cstdio>

#include "engine/Clock.h"
#include "engine/Folders.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
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

// What the client's close callback does in the end: leave the main loop.
void OnCloseRequest() {
    Print("close-callback");
    g_test->running = false;
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
