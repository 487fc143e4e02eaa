// The countdown: the milliseconds left until the programmes begin, drawn
// large with the built-in text font. It goes on below zero.
#pragma once

#include <vesk/runtime/text.h>

#include <cstdint>

namespace vesk {

inline constexpr int64_t kCountdownMs = 132000;

// The number shown at the given show time.
Text CountdownText(int64_t elapsedMs);

// Draws it white at five times the font's size, then puts the scale back.
void DrawCountdown(int64_t elapsedMs);

}  // namespace vesk
