// Window message numbers and key codes. Platform events are translated into
// these messages so that the input filter and the window procedure read them
// the same way on every platform: wParam carries the key code, button state
// or wheel delta, lParam the key's scan code and flags or the pointer
// position.
#pragma once

#include <cstdint>

namespace vesk {

enum : uint32_t {
    WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008,
    WM_PAINT = 0x000F,
    WM_CLOSE = 0x0010,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    WM_SYSKEYDOWN = 0x0104,
    WM_SYSKEYUP = 0x0105,
    WM_SYSCHAR = 0x0106,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_MBUTTONDOWN = 0x0207,
    WM_MBUTTONUP = 0x0208,
    WM_MOUSEWHEEL = 0x020A,
};

// Virtual-key codes the engine names; the rest follow the same numbering.
enum : uint32_t {
    VK_LBUTTON = 1,
    VK_RBUTTON = 2,
    VK_MBUTTON = 4,
    VK_BACK = 8,
    VK_TAB = 9,
    VK_RETURN = 13,
    VK_SHIFT = 16,
    VK_CONTROL = 17,
    VK_MENU = 18,
    VK_ESCAPE = 27,
    VK_SPACE = 32,
    VK_LSHIFT = 160,
    VK_RSHIFT = 161,
    VK_LCONTROL = 162,
    VK_RCONTROL = 163,
    VK_LMENU = 164,
    VK_RMENU = 165,
};

// Key message lParam layout.
inline constexpr uint32_t kKeyExtendedBit = 1u << 24;
inline constexpr uint32_t kKeyAltDownBit = 1u << 29;
inline constexpr uint32_t kKeyPreviousDownBit = 1u << 30;
inline constexpr uint32_t kKeyReleasedBit = 1u << 31;
inline constexpr uint32_t kLeftShiftScanCode = 42;

// One notch of the mouse wheel.
inline constexpr int kWheelDelta = 120;

struct TMessage {
    uint32_t id = 0;
    uint32_t wParam = 0;
    uint32_t lParam = 0;
};

}  // namespace vesk
