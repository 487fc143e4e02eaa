#include "intro/scroller.h"

#include "intro/screen.h"
#include "intro/show_math.h"

namespace vesk {
namespace {

constexpr int32_t kLinePitch = 48;    // pixels between characters
constexpr int32_t kCirclePitch = 18;  // degrees between characters
constexpr int32_t kCentreX = kShowCentreX;
constexpr int32_t kCentreY = kShowCentreY;

float SlotRotation(int32_t mode, int32_t a, int32_t centis) {
    switch (mode) {
        case SCROLL_LINE_SWING:
        case SCROLL_WAVE_SWING:
        case SCROLL_CIRCLE_SWING:
            return static_cast<float>(70 * SinDegrees(WrappingMul(2, centis)));
        case SCROLL_CIRCLE:
            // Each character stands along the circle.
            return static_cast<float>(90 - a);
        default:
            return 0;
    }
}

float SlotAlpha(int slot, int32_t offset, int32_t pitch) {
    // The leaving character fades out as the entering one fades in.
    if (slot == 0) return static_cast<float>(1 - offset / (pitch * 1.0));
    if (slot == kScrollWindow - 1) return static_cast<float>(offset / (pitch * 1.0));
    return 1;
}

}  // namespace

void TScroller::Reset(Text text) {
    scrollText = std::move(text);
    scrollLength = static_cast<int32_t>(scrollText.size());
    scrollPos = 0;
    scrollMode = SCROLL_LINE;
    effectLevel = 0;
    charPitch = 0;
    scrollOffset = 0;
    prevScrollOffset = 0;
}

void TScroller::Advance(int32_t centis) {
    prevScrollOffset = scrollOffset;
    if (scrollMode < SCROLL_CIRCLE) {
        charPitch = kLinePitch;
        scrollOffset = WrappingMul(centis, 3) % kLinePitch;
    } else {
        charPitch = kCirclePitch;
        scrollOffset = centis % kCirclePitch;
    }
    const int32_t half = charPitch / 2;
    if (!(scrollOffset < half && prevScrollOffset > half)) return;
    ++scrollPos;
    if (scrollPos >= scrollLength - kScrollWindow) scrollPos = 0;
    ApplyControl(scrollText[scrollPos + kScrollWindow - 1]);
}

void TScroller::ApplyControl(char16_t letter) {
    switch (letter) {
        case u'a': scrollMode = SCROLL_LINE; break;
        case u'b': scrollMode = SCROLL_LINE_SWING; break;
        case u'c': scrollMode = SCROLL_WAVE; break;
        case u'd': scrollMode = SCROLL_WAVE_SWING; break;
        case u'e': scrollMode = SCROLL_CIRCLE; break;
        case u'f': scrollMode = SCROLL_CIRCLE_SWING; break;
        case u'z': effectLevel = 1; break;
        case u'y': effectLevel = 2; break;
        default: break;
    }
}

TSlotPlacement TScroller::PlaceSlot(int slot, int32_t centis) const {
    TSlotPlacement place;
    place.character = scrollText[scrollPos + slot];
    const int32_t a = scrollOffset + (kScrollWindow - 1 - slot) * charPitch;
    place.rotation = SlotRotation(scrollMode, a, centis);
    if (scrollMode < SCROLL_CIRCLE) {
        place.x = slot * charPitch + charPitch - scrollOffset - (charPitch * kScrollWindow) / 2 + kCentreX;
        place.y = 490;
        if (scrollMode >= SCROLL_WAVE) place.y = TruncateToInt32(430 - 50 * SinDegrees(a / 2 + 35));
    } else {
        place.x = TruncateToInt32(kCentreX + 210 * CosDegrees(a));
        place.y = TruncateToInt32(kCentreY - 210 * SinDegrees(a));
    }
    place.alpha = SlotAlpha(slot, scrollOffset, charPitch);
    return place;
}

}  // namespace vesk
