#include "intro/countdown.h"

#include <vesk/graphics/draw_state.h>
#include <vesk/graphics/text_font.h>

namespace vesk {

Text CountdownText(int64_t elapsedMs) {
    // The difference is taken in 64 bits and shown from its low 32 bits.
    const auto left = static_cast<int32_t>(static_cast<uint64_t>(kCountdownMs - elapsedMs));
    return NumberText(left);
}

void DrawCountdown(int64_t elapsedMs) {
    SetDrawColor(255, 255, 255);
    SetDrawScale(5, 5);
    DrawString(CountdownText(elapsedMs), 224, 350);
    SetDrawScale(1, 1);
}

}  // namespace vesk
