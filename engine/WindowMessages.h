#pragma once

#include <cstdint>

// The window messages the main window handles, with their Win32 numbers, so the
// translation into input events is portable and tested without a window.
namespace wm {
constexpr uint32_t kDestroy = 0x0002;
constexpr uint32_t kSize = 0x0005;
constexpr uint32_t kSetFocus = 0x0007;
constexpr uint32_t kKillFocus = 0x0008;
constexpr uint32_t kClose = 0x0010;
constexpr uint32_t kEraseBackground = 0x0014;
constexpr uint32_t kSetCursor = 0x0020;
constexpr uint32_t kGetMinMaxInfo = 0x0024;
constexpr uint32_t kKeyDown = 0x0100;
constexpr uint32_t kKeyUp = 0x0101;
constexpr uint32_t kChar = 0x0102;
constexpr uint32_t kSysKeyDown = 0x0104;
constexpr uint32_t kSysKeyUp = 0x0105;
constexpr uint32_t kMouseMove = 0x0200;
constexpr uint32_t kLeftButtonDown = 0x0201;
constexpr uint32_t kLeftButtonUp = 0x0202;
constexpr uint32_t kRightButtonDown = 0x0204;
constexpr uint32_t kRightButtonUp = 0x0205;
constexpr uint32_t kMiddleButtonDown = 0x0207;
constexpr uint32_t kMiddleButtonUp = 0x0208;
constexpr uint32_t kMouseWheel = 0x020A;

constexpr uint64_t kSizeMaximized = 2;  // SIZE_MAXIMIZED in WM_SIZE's wParam
constexpr uint64_t kKeyF4 = 0x73;       // VK_F4
constexpr int64_t kAltHeld = 1 << 29;   // a key message's context code: Alt is down

// The smallest outer size the window can be dragged to.
constexpr int kMinTrackWidth = 750;
constexpr int kMinTrackHeight = 580;
}  // namespace wm
