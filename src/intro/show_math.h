// Small numeric helpers shared by the intro's layers: sine and cosine of
// degrees, and the truncation to a 32-bit integer that the show's placement
// formulas use.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

namespace vesk {

// The angle is reduced to one turn first, exactly, so that the large whole
// angles the effects use (twice the clock in hundredths) keep full precision.
inline double SinDegrees(double degrees) {
    return std::sin(std::fmod(degrees, 360.0) * (std::numbers::pi / 180.0));
}

inline double CosDegrees(double degrees) {
    return std::cos(std::fmod(degrees, 360.0) * (std::numbers::pi / 180.0));
}

// Truncates towards zero. A value outside the 32-bit range, or not a number,
// gives INT32_MIN, as the processor's own conversion does, instead of the
// undefined result of a plain cast; comparisons against screen bounds then
// treat it as far off screen.
inline int32_t TruncateToInt32(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

// 32-bit arithmetic that wraps instead of overflowing, for clock products
// that may exceed the range after days of running.
inline int32_t WrappingMul(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

inline int32_t WrappingAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

}  // namespace vesk
