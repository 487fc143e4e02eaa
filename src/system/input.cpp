#include <vesk/system/input.h>

namespace vesk {

TInputState& Input() {
    static TInputState state;
    return state;
}

void TInputState::Press(uint32_t code) {
    if (down_[code]) return;
    ++hits_[code];  // wraps at 256 by design
    down_[code] = 1;
}

void TInputState::Release(uint32_t code) { down_[code] = 0; }

// The sided code that goes with a generic modifier (16, 17, 18), or 0.
uint32_t TInputState::SidedCode(uint32_t code, uint32_t lParam) {
    const bool extended = (lParam & kKeyExtendedBit) != 0;
    switch (code) {
    case VK_SHIFT: return ((lParam >> 16) & 127) == kLeftShiftScanCode ? VK_LSHIFT : VK_RSHIFT;
    case VK_CONTROL: return extended ? VK_RCONTROL : VK_LCONTROL;
    case VK_MENU: return extended ? VK_RMENU : VK_LMENU;
    default: return 0;
    }
}

void TInputState::Filter(uint32_t message, uint32_t wParam, uint32_t lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (lParam & kKeyPreviousDownBit) return;  // auto-repeat of a held key
        if (wParam >= 1 && wParam <= 255) Press(wParam);
        if (uint32_t sided = SidedCode(wParam, lParam)) Press(sided);
        return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (wParam <= 255) Release(wParam);
        if (uint32_t sided = SidedCode(wParam, lParam)) Release(sided);
        return;
    case WM_CHAR:
    case WM_SYSCHAR:
        if (charPut_ - charTake_ <= 255) {
            chars_[charPut_ % 256] = static_cast<uint16_t>(wParam & 0xFFFF);
            ++charPut_;
        }
        return;
    case WM_MOUSEMOVE:
        mouseX_ = static_cast<int16_t>(lParam & 0xFFFF);
        mouseY_ = static_cast<int16_t>(lParam >> 16);
        return;
    case WM_LBUTTONDOWN: Press(VK_LBUTTON); return;
    case WM_RBUTTONDOWN: Press(VK_RBUTTON); return;
    case WM_MBUTTONDOWN: Press(VK_MBUTTON); return;
    case WM_LBUTTONUP: Release(VK_LBUTTON); return;
    case WM_RBUTTONUP: Release(VK_RBUTTON); return;
    case WM_MBUTTONUP: Release(VK_MBUTTON); return;
    case WM_MOUSEWHEEL:
        mouseZ_ += static_cast<int16_t>(wParam >> 16) / kWheelDelta;  // truncates towards zero
        return;
    default: return;
    }
}

int TInputState::TakeKeyHits(int code) {
    if (code < 1 || code > 255) return 0;
    int hits = hits_[code];
    hits_[code] = 0;
    return hits;
}

int TInputState::IsKeyDown(int code) const {
    if (code < 1 || code > 255) return 0;
    return down_[code];
}

int TInputState::NextChar() {
    if (charTake_ == charPut_) return 0;
    return chars_[charTake_++ % 256];
}

void TInputState::Reset() {
    hits_.fill(0);
    down_.fill(0);
    charPut_ = 0;
    charTake_ = 0;
}

int TInputState::MouseAxis(int index) const {
    switch (index) {
    case 0: return mouseX_;
    case 1: return mouseY_;
    case 2: return mouseZ_;
    default: return 0;
    }
}

}  // namespace vesk
