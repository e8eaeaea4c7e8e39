#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/floor/Floor.h"

namespace {

bool g_running = true;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        g_running = false;
        ::DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

// Milliseconds from the performance counter, as the client's pacing reads them.
uint64_t Milliseconds() {
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0)
        ::QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return uint64_t(now.QuadPart) * 1000u / uint64_t(frequency.QuadPart);
}

}  // namespace

FloorPicture::FloorPicture() : pixels(size_t(kWidth) * kHeight * 4) {
    // A smooth, opaque picture; what it shows does not change the cost.
    uint8_t* p = pixels.data();
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x, p += 4) {
            p[0] = uint8_t(x * 255 / kWidth);
            p[1] = uint8_t(y * 255 / kHeight);
            p[2] = uint8_t((x + y) & 0xFF);
            p[3] = 255;
        }
}

RECT CoverRect(int clientWidth, int clientHeight) {
    const double ratio = double(FloorPicture::kUsedWidth) / FloorPicture::kUsedHeight;
    int width = FloorPicture::kUsedWidth;
    int height = FloorPicture::kUsedHeight;
    if (clientWidth < width) {
        width = clientWidth;
        height = int(clientWidth / ratio);
    }
    if (height < clientHeight) {
        width = int(ratio * clientHeight);
        height = clientHeight;
    }
    if (width < clientWidth) {
        width = clientWidth;
        height = int(clientWidth / ratio);
    }
    const int left = (clientWidth - width) / 2;
    const int top = (clientHeight - height) / 2;
    return RECT{left, top, left + width, top + height};
}

int RunFloor(FloorDrawer& drawer, const char* name, int argc, char** argv) {
    const int width = argc > 2 ? std::atoi(argv[1]) : 1000;
    const int height = argc > 2 ? std::atoi(argv[2]) : 700;
    const int period = int(std::ceil(1000.0 / 60));

    HINSTANCE module = ::GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = module;
    windowClass.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "FloorWindow";
    ::RegisterClassExA(&windowClass);
    RECT outer = {0, 0, width, height};
    ::AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_WINDOWEDGE);
    const std::string title = std::string("Velmora floor ") + name;
    HWND window = ::CreateWindowExA(WS_EX_WINDOWEDGE, "FloorWindow", title.c_str(), WS_OVERLAPPEDWINDOW,
                                    CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top,
                                    nullptr, nullptr, module, nullptr);
    if (!window)
        return 1;
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::UpdateWindow(window);

    const FloorPicture picture;
    if (!drawer.Init(window, width, height, picture)) {
        std::fprintf(stderr, "%s does not start\n", name);
        return 1;
    }
    uint32_t frames = 0;
    uint64_t stamp = Milliseconds();
    while (g_running) {
        const uint32_t start = uint32_t(Milliseconds());
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        if (!g_running)
            break;
        drawer.Frame();
        ++frames;
        const uint64_t now = Milliseconds();
        if (now - stamp > 999) {
            const std::string shown = title + " [FPS: " + std::to_string(int(frames * 1000.0 / (now - stamp))) + "]";
            ::SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(shown.c_str()));
            frames = 0;
            stamp = now;
        }
        const int32_t wait = int32_t(uint32_t(period) - (uint32_t(Milliseconds()) - start));
        if (wait >= 1 && wait <= 999)
            ::Sleep(DWORD(wait));
    }
    return 0;
}
