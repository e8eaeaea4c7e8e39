// The window side of the application object: the window class "MainWindow",
// its window procedure, the message pump, mouse capture and cursors.
#include "engine/KEngine2.h"

#include "engine/Cursor.h"
#include "engine/Sprite.h"
#include "engine/WindowMessages.h"
#include "platform/Platform.h"
#include "platform/Win32.h"

namespace {

HWND Handle(void* window) { return static_cast<HWND>(window); }

// A main window that has just been replaced: what it hears while it is
// destroyed (losing the focus, its own destruction) is no news for the
// application, whose window is the new one.
HWND g_retiredWindow = nullptr;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window == g_retiredWindow)
        return ::DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_GETMINMAXINFO) {
        MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = wm::kMinTrackWidth;
        info->ptMinTrackSize.y = wm::kMinTrackHeight;
        return 1;
    }
    if (g_app && g_app->HandleMessage(message, uint64_t(wParam), int64_t(lParam)))
        return 1;
    return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool KEngine2::CreateMainWindow(bool maximised) {
    if (windowless) {
        shownTitle = title;
        SetCursor(1);
        return true;
    }
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = 0;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = module;
    windowClass.hIcon = ::LoadIconA(module, MAKEINTRESOURCEA(101));
    windowClass.hIconSm = ::LoadIconA(module, MAKEINTRESOURCEA(102));
    windowClass.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "MainWindow";
    // The class stays registered for the life of the process: a second
    // application object (after the first was deleted) finds it there.
    if (!::RegisterClassExA(&windowClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        platform::ShowMessageBox("Window registration failed.", "Error", platform::kMbIconExclamation);
        return false;
    }

    HWND handle = Handle(MakeWindow());
    if (!handle) {
        platform::ShowMessageBox("Window creation failed.", "Error", platform::kMbIconExclamation);
        return false;
    }
    window = handle;
    shownTitle = title;
    ::ShowWindow(handle, maximised ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    ::UpdateWindow(handle);
    SetCursor(1);
    return true;
}

void* KEngine2::MakeWindow() {
    // The stored size is a client size (WM_SIZE stores the client area, and the
    // options keep it): grow it by the frame, or the window would shrink by its
    // frame on every start.
    RECT outer = {0, 0, clientWidth, clientHeight};
    ::AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_WINDOWEDGE);
    return ::CreateWindowExA(WS_EX_WINDOWEDGE, "MainWindow", title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                             CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}

bool KEngine2::ReplaceMainWindow() {
    HWND old = Handle(window);
    if (!old)
        return false;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    ::GetWindowPlacement(old, &placement);
    HWND handle = Handle(MakeWindow());
    if (!handle)
        return false;
    window = handle;
    hadNativeWindow = false;
    // Where the old one was, as large, maximised or not; shown by this.
    ::SetWindowPlacement(handle, &placement);
    ::SetWindowTextA(handle, shownTitle.c_str());
    g_retiredWindow = old;
    ::DestroyWindow(old);
    g_retiredWindow = nullptr;
    ::SetForegroundWindow(handle);
    ::SetFocus(handle);
    SetCursor(cursorKind > 0 ? cursorKind : 1);
    return true;
}

void KEngine2::PumpMessages() {
    if (!window)
        return;
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    CheckWindowLost();
    // Under Wine a title set on a window whose X window was destroyed from
    // outside goes to the X server as a property change on a window that is
    // gone, and Xlib's error ends the whole process. Titles wait for this
    // point, where Wine has just read the news of such a destruction.
    if (titlePending && !windowLost) {
        titlePending = false;
        ::SendMessageA(Handle(window), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(shownTitle.c_str()));
    }
}

void KEngine2::CheckWindowLost() {
    // Under Wine a window whose X window is destroyed from outside (by a
    // window manager, or xdotool windowclose) lives on without it and gets no
    // message at all; the only sign is that Wine's X11 driver drops the
    // window's property naming its X window. On Windows there is no such
    // property, and a destroyed window gets WM_DESTROY.
    if (windowLost)
        return;
    const bool native = ::GetPropA(Handle(window), "__wine_x11_whole_window") != nullptr;
    hadNativeWindow = hadNativeWindow || native;
    if ((hadNativeWindow && !native) || !::IsWindow(Handle(window)))
        OnWindowLost();
}

void KEngine2::SetWindowText(const std::string& text) {
    // The window shows it at the next pump (see PumpMessages).
    shownTitle = text;
    titlePending = true;
}

void KEngine2::CaptureMouse() { ::SetCapture(Handle(window)); }
void KEngine2::ReleaseMouse() { ::ReleaseCapture(); }
void KEngine2::CloseMainWindow() { ::DestroyWindow(Handle(window)); }
void KEngine2::PostQuit() { ::PostQuitMessage(0); }

void KEngine2::SetCursor(int kind) {
    static const int kSystemCursors[] = {0, 32512 /*IDC_ARROW*/, 32515 /*IDC_CROSS*/, 32649 /*IDC_HAND*/,
                                         32645 /*IDC_SIZENS*/, 32644 /*IDC_SIZEWE*/};
    if (kind >= 0 && kind <= 5) {
        HCURSOR cursor = kind == 0 ? nullptr : ::LoadCursorA(nullptr, MAKEINTRESOURCEA(kSystemCursors[kind]));
        ::SetCursor(cursor);
    }
    cursorKind = kind;
}

void KEngine2::UseCursor(CursorHandle* cursor) {
    if (!cursor)
        return;
    ::SetCursor(static_cast<HCURSOR>(cursor->handle));
    cursorKind = -1;
}

CursorHandle* KEngine2::CreateCursor(SpriteRecord* image, int hotSpotX, int hotSpotY) {
    if (!IsCursorImage(image))
        return nullptr;
    uint8_t andPlane[kCursorPlaneBytes];
    uint8_t xorPlane[kCursorPlaneBytes];
    BuildCursorPlanes(*image, andPlane, xorPlane);
    CursorHandle* cursor = new CursorHandle();
    cursor->handle = ::CreateCursor(::GetModuleHandleA(nullptr), hotSpotX, hotSpotY, kCursorSize, kCursorSize,
                                    andPlane, xorPlane);
    return cursor;
}

void DeleteCursorHandle(CursorHandle* cursor) {
    if (!cursor)
        return;
    if (cursor->handle)
        ::DestroyCursor(static_cast<HCURSOR>(cursor->handle));
    delete cursor;
}
