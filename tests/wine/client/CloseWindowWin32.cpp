// Sends WM_CLOSE to the client's main window, as its close button does; the
// tests' display has no window manager to click on.
#include <cstdio>

#include "platform/Win32.h"

int main() {
    HWND window = ::FindWindowA("MainWindow", nullptr);
    if (!window) {
        std::printf("no main window\n");
        return 1;
    }
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    return 0;
}
