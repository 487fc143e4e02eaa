// SDL's events as the window messages the platform would deliver. Built on
// the desktop's SDL and on the SDL layer of the web toolchain, whose events
// carry the same key scan codes; only the wheel differs between the two.
#include "system/sdl_events.h"

#include <vesk/runtime/text.h>

#include <algorithm>
#include <cmath>

namespace vesk {
namespace {

// Key codes of the keys behind the control characters 27 to 31.
constexpr uint32_t kVkSix = 54;
constexpr uint32_t kVkMinus = 189;
constexpr uint32_t kVkOpenBracket = 219;
constexpr uint32_t kVkBackslash = 220;
constexpr uint32_t kVkCloseBracket = 221;

uint32_t PointerParam(int x, int y) {
    return (static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16) | static_cast<uint16_t>(x);
}

uint32_t KeyParam(const TKeyCode& key, bool released, bool repeat, bool altDown) {
    uint32_t lParam = 1 | ((key.scanCode & 0xFF) << 16);
    if (key.extended) lParam |= kKeyExtendedBit;
    if (altDown) lParam |= kKeyAltDownBit;
    if (released) lParam |= kKeyPreviousDownBit | kKeyReleasedBit;
    else if (repeat) lParam |= kKeyPreviousDownBit;
    return lParam;
}

// Keys that type a control character as well as their key message, as the
// platform's translation gives them: Backspace, Tab, Return and Escape; with
// Ctrl (and no Alt) A to Z as 1 to 26, and [ \ ] ^ _ as 27 to 31, ^ and _
// being shifted keys. SDL sends no text for these.
uint32_t ControlCharacter(uint32_t virtualKey, Uint16 mod) {
    switch (virtualKey) {
    case VK_BACK: case VK_TAB: case VK_RETURN: case VK_ESCAPE: return virtualKey;
    default: break;
    }
    if (!(mod & KMOD_CTRL) || (mod & KMOD_ALT)) return 0;
    const bool shift = (mod & KMOD_SHIFT) != 0;
    if (virtualKey >= 'A' && virtualKey <= 'Z') return virtualKey - 'A' + 1;
    switch (virtualKey) {
    case kVkOpenBracket: return shift ? 0 : 27;
    case kVkBackslash: return shift ? 0 : 28;
    case kVkCloseBracket: return shift ? 0 : 29;
    case kVkSix: return shift ? 30 : 0;
    case kVkMinus: return shift ? 31 : 0;
    default: return 0;
    }
}

void TranslateKey(const SDL_KeyboardEvent& event, std::vector<TMessage>& out) {
    TKeyCode key = LookupSDLKey(event.keysym);
    if (key.virtualKey == 0) return;
    const bool released = event.type == SDL_KEYUP;
    const bool altDown = (event.keysym.mod & KMOD_ALT) != 0 || key.virtualKey == VK_MENU;
    uint32_t id = released ? (altDown ? WM_SYSKEYUP : WM_KEYUP) : (altDown ? WM_SYSKEYDOWN : WM_KEYDOWN);
    uint32_t lParam = KeyParam(key, released, event.repeat != 0, altDown);
    out.push_back({id, key.virtualKey, lParam});
    if (!released)
        if (uint32_t c = ControlCharacter(key.virtualKey, event.keysym.mod)) out.push_back({altDown ? WM_SYSCHAR : WM_CHAR, c, lParam});
}

// Control characters come from the key messages alone. The browser's SDL
// layer also reports the character of Return (and of Tab and Backspace where
// the page types them), which would type it twice.
void TranslateText(const char* utf8, std::vector<TMessage>& out) {
    for (char16_t unit : Utf8ToText(utf8))
        if (unit >= 0x20 && unit != 0x7F) out.push_back({WM_CHAR, unit, 1});
}

void TranslateButton(const SDL_MouseButtonEvent& event, std::vector<TMessage>& out) {
    const bool down = event.type == SDL_MOUSEBUTTONDOWN;
    uint32_t id = 0;
    switch (event.button) {
    case SDL_BUTTON_LEFT: id = down ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
    case SDL_BUTTON_RIGHT: id = down ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
    case SDL_BUTTON_MIDDLE: id = down ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
    default: return;
    }
    out.push_back({id, 0, PointerParam(event.x, event.y)});
}

void TranslateWheel(const SDL_MouseWheelEvent& event, std::vector<TMessage>& out) {
#if defined(__EMSCRIPTEN__)
    // Whole notches, already turned so that away from the user is positive.
    float notches = static_cast<float>(event.y);
#else
    float notches = event.preciseY;
    if (event.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
#endif
    long delta = std::lround(notches * kWheelDelta);
    delta = std::clamp(delta, -32768L, 32767L);
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    out.push_back({WM_MOUSEWHEEL, static_cast<uint32_t>(static_cast<uint16_t>(delta)) << 16, PointerParam(x, y)});
}

void TranslateWindowEvent(const SDL_WindowEvent& event, std::vector<TMessage>& out) {
    switch (event.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED: out.push_back({WM_SETFOCUS, 0, 0}); break;
    // Deviation kept on purpose: SDL sends the release of every held key
    // before the focus loss, where the design keeps keys down until their
    // release reaches the program. SDL's way leaves no key stuck down.
    case SDL_WINDOWEVENT_FOCUS_LOST: out.push_back({WM_KILLFOCUS, 0, 0}); break;
    case SDL_WINDOWEVENT_EXPOSED: out.push_back({WM_PAINT, 0, 0}); break;
    case SDL_WINDOWEVENT_CLOSE: out.push_back({WM_CLOSE, 0, 0}); break;
    default: break;
    }
}

}  // namespace

std::vector<TMessage> TranslateSDLEvent(const SDL_Event& event) {
    std::vector<TMessage> out;
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: TranslateKey(event.key, out); break;
    case SDL_TEXTINPUT: TranslateText(event.text.text, out); break;
    case SDL_MOUSEMOTION: out.push_back({WM_MOUSEMOVE, 0, PointerParam(event.motion.x, event.motion.y)}); break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: TranslateButton(event.button, out); break;
    case SDL_MOUSEWHEEL: TranslateWheel(event.wheel, out); break;
    case SDL_WINDOWEVENT: TranslateWindowEvent(event.window, out); break;
    default: break;  // SDL_QUIT included: a close request is ignored
    }
    return out;
}

}  // namespace vesk
