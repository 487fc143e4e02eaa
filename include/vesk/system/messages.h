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

// Virtual-key codes, in the platform's numbering: every code the keyboard
// produces has a name here. Letters and digits are their upper-case ASCII
// codes; the sided modifier codes come with the generic ones (a press of
// the left shift key hits both VK_SHIFT and VK_LSHIFT).
enum : uint32_t {
    VK_LBUTTON = 1,
    VK_RBUTTON = 2,
    VK_MBUTTON = 4,
    VK_BACK = 8,
    VK_TAB = 9,
    VK_RETURN = 13,  // both Enter keys
    VK_SHIFT = 16,
    VK_CONTROL = 17,
    VK_MENU = 18,  // Alt
    VK_PAUSE = 19,
    VK_CAPITAL = 20,  // Caps Lock
    VK_ESCAPE = 27,
    VK_SPACE = 32,
    VK_PRIOR = 33,  // Page Up
    VK_NEXT = 34,   // Page Down
    VK_END = 35,
    VK_HOME = 36,
    VK_LEFT = 37,
    VK_UP = 38,
    VK_RIGHT = 39,
    VK_DOWN = 40,
    VK_SNAPSHOT = 44,  // Print Screen
    VK_INSERT = 45,
    VK_DELETE = 46,
    VK_0 = 48, VK_1, VK_2, VK_3, VK_4, VK_5, VK_6, VK_7, VK_8, VK_9,
    VK_A = 65, VK_B, VK_C, VK_D, VK_E, VK_F, VK_G, VK_H, VK_I, VK_J, VK_K, VK_L, VK_M,
    VK_N, VK_O, VK_P, VK_Q, VK_R, VK_S, VK_T, VK_U, VK_V, VK_W, VK_X, VK_Y, VK_Z,
    VK_LWIN = 91,
    VK_RWIN = 92,
    VK_APPS = 93,  // the menu key
    VK_NUMPAD0 = 96, VK_NUMPAD1, VK_NUMPAD2, VK_NUMPAD3, VK_NUMPAD4,
    VK_NUMPAD5, VK_NUMPAD6, VK_NUMPAD7, VK_NUMPAD8, VK_NUMPAD9,
    VK_MULTIPLY = 106,
    VK_ADD = 107,
    VK_SEPARATOR = 108,  // the keypad's comma
    VK_SUBTRACT = 109,
    VK_DECIMAL = 110,
    VK_DIVIDE = 111,
    VK_F1 = 112, VK_F2, VK_F3, VK_F4, VK_F5, VK_F6, VK_F7, VK_F8, VK_F9, VK_F10, VK_F11, VK_F12,
    VK_F13, VK_F14, VK_F15, VK_F16, VK_F17, VK_F18, VK_F19, VK_F20, VK_F21, VK_F22, VK_F23, VK_F24,
    VK_NUMLOCK = 144,
    VK_SCROLL = 145,  // Scroll Lock
    VK_LSHIFT = 160,
    VK_RSHIFT = 161,
    VK_LCONTROL = 162,
    VK_RCONTROL = 163,
    VK_LMENU = 164,
    VK_RMENU = 165,
    // Punctuation keys, named by where they sit on a US keyboard.
    VK_OEM_1 = 186,       // ; :
    VK_OEM_PLUS = 187,    // = +
    VK_OEM_COMMA = 188,   // , <
    VK_OEM_MINUS = 189,   // - _
    VK_OEM_PERIOD = 190,  // . >
    VK_OEM_2 = 191,       // / ?
    VK_OEM_3 = 192,       // ` ~
    VK_OEM_4 = 219,       // [ {
    VK_OEM_5 = 220,       // \ |
    VK_OEM_6 = 221,       // ] }
    VK_OEM_7 = 222,       // ' "
    VK_OEM_102 = 226,     // the extra key beside the left shift on non-US keyboards
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
