// SDL keys to virtual-key codes and set-1 scan codes. Letters follow the
// keyboard layout (the key that types "a" is 65 wherever it sits); every
// other key is identified by its position, as the virtual-key numbering does.
#include "system/sdl_events.h"

#include <unordered_map>

namespace vesk {
namespace {

struct TKeyEntry {
    SDL_Scancode scancode;
    TKeyCode code;
};

constexpr TKeyCode Key(uint32_t vk, uint32_t scan, bool extended = false) { return {vk, scan, extended}; }

// Set-1 scan codes of the letter keys, by their position in the US layout.
constexpr uint8_t kLetterScanCodes[26] = {
    0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
    0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};

const TKeyEntry kKeyTable[] = {
    {SDL_SCANCODE_1, Key(49, 0x02)}, {SDL_SCANCODE_2, Key(50, 0x03)}, {SDL_SCANCODE_3, Key(51, 0x04)},
    {SDL_SCANCODE_4, Key(52, 0x05)}, {SDL_SCANCODE_5, Key(53, 0x06)}, {SDL_SCANCODE_6, Key(54, 0x07)},
    {SDL_SCANCODE_7, Key(55, 0x08)}, {SDL_SCANCODE_8, Key(56, 0x09)}, {SDL_SCANCODE_9, Key(57, 0x0A)},
    {SDL_SCANCODE_0, Key(48, 0x0B)},
    {SDL_SCANCODE_ESCAPE, Key(27, 0x01)}, {SDL_SCANCODE_BACKSPACE, Key(8, 0x0E)},
    {SDL_SCANCODE_TAB, Key(9, 0x0F)}, {SDL_SCANCODE_RETURN, Key(13, 0x1C)},
    {SDL_SCANCODE_SPACE, Key(32, 0x39)}, {SDL_SCANCODE_CAPSLOCK, Key(20, 0x3A)},
    {SDL_SCANCODE_LSHIFT, Key(16, 0x2A)}, {SDL_SCANCODE_RSHIFT, Key(16, 0x36)},
    {SDL_SCANCODE_LCTRL, Key(17, 0x1D)}, {SDL_SCANCODE_RCTRL, Key(17, 0x1D, true)},
    {SDL_SCANCODE_LALT, Key(18, 0x38)}, {SDL_SCANCODE_RALT, Key(18, 0x38, true)},
    {SDL_SCANCODE_LGUI, Key(91, 0x5B, true)}, {SDL_SCANCODE_RGUI, Key(92, 0x5C, true)},
    {SDL_SCANCODE_APPLICATION, Key(93, 0x5D, true)},
    // Navigation block: extended keys.
    {SDL_SCANCODE_INSERT, Key(45, 0x52, true)}, {SDL_SCANCODE_DELETE, Key(46, 0x53, true)},
    {SDL_SCANCODE_HOME, Key(36, 0x47, true)}, {SDL_SCANCODE_END, Key(35, 0x4F, true)},
    {SDL_SCANCODE_PAGEUP, Key(33, 0x49, true)}, {SDL_SCANCODE_PAGEDOWN, Key(34, 0x51, true)},
    {SDL_SCANCODE_LEFT, Key(37, 0x4B, true)}, {SDL_SCANCODE_UP, Key(38, 0x48, true)},
    {SDL_SCANCODE_RIGHT, Key(39, 0x4D, true)}, {SDL_SCANCODE_DOWN, Key(40, 0x50, true)},
    {SDL_SCANCODE_PRINTSCREEN, Key(44, 0x37, true)}, {SDL_SCANCODE_SCROLLLOCK, Key(145, 0x46)},
    {SDL_SCANCODE_PAUSE, Key(19, 0x45)},
    // Keypad.
    {SDL_SCANCODE_NUMLOCKCLEAR, Key(144, 0x45, true)},
    {SDL_SCANCODE_KP_0, Key(96, 0x52)}, {SDL_SCANCODE_KP_1, Key(97, 0x4F)}, {SDL_SCANCODE_KP_2, Key(98, 0x50)},
    {SDL_SCANCODE_KP_3, Key(99, 0x51)}, {SDL_SCANCODE_KP_4, Key(100, 0x4B)}, {SDL_SCANCODE_KP_5, Key(101, 0x4C)},
    {SDL_SCANCODE_KP_6, Key(102, 0x4D)}, {SDL_SCANCODE_KP_7, Key(103, 0x47)}, {SDL_SCANCODE_KP_8, Key(104, 0x48)},
    {SDL_SCANCODE_KP_9, Key(105, 0x49)}, {SDL_SCANCODE_KP_MULTIPLY, Key(106, 0x37)},
    {SDL_SCANCODE_KP_PLUS, Key(107, 0x4E)}, {SDL_SCANCODE_KP_COMMA, Key(108, 0x7E)},
    {SDL_SCANCODE_KP_MINUS, Key(109, 0x4A)}, {SDL_SCANCODE_KP_PERIOD, Key(110, 0x53)},
    {SDL_SCANCODE_KP_DIVIDE, Key(111, 0x35, true)}, {SDL_SCANCODE_KP_ENTER, Key(13, 0x1C, true)},
    // Function keys.
    {SDL_SCANCODE_F1, Key(112, 0x3B)}, {SDL_SCANCODE_F2, Key(113, 0x3C)}, {SDL_SCANCODE_F3, Key(114, 0x3D)},
    {SDL_SCANCODE_F4, Key(115, 0x3E)}, {SDL_SCANCODE_F5, Key(116, 0x3F)}, {SDL_SCANCODE_F6, Key(117, 0x40)},
    {SDL_SCANCODE_F7, Key(118, 0x41)}, {SDL_SCANCODE_F8, Key(119, 0x42)}, {SDL_SCANCODE_F9, Key(120, 0x43)},
    {SDL_SCANCODE_F10, Key(121, 0x44)}, {SDL_SCANCODE_F11, Key(122, 0x57)}, {SDL_SCANCODE_F12, Key(123, 0x58)},
    {SDL_SCANCODE_F13, Key(124, 0x64)}, {SDL_SCANCODE_F14, Key(125, 0x65)}, {SDL_SCANCODE_F15, Key(126, 0x66)},
    {SDL_SCANCODE_F16, Key(127, 0x67)}, {SDL_SCANCODE_F17, Key(128, 0x68)}, {SDL_SCANCODE_F18, Key(129, 0x69)},
    {SDL_SCANCODE_F19, Key(130, 0x6A)}, {SDL_SCANCODE_F20, Key(131, 0x6B)}, {SDL_SCANCODE_F21, Key(132, 0x6C)},
    {SDL_SCANCODE_F22, Key(133, 0x6D)}, {SDL_SCANCODE_F23, Key(134, 0x6E)}, {SDL_SCANCODE_F24, Key(135, 0x76)},
    // Punctuation, by position in the US layout.
    {SDL_SCANCODE_SEMICOLON, Key(186, 0x27)}, {SDL_SCANCODE_EQUALS, Key(187, 0x0D)},
    {SDL_SCANCODE_COMMA, Key(188, 0x33)}, {SDL_SCANCODE_MINUS, Key(189, 0x0C)},
    {SDL_SCANCODE_PERIOD, Key(190, 0x34)}, {SDL_SCANCODE_SLASH, Key(191, 0x35)},
    {SDL_SCANCODE_GRAVE, Key(192, 0x29)}, {SDL_SCANCODE_LEFTBRACKET, Key(219, 0x1A)},
    {SDL_SCANCODE_BACKSLASH, Key(220, 0x2B)}, {SDL_SCANCODE_RIGHTBRACKET, Key(221, 0x1B)},
    {SDL_SCANCODE_APOSTROPHE, Key(222, 0x28)}, {SDL_SCANCODE_NONUSBACKSLASH, Key(226, 0x56)},
    {SDL_SCANCODE_NONUSHASH, Key(220, 0x2B)},
};

const std::unordered_map<int, TKeyCode>& KeyTable() {
    static const std::unordered_map<int, TKeyCode> table = [] {
        std::unordered_map<int, TKeyCode> map;
        for (const TKeyEntry& entry : kKeyTable) map.emplace(entry.scancode, entry.code);
        for (int i = 0; i < 26; ++i)
            map.emplace(SDL_SCANCODE_A + i, Key(65 + i, kLetterScanCodes[i]));
        return map;
    }();
    return table;
}

}  // namespace

TKeyCode LookupSDLKey(const SDL_Keysym& key) {
    auto found = KeyTable().find(key.scancode);
    if (found == KeyTable().end()) return {};
    TKeyCode code = found->second;
    // The letter a key types decides its code; its scan code stays positional.
    if (key.sym >= SDLK_a && key.sym <= SDLK_z) code.virtualKey = 65 + static_cast<uint32_t>(key.sym - SDLK_a);
    return code;
}

}  // namespace vesk
